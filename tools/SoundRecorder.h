#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/MidiOut.h"
#include "platform/Speaker.h"
#include "platform/audio/Synth.h"

// Emulated time: a console frame lasts 1 / 60.0988 s.
inline constexpr double FramesPerSecond = 60.0988;
double LineSeconds(int64_t Line);

// One call a sound device received, at an emulated line since power-on: a
// MIDI short message, or the speaker's divisor (0 for a silence).
struct TSoundEvent {
  enum TKind { Midi, Speaker } Kind;
  int64_t Line;
  uint32_t Value;
};

// Renders the events into 16-bit stereo at AudioSampleRate, from line 0 to
// EndLine, handing blocks to Sink: MIDI messages through Synth (silence
// without one), speaker calls through the speaker's square wave.
using TSoundSink = std::function<void(const int16_t* Stereo, int32_t Frames)>;
void RenderSound(const std::vector<TSoundEvent>& Events, int64_t EndLine, TSynth* Synth,
                 const TSoundSink& Sink);

// The runner's sound devices when it writes a WAV or MIDI file: they play
// nothing and record every call with the emulated time. With a MIDI file
// asked for, the MIDI output always opens; for a WAV file alone it opens
// only when the SoundFont (by default the system's) loads, so that the
// speaker driver is heard otherwise. Installed for the object's lifetime
// when either file is named; create it before the console.
class TSoundRecorder final : public TSpeakerPort {
public:
  TSoundRecorder(std::string WavFile, std::string MidiFile, std::string SoundFont = DefaultSoundFont());
  ~TSoundRecorder() override;
  TSoundRecorder(const TSoundRecorder&) = delete;
  TSoundRecorder& operator=(const TSoundRecorder&) = delete;

  // The emulated line the next calls happen on.
  void SetLine(int64_t Line) { Now = Line; }
  // Writes the files asked for, the run having lasted EndLine lines.
  void Save(int64_t EndLine) const;
  const std::vector<TSoundEvent>& Events() const { return Recorded; }

  void Sound(uint16_t Divisor) override;
  void Silence() override;

private:
  std::unique_ptr<TMidiOut> OpenMidiOut();
  void Record(TSoundEvent::TKind Kind, uint32_t Value);

  std::string WavFile, MidiFile, SoundFont;
  std::unique_ptr<TSynth> Synth; // for the WAV file, when the SoundFont loaded
  std::vector<TSoundEvent> Recorded;
  int64_t Now = 0;
};
