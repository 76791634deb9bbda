#pragma once

#include <cstdint>
#include <memory>
#include <string>

// The system's General MIDI SoundFont: the default GM link when it leads to a
// file, else TimGM6mb; empty when neither is installed.
std::string DefaultSoundFont();

// A General MIDI synthesizer (FluidSynth) on one SoundFont, rendering 16-bit
// stereo at AudioSampleRate. It is not thread-safe: one thread sends and
// renders.
class TSynth {
public:
  // Nullptr when the SoundFont is missing, empty or can't be read.
  static std::unique_ptr<TSynth> Load(const std::string& SoundFont);
  ~TSynth();
  TSynth(const TSynth&) = delete;
  TSynth& operator=(const TSynth&) = delete;

  // A short message, status in bits 0-7: Note Off, Note On, Control Change
  // and Program Change are played; anything else is ignored.
  void ShortMsg(uint32_t Message);
  void Render(int16_t* Stereo, int32_t Frames);

  struct TFluid; // the library's objects, only Load makes one
  explicit TSynth(std::unique_ptr<TFluid> Fluid);

private:
  std::unique_ptr<TFluid> Fluid;
};
