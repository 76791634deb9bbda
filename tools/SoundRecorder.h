#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/FrameClock.h"
#include "platform/MidiOut.h"
#include "platform/Speaker.h"
#include "platform/audio/Synth.h"
#include "tools/MidiFile.h"
#include "tools/WavWriter.h"

// Emulated time: a console frame lasts 1 / ConsoleFrameRate s.
double LineSeconds(int64_t Line);
// Bytes of a WAV file holding the sound of lines 0 to EndLine.
uint64_t WavFileBytes(int64_t EndLine);

// One call a sound device received, at an emulated line since power-on: a
// MIDI short message, or the speaker's divisor (0 for a silence).
struct TSoundEvent {
  enum TKind { Midi, Speaker } Kind;
  int64_t Line;
  uint32_t Value;
};

// Renders sound calls into 16-bit stereo at AudioSampleRate as they come,
// in the order of their lines, handing blocks to Sink: MIDI messages
// through Synth (silence without one), speaker calls through the speaker's
// square wave. Sound up to a call's line is rendered before it takes effect.
using TSoundSink = std::function<void(const int16_t* Stereo, int32_t Frames)>;
class TSoundRenderer {
public:
  TSoundRenderer(TSynth* Synth, TSoundSink Sink);
  ~TSoundRenderer();
  void Play(const TSoundEvent& Event);
  // Renders the rest, up to EndLine.
  void Finish(int64_t EndLine);

private:
  void RenderTo(int64_t Line);
  TSynth* Synth;
  TSoundSink Sink;
  struct TState;
  std::unique_ptr<TState> State;
};

// The runner's sound devices when it writes a WAV or MIDI file: they play
// nothing and stream every call, at its emulated time, into the files, so
// memory stays the same however long the run and however busy the sound.
// With a MIDI file asked for, the MIDI output always opens; for a WAV file
// alone it opens only when the SoundFont (by default the system's) loads,
// so that the speaker driver is heard otherwise. Installed for the object's
// lifetime when either file is named; create it before the console. The
// files are created here (opening throws std::runtime_error) and are only
// put in place by Close.
class TSoundRecorder final : public TSpeakerPort {
public:
  TSoundRecorder(const std::string& WavFile, const std::string& MidiFile,
                 const std::string& SoundFont = DefaultSoundFont());
  ~TSoundRecorder() override;
  TSoundRecorder(const TSoundRecorder&) = delete;
  TSoundRecorder& operator=(const TSoundRecorder&) = delete;

  // The emulated line the next calls happen on.
  void SetLine(int64_t Line) { Now = Line; }
  // Finishes the files, the run having lasted EndLine lines. Gives the
  // messages of the files that could not be written, none when all were.
  std::vector<std::string> Close(int64_t EndLine);

  void Sound(uint16_t Divisor) override;
  void Silence() override;

private:
  std::unique_ptr<TMidiOut> OpenMidiOut();
  void Record(TSoundEvent::TKind Kind, uint32_t Value);

  bool Installed;
  std::string WavFile;
  std::unique_ptr<TSynth> Synth; // for the WAV file, when the SoundFont loaded
  std::optional<TMidiFileWriter> Midi;
  std::optional<TWavWriter> Wav;
  std::unique_ptr<TSoundRenderer> Renderer; // into Wav
  bool SilentNotes = false; // notes went to a WAV file with no synthesizer
  int64_t Now = 0;
};
