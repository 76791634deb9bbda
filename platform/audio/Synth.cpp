#include "platform/audio/Synth.h"

#include <dlfcn.h>

#include <filesystem>
#include <initializer_list>
#include <type_traits>

#include <fluidsynth.h>

#include "platform/audio/SquareTone.h"

namespace {

// FluidSynth is opened on the first Load, not at start-up: with what it
// depends on (SDL, PulseAudio, JACK, GLib) it maps several megabytes into
// every process linked with the audio backends, most of which never play a note.
struct TFluidLibrary {
  void* Handle = nullptr;
  decltype(&fluid_set_log_function) SetLogFunction = nullptr;
  decltype(&new_fluid_settings) NewSettings = nullptr;
  decltype(&delete_fluid_settings) DeleteSettings = nullptr;
  decltype(&fluid_settings_setnum) SetNum = nullptr;
  decltype(&fluid_settings_setint) SetInt = nullptr;
  decltype(&new_fluid_synth) NewSynth = nullptr;
  decltype(&delete_fluid_synth) DeleteSynth = nullptr;
  decltype(&fluid_synth_sfload) SFLoad = nullptr;
  decltype(&fluid_synth_noteoff) NoteOff = nullptr;
  decltype(&fluid_synth_noteon) NoteOn = nullptr;
  decltype(&fluid_synth_cc) CC = nullptr;
  decltype(&fluid_synth_program_change) ProgramChange = nullptr;
  decltype(&fluid_synth_write_s16) WriteS16 = nullptr;

  TFluidLibrary() {
    Handle = dlopen(PIXTOR_FLUIDSYNTH_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    if (!Handle) return;
    bool complete = true;
    auto find = [&](auto& Function, const char* Name) {
      Function = reinterpret_cast<std::remove_reference_t<decltype(Function)>>(dlsym(Handle, Name));
      complete = complete && Function;
    };
    find(SetLogFunction, "fluid_set_log_function");
    find(NewSettings, "new_fluid_settings");
    find(DeleteSettings, "delete_fluid_settings");
    find(SetNum, "fluid_settings_setnum");
    find(SetInt, "fluid_settings_setint");
    find(NewSynth, "new_fluid_synth");
    find(DeleteSynth, "delete_fluid_synth");
    find(SFLoad, "fluid_synth_sfload");
    find(NoteOff, "fluid_synth_noteoff");
    find(NoteOn, "fluid_synth_noteon");
    find(CC, "fluid_synth_cc");
    find(ProgramChange, "fluid_synth_program_change");
    find(WriteS16, "fluid_synth_write_s16");
    if (!complete) Handle = nullptr; // stays mapped, never used
  }
};

// The library for the process's lifetime, or nullptr when it does not load.
const TFluidLibrary* FluidLibrary() {
  static const TFluidLibrary library;
  return library.Handle ? &library : nullptr;
}

} // namespace

struct TSynth::TFluid {
  const TFluidLibrary& Library;
  fluid_settings_t* Settings = nullptr;
  fluid_synth_t* Synth = nullptr;
  explicit TFluid(const TFluidLibrary& Library) : Library(Library) {}
  ~TFluid() {
    if (Synth) Library.DeleteSynth(Synth);
    if (Settings) Library.DeleteSettings(Settings);
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
  const TFluidLibrary* library = FluidLibrary();
  if (!library) return nullptr;
  // A SoundFont that does not load means "no MIDI output", silently.
  for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
    library->SetLogFunction(level, nullptr, nullptr);
  auto fluid = std::make_unique<TFluid>(*library);
  fluid->Settings = library->NewSettings();
  if (!fluid->Settings) return nullptr;
  library->SetNum(fluid->Settings, "synth.sample-rate", AudioSampleRate);
  // The default gain (0.2) leaves a velocity-64 note near 1 % of full scale;
  // notes never end by Note Off here, so some headroom for overlaps stays.
  library->SetNum(fluid->Settings, "synth.gain", 1.0);
  // A program's samples are read from the SoundFont when a channel selects
  // it, not all at load: a large SoundFont (FluidR3, 148 MB) would otherwise
  // be held in memory whole for the few programs played.
  library->SetInt(fluid->Settings, "synth.dynamic-sample-loading", 1);
  // Only the audio thread touches the synthesizer, so it needs no locks.
  library->SetInt(fluid->Settings, "synth.threadsafe-api", 0);
  fluid->Synth = library->NewSynth(fluid->Settings);
  if (!fluid->Synth || SoundFont.empty() || library->SFLoad(fluid->Synth, SoundFont.c_str(), 1) == FLUID_FAILED)
    return nullptr;
  return std::make_unique<TSynth>(std::move(fluid));
}

TSynth::TSynth(std::unique_ptr<TFluid> Fluid) : Fluid(std::move(Fluid)) {}

TSynth::~TSynth() = default;

void TSynth::ShortMsg(uint32_t Message) {
  const int channel = Message & 0x0F;
  const int data1 = (Message >> 8) & 0x7F;
  const int data2 = (Message >> 16) & 0x7F;
  const TFluidLibrary& library = Fluid->Library;
  fluid_synth_t* synth = Fluid->Synth;
  switch (Message & 0xF0) {
  case 0x80: library.NoteOff(synth, channel, data1); break;
  case 0x90: library.NoteOn(synth, channel, data1, data2); break;
  case 0xB0: library.CC(synth, channel, data1, data2); break;
  case 0xC0: library.ProgramChange(synth, channel, data1); break;
  default: break;
  }
}

void TSynth::Render(int16_t* Stereo, int32_t Frames) {
  Fluid->Library.WriteS16(Fluid->Synth, Frames, Stereo, 0, 2, Stereo, 1, 2);
}
