#include "core/MMCUnit.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>

#include "core/NESUnit.h"
#include "core/PPUUnit.h"
#include "platform/CFile.h"

namespace {

// Images and battery files are only ever read, so a read-only file will do.
TFile OpenForReading(const std::string& Path) {
  TFile file(std::fopen(Path.c_str(), "rb"));
  if (!file) FileError(Path, "Cannot open", errno);
  return file;
}

// Reads what the file holds, up to Size bytes; a short file leaves the rest as it is.
void ReadUpTo(std::FILE* File, const std::string& Path, uint8_t* Buffer, size_t Size) {
  if (Size == 0) return;
  std::fread(Buffer, 1, Size, File);
  if (std::ferror(File)) FileError(Path, "Cannot read", errno ? errno : EIO);
}

bool IsFile(const std::string& Path) {
  std::error_code error;
  return std::filesystem::is_regular_file(Path, error);
}

constexpr int TrainerSize = 512;

} // namespace

std::string BatteryFilePath(const std::string& ImagePath) {
  return std::filesystem::path(ImagePath).replace_extension("SAV").string();
}

TMMC::TMMC(TNES* Owner) : OnWrite(TMapperWrite::Bind<&TMMC::IgnoreWrite>(this)), NES(Owner) {}

bool TMMC::LoadROM(const std::string& Path) {
  // A refusal speaks of this file only.
  FileName.clear();
  MappingName.clear();
  if (!IsFile(Path)) return false;
  FileName = std::filesystem::path(Path).filename().string();

  TFile file = OpenForReading(Path);
  Header.fill(0);
  ReadUpTo(file.get(), Path, Header.data(), Header.size());
  if (Header[0] != 'N' || Header[1] != 'E' || Header[2] != 'S') return false;

  ProgPages = Header[4];
  CharPages = Header[5];
  ControlByte = Header[6];
  Mapper = Header[6] >> 4;
  if (Header[8] == 0) Mapper |= Header[7] & 0xF0;

  if (Mapper != 0) {
    MappingName = "* iNES mapper #" + std::to_string(Mapper) + " not supported.";
    return false;
  }
  if (ProgPages == 0) {
    MappingName = "* iNES image holds no program ROM.";
    return false;
  }
  MappingName = "No Mapper";
  OnReset = TMapperReset::Bind<&TMMC::Mapper0Reset>(this);
  OnWrite = TMapperWrite::Bind<&TMMC::IgnoreWrite>(this);

  VertMirror = ControlByte & 0x01;
  MirrorStep = 1024 << (ControlByte & 0x01);
  FourScreen = ControlByte & 0x08;
  Trainer = ControlByte & 0x04;

  if (Trainer && std::fseek(file.get(), TrainerSize, SEEK_CUR) != 0) FileError(Path, "Cannot read", errno);
  ProgROM.assign(size_t(ProgPages) * ProgPageSize, 0);
  CharROM.assign(size_t(CharPages) * CharPageSize, 0);
  ReadUpTo(file.get(), Path, ProgROM.data(), ProgROM.size());
  ReadUpTo(file.get(), Path, CharROM.data(), CharROM.size());
  file.reset();
  TSha256 digest;
  for (std::span<const uint8_t> part : {std::span<const uint8_t>(Header), std::span<const uint8_t>(ProgROM),
                                        std::span<const uint8_t>(CharROM)})
    digest.Update(part);
  ImageDigest = digest.Final();

  SaveRAM.assign(SaveRAMSize, 0);
  Battery = ControlByte & 0x02;
  if (Battery) {
    std::string savePath = BatteryFilePath(Path);
    if (IsFile(savePath)) {
      TFile save = OpenForReading(savePath);
      ReadUpTo(save.get(), savePath, SaveRAM.data(), SaveRAM.size());
    }
  }
  NES->Bank[3] = OffsetBank(SaveRAM.data(), 0x6000);
  return true;
}

std::string TMMC::Refusal() const {
  if (FileName.empty()) return "no such file";
  return MappingName.empty() ? "not an iNES image" : MappingName;
}

void TMMC::UnloadROM() {
  FileName.clear();
  ProgROM = {};
  CharROM = {};
  SaveRAM = {};
  ImageDigest = {};
  // The console's tables must not keep pointing into released memory.
  for (uint16_t w = 3; w < 8; ++w) NES->Bank[w] = UnmappedBank(w << 13);
  NES->PatternBank.fill(UnmappedBank(0));
  OnWrite = TMapperWrite::Bind<&TMMC::IgnoreWrite>(this);
}

void TMMC::ResetMapper() {
  if (OnReset) OnReset();
}

void TMMC::MapProgBank(uint16_t Window, uint8_t Bank) {
  size_t start = size_t(Bank) * ProgPageSize;
  bool present = start + ProgPageSize <= ProgROM.size();
  for (uint16_t half : {Window, static_cast<uint16_t>(Window + 0x2000)}) {
    NES->Bank[half >> 13] = present ? OffsetBank(ProgROM.data() + start, Window) : UnmappedBank(half);
  }
}

void TMMC::Mapper0Reset() {
  MapProgBank(0x8000, 0);
  MapProgBank(0xC000, static_cast<uint8_t>(ProgPages - 1));
  // Without character ROM the picture unit's own memory holds the patterns.
  NES->PatternBank.fill(CharROM.empty() ? NES->PPU->VRAM.data() : CharROM.data());
}

void TMMC::IgnoreWrite(uint16_t, uint8_t) {}
