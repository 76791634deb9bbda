#pragma once

#include <array>
#include <cstdint>
#include <span>

// SHA-256: the digest that names a cartridge image in a save state.
using TSha256Digest = std::array<uint8_t, 32>;

class TSha256 {
public:
  TSha256();
  void Update(std::span<const uint8_t> Bytes);
  // The digest of everything given; the object is spent afterwards.
  TSha256Digest Final();

private:
  void Compress(const uint8_t* Block);

  std::array<uint32_t, 8> State;
  std::array<uint8_t, 64> Block{};
  uint64_t Length = 0; // bytes given so far
};

TSha256Digest Sha256(std::span<const uint8_t> Bytes);

// CRC-32 (the polynomial of zip and PNG), continued from Crc (0 to start).
uint32_t Crc32(std::span<const uint8_t> Bytes, uint32_t Crc = 0);
