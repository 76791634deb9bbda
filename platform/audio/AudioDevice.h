#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/MidiOut.h"
#include "platform/audio/SquareTone.h"

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

// The General MIDI synthesizer as a MIDI output: messages go through a queue
// to the audio thread, which plays them at the start of its next block.
// Nullptr when the SoundFont doesn't load or no audio device opens.
std::unique_ptr<TMidiOut> OpenSynthOut(const std::string& SoundFont);

// The real sound devices, installed for the lifetime of this object: the
// default MIDI output is the synthesizer on the system's SoundFont, the
// speaker a square wave; both play on the default audio device. Created at
// start-up before the console, destroyed after it.
class TAudioBackends {
public:
  TAudioBackends();
  ~TAudioBackends();
  TAudioBackends(const TAudioBackends&) = delete;
  TAudioBackends& operator=(const TAudioBackends&) = delete;

private:
  TSquareTone Speaker;
  std::unique_ptr<TAudioStream> SpeakerStream; // none when no audio device opened
};
