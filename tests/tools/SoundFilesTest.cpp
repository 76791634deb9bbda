#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "core/NESUnit.h"
#include "core/PSGUnit.h"
#include "platform/MidiOut.h"
#include "platform/audio/SquareTone.h"
#include "tools/MidiFile.h"
#include "tools/SoundRecorder.h"
#include "tools/WavWriter.h"

namespace {

std::vector<uint8_t> ReadBytes(const std::string& Path) {
  std::ifstream in(Path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string Temp(const char* Name) { return testing::TempDir() + Name; }

constexpr int64_t LinesPerSecond = int64_t(FrameLines * ConsoleFrameRate); // whole lines, for readable times

struct TTimedMessage {
  double Seconds;
  uint32_t Message;
};

std::vector<uint8_t> MidiFileBytes(const std::vector<TTimedMessage>& Messages, double EndSeconds) {
  const std::string path = Temp("pixtor-test-bytes.mid");
  TMidiFileWriter midi(path);
  for (const TTimedMessage& m : Messages) midi.Message(m.Seconds, m.Message);
  midi.Close(EndSeconds);
  return ReadBytes(path);
}

TEST(MidiFile, FormatZeroWithMillisecondTicks) {
  const std::vector<TTimedMessage> messages{{0.0, MidiShortMessage(0xC0, 0x02, 0x00)},
                                            {0.5, MidiShortMessage(0x90, 69, 0x40)},
                                            {0.4, MidiShortMessage(0xB0, 0x7B, 0x00)}, // late: at the tick before
                                            {0.6, 0xF8}, // not a channel message: left out
                                            {200.0, MidiShortMessage(0x91, 60, 0x40)}};
  const std::vector<uint8_t> track{0x00, 0xFF, 0x51, 0x03, 0x0F, 0x42, 0x40, // one quarter note a second
                                   0x00, 0xC0, 0x02,                         // program change: one data byte
                                   0x83, 0x74, 0x90, 0x45, 0x40,             // 500 ticks
                                   0x00, 0xB0, 0x7B, 0x00,                   //
                                   0x8C, 0x96, 0x4C, 0x91, 0x3C, 0x40,       // 199500 ticks: three bytes
                                   0x00, 0xFF, 0x2F, 0x00}; // the end is before the last message: ends there
  std::vector<uint8_t> expected{'M', 'T',  'h',  'd', 0,   0,   0,   6, 0, 0, 0,
                                1,   0x03, 0xE8, 'M', 'T', 'r', 'k', 0, 0, 0, uint8_t(track.size())};
  expected.insert(expected.end(), track.begin(), track.end());
  EXPECT_EQ(MidiFileBytes(messages, 100.0), expected);
}

TEST(MidiFile, TrackEndsAtRunEnd) {
  const std::vector<uint8_t> bytes = MidiFileBytes({}, 1.0);
  EXPECT_EQ(std::vector<uint8_t>(bytes.end() - 5, bytes.end()),
            (std::vector<uint8_t>{0x87, 0x68, 0xFF, 0x2F, 0x00}));
}

TEST(WavWriter, HeaderSizesAndLittleEndianSamples) {
  const std::string path = Temp("pixtor-test.wav");
  TWavWriter wav(path, 44100);
  const int16_t frames[] = {1, -1, 0x1234, -32768};
  wav.Write(frames, 1);
  wav.Write(frames + 2, 1);
  wav.Close();
  const std::vector<uint8_t> bytes = ReadBytes(path);
  ASSERT_EQ(bytes.size(), 44u + 8u);
  auto u32 = [&](size_t at) {
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | uint32_t(bytes[at + 3]) << 24;
  };
  EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "RIFF");
  EXPECT_EQ(u32(4), 36u + 8u);
  EXPECT_EQ(std::string(bytes.begin() + 8, bytes.begin() + 16), "WAVEfmt ");
  EXPECT_EQ(u32(24), 44100u);
  EXPECT_EQ(u32(28), 44100u * 4);
  EXPECT_EQ(u32(40), 8u);
  EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 44, bytes.end()),
            (std::vector<uint8_t>{0x01, 0x00, 0xFF, 0xFF, 0x34, 0x12, 0x00, 0x80}));
}

