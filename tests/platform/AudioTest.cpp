#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <numbers>
#include <string>
#include <vector>

#include "core/BleepInt.h"
#include "core/PSGUnit.h"
#include "platform/Speaker.h"
#include "platform/audio/AudioDevice.h"
#include "platform/audio/MessageQueue.h"
#include "platform/audio/SquareTone.h"
#include "platform/audio/Synth.h"

namespace {

// The left channel of interleaved stereo frames.
std::vector<double> Left(const std::vector<int16_t>& Stereo) {
  std::vector<double> mono(Stereo.size() / 2);
  for (size_t i = 0; i < mono.size(); ++i)
    mono[i] = Stereo[2 * i];
  return mono;
}

// The frequency, in 1 Hz steps from 50 to 4000 Hz, of the strongest component
// of a Hann-windowed stretch (a Goertzel filter per step).
double DominantFrequency(const std::vector<double>& Samples) {
  const size_t n = Samples.size();
  std::vector<double> windowed(n);
  for (size_t i = 0; i < n; ++i)
    windowed[i] = Samples[i] * (0.5 - 0.5 * std::cos(2 * std::numbers::pi * double(i) / double(n - 1)));
  double best = 0, bestPower = -1;
  for (double f = 50; f <= 4000; f += 1) {
    const double coeff = 2 * std::cos(2 * std::numbers::pi * f / AudioSampleRate);
    double s1 = 0, s2 = 0;
    for (double x : windowed) {
      const double s = x + coeff * s1 - s2;
      s2 = s1;
      s1 = s;
    }
    const double power = s1 * s1 + s2 * s2 - coeff * s1 * s2;
    if (power > bestPower) {
      bestPower = power;
      best = f;
    }
  }
  return best;
}

// The frequency of a square wave from the spacing of its rising edges.
double EdgeFrequency(const std::vector<double>& Samples) {
  std::vector<size_t> rises;
  for (size_t i = 1; i < Samples.size(); ++i)
    if (Samples[i - 1] < 0 && Samples[i] > 0) rises.push_back(i);
  if (rises.size() < 2) return 0;
  return double(rises.size() - 1) * AudioSampleRate / double(rises.back() - rises.front());
}

// Sets SDL's audio driver for one test; SDL reads it whenever its audio starts.
class TAudioDriver {
public:
  explicit TAudioDriver(const char* Name) { setenv("SDL_AUDIODRIVER", Name, 1); }
  ~TAudioDriver() { unsetenv("SDL_AUDIODRIVER"); }
};

TEST(SquareTone, TimerDivisorOf440HzGives440Point1Hz) {
  TSquareTone tone;
  tone.Sound(uint16_t(TimerClock / 440));
  std::vector<int16_t> stereo(2 * 2 * AudioSampleRate);
  tone.Render(stereo.data(), 2 * AudioSampleRate);
  EXPECT_NEAR(EdgeFrequency(Left(stereo)), 440.1, 440.1 * 0.005);
  EXPECT_EQ(stereo[0], stereo[1]);
}

TEST(SquareTone, MixesIntoWhatIsThereAndAddsNothingWhenSilent) {
  TSquareTone tone;
  std::vector<int16_t> stereo(2 * 256, 7);
  tone.Render(stereo.data(), 256);
  EXPECT_EQ(stereo, std::vector<int16_t>(2 * 256, 7));
  tone.Sound(2711);
  stereo.assign(2 * 256, 32000);
  tone.Render(stereo.data(), 256);
  EXPECT_EQ(*std::max_element(stereo.begin(), stereo.end()), 32767); // held at the top, not wrapped
  tone.Silence();
  stereo.assign(2 * 256, 0);
  tone.Render(stereo.data(), 256);
  EXPECT_EQ(stereo, std::vector<int16_t>(2 * 256, 0));
}

TEST(Synth, RendersNote69At440HzOffline) {
  const std::string soundFont = DefaultSoundFont();
  if (soundFont.empty())
    GTEST_SKIP()
        << "no General MIDI SoundFont installed (/usr/share/sounds/sf2/default-GM.sf2 or TimGM6mb.sf2); "
           "install timgm6mb-soundfont to run this test";
  auto synth = TSynth::Load(soundFont);
  ASSERT_TRUE(synth) << soundFont;
  synth->ShortMsg(MidiShortMessage(0xC0, 0x02, 0x00));
  synth->ShortMsg(MidiShortMessage(0x90, 69, 0x40));
  std::vector<int16_t> stereo(2 * AudioSampleRate);
  synth->Render(stereo.data(), AudioSampleRate);
  // Past the attack: a quarter second from 0.1 s.
  std::vector<double> left = Left(stereo);
  std::vector<double> stretch(left.begin() + AudioSampleRate / 10, left.begin() + AudioSampleRate * 35 / 100);
  double peak = 0;
  for (double x : stretch)
    peak = std::max(peak, std::abs(x));
  EXPECT_GT(peak, 500.0); // of 32767
  EXPECT_NEAR(DominantFrequency(stretch), 440.0, 440.0 * 0.02);
}

// SoundFonts that can't be had: the synthesizer does not load.
TEST(Synth, MissingEmptyOrCorruptSoundFontDoesNotLoad) {
  const std::string dir = testing::TempDir();
  std::ofstream(dir + "pixtor-empty.sf2");
  std::ofstream(dir + "pixtor-corrupt.sf2") << "RIFF\x10\x00\x00\x00sfbkLIST garbage that is no SoundFont";
  for (const std::string& path :
       {std::string(), dir + "pixtor-missing.sf2", dir + "pixtor-empty.sf2", dir + "pixtor-corrupt.sf2"})
    EXPECT_FALSE(TSynth::Load(path)) << path;
}

TEST(MessageQueue, KeepsOrderAndDropsWhenFull) {
  TMessageQueue<4> queue;
  for (uint32_t m = 1; m <= 4; ++m)
    EXPECT_TRUE(queue.Push(m));
  EXPECT_FALSE(queue.Push(5));
  uint32_t m = 0;
  for (uint32_t expected = 1; expected <= 4; ++expected) {
    ASSERT_TRUE(queue.Pop(m));
    EXPECT_EQ(m, expected);
  }
  EXPECT_FALSE(queue.Pop(m));
  EXPECT_TRUE(queue.Push(6)); // the indexes wrap
  ASSERT_TRUE(queue.Pop(m));
  EXPECT_EQ(m, 6u);
}

TEST(AudioBackends, NoAudioDeviceMeansSpeakerDriverAndSilence) {
  TAudioDriver none("pixtor-no-such-driver");
  EXPECT_FALSE(TAudioStream::Open([](int16_t*, int32_t) {}));
  TAudioBackends backends;
  EXPECT_FALSE(backends.OpenMidiOut(DefaultSoundFont()));
  TPSG psg(nullptr);
  EXPECT_FALSE(psg.MidiOpen);
  psg.WriteRegister(0x4002, 0xFD);
  psg.WriteRegister(0x4003, 0x00);
  SpeakerTone(440, 0);
}

// SDL's dummy device takes audio and plays it nowhere, and opens only once:
// the synthesizer and the speaker share its stream, and a flood of messages
// never blocks the sender.
TEST(AudioBackends, SynthesizerAndSpeakerShareDeviceAndNeverBlockTheSender) {
  TAudioDriver dummy("dummy");
  TAudioBackends backends;
  SpeakerTone(440, -1);
  SpeakerOff();
  if (DefaultSoundFont().empty()) GTEST_SKIP() << "no General MIDI SoundFont installed";
  for (int32_t open = 0; open < 2; ++open) {
    TPSG psg(nullptr);
    ASSERT_TRUE(psg.MidiOpen);
    for (int32_t i = 0; i < 20000; ++i)
      psg.MidiToneOn(uint8_t(i & 3), 440 + i % 1000);
  }
}

TEST(AudioBackends, CorruptSoundFontLeavesNoMidiOutput) {
  TAudioDriver dummy("dummy");
  TAudioBackends backends;
  const std::string corrupt = testing::TempDir() + "pixtor-corrupt.sf2";
  std::ofstream(corrupt) << "RIFF\x10\x00\x00\x00sfbkLIST garbage that is no SoundFont";
  EXPECT_FALSE(backends.OpenMidiOut(corrupt));
}

} // namespace
