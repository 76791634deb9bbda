#include "platform/audio/AudioDevice.h"

#include <algorithm>
#include <utility>

#include <SDL.h>

#include "platform/Speaker.h"

std::unique_ptr<TAudioStream> TAudioStream::Open(TFill Fill) {
  auto stream = std::make_unique<TAudioStream>(std::move(Fill));
  return stream->Device ? std::move(stream) : nullptr;
}

TAudioStream::TAudioStream(TFill Fill) : Fill(std::move(Fill)) {
  // The program's signals stay the program's: no SDL quit events that nobody reads.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
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
  explicit TSynthOut(TMessageQueue<4096>& Queue) : Queue(Queue) {}
  void ShortMsg(uint32_t Message) override { Queue.Push(Message); }

private:
  TMessageQueue<4096>& Queue;
};

} // namespace

TAudioBackends::TAudioBackends() {
  Stream = TAudioStream::Open([this](int16_t* Stereo, int32_t Frames) { Fill(Stereo, Frames); });
  SetSpeakerPort(&Speaker);
  SetMidiOutOpener([this] { return OpenMidiOut(DefaultSoundFont()); });
}

TAudioBackends::~TAudioBackends() {
  SetMidiOutOpener(nullptr);
  SetSpeakerPort(nullptr);
  Stream.reset();
}

std::unique_ptr<TMidiOut> TAudioBackends::OpenMidiOut(const std::string& SoundFont) {
  if (!Stream) return nullptr;
  if (!Synth) {
    Synth = TSynth::Load(SoundFont);
    if (!Synth) return nullptr;
    Playing.store(Synth.get(), std::memory_order_release);
  }
  return std::make_unique<TSynthOut>(Queue);
}

void TAudioBackends::Fill(int16_t* Stereo, int32_t Frames) {
  if (TSynth* synth = Playing.load(std::memory_order_acquire)) {
    for (uint32_t message; Queue.Pop(message);)
      synth->ShortMsg(message);
    synth->Render(Stereo, Frames);
  } else {
    std::fill_n(Stereo, 2 * Frames, int16_t(0));
  }
  Speaker.Render(Stereo, Frames);
}
