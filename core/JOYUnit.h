#pragma once

#include <array>
#include <cstdint>

class TNES;
class TDXInput;

// The two standard joypads at $4016 (pad 1) and $4017 (pad 2). Button bits,
// in the order the ports give them out: 0 A, 1 B, 2 Select, 3 Start, 4 Up,
// 5 Down, 6 Left, 7 Right.
class TJOY {
public:
  explicit TJOY(TNES* Owner);

  std::array<uint8_t, 2> Buttons{};   // pad 1, pad 2; 1 = pressed
  std::array<uint8_t, 2> ReadCount{}; // bit the next read of each port gives, 0 to 7
  TDXInput* Input1 = nullptr;         // borrowed from the window
  TDXInput* Input2 = nullptr;         // borrowed from the window
  uint8_t StrobeLatch = 0;            // last write to $4016
  uint8_t Port2Latch = 0;             // last write to $4017

  uint8_t ReadPort(uint16_t Addr);
  void WritePort(uint16_t Addr, uint8_t Value);
  // Once a frame: the button bytes from the input objects' states.
  void Poll();
  // The pads keep their bytes, counters and latches over a power-on.
  void Reset();

private:
  TNES* NES;
};