TEST(WavWriter, UnwritablePathThrowsNamingTheFile) {
  EXPECT_THROW(
      {
        try {
          TWavWriter wav("/nonexistent-dir/x.wav", 44100);
        } catch (const std::runtime_error& error) {
          EXPECT_NE(std::string(error.what()).find("/nonexistent-dir/x.wav"), std::string::npos);
          throw;
        }
      },
      std::runtime_error);
}

// The speaker sounds from 1 s to 2 s of emulated time in a 3 s render.
TEST(SoundRenderer, SpeakerCallsLandAtTheirEmulatedTime) {
  std::vector<int16_t> out;
  const std::vector<TSoundEvent> events{{TSoundEvent::Speaker, LinesPerSecond, 2711},
                                        {TSoundEvent::Speaker, 2 * LinesPerSecond, 0}};
  TSoundRenderer renderer(nullptr, [&out](const int16_t* Stereo, int32_t Frames) {
    out.insert(out.end(), Stereo, Stereo + 2 * Frames);
  });
  for (const TSoundEvent& event : events) renderer.Play(event);
  renderer.Finish(3 * LinesPerSecond);
  auto frameAt = [](int64_t Line) { return size_t(std::llround(LineSeconds(Line) * AudioSampleRate)); };
  ASSERT_EQ(out.size(), 2 * frameAt(3 * LinesPerSecond));
  auto silent = [&](size_t from, size_t to) {
    for (size_t i = 2 * from; i < 2 * to; ++i)
      if (out[i] != 0) return false;
    return true;
  };
  const size_t on = frameAt(LinesPerSecond), off = frameAt(2 * LinesPerSecond);
  EXPECT_TRUE(silent(0, on));
  EXPECT_NE(out[2 * on], 0);
  EXPECT_NE(out[2 * off - 1], 0);
  EXPECT_TRUE(silent(off, out.size() / 2));
}

// The runner's devices, installed around a console: calls written at the
// emulated line, files put in place at the end.
TEST(SoundRecorder, MidiFileChoosesMidiDriverAndRecordsFromProgramChange) {
  const std::string midi = Temp("pixtor-test.mid");
  {
    TSoundRecorder recorder("", midi, "/nonexistent.sf2");
    {
      TNES nes;
      EXPECT_TRUE(nes.PSG->MidiOpen);
      nes.PowerOn();
      recorder.SetLine(LinesPerSecond / 2);
      nes.CPUWriteMemory(nes.CPU.get(), 0x400A, 0xFD);
      nes.CPUWriteMemory(nes.CPU.get(), 0x4008, 0x00); // stored, nothing sent
    }
    EXPECT_TRUE(recorder.Close(LinesPerSecond).empty());
  }
  const std::vector<uint8_t> bytes = ReadBytes(midi);
  ASSERT_EQ(bytes.size(), 22u + 7u + 3u + 5u + 5u);
  // Half a second of emulated time is 500 ticks (0x83 0x74); the run's end 1 s.
  EXPECT_EQ(
      std::vector<uint8_t>(bytes.begin() + 29, bytes.end()),
      (std::vector<uint8_t>{0x00, 0xC0, 0x02, 0x83, 0x74, 0x92, 0x45, 0x40, 0x83, 0x74, 0xFF, 0x2F, 0x00}));
  EXPECT_FALSE(MidiOutOpen()); // uninstalled with the recorder
}

TEST(SoundRecorder, WavWithoutSoundFontHearsTheSpeaker) {
  const std::string wav = Temp("pixtor-speaker.wav");
  TSoundRecorder recorder(wav, "", Temp("pixtor-missing.sf2"));
  {
    TNES nes;
    EXPECT_FALSE(nes.PSG->MidiOpen);
    nes.PowerOn();
    nes.CPUWriteMemory(nes.CPU.get(), 0x4002, 0xFD);
    recorder.SetLine(LinesPerSecond / 2); // the console goes, silencing the speaker
  }
  EXPECT_TRUE(recorder.Close(LinesPerSecond).empty());
  const std::vector<uint8_t> bytes = ReadBytes(wav);
  ASSERT_EQ(bytes.size(), 44u + 4u * size_t(std::llround(LineSeconds(LinesPerSecond) * AudioSampleRate)));
  EXPECT_NE(bytes[44] | bytes[45], 0);                  // sounding from the start
  EXPECT_EQ(bytes[bytes.size() - 2] | bytes.back(), 0); // and silent at the end
}

} // namespace
