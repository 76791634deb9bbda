#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <vector>

#include "core/PSGUnit.h"

namespace {

// One call a voice driver received.
struct TDriverCall {
  enum TKind { ToneOn, Level } Kind;
  int32_t Channel;
  int64_t Value; // frequency or level

  friend bool operator==(const TDriverCall&, const TDriverCall&) = default;
  friend std::ostream& operator<<(std::ostream& out, const TDriverCall& call) {
    return out << (call.Kind == ToneOn ? "ToneOn(" : "Level(") << call.Channel << ", " << call.Value << ")";
  }
};

TDriverCall On(int32_t Channel, int64_t Frequency) { return {TDriverCall::ToneOn, Channel, Frequency}; }
TDriverCall Level(int32_t Channel, int64_t Value) { return {TDriverCall::Level, Channel, Value}; }

class TRecordingDriver {
public:
  std::vector<TDriverCall> Calls;
  void ToneOn(uint8_t Channel, uint32_t Frequency) { Calls.push_back(On(Channel, Frequency)); }
  void ToneLevel(uint8_t Channel, int32_t Value) { Calls.push_back(Level(Channel, Value)); }
};

struct TWrite {
  uint16_t Addr;
  uint8_t Value;
};

class PSGTest : public testing::Test {
protected:
  PSGTest() : PSG(nullptr) {
    PSG.OnToneOn = TToneOnEvent::Bind<&TRecordingDriver::ToneOn>(&Driver);
    PSG.OnToneLevel = TToneLevelEvent::Bind<&TRecordingDriver::ToneLevel>(&Driver);
  }
  void Write(const std::vector<TWrite>& Writes) {
    for (const TWrite& w : Writes)
      PSG.WriteRegister(w.Addr, w.Value);
  }

