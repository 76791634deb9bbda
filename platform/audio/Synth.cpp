#include "platform/audio/Synth.h"

#include <filesystem>
#include <initializer_list>

#include <fluidsynth.h>

#include "platform/audio/SquareTone.h"

struct TSynth::TFluid {
  fluid_settings_t* Settings = nullptr;
  fluid_synth_t* Synth = nullptr;
  ~TFluid() {
    if (Synth) delete_fluid_synth(Synth);
    if (Settings) delete_fluid_settings(Settings);
  }
};

std::string DefaultSoundFont() {
  for (const char* path : {"/usr/share/sounds/sf2/default-GM.sf2", "/usr/share/sounds/sf2/TimGM6mb.sf2"}) {
    std::error_code error;
    if (std::filesystem::is_regular_file(path, error)) return path;
  }
  return {};
}

std::unique_ptr<TSynth> TSynth::Load(const std::string& SoundFont) {
  // A SoundFont that does not load means "no MIDI output", silently.
  for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
    fluid_set_log_function(level, nullptr, nullptr);
  auto fluid = std::make_unique<TFluid>();
  fluid->Settings = new_fluid_settings();
  if (!fluid->Settings) return nullptr;
  fluid_settings_setnum(fluid->Settings, "synth.sample-rate", AudioSampleRate);
  // The default gain (0.2) leaves a velocity-64 note near 1 % of full scale;
  // notes never end by Note Off here, so some headroom for overlaps stays.
  fluid_settings_setnum(fluid->Settings, "synth.gain", 1.0);
  // Only the audio thread touches the synthesizer, so it needs no locks.
  fluid_settings_setint(fluid->Settings, "synth.threadsafe-api", 0);
  fluid->Synth = new_fluid_synth(fluid->Settings);
  if (!fluid->Synth || SoundFont.empty() ||
      fluid_synth_sfload(fluid->Synth, SoundFont.c_str(), 1) == FLUID_FAILED)
    return nullptr;
  return std::make_unique<TSynth>(std::move(fluid));
}

TSynth::TSynth(std::unique_ptr<TFluid> Fluid) : Fluid(std::move(Fluid)) {}

TSynth::~TSynth() = default;

void TSynth::ShortMsg(uint32_t Message) {
  const int channel = Message & 0x0F;
  const int data1 = (Message >> 8) & 0x7F;
  const int data2 = (Message >> 16) & 0x7F;
  fluid_synth_t* synth = Fluid->Synth;
  switch (Message & 0xF0) {
  case 0x80: fluid_synth_noteoff(synth, channel, data1); break;
  case 0x90: fluid_synth_noteon(synth, channel, data1, data2); break;
  case 0xB0: fluid_synth_cc(synth, channel, data1, data2); break;
  case 0xC0: fluid_synth_program_change(synth, channel, data1); break;
  default: break;
  }
}

void TSynth::Render(int16_t* Stereo, int32_t Frames) {
  fluid_synth_write_s16(Fluid->Synth, Frames, Stereo, 0, 2, Stereo, 1, 2);
}
