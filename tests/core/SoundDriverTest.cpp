#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <ostream>
#include <vector>

#include "core/BleepInt.h"
#include "core/NESUnit.h"
#include "core/PSGUnit.h"
#include "platform/MessagePump.h"
#include "platform/MidiOut.h"
#include "platform/Speaker.h"

namespace {

// What the recording devices saw: MIDI messages as sent, speaker calls as
// the divisor loaded or Off for a silence.
struct TSoundLog {
  std::vector<uint32_t> Midi;
  bool MidiClosed = false;
  std::vector<int32_t> Speaker;
};
constexpr int32_t Off = -1;

class TRecordingMidiOut final : public TMidiOut {
public:
  explicit TRecordingMidiOut(TSoundLog& Log) : Log(Log) {}
  ~TRecordingMidiOut() override { Log.MidiClosed = true; }
  void ShortMsg(uint32_t Message) override { Log.Midi.push_back(Message); }

private:
  TSoundLog& Log;
};

class TRecordingSpeaker final : public TSpeakerPort {
public:
  explicit TRecordingSpeaker(TSoundLog& Log) : Log(Log) {}
  void Sound(uint16_t Divisor) override { Log.Speaker.push_back(Divisor); }
  void Silence() override { Log.Speaker.push_back(Off); }

private:
  TSoundLog& Log;
};

uint32_t Msg(uint8_t Status, uint8_t Data1, uint8_t Data2) { return MidiShortMessage(Status, Data1, Data2); }

// Installs the recording devices; the MIDI output opens only when asked to.
class SoundDriver : public testing::Test {
protected:
  void Install(bool MidiOpens) {
    SetMidiOutOpener([this, MidiOpens]() -> std::unique_ptr<TMidiOut> {
      if (!MidiOpens) return nullptr;
      return std::make_unique<TRecordingMidiOut>(Log);
    });
    SetSpeakerPort(&Speaker);
  }
  void TearDown() override {
    SetMidiOutOpener(nullptr);
    SetSpeakerPort(nullptr);
    SetMessagePump(nullptr);
  }