  TRecordingDriver Driver;
  TPSG PSG;
};

// The tone a write of a period register starts: period, frequency, length.
struct TToneCase {
  const char* Name;
  std::vector<TWrite> Writes;
  int32_t Channel;
  uint16_t Period;
  int32_t Length;
  std::vector<TDriverCall> LastCalls; // the driver calls of the final write
  friend void PrintTo(const TToneCase& c, std::ostream* out) { *out << c.Name; }
};

class ToneStart : public PSGTest, public testing::WithParamInterface<TToneCase> {};

TEST_P(ToneStart, SetsPeriodLengthAndCallsDriver) {
  const TToneCase& c = GetParam();
  Write(c.Writes);
  EXPECT_EQ(PSG.Period[c.Channel], c.Period);
  EXPECT_EQ(PSG.Length[c.Channel], c.Length);
  ASSERT_GE(Driver.Calls.size(), c.LastCalls.size());
  std::vector<TDriverCall> last(Driver.Calls.end() - c.LastCalls.size(), Driver.Calls.end());
  EXPECT_EQ(last, c.LastCalls);
}

INSTANTIATE_TEST_SUITE_P(
    Channels, ToneStart,
    testing::Values(
        TToneCase{
            "A440LowThenHigh", {{0x4002, 0xFD}, {0x4003, 0x00}}, 0, 253, 8, {Level(0, 255), On(0, 440)}},
        TToneCase{"SquareLongest", {{0x4003, 0xF8}}, 0, 0x000, 504, {Level(0, 255), On(0, 111860)}},
        TToneCase{"HighWriteAloneUsesStoredLow",
                  {{0x4006, 0xFF}, {0x4007, 0x07}},
                  1,
                  2047,
                  8,
                  {Level(1, 255), On(1, 54)}},
        TToneCase{"PeriodTakesOnlyThreeHighBits",
                  {{0x4006, 0x34}, {0x4007, 0xFA}},
                  1,
                  0x234,
                  504,
                  {Level(1, 255), On(1, 111860 / 0x235)}},
        TToneCase{
            "TriangleShortest", {{0x400A, 0xFD}, {0x400B, 0x00}}, 2, 253, 2, {Level(2, 255), On(2, 440)}},
        TToneCase{"TriangleLongest", {{0x400B, 0xF8}}, 2, 0, 33, {Level(2, 255), On(2, 111860)}},
        TToneCase{
            "NoiseLengthIsIndex", {{0x400E, 0x07}, {0x400F, 0x50}}, 3, 7, 10, {Level(3, 255), On(3, 13982)}},
        TToneCase{"NoiseLengthZero", {{0x400F, 0x00}}, 3, 0, 0, {Level(3, 255), On(3, 111860)}}),
    [](const auto& info) { return info.param.Name; });

TEST_F(PSGTest, SwitchedOffChannelOnlySilencesButStillCounts) {
  PSG.ChannelOn[1] = false;
  Write({{0x4006, 0xFD}, {0x4007, 0x08}});
  EXPECT_EQ(Driver.Calls, (std::vector{Level(1, 0), Level(1, 0)}));
  EXPECT_EQ(PSG.Period[1], 253);
  EXPECT_EQ(PSG.Length[1], 24);
}

TEST_F(PSGTest, ToneStartPassesMasterVolumeAsLevel) {
  PSG.Volume = 0;
  Write({{0x4003, 0x00}});
  EXPECT_EQ(Driver.Calls, (std::vector{Level(0, 0), On(0, 111860)}));
}

// One frame step of a sweeping square: sweep register R, period before and after.
struct TSweepCase {
  const char* Name;
  uint8_t R;
  uint16_t PeriodBefore;
  uint16_t PeriodAfter;
  friend void PrintTo(const TSweepCase& c, std::ostream* out) { *out << c.Name; }
};

class SweepStep : public PSGTest, public testing::WithParamInterface<TSweepCase> {};

TEST_P(SweepStep, MovesPeriodAndRestartsTone) {
  const TSweepCase& c = GetParam();
  Write({{0x4003, 0x00}}); // length 8
  Write({{0x4001, c.R}});
  PSG.Period[0] = c.PeriodBefore;
  Driver.Calls.clear();
  PSG.FrameStep();
  EXPECT_EQ(PSG.Period[0], c.PeriodAfter);
  EXPECT_EQ(Driver.Calls, (std::vector{On(0, ToneFrequency(c.PeriodAfter))}));
}

INSTANTIATE_TEST_SUITE_P(Sweeps, SweepStep,
                         testing::Values(TSweepCase{"ZeroStepStillRestarts", 0x8A, 253, 253},
                                         TSweepCase{"DownByOne", 0x99, 253, 252},
                                         TSweepCase{"UpByShiftTimesAmount", 0xB3, 253, 262},
                                         TSweepCase{"LargestStepDown", 0xFF, 100, 51},
                                         TSweepCase{"BelowZeroWraps", 0x99, 0, 65535},
                                         TSweepCase{"AboveTopWraps", 0xB3, 65530, 3}),
                         [](const auto& info) { return info.param.Name; });

TEST_F(PSGTest, SweepFlagFollowsBitSevenOfEachSecondRegister) {
  Write({{0x4001, 0x80}, {0x4005, 0x7F}, {0x4009, 0xFF}, {0x400D, 0x80}});
  EXPECT_EQ(PSG.Sweep, (std::array<bool, 4>{true, false, true, true}));
  Write({{0x4001, 0x00}});
  EXPECT_FALSE(PSG.Sweep[0]);
}

TEST_F(PSGTest, SweepOnSwitchedOffChannelMovesPeriodSilently) {
  Write({{0x4003, 0x00}, {0x4001, 0x99}});
  PSG.ChannelOn[0] = false;
  Driver.Calls.clear();
  PSG.FrameStep();
  EXPECT_EQ(PSG.Period[0], 65535);
  EXPECT_TRUE(Driver.Calls.empty());
}

// Frame steps until a tone's length runs out, and the silence it ends with.
struct TLengthCase {
  const char* Name;
  TWrite Start;
  int32_t Channel;
  int32_t Frames;
  friend void PrintTo(const TLengthCase& c, std::ostream* out) { *out << c.Name; }
};

class LengthRunOut : public PSGTest, public testing::WithParamInterface<TLengthCase> {};

TEST_P(LengthRunOut, SilencesOnLastFrameThenStops) {
  const TLengthCase& c = GetParam();
  Write({{uint16_t(0x4001 + 4 * c.Channel), 0x99}, c.Start}); // sweeping too: it stops with the count
  for (int32_t frame = 1; frame < c.Frames; ++frame)
    PSG.FrameStep();
  Driver.Calls.clear();
  PSG.FrameStep();
  EXPECT_EQ(Driver.Calls.back(), Level(c.Channel, 0));
  EXPECT_EQ(PSG.Length[c.Channel], 0);
  const uint16_t period = PSG.Period[c.Channel];
  Driver.Calls.clear();
  for (int32_t frame = 0; frame < 600; ++frame)
    PSG.FrameStep();
  EXPECT_TRUE(Driver.Calls.empty());
  EXPECT_EQ(PSG.Period[c.Channel], period);
}

INSTANTIATE_TEST_SUITE_P(Lengths, LengthRunOut,
                         testing::Values(TLengthCase{"SquareShortest", {0x4003, 0x00}, 0, 8},
                                         TLengthCase{"SquareLongest", {0x4007, 0xF8}, 1, 504},
                                         TLengthCase{"TriangleShortest", {0x400B, 0x00}, 2, 2},
                                         TLengthCase{"NoiseOne", {0x400F, 0x08}, 3, 1}),
                         [](const auto& info) { return info.param.Name; });

TEST_F(PSGTest, NoiseLengthZeroIsNeverEnded) {
  Write({{0x400D, 0x99}, {0x400F, 0x00}});
  Driver.Calls.clear();
  for (int32_t frame = 0; frame < 100; ++frame)
    PSG.FrameStep();
  EXPECT_TRUE(Driver.Calls.empty());
  EXPECT_EQ(PSG.Period[3], 0);
}

// What reads give after a series of writes.
struct TRegisterCase {
  uint16_t Addr;
  uint8_t Expected;
};

TEST_F(PSGTest, RegisterReadsAndIgnoredWrites) {
  for (uint16_t a = 0x4000; a <= 0x4015; ++a)
    PSG.WriteRegister(a, uint8_t(a));
  PSG.WriteRegister(0x3FFF, 0x55);
  PSG.WriteRegister(0x4018, 0x55);
  const TRegisterCase cases[] = {
      {0x4000, 0x00}, {0x4003, 0x03}, {0x400F, 0x0F}, {0x4010, 0x10}, {0x4013, 0x13},
      {0x4014, 0x00}, {0x4015, 0x00}, {0x4016, 0xFF}, {0x4018, 0xFF}, {0x5FFF, 0xFF},
      {0x3FFF, 0xFF}, {0x0000, 0xFF}, {0xFFFF, 0xFF},
  };
  for (const TRegisterCase& c : cases)
    EXPECT_EQ(PSG.ReadRegister(c.Addr), c.Expected) << std::hex << c.Addr;
}

TEST_F(PSGTest, StoredOnlyRegistersCallNoDriver) {
  Write({{0x4000, 0xFF}, {0x4004, 0xFF}, {0x4008, 0xFF}, {0x400C, 0xFF}, {0x4010, 0xFF}, {0x4013, 0xFF}});
  Write({{0x4001, 0x99}, {0x4014, 0x12}, {0x4015, 0x0F}});
  EXPECT_TRUE(Driver.Calls.empty());
  EXPECT_EQ(PSG.Length, (std::array<int32_t, 4>{}));
}

TEST(PSGWithoutDriver, RunsSilentlyWithEmptySlots) {
  TPSG psg(nullptr);
  psg.WriteRegister(0x4001, 0x99);
  psg.WriteRegister(0x4003, 0x00);
  for (int32_t frame = 0; frame < 8; ++frame)
    psg.FrameStep();
  EXPECT_EQ(psg.Length[0], 0);
  EXPECT_EQ(psg.Period[0], uint16_t(-8));
}

} // namespace
