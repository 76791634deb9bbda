#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/MidiOut.h"
#include "platform/audio/MessageQueue.h"
#include "platform/audio/MidiBatch.h"
#include "platform/audio/SquareTone.h"
#include "platform/audio/Synth.h"

// A stream on the default audio device: 16-bit stereo at AudioSampleRate in
// blocks of 512 frames (11.6 ms). Fill runs on the audio thread and must
// touch nothing but atomics and what it alone owns. Closing waits for a Fill
// in progress to end.
class TAudioStream {
public:
  using TFill = std::function<void(int16_t* Stereo, int32_t Frames)>;
  // Nullptr when no audio device opens.
  static std::unique_ptr<TAudioStream> Open(TFill Fill);
  explicit TAudioStream(TFill Fill);
  ~TAudioStream();
  TAudioStream(const TAudioStream&) = delete;
  TAudioStream& operator=(const TAudioStream&) = delete;

private:
  static void Callback(void* Self, uint8_t* Bytes, int Length);
  TFill Fill;
  uint32_t Device = 0;
};

// The live sound, one block at a time: the General MIDI synthesizer and the
// speaker's square wave mixed, at the master volume (SoundVolume). Fill runs
// on the audio thread, everything else on the emulation thread, which never
// waits on the audio thread: MIDI messages go through a lock-free queue, the
// speaker's state is one atomic word, and the synthesizer is handed over
// once, when the first MIDI output opens. Needs no device: the backends
// below play it on one.
class TLiveMix {
public:
  // Two frames of the most the console can send: a period write every 4
  // cycles, two messages each (29,768). Only an audio thread stalled for
  // longer loses messages.
  using TQueue = TMessageQueue<32768>;

  TLiveMix() = default;
  TLiveMix(const TLiveMix&) = delete;
  TLiveMix& operator=(const TLiveMix&) = delete;

  // Nullptr when the SoundFont doesn't load.
  std::unique_ptr<TMidiOut> OpenMidiOut(const std::string& SoundFont);
  TSpeakerPort& Speaker() { return Tone; }

  // One block: the messages queued when it begins, reduced to their net
  // effect, then the sound. Its work is bounded whatever the console sends.
  // Gives the number of messages handed to the synthesizer.
  int32_t Fill(int16_t* Stereo, int32_t Frames);

private:
  TSquareTone Tone;
  std::unique_ptr<TSynth> Synth; // once playing, only the audio thread touches it
  std::atomic<TSynth*> Playing{nullptr};
  TQueue Queue;
  TMidiBatch Batch; // the audio thread's
};

// The real sound devices, installed for the lifetime of this object: the
// default MIDI output is the General MIDI synthesizer on the system's
// SoundFont, the speaker a square wave; both play on one stream of the
// default audio device (some devices open only once). Created at start-up
// before the console, destroyed after it. With no audio device, one line on
// standard error says so and everything runs silent.
class TAudioBackends {
public:
  TAudioBackends();
  ~TAudioBackends();
  TAudioBackends(const TAudioBackends&) = delete;
  TAudioBackends& operator=(const TAudioBackends&) = delete;

  // Nullptr when no audio device opened or the SoundFont doesn't load.
  std::unique_ptr<TMidiOut> OpenMidiOut(const std::string& SoundFont);

private:
  TLiveMix Mix;
  std::unique_ptr<TAudioStream> Stream; // last: closed first; none when no audio device opened
};
