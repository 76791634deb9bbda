#include "tools/SoundRecorder.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <stdexcept>
#include <utility>

#include "core/NESUnit.h"
#include "platform/audio/SquareTone.h"

double LineSeconds(int64_t Line) { return double(Line) / (FrameLines * ConsoleFrameRate); }

namespace {

int64_t LineFrame(int64_t Line) { return std::llround(LineSeconds(Line) * AudioSampleRate); }

class TRecordingMidiOut final : public TMidiOut {
public:
  explicit TRecordingMidiOut(std::function<void(uint32_t)> Record) : Record(std::move(Record)) {}
  void ShortMsg(uint32_t Message) override { Record(Message); }

private:
  std::function<void(uint32_t)> Record;
};

} // namespace

uint64_t WavFileBytes(int64_t EndLine) { return TWavWriter::HeaderBytes + 4 * uint64_t(LineFrame(EndLine)); }

struct TSoundRenderer::TState {
  TSquareTone Speaker;
  std::array<int16_t, 2 * 1024> Block{};
  int64_t Done = 0; // sample frames rendered
};

TSoundRenderer::TSoundRenderer(TSynth* Synth, TSoundSink Sink)
    : Synth(Synth), Sink(std::move(Sink)), State(std::make_unique<TState>()) {}

TSoundRenderer::~TSoundRenderer() = default;

void TSoundRenderer::RenderTo(int64_t Line) {
  const int64_t frame = LineFrame(Line);
  auto& block = State->Block;
  while (State->Done < frame) {
    const int32_t frames = int32_t(std::min<int64_t>(frame - State->Done, block.size() / 2));
    if (Synth)
      Synth->Render(block.data(), frames);
    else
      std::fill_n(block.begin(), 2 * frames, int16_t(0));
    State->Speaker.Render(block.data(), frames);
    Sink(block.data(), frames);
    State->Done += frames;
  }
}

void TSoundRenderer::Play(const TSoundEvent& Event) {
  RenderTo(Event.Line);
  if (Event.Kind == TSoundEvent::Midi) {
    if (Synth) Synth->ShortMsg(Event.Value);
  } else if (Event.Value != 0) {
    State->Speaker.Sound(uint16_t(Event.Value));
  } else {
    State->Speaker.Silence();
  }
}

void TSoundRenderer::Finish(int64_t EndLine) { RenderTo(EndLine); }

TSoundRecorder::TSoundRecorder(const std::string& WavFile, const std::string& MidiFile,
                               const std::string& SoundFont)
    : Installed(!WavFile.empty() || !MidiFile.empty()), WavFile(WavFile) {
  if (!Installed) return;
  if (!MidiFile.empty()) Midi.emplace(MidiFile);
  if (!WavFile.empty()) {
    Wav.emplace(WavFile, AudioSampleRate);
    Synth = TSynth::Load(SoundFont);
    Renderer = std::make_unique<TSoundRenderer>(
        Synth.get(), [this](const int16_t* Stereo, int32_t Frames) { Wav->Write(Stereo, Frames); });
  }
  SetMidiOutOpener([this] { return OpenMidiOut(); });
  SetSpeakerPort(this);
}

TSoundRecorder::~TSoundRecorder() {
  if (!Installed) return;
  SetMidiOutOpener(nullptr);
  SetSpeakerPort(nullptr);
}

std::unique_ptr<TMidiOut> TSoundRecorder::OpenMidiOut() {
  if (!Midi && !Synth) return nullptr;
  return std::make_unique<TRecordingMidiOut>([this](uint32_t Message) { Record(TSoundEvent::Midi, Message); });
}

void TSoundRecorder::Sound(uint16_t Divisor) { Record(TSoundEvent::Speaker, Divisor ? Divisor : 65536u); }

void TSoundRecorder::Silence() { Record(TSoundEvent::Speaker, 0); }

void TSoundRecorder::Record(TSoundEvent::TKind Kind, uint32_t Value) {
  if (Kind == TSoundEvent::Midi) {
    if (Midi) Midi->Message(LineSeconds(Now), Value);
    SilentNotes |= Wav && !Synth;
  }
  if (Renderer) Renderer->Play({Kind, Now, Value});
}

std::vector<std::string> TSoundRecorder::Close(int64_t EndLine) {
  std::vector<std::string> errors;
  auto close = [&errors](auto&& Finish) {
    try {
      Finish();
    } catch (const std::runtime_error& error) {
      errors.emplace_back(error.what());
    }
  };
  if (Midi) close([&] { Midi->Close(LineSeconds(EndLine)); });
  if (Wav) {
    if (SilentNotes)
      std::fprintf(stderr, "no General MIDI SoundFont could be loaded: the notes in %s are silent\n",
                   WavFile.c_str());
    Renderer->Finish(EndLine);
    close([&] { Wav->Close(); });
  }
  return errors;
}
