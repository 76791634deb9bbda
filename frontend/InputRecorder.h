#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include <QString>

#include "platform/CFile.h"

class TNES;

// Writes the joypads' input of the cartridge started last as a joypad script
// of pixtor-headless, which replays the game frame for frame: a line
// whenever a pad's buttons change, as read on line 8. Each line reaches the
// file at once, so the script can be read while the game goes on.
class TInputRecorder {
public:
  // Records into the script named Name from the next start on; empty records nothing.
  void SetPath(QString Name) { Path = std::move(Name); }
  // Begins the script of a cartridge that starts now, in place of the one
  // before. Gives the reason when it cannot be recorded: the script is the
  // cartridge itself, or it cannot be written.
  std::optional<QString> Start(const QString& CartridgePath, const std::string& CartridgeName);
  // After the pads were read on a frame's line 8. Gives the reason of the
  // first write that fails.
  std::optional<QString> Frame(int64_t Frame, const TNES& NES);
  // Closes the script. Gives the reason when its last lines could not be written.
  std::optional<QString> Finish();
  // Something went wrong: the script is not the whole game.
  bool Failed() const { return Failure; }

private:
  std::optional<QString> Write(const std::string& Text);
  QString Fail(int Error);

  QString Path;
  TFile Script;
  std::array<uint8_t, 2> Buttons{};
  bool Failure = false;
};
