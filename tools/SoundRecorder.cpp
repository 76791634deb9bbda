#include "tools/SoundRecorder.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <utility>

#include "core/NESUnit.h"
#include "platform/audio/SquareTone.h"
#include "tools/MidiFile.h"
#include "tools/WavWriter.h"

double LineSeconds(int64_t Line) { return double(Line) / (FrameLines * FramesPerSecond); }

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

void RenderSound(const std::vector<TSoundEvent>& Events, int64_t EndLine, TSynth* Synth,
                 const TSoundSink& Sink) {
  TSquareTone speaker;
  std::array<int16_t, 2 * 1024> block{};
  int64_t done = 0;
  auto renderTo = [&](int64_t frame) {
    while (done < frame) {
      const int32_t frames = int32_t(std::min<int64_t>(frame - done, block.size() / 2));
      if (Synth)
        Synth->Render(block.data(), frames);
      else
        std::fill_n(block.begin(), 2 * frames, int16_t(0));
      speaker.Render(block.data(), frames);
      Sink(block.data(), frames);
      done += frames;
    }
  };
  for (const TSoundEvent& event : Events) {
    renderTo(LineFrame(std::min(event.Line, EndLine)));
    if (event.Kind == TSoundEvent::Midi) {
      if (Synth) Synth->ShortMsg(event.Value);
    } else if (event.Value != 0) {
      speaker.Sound(uint16_t(event.Value));
    } else {
      speaker.Silence();
    }
  }
  renderTo(LineFrame(EndLine));
}

TSoundRecorder::TSoundRecorder(std::string WavFile, std::string MidiFile, std::string SoundFont)
    : WavFile(std::move(WavFile)), MidiFile(std::move(MidiFile)), SoundFont(std::move(SoundFont)) {
  if (this->WavFile.empty() && this->MidiFile.empty()) return;
  SetMidiOutOpener([this] { return OpenMidiOut(); });
  SetSpeakerPort(this);
}

TSoundRecorder::~TSoundRecorder() {
  if (WavFile.empty() && MidiFile.empty()) return;
  SetMidiOutOpener(nullptr);
  SetSpeakerPort(nullptr);
}

std::unique_ptr<TMidiOut> TSoundRecorder::OpenMidiOut() {
  if (!WavFile.empty() && !Synth) Synth = TSynth::Load(SoundFont);
  if (MidiFile.empty() && !Synth) return nullptr;
  return std::make_unique<TRecordingMidiOut>(
      [this](uint32_t Message) { Record(TSoundEvent::Midi, Message); });
}

void TSoundRecorder::Sound(uint16_t Divisor) { Record(TSoundEvent::Speaker, Divisor ? Divisor : 65536u); }

void TSoundRecorder::Silence() { Record(TSoundEvent::Speaker, 0); }

void TSoundRecorder::Record(TSoundEvent::TKind Kind, uint32_t Value) {
  Recorded.push_back({Kind, Now, Value});
}

void TSoundRecorder::Save(int64_t EndLine) const {
  if (!MidiFile.empty()) {
    std::vector<TTimedMessage> messages;
    for (const TSoundEvent& event : Recorded)
      if (event.Kind == TSoundEvent::Midi) messages.push_back({LineSeconds(event.Line), event.Value});
    WriteMidiFile(MidiFile, messages, LineSeconds(EndLine));
  }
  if (!WavFile.empty()) {
    if (!Synth && std::any_of(Recorded.begin(), Recorded.end(),
                              [](const TSoundEvent& e) { return e.Kind == TSoundEvent::Midi; }))
      std::fprintf(stderr, "no General MIDI SoundFont could be loaded: the notes in %s are silent\n",
                   WavFile.c_str());
    TWavWriter wav(WavFile, AudioSampleRate);
    RenderSound(Recorded, EndLine, Synth.get(),
                [&wav](const int16_t* Stereo, int32_t Frames) { wav.Write(Stereo, Frames); });
    wav.Close();
  }
}
