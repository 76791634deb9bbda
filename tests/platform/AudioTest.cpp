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
#include "platform/SoundVolume.h"
#include "platform/Speaker.h"
#include "platform/audio/AudioDevice.h"
#include "platform/audio/MessageQueue.h"
#include "platform/audio/MidiBatch.h"
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

// A batch keeps, per channel, only what its messages leave behind.
TEST(MidiBatch, FloodComesOutAsItsNetEffect) {
  TMidiBatch batch;
  batch.Add(MidiShortMessage(0xC0, 0x02, 0x00));
  for (int32_t pass = 0; pass < 100; ++pass)
    for (uint8_t key = 60; key < 120; ++key)
      for (uint8_t status : {0x90, 0x91})
        batch.Add(MidiShortMessage(status, key, 0x40));
  batch.Add(MidiShortMessage(0xB0, 0x7B, 0x00)); // All Notes Off: channel 0's notes so far are gone
  batch.Add(MidiShortMessage(0x90, 69, 0x40));
  batch.Add(MidiShortMessage(0x91, 70, 0x00)); // velocity 0: a Note Off
  batch.Add(MidiShortMessage(0xB2, 7, 100));
  batch.Add(MidiShortMessage(0xB2, 121, 0)); // Reset All Controllers undoes the volume before it
  batch.Add(MidiShortMessage(0xB2, 7, 90));
  batch.Add(MidiShortMessage(0xE3, 0x00, 0x40)); // pitch bend: not played
  std::vector<uint32_t> expected = {MidiShortMessage(0xB0, 0x7B, 0x00), MidiShortMessage(0xC0, 0x02, 0x00),
                                    MidiShortMessage(0x90, 69, 0x40), MidiShortMessage(0x81, 70, 0x00)};
  for (uint8_t key = 60; key < 120; ++key)
    if (key != 70) expected.push_back(MidiShortMessage(0x91, key, 0x40));
  expected.push_back(MidiShortMessage(0xB2, 121, 0));
  expected.push_back(MidiShortMessage(0xB2, 7, 90));
  std::vector<uint32_t> played;
  batch.Flush([&played](uint32_t Message) { played.push_back(Message); });
  EXPECT_EQ(played, expected);
  played.clear();
  batch.Flush([&played](uint32_t Message) { played.push_back(Message); });
  EXPECT_TRUE(played.empty());
}

// Renders Seconds of a mix with no device, block by block as the audio thread
// does; adds the messages handed to the synthesizer to Played.
std::vector<int16_t> Render(TLiveMix& Mix, double Seconds, int32_t& Played) {
  std::vector<int16_t> stereo(2 * size_t(Seconds * AudioSampleRate / 512) * 512);
  for (size_t at = 0; at < stereo.size(); at += 2 * 512)
    Played += Mix.Fill(stereo.data() + at, 512);
  return stereo;
}

// A flood of notes still queued costs the synthesizer a handful of messages
// in one block, and sounds as its last messages say: here as one note alone.
TEST(LiveMix, FloodTakesOneBlockOfBoundedWorkAndEndsAsItsLastMessagesSay) {
  if (DefaultSoundFont().empty()) GTEST_SKIP() << "no General MIDI SoundFont installed";
  TLiveMix flooded, clean;
  std::unique_ptr<TMidiOut> flood = flooded.OpenMidiOut(DefaultSoundFont());
  std::unique_ptr<TMidiOut> one = clean.OpenMidiOut(DefaultSoundFont());
  ASSERT_TRUE(flood && one);
  for (TMidiOut* out : {flood.get(), one.get()})
    out->ShortMsg(MidiShortMessage(0xC0, 0x02, 0x00));
  for (int32_t i = 0; i < 30000; ++i)
    flood->ShortMsg(MidiShortMessage(uint8_t(0x90 + i % 3), uint8_t(69 + i / 3 % 59), 0x40));
  for (uint8_t channel = 0; channel < 3; ++channel)
    flood->ShortMsg(MidiShortMessage(0xB0 + channel, 0x7B, 0x00));
  for (TMidiOut* out : {flood.get(), one.get()})
    out->ShortMsg(MidiShortMessage(0x90, 69, 0x40));
  std::vector<int16_t> first(2 * 512);
  EXPECT_EQ(flooded.Fill(first.data(), 512), 5); // the program, three All Notes Off, the last note
  int32_t played = 0, cleanPlayed = 0;
  std::vector<int16_t> rest = Render(flooded, 0.3, played);
  EXPECT_EQ(played, 0);
  std::vector<int16_t> reference = Render(clean, 0.3 + 512.0 / AudioSampleRate, cleanPlayed);
  EXPECT_EQ(cleanPlayed, 2);
  first.insert(first.end(), rest.begin(), rest.end());
  EXPECT_EQ(first, reference);
}

// The master volume scales what is heard, the synthesizer's note and the
// speaker's tone alike, in proportion.
TEST(LiveMix, MasterVolumeScalesTheSoundInProportion) {
  const std::string soundFont = DefaultSoundFont();
  std::vector<double> levels;
  for (int32_t volume : {255, 127, 0}) {
    SetSoundVolume(volume);
    TLiveMix mix;
    mix.Speaker().Sound(2711);
    std::unique_ptr<TMidiOut> out = soundFont.empty() ? nullptr : mix.OpenMidiOut(soundFont);
    if (out) out->ShortMsg(MidiShortMessage(0x90, 57, 0x40));
    int32_t played = 0;
    double sum = 0;
    for (int16_t sample : Render(mix, 0.25, played))
      sum += double(sample) * sample;
    levels.push_back(std::sqrt(sum));
  }
  SetSoundVolume(255);
  EXPECT_GT(levels[0], 0.0);
  EXPECT_NEAR(levels[1] / levels[0], 127.0 / 255.0, 0.005);
  EXPECT_EQ(levels[2], 0.0);
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

// Without a device the sound library's own complaints stay unprinted (ALSA
// has eight lines when there is no sound card): one line of ours says it.
TEST(AudioBackends, NoAudioDeviceIsOneLineOnStandardError) {
  const std::string line = "pixtor: no audio device; running silent\n";
  for (const char* driver : {"pixtor-no-such-driver", "alsa"}) {
    TAudioDriver chosen(driver);
    testing::internal::CaptureStderr();
    { TAudioBackends backends; }
    const std::string said = testing::internal::GetCapturedStderr();
    if (std::string(driver) == "alsa" && said.empty()) continue; // this machine has a sound card
    EXPECT_EQ(said, line) << driver;
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
