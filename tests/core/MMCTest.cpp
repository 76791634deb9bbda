#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <iterator>
#include <random>

#include "TestImages.h"
#include "core/MMCUnit.h"
#include "core/NESUnit.h"
#include "core/PPUUnit.h"

namespace {

class Cartridge : public ::testing::Test {
protected:
  TTempFolder Folder;
  TNES NES;
  TMMC& MMC = *NES.MMC;

  uint8_t Read(uint16_t Addr) {
    uint8_t value;
    NES.CPUReadMemory(NES.CPU.get(), Addr, value);
    return value;
  }
};

TEST_F(Cartridge, HeaderFieldsAndMapperNumbers) {
  struct TCase {
    uint8_t Byte6, Byte7, Byte8;
    bool Accepted;
    int Mapper;
    int MirrorStep;
    const char* MappingName;
  };
  const TCase cases[] = {
      {0x10, 0x40, 0, false, 65, 0, "* iNES mapper #65 not supported."},
      {0x10, 0x40, 1, false, 1, 0, "* iNES mapper #1 not supported."},
      {0x01, 0x40, 5, true, 0, 2048, "No Mapper"},
      {0x00, 0x00, 0, true, 0, 1024, "No Mapper"},
      {0x0E, 0x00, 0, true, 0, 1024, "No Mapper"},
  };
  for (const TCase& c : cases) {
    TNES nes;
    std::string path = Folder.Write("GAME.NES", MakeImage(1, 1, c.Byte6, c.Byte7, c.Byte8));
    EXPECT_EQ(nes.MMC->LoadROM(path), c.Accepted) << c.MappingName;
    EXPECT_EQ(nes.MMC->Mapper, c.Mapper);
    EXPECT_EQ(nes.MMC->MappingName, c.MappingName);
    EXPECT_EQ(nes.MMC->FileName, "GAME.NES");
    EXPECT_EQ(nes.MMC->MirrorStep, c.MirrorStep);
    EXPECT_EQ(nes.MMC->ControlByte, c.Byte6);
    if (c.Accepted) {
      EXPECT_EQ(nes.MMC->VertMirror, bool(c.Byte6 & 1));
      EXPECT_EQ(nes.MMC->Battery, bool(c.Byte6 & 2));
      EXPECT_EQ(nes.MMC->Trainer, bool(c.Byte6 & 4));
      EXPECT_EQ(nes.MMC->FourScreen, bool(c.Byte6 & 8));
      EXPECT_EQ(nes.MMC->SaveRAM.size(), 8192u);
    }
  }
}

TEST_F(Cartridge, RefusesWhatItCannotRun) {
  EXPECT_FALSE(MMC.LoadROM((Folder.Path / "missing.nes").string()));
  EXPECT_TRUE(MMC.FileName.empty()) << "a missing file changes nothing";

  EXPECT_FALSE(MMC.LoadROM(Folder.Path.string())) << "a folder is not an image";

  auto lower = MakeImage(1, 1);
  lower[0] = 'n';
  EXPECT_FALSE(MMC.LoadROM(Folder.Write("lower.nes", lower)));
  EXPECT_EQ(MMC.FileName, "lower.nes");
  EXPECT_EQ(MMC.Header[0], 'n');

  auto nez = MakeImage(1, 1);
  nez[2] = 'Z';
  EXPECT_FALSE(MMC.LoadROM(Folder.Write("nez.nes", nez)));

  EXPECT_FALSE(MMC.LoadROM(Folder.Write("empty.nes", {})));
  EXPECT_FALSE(MMC.LoadROM(Folder.Write("tiny.nes", {'N', 'E'})));

  EXPECT_FALSE(MMC.LoadROM(Folder.Write("noprog.nes", MakeImage(0, 1))));
  EXPECT_EQ(MMC.MappingName, "* iNES image holds no program ROM.");
  EXPECT_FALSE(MMC.OnReset) << "a refused image installs no mapper";
}

TEST_F(Cartridge, ShortFilesLeaveZerosAndAnyByteFourIsAccepted) {
  auto image = MakeImage(2, 1);
  image[3] = 0x00;
  image.resize(16 + 16384 + 100);
  ASSERT_TRUE(MMC.LoadROM(Folder.Write("short.nes", image)));
  ASSERT_EQ(MMC.ProgROM.size(), 32768u);
  EXPECT_EQ(MMC.ProgROM[16383], 1);
  EXPECT_EQ(MMC.ProgROM[16384 + 99], 2);
  EXPECT_EQ(MMC.ProgROM[16384 + 100], 0);
  EXPECT_EQ(MMC.CharROM.size(), 8192u);
  EXPECT_EQ(MMC.CharROM[0], 0);

  // A header cut short: what is missing reads as zero.
  std::vector<uint8_t> header = {'N', 'E', 'S', 0x1A, 1, 0, 0};
  ASSERT_TRUE(MMC.LoadROM(Folder.Write("header.nes", header)));
  EXPECT_EQ(MMC.Header[7], 0);
  EXPECT_EQ(MMC.ProgROM[0], 0);
}

TEST_F(Cartridge, TrainerIsSkipped) {
  auto image = MakeImage(1, 1, 0x04);
  image.insert(image.begin() + 16, 512, 0xEE);
  ASSERT_TRUE(MMC.LoadROM(Folder.Write("trainer.nes", image)));
  EXPECT_TRUE(MMC.Trainer);
  EXPECT_EQ(MMC.ProgROM[0], 1);
  EXPECT_EQ(MMC.CharROM[0], 0xC0);
}

TEST_F(Cartridge, BatteryFileSitsBesideTheImage) {
  EXPECT_EQ(BatteryFilePath("/roms/my.games/GAME.NES"), "/roms/my.games/GAME.SAV");
  EXPECT_EQ(BatteryFilePath("/roms/GAME"), "/roms/GAME.SAV");
  EXPECT_EQ(BatteryFilePath("/home/u/.local/a.b.nes"), "/home/u/.local/a.b.SAV");

  std::vector<uint8_t> save(100, 0x42);
  Folder.Write("dir.v2/GAME.SAV", save);
  std::string withBattery = Folder.Write("dir.v2/GAME.NES", MakeImage(1, 1, 0x02));
  ASSERT_TRUE(MMC.LoadROM(withBattery));
  EXPECT_EQ(MMC.SaveRAM[0], 0x42);
  EXPECT_EQ(MMC.SaveRAM[99], 0x42);
  EXPECT_EQ(MMC.SaveRAM[100], 0) << "a short battery file fills only the start";
  NES.PowerOn();
  EXPECT_EQ(Read(0x6000), 0x42);
  NES.CPUWriteMemory(NES.CPU.get(), 0x6000, 0x00);
  EXPECT_EQ(Read(0x6000), 0x42) << "battery RAM is read-only to the processor";

  Folder.Write("dir.v2/PLAIN.SAV", save);
  ASSERT_TRUE(MMC.LoadROM(Folder.Write("dir.v2/PLAIN.NES", MakeImage(1, 1))));
  EXPECT_EQ(MMC.SaveRAM[0], 0) << "no battery bit, no battery file";

  Folder.Write("dir.v2/LONG.SAV", std::vector<uint8_t>(9000, 0x17));
  ASSERT_TRUE(MMC.LoadROM(Folder.Write("dir.v2/LONG.NES", MakeImage(1, 1, 0x02))));
  EXPECT_EQ(MMC.SaveRAM.size(), 8192u);
  EXPECT_EQ(MMC.SaveRAM[8191], 0x17);
}

TEST_F(Cartridge, ReadOnlyImageLoads) {
  std::string path = Folder.Write("ro.nes", MakeImage(1, 1));
  ASSERT_EQ(chmod(path.c_str(), 0444), 0);
  EXPECT_TRUE(MMC.LoadROM(path));
}

TEST_F(Cartridge, ReadErrorThrowsNamingTheFile) {
  // This process's own memory at offset 0: a file that opens, even for root, but cannot be read.
  const std::string path = "/proc/self/mem";
  try {
    MMC.LoadROM(path);
    FAIL() << "no exception";
  } catch (const std::runtime_error& error) {
    EXPECT_NE(std::string(error.what()).find(path), std::string::npos) << error.what();
  }
}

TEST_F(Cartridge, Mapper0PlacesFirstAndLastBank) {
  struct TCase {
    uint8_t Pages;
    uint8_t At8000, AtC000;
  };
  for (TCase c : {TCase{1, 1, 1}, TCase{2, 1, 2}, TCase{3, 1, 3}}) {
    ASSERT_TRUE(MMC.LoadROM(Folder.Write("p.nes", MakeImage(c.Pages, 1))));
    NES.PowerOn();
    EXPECT_EQ(Read(0x8000), c.At8000);
    EXPECT_EQ(Read(0xBFFF), c.At8000);
    EXPECT_EQ(Read(0xC000), c.AtC000);
    EXPECT_EQ(Read(0xFFFF), c.AtC000);
  }
  // A write to program ROM changes nothing, and a second power-on maps the same.
  auto banks = NES.Bank;
  NES.CPUWriteMemory(NES.CPU.get(), 0x8000, 0x55);
  NES.PowerOn();
  EXPECT_EQ(NES.Bank, banks);
  EXPECT_EQ(Read(0x8000), 1);
}

TEST_F(Cartridge, PatternsComeFromCharacterROMOrVideoMemory) {
  ASSERT_TRUE(MMC.LoadROM(Folder.Write("chr.nes", MakeImage(1, 1))));
  NES.PowerOn();
  EXPECT_EQ(NES.PatternBank[0][0x0000], 0xC0);
  EXPECT_EQ(NES.PatternBank[7][0x1FFF], 0xC0);

  ASSERT_TRUE(MMC.LoadROM(Folder.Write("nochr.nes", MakeImage(1, 0))));
  NES.PowerOn();
  NES.PPU->VRAM[0x1234] = 0x99;
  EXPECT_EQ(NES.PatternBank[0x1234 >> 10][0x1234], 0x99);
}

TEST_F(Cartridge, UnloadTakesTheCartridgeOutOfTheTables) {
  ASSERT_TRUE(MMC.LoadROM(Folder.Write("u.nes", MakeImage(1, 1, 0x02))));
  NES.PowerOn();
  MMC.UnloadROM();
  EXPECT_TRUE(MMC.FileName.empty());
  EXPECT_TRUE(MMC.ProgROM.empty());
  EXPECT_EQ(MMC.MappingName, "No Mapper");
  EXPECT_EQ(Read(0x6000), 0xFF);
  EXPECT_EQ(Read(0x8000), 0xFF);
  NES.PowerOn(); // the mapper is still installed, with nothing to map
  EXPECT_EQ(Read(0xFFFC), 0xFF);
}

// Writes to the cartridge's range reach the mapper's write slot, which holds
// a handler whether or not a cartridge was ever loaded.
TEST_F(Cartridge, CartridgeWritesWithoutACartridgeDoNothing) {
  for (bool loadedFirst : {false, true}) {
    TNES nes;
    nes.Present = {};
    if (loadedFirst) {
      ASSERT_TRUE(nes.MMC->LoadROM(Folder.Write("w.nes", MakeImage(1, 1, 0x00))));
      nes.PowerOn();
      nes.MMC->UnloadROM();
    } else {
      nes.PowerOn();
    }
    // STA $4018; STA $5FFF; STA $6000; STA $FFFF; JMP $0000, run from work RAM.
    const uint8_t program[] = {0x8D, 0x18, 0x40, 0x8D, 0xFF, 0x5F, 0x8D, 0x00, 0x60,
                               0x8D, 0xFF, 0xFF, 0x4C, 0x00, 0x00};
    std::copy(std::begin(program), std::end(program), nes.RAM.begin());
    nes.CPU->PC = 0;
    nes.CPU->A = 0x5A;
    for (int n = 0; n < 51; ++n) nes.CPU->Step(); // ten passes and the first store
    EXPECT_EQ(nes.CPU->PC, 0x0003) << loadedFirst;
    uint8_t value;
    nes.CPUReadMemory(nes.CPU.get(), 0x6000, value);
    EXPECT_EQ(value, 0xFF) << loadedFirst;
  }
}

// Hostile headers and lengths: the loader and a short run never crash.
TEST_F(Cartridge, RandomImagesNeverCrash) {
  std::mt19937 random(1234);
  for (int i = 0; i < 60; ++i) {
    std::vector<uint8_t> image(16 + random() % 70000);
    for (uint8_t& b : image) b = static_cast<uint8_t>(random());
    image[0] = 'N', image[1] = 'E', image[2] = 'S';
    if (i % 2) image[6] &= 0x0F, image[7] = 0; // mapper 0
    TNES nes;
    nes.Present = {};
    if (nes.MMC->LoadROM(Folder.Write("r.nes", image))) {
      nes.PowerOn();
      nes.Reset();
      for (int n = 0; n < 2000; ++n) nes.CPU->Step();
    }
  }
}

} // namespace
