#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "TestImages.h"
#include "core/MMCUnit.h"
#include "core/NESUnit.h"
#include "core/PSGUnit.h"

namespace {

class Bus : public ::testing::Test {
public:
  TNES NES;
  std::vector<std::pair<uint16_t, uint8_t>> CartridgeWrites;

  void RecordWrite(uint16_t Addr, uint8_t Value) { CartridgeWrites.emplace_back(Addr, Value); }

  uint8_t Read(uint16_t Addr) {
    uint8_t value;
    NES.CPUReadMemory(NES.CPU.get(), Addr, value);
    return value;
  }
  uint8_t Fetch(uint16_t Addr) {
    uint8_t value;
    NES.CPUReadOpcode(NES.CPU.get(), Addr, value);
    return value;
  }
  void Write(uint16_t Addr, uint8_t Value) { NES.CPUWriteMemory(NES.CPU.get(), Addr, Value); }
};

TEST_F(Bus, WorkRAMIsMirroredFourTimes) {
  NES.PowerOn();
  Write(0x1A03, 0x5A);
  for (uint16_t a : {0x0203, 0x0A03, 0x1203, 0x1A03}) {
    EXPECT_EQ(Read(a), 0x5A) << std::hex << a;
    EXPECT_EQ(Fetch(a), 0x5A) << std::hex << a;
  }
  Write(0x0800, 0x31);
  EXPECT_EQ(Fetch(0x0000), 0x31);
}

TEST_F(Bus, UnmappedReadsGiveFF) {
  for (uint16_t a : {0x4015, 0x4018, 0x5FFF}) EXPECT_EQ(Read(a), 0xFF) << std::hex << a;
  // Before any cartridge, and wherever no memory is behind an address, fetches read $FF.
  for (uint16_t a : {0x2000, 0x4000, 0x5FFF, 0x6000, 0x8000, 0xFFFF}) EXPECT_EQ(Fetch(a), 0xFF) << std::hex << a;
  for (uint16_t a : {0x6000, 0x8000, 0xFFFC}) EXPECT_EQ(Read(a), 0xFF) << std::hex << a;
}

TEST_F(Bus, WritesAtAndAbove4018ReachTheCartridgeUnchanged) {
  NES.MMC->OnWrite = TMapperWrite::Bind<&Bus::RecordWrite>(this);
  for (uint16_t a : {0x4018, 0x5000, 0x6000, 0x8000, 0xFFFF}) Write(a, static_cast<uint8_t>(a));
  std::vector<std::pair<uint16_t, uint8_t>> expected = {
      {0x4018, 0x18}, {0x5000, 0x00}, {0x6000, 0x00}, {0x8000, 0x00}, {0xFFFF, 0xFF}};
  EXPECT_EQ(CartridgeWrites, expected);
  // Nothing below $4018 goes there, and $4014 and $4015-$4017 never reach the sound unit.
  CartridgeWrites.clear();
  for (uint16_t a : {0x0000, 0x2000, 0x4000, 0x4013, 0x4014, 0x4015, 0x4016, 0x4017}) Write(a, 0x01);
  EXPECT_TRUE(CartridgeWrites.empty());
  EXPECT_EQ(NES.PSG->ReadRegister(0x4014), 0);
  EXPECT_EQ(NES.PSG->ReadRegister(0x4015), 0);
  EXPECT_EQ(NES.PSG->ReadRegister(0x4013), 1);
}

TEST_F(Bus, OpcodeFetchesReadWhatDataReadsRead) {
  TTempFolder folder;
  ASSERT_TRUE(NES.MMC->LoadROM(folder.Write("g.nes", MakeImage(2, 1))));
  NES.PowerOn();
  for (uint16_t a : {0x8000, 0xBFFF, 0xC000, 0xFFFF, 0x6000}) EXPECT_EQ(Fetch(a), Read(a)) << std::hex << a;
  EXPECT_EQ(Fetch(0x8000), 1);
  EXPECT_EQ(Fetch(0xC000), 2);
}

TEST_F(Bus, PowerOnBindsTheProcessorToTheConsole) {
  NES.PowerOn();
  EXPECT_FALSE(NES.Running);
  EXPECT_FALSE(NES.Paused);
  EXPECT_EQ(NES.CPU->LoopCycle, 122);
  EXPECT_EQ(NES.CPU->OnReadMemory, TReadMemory::Bind<&TNES::CPUReadMemory>(&NES));
  EXPECT_EQ(NES.CPU->OnWriteMemory, TWriteMemory::Bind<&TNES::CPUWriteMemory>(&NES));
  EXPECT_EQ(NES.CPU->OnReadOpcode, TReadMemory::Bind<&TNES::CPUReadOpcode>(&NES));
  EXPECT_EQ(NES.CPU->OnLoop, TLoopEvent::Bind<&TNES::CPULoop>(&NES));
  EXPECT_EQ(NES.Bank[0], NES.RAM.data());
}

} // namespace
