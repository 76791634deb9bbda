#pragma once

#include <array>
#include <cstdint>

#include <QString>
#include <QStringList>

// Key codes of a joypad, in the order UP, DOWN, LEFT, RIGHT, A, B, START, SELECT.
using TPadKeys = std::array<uint32_t, 8>;
// The settings' names of a joypad's keys, in the order of TPadKeys; the
// settings dialog shows them as its labels.
inline constexpr std::array<const char*, 8> PadKeyNames = {"UP", "DOWN", "LEFT", "RIGHT", "A", "B", "START", "SELECT"};
inline constexpr int SlotCount = 10;

// Everything the program keeps from one run to the next, with the defaults
// of a first start. The names in comments are the settings file's.
struct TSettings {
  int32_t FrameRate = 3;                                  // FrameRate: one frame in this many is drawn, 1 to 10
  QString SkinUsed;                                       // Skin Used: empty for the built-in skin
  int32_t SoundVolume = 255;                              // SoundVolume: 0 to 255
  std::array<bool, 4> SoundChannel = {true, true, true, true}; // SoundChannel1 ... SoundChannel4
  int32_t ViewMode = 0;                                   // WIN: 0 normal view, 1 full screen (kept only)
  QString ScreenMode;                                     // SCREEN: full screen's "WIDTHxHEIGHTxBITS"
  std::array<QString, SlotCount> Slots;                   // MRU1 ... MRU10: the cartridge slots' paths
  TPadKeys Pad1Keys = {38, 40, 37, 39, 32, 17, 13, 9};    // JOY1: arrows, Space, Control, Return, Tab
  TPadKeys Pad2Keys = {69, 88, 83, 68, 16, 90, 81, 87};   // JOY2: E, X, S, D, Shift, Z, Q, W
  bool Pad1Enabled = false;                               // JOY1/ENABLED: the game controller feeds pad 1
  bool Pad2Enabled = false;                               // JOY2/ENABLED
  QStringList SkinList; // SKINS: "name=folder", the folder ending with a separator

  friend bool operator==(const TSettings&, const TSettings&) = default;
};

// The settings file, $XDG_CONFIG_HOME/Brovane/Pixtor.conf (~/.config
// without it): read once at start, written once at exit. A link is
// followed, so that saving replaces the file it leads to and keeps the
// link. A file that cannot be read as settings, or is not a file at all, is
// kept as it is: the defaults are used, and nothing is saved.
class TSettingsFile {
public:
  // The user's settings file.
  TSettingsFile();
  explicit TSettingsFile(const QString& Path);

  // The settings the file holds. A value that cannot be used is replaced by
  // its default (or brought into its range) and named in Message, which is
  // empty when all is well.
  TSettings Load(QString& Message);
  // Gives the message to show when the file cannot be written.
  QString Save(const TSettings& Settings) const;
  const QString& Path() const { return File; }

private:
  QString File; // the link followed
  bool Writable = true;
};

// The folder of the first line "name=folder" of SkinList whose name is Name
// in any letter case; empty when there is none. The settings dialog never
// installs two skins whose names differ only in letter case, so a name
// typed in another case still finds its skin.
QString SkinFolder(const QStringList& SkinList, const QString& Name);
