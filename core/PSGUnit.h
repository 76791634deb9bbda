#pragma once

#include <array>
#include <cstdint>

class TNES;

// The sound unit (first form: registers stored).
class TPSG {
public:
  explicit TPSG(TNES* Owner);

  std::array<uint8_t, 22> Registers{};

  uint8_t ReadRegister(uint16_t Addr);
  void WriteRegister(uint16_t Addr, uint8_t Value);
  void FrameStep();
  void ResetSound();

private:
  TNES* NES;
};
