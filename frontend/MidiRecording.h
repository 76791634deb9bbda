#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include <QString>

#include "platform/MidiOut.h"
#include "tools/MidiFile.h"

// The music of the cartridges played in the window as a Standard MIDI File,
// timed by emulated lines as pixtor-headless times its own: the live MIDI
// output plays on, and every message it is sent is also written at its
// line. The MIDI output then always opens, so that the notes are written
// even where nothing can play them. Installed for the object's lifetime;
// create it before the console. The file is written beside its name and put
// in place by Finish.
class TMidiRecording {
public:
  // Opening throws std::runtime_error naming the file.
  explicit TMidiRecording(const std::string& Path);
  ~TMidiRecording();
  TMidiRecording(const TMidiRecording&) = delete;
  TMidiRecording& operator=(const TMidiRecording&) = delete;

  // The emulated line the next messages come on, counted over every cartridge played.
  void SetLine(int64_t Line) { Now = Line; }
  // Ends the file at EndLine; gives the reason when it cannot be written.
  std::optional<QString> Finish(int64_t EndLine);

private:
  TMidiFileWriter File;
  TMidiOutOpener Live; // the opener installed before
  int64_t Now = 0;
};