  TSoundLog Log;
  TRecordingSpeaker Speaker{Log};
};

TEST_F(SoundDriver, OpenMidiOutputChoosesMidiDriverAndSetsProgramOnChannelOneOnly) {
  Install(true);
  TPSG psg(nullptr);
  EXPECT_TRUE(psg.MidiOpen);
  EXPECT_EQ(Log.Midi, std::vector{Msg(0xC0, 0x02, 0x00)});
  EXPECT_EQ(psg.MidiMessage, (std::array<uint8_t, 4>{0xC0, 0x02, 0x00, 0x00}));
  EXPECT_TRUE(psg.OnToneOn == TToneOnEvent::Bind<&TPSG::MidiToneOn>(&psg));
  EXPECT_TRUE(psg.OnToneLevel == TToneLevelEvent::Bind<&TPSG::MidiToneLevel>(&psg));
}

TEST_F(SoundDriver, FailedMidiOpenFallsBackToSpeakerSilently) {
  Install(false);
  TPSG psg(nullptr);
  EXPECT_FALSE(psg.MidiOpen);
  EXPECT_TRUE(psg.OnToneOn == TToneOnEvent::Bind<&TPSG::SpeakerToneOn>(&psg));
  EXPECT_TRUE(psg.OnToneLevel == TToneLevelEvent::Bind<&TPSG::SpeakerToneLevel>(&psg));
  EXPECT_TRUE(Log.Midi.empty());
  EXPECT_TRUE(Log.Speaker.empty());
}

TEST_F(SoundDriver, NoDeviceInstalledMeansSpeakerDriver) {
  TPSG psg(nullptr);
  EXPECT_FALSE(psg.MidiOpen);
  psg.WriteRegister(0x4003, 0x00); // the silent speaker takes it
}

TEST_F(SoundDriver, DestructionClosesMidiWithoutAMessage) {
  Install(true);
  std::optional<TPSG> psg(std::in_place, nullptr);
  psg->MidiToneOn(0, 440);
  const size_t sent = Log.Midi.size();
  psg.reset();
  EXPECT_TRUE(Log.MidiClosed);
  EXPECT_EQ(Log.Midi.size(), sent);
  EXPECT_TRUE(Log.Speaker.empty());
}

TEST_F(SoundDriver, DestructionSilencesSpeaker) {
  Install(false);
  std::optional<TPSG> psg(std::in_place, nullptr);
  psg.reset();
  EXPECT_EQ(Log.Speaker, std::vector{Off});
}

// The note a frequency plays on MIDI channel 3, or none.
struct TNoteCase {
  uint32_t Frequency;
  std::optional<uint8_t> Note;
};

class MidiNote : public SoundDriver, public testing::WithParamInterface<TNoteCase> {};

TEST_P(MidiNote, TruncatesTowardZero) {
  Install(true);
  TPSG psg(nullptr);
  Log.Midi.clear();
  psg.MidiToneOn(2, GetParam().Frequency);
  if (GetParam().Note)
    EXPECT_EQ(Log.Midi, std::vector{Msg(0x92, *GetParam().Note, 0x40)});
  else
    EXPECT_TRUE(Log.Midi.empty());
}

INSTANTIATE_TEST_SUITE_P(Frequencies, MidiNote,
                         testing::Values(TNoteCase{9, std::nullopt}, TNoteCase{10, 4}, TNoteCase{54, 32},
                                         TNoteCase{55, 33}, TNoteCase{110, 45}, TNoteCase{220, 57},
                                         TNoteCase{439, 68}, TNoteCase{440, 69}, TNoteCase{880, 81},
                                         TNoteCase{1760, 93}, TNoteCase{3520, 105}, TNoteCase{7040, 117},
                                         TNoteCase{12428, 126},
                                         // 13982 Hz (period 7) comes to note 128 and is held to the top note.
                                         TNoteCase{13982, 127}, TNoteCase{14000, 127},
                                         TNoteCase{14001, std::nullopt}),
                         [](const auto& info) { return std::to_string(info.param.Frequency); });

TEST_F(SoundDriver, MidiLevelSendsAllNotesOffOnlyForSilence) {
  Install(true);
  TPSG psg(nullptr);
  Log.Midi.clear();
  psg.MidiToneLevel(1, 255);
  psg.MidiToneLevel(1, -1);
  EXPECT_TRUE(Log.Midi.empty());
  psg.MidiToneLevel(1, 0);
  EXPECT_EQ(Log.Midi, std::vector{Msg(0xB1, 0x7B, 0x00)});
  EXPECT_EQ(psg.MidiMessage, (std::array<uint8_t, 4>{0xB1, 0x7B, 0x00, 0x00}));
}

// Register writes through the console's bus, then frame steps, and the MIDI
// messages they send after the program change.
struct TPathCase {
  const char* Name;
  int32_t Volume;
  std::array<bool, 4> ChannelOn;
  std::vector<std::pair<uint16_t, uint8_t>> Writes;
  int32_t Frames;
  std::vector<uint32_t> Messages;
  friend void PrintTo(const TPathCase& c, std::ostream* out) { *out << c.Name; }
};

class RegistersToMidi : public SoundDriver, public testing::WithParamInterface<TPathCase> {};

TEST_P(RegistersToMidi, SendsTheseBytes) {
  const TPathCase& c = GetParam();
  Install(true);
  TNES nes;
  nes.PowerOn();
  nes.PSG->Volume = c.Volume;
  nes.PSG->ChannelOn = c.ChannelOn;
  Log.Midi.clear();
  for (const auto& [addr, value] : c.Writes)
    nes.CPUWriteMemory(nes.CPU.get(), addr, value);
  for (int32_t frame = 0; frame < c.Frames; ++frame)
    nes.PSG->FrameStep();
  EXPECT_EQ(Log.Midi, c.Messages);
}

constexpr std::array<bool, 4> AllOn{true, true, true, true};

INSTANTIATE_TEST_SUITE_P(
    Paths, RegistersToMidi,
    testing::Values(
        // The low write already starts a tone with the high register as it stood: here 0, so 440 Hz too.
        TPathCase{"SquareA440",
                  255,
                  AllOn,
                  {{0x4002, 0xFD}, {0x4003, 0x00}},
                  0,
                  {Msg(0x90, 69, 0x40), Msg(0x90, 69, 0x40)}},
        TPathCase{"TriangleOnMidiChannelThree",
                  255,
                  AllOn,
                  {{0x400B, 0x00}, {0x400A, 0xFD}},
                  2,
                  {Msg(0x92, 69, 0x40), Msg(0xB2, 0x7B, 0x00)}},
        TPathCase{"VolumeZeroStopsNotesBeforeEachTone",
                  0,
                  AllOn,
                  {{0x4006, 0xFD}, {0x4007, 0x00}},
                  0,
                  {Msg(0xB1, 0x7B, 0x00), Msg(0x91, 69, 0x40), Msg(0xB1, 0x7B, 0x00), Msg(0x91, 69, 0x40)}},
        TPathCase{"SwitchedOffChannelOnlySilences",
                  255,
                  {true, true, true, false},
                  {{0x400E, 0xFD}},
                  0,
                  {Msg(0xB3, 0x7B, 0x00)}},
        TPathCase{"SweepRestartsEachFrameThenLengthEnds",
                  255,
                  AllOn,
                  {{0x4001, 0xF9}, {0x4002, 0xFD}, {0x4003, 0x00}},
                  8,
                  // down 7 a frame: 246, 239 (466.08 Hz, still note 69), 232, 225, 218, 211, 204, 197
                  {Msg(0x90, 69, 0x40), Msg(0x90, 69, 0x40), Msg(0x90, 69, 0x40), Msg(0x90, 69, 0x40),
                   Msg(0x90, 70, 0x40), Msg(0x90, 71, 0x40), Msg(0x90, 71, 0x40), Msg(0x90, 72, 0x40),
                   Msg(0x90, 72, 0x40), Msg(0x90, 73, 0x40), Msg(0xB0, 0x7B, 0x00)}},
        TPathCase{"NoiseTopPeriodPlaysTopNote",
                  255,
                  AllOn,
                  {{0x400E, 0x07}, {0x400F, 0x00}},
                  0,
                  {Msg(0x93, 127, 0x40), Msg(0x93, 127, 0x40)}}),
    [](const auto& info) { return info.param.Name; });

TEST_F(SoundDriver, SpeakerFollowsLatestToneAndAnySilence) {
  Install(false);
  TPSG psg(nullptr);
  psg.WriteRegister(0x4002, 0xFD);
  psg.WriteRegister(0x4003, 0x00); // 440 Hz, 8 frames
  psg.WriteRegister(0x4006, 0x7E);
  psg.WriteRegister(0x4007, 0x08); // 880 Hz, 24 frames
  EXPECT_EQ(Log.Speaker, (std::vector<int32_t>{2711, 2711, 1355, 1355}));
  for (int32_t frame = 0; frame < 8; ++frame)
    psg.FrameStep();
  EXPECT_EQ(Log.Speaker.back(), Off);
}

TEST_F(SoundDriver, SpeakerAtVolumeZeroNeverSoundsButStillSilences) {
  Install(false);
  TPSG psg(nullptr);
  psg.Volume = 0;
  psg.WriteRegister(0x4003, 0x00);
  psg.SpeakerToneOn(1, 440);
  EXPECT_EQ(Log.Speaker, std::vector{Off});
}

// SpeakerTone with a negative duration: the divisor loaded, or nothing.
struct TBleepCase {
  uint32_t Frequency;
  std::vector<int32_t> Calls;
};

class Bleep : public SoundDriver, public testing::WithParamInterface<TBleepCase> {};

TEST_P(Bleep, LoadsTimerDivisorInRange) {
  Install(false);
  SpeakerTone(GetParam().Frequency, -1);
  EXPECT_EQ(Log.Speaker, GetParam().Calls);
}

INSTANTIATE_TEST_SUITE_P(Frequencies, Bleep,
                         testing::Values(TBleepCase{19, {}}, TBleepCase{20, {59659}}, TBleepCase{440, {2711}},
                                         TBleepCase{5000, {238}}, TBleepCase{5001, {}}),
                         [](const auto& info) { return std::to_string(info.param.Frequency); });

int32_t Pumps = 0;

TEST_F(SoundDriver, TimedToneEndsInSilenceWithoutPumpingWhenShort) {
  Install(false);
  Pumps = 0;
  SetMessagePump([] { ++Pumps; });
  SpeakerTone(440, 0);
  SpeakerTone(5001, 2); // out of range: the speaker stays off, and is silenced again after 2 ms
  EXPECT_EQ(Log.Speaker, (std::vector<int32_t>{2711, Off, Off}));
  EXPECT_EQ(Pumps, 0);
}

} // namespace
