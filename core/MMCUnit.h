#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/BoundMethod.h"
#include "platform/Checksum.h"

class TNES;

using TMapperReset = TBoundMethod<void()>;
using TMapperWrite = TBoundMethod<void(uint16_t Addr, uint8_t Value)>;

inline constexpr int32_t ProgPageSize = 16384;
inline constexpr int32_t CharPageSize = 8192;
inline constexpr int32_t SaveRAMSize = 8192;

// The cartridge: an iNES image's header, program and character ROM, battery
// RAM, and the mapper's two handler slots.
class TMMC {
public:
  explicit TMMC(TNES* Owner);

  std::array<uint8_t, 16> Header{};
  int32_t ProgPages = 0;
  int32_t CharPages = 0;
  TMapperReset OnReset;
  int32_t Mapper = 0;
  std::string MappingName;
  bool Battery = false;
  bool FourScreen = false;
  bool Trainer = false;
  bool VertMirror = false;
  int32_t MirrorStep = 0;
  int32_t ControlByte = 0;
  TMapperWrite OnWrite;
  std::string FileName;
  std::vector<uint8_t> ProgROM;
  std::vector<uint8_t> CharROM;
  std::vector<uint8_t> SaveRAM;
  // SHA-256 of the header, program ROM and character ROM as loaded: the
  // image a save state belongs to.
  TSha256Digest ImageDigest{};

  // Reads an iNES image. False when the file is missing or the image is
  // refused (MappingName then says why); file errors throw std::runtime_error
  // naming the file and the reason.
  bool LoadROM(const std::string& Path);
  // Why the last LoadROM gave false, for a message.
  std::string Refusal() const;
  // Releases the buffers and takes them out of the console's tables.
  void UnloadROM();
  void ResetMapper();
  // Maps 16 KB program bank Bank at processor address Window ($8000 or $C000).
  void MapProgBank(uint16_t Window, uint8_t Bank);

private:
  void Mapper0Reset();
  // Mapper 0 has no registers; the write slot holds this also while no cartridge is loaded.
  void IgnoreWrite(uint16_t Addr, uint8_t Value);

  TNES* NES;
};

// Where an image's battery RAM is kept: its path with the file name's extension replaced by SAV.
std::string BatteryFilePath(const std::string& ImagePath);
