#pragma once

#include <array>
#include <cstdint>

class TNES;
class TDXInput;

// The two joypads (first form: ports answer as if nothing is held).
class TJOY {
public:
  explicit TJOY(TNES* Owner);

  TDXInput* Input1 = nullptr;
  TDXInput* Input2 = nullptr;

  uint8_t ReadPort(uint16_t Addr);
  void WritePort(uint16_t Addr, uint8_t Value);
  void Poll();
  void Reset();

private:
  TNES* NES;
};
