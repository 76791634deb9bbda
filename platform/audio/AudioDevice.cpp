#include "platform/audio/AudioDevice.h"

#include <utility>

#include <SDL.h>

#include "platform/Speaker.h"
#include "platform/audio/MessageQueue.h"
#include "platform/audio/Synth.h"

std::unique_ptr<TAudioStream> TAudioStream::Open(TFill Fill) {
  auto stream = std::make_unique<TAudioStream>(std::move(Fill));
  return stream->Device ? std::move(stream) : nullptr;
}

TAudioStream::TAudioStream(TFill Fill) : Fill(std::move(Fill)) {
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

class TSynthOut final : public TMidiOut {
public:
  explicit TSynthOut(std::unique_ptr<TSynth> Loaded) : Synth(std::move(Loaded)) {
    Stream = TAudioStream::Open([this](int16_t* Stereo, int32_t Frames) {
      for (uint32_t message; Queue.Pop(message);) Synth->ShortMsg(message);
      Synth->Render(Stereo, Frames);
    });
  }
  bool Opened() const { return Stream != nullptr; }

  void ShortMsg(uint32_t Message) override { Queue.Push(Message); }

private:
  std::unique_ptr<TSynth> Synth;
  TMessageQueue<4096> Queue;
  std::unique_ptr<TAudioStream> Stream; // last: closed first, before the synthesizer goes
};

} // namespace

std::unique_ptr<TMidiOut> OpenSynthOut(const std::string& SoundFont) {
  std::unique_ptr<TSynth> synth = TSynth::Load(SoundFont);
  if (!synth) return nullptr;
  auto out = std::make_unique<TSynthOut>(std::move(synth));
  return out->Opened() ? std::move(out) : nullptr;
}

TAudioBackends::TAudioBackends() {
  SpeakerStream = TAudioStream::Open([this](int16_t* Stereo, int32_t Frames) { Speaker.Render(Stereo, Frames); });
  SetSpeakerPort(&Speaker);
  SetMidiOutOpener([] { return OpenSynthOut(DefaultSoundFont()); });
}

TAudioBackends::~TAudioBackends() {
  SetMidiOutOpener(nullptr);
  SetSpeakerPort(nullptr);
}
