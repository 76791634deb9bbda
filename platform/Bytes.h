#pragma once

#include <cstdint>
#include <vector>

// Little-endian numbers appended to a byte buffer, as file headers store them.
inline void Put16(std::vector<uint8_t>& Out, uint16_t Value) {
  Out.push_back(uint8_t(Value));
  Out.push_back(uint8_t(Value >> 8));
}

inline void Put32(std::vector<uint8_t>& Out, uint32_t Value) {
  Put16(Out, uint16_t(Value));
  Put16(Out, uint16_t(Value >> 16));
}
