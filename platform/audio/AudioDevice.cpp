#include "platform/audio/AudioDevice.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include <SDL.h>
#include <dlfcn.h>

#include "platform/SoundVolume.h"
#include "platform/Speaker.h"

namespace {

// ALSA, which SDL loads for itself, prints its own errors on standard error
// (eight lines when there is no sound card); TAudioBackends says it in one.
// Loaded here, when it is there at all, only to be given a silent handler.
void IgnoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

void SilenceAlsa() {
  [[maybe_unused]] static const bool silenced = [] {
    void* alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL);
    if (!alsa) return false;
    auto setHandler =
        reinterpret_cast<int (*)(decltype(&IgnoreAlsaError))>(dlsym(alsa, "snd_lib_error_set_handler"));
    return setHandler && setHandler(IgnoreAlsaError) == 0;
  }();
}

} // namespace

std::unique_ptr<TAudioStream> TAudioStream::Open(TFill Fill) {
  auto stream = std::make_unique<TAudioStream>(std::move(Fill));
  return stream->Device ? std::move(stream) : nullptr;
}

TAudioStream::TAudioStream(TFill Fill) : Fill(std::move(Fill)) {
  // The program's signals stay the program's: no SDL quit events that nobody reads.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  SilenceAlsa();
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return;
  SDL_AudioSpec wanted{};
  wanted.freq = AudioSampleRate;
  wanted.format = AUDIO_S16SYS;
  wanted.channels = 2;
  wanted.samples = 512;
  wanted.callback = Callback;
  wanted.userdata = this;
  SDL_AudioSpec obtained{};
  // SDL converts to whatever the device takes, so the callback always sees the wanted format.
  Device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
  if (Device == 0) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return;
  }
  SDL_PauseAudioDevice(Device, 0);
}

TAudioStream::~TAudioStream() {
  if (Device == 0) return;
  SDL_CloseAudioDevice(Device);
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void TAudioStream::Callback(void* Self, uint8_t* Bytes, int Length) {
  static_cast<TAudioStream*>(Self)->Fill(reinterpret_cast<int16_t*>(Bytes), Length / 4);
}

namespace {

// A MIDI output handle: messages into the queue. Closing it leaves the
// synthesizer as it is, notes still sounding included.
class TSynthOut final : public TMidiOut {
public:
  explicit TSynthOut(TLiveMix::TQueue& Queue) : Queue(Queue) {}
  void ShortMsg(uint32_t Message) override { Queue.Push(Message); }

private:
  TLiveMix::TQueue& Queue;
};

} // namespace

std::unique_ptr<TMidiOut> TLiveMix::OpenMidiOut(const std::string& SoundFont) {
  if (!Synth) {
    Synth = TSynth::Load(SoundFont);
    if (!Synth) return nullptr;
    Playing.store(Synth.get(), std::memory_order_release);
  }
  return std::make_unique<TSynthOut>(Queue);
}

int32_t TLiveMix::Fill(int16_t* Stereo, int32_t Frames) {
  int32_t played = 0;
  if (TSynth* synth = Playing.load(std::memory_order_acquire)) {
    // Only what is queued now: the console may go on sending for ever.
    uint32_t message;
    for (size_t pending = Queue.Pending(); pending > 0 && Queue.Pop(message); --pending)
      Batch.Add(message);
    Batch.Flush([synth, &played](uint32_t Message) {
      synth->ShortMsg(Message);
      ++played;
    });
    synth->Render(Stereo, Frames);
  } else {
    std::fill_n(Stereo, 2 * Frames, int16_t(0));
  }
  Tone.Render(Stereo, Frames);
  const int32_t volume = SoundVolume();
  if (volume != 255) {
    for (int32_t i = 0; i < 2 * Frames; ++i)
      Stereo[i] = int16_t(Stereo[i] * volume / 255);
  }
  return played;
}

TAudioBackends::TAudioBackends() {
  Stream = TAudioStream::Open([this](int16_t* Stereo, int32_t Frames) { Mix.Fill(Stereo, Frames); });
  if (!Stream) std::fprintf(stderr, "pixtor: no audio device; running silent\n");
  SetSpeakerPort(&Mix.Speaker());
  SetMidiOutOpener([this] { return OpenMidiOut(DefaultSoundFont()); });
}

TAudioBackends::~TAudioBackends() {
  SetMidiOutOpener(nullptr);
  SetSpeakerPort(nullptr);
  Stream.reset();
}

std::unique_ptr<TMidiOut> TAudioBackends::OpenMidiOut(const std::string& SoundFont) {
  return Stream ? Mix.OpenMidiOut(SoundFont) : nullptr;
}
