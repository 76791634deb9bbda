#pragma once

#include <array>
#include <functional>
#include <optional>

#include <QImage>
#include <QString>
#include <QStringList>

inline constexpr int SkinButtonCount = 24;

// Places of the buttons' glyphs in TSkin::Glyphs.
enum TSkinGlyph : int {
  sgSettings,
  sgInfo,
  sgFirstSlot, // btnZero; btnNine is sgFirstSlot + 9
  sgOpenFile = sgFirstSlot + 10,
  sgRun,
  sgReset,
  sgPause,
  sgSnapShot,
  sgVol,
  sgAbout,
  sgMinimize,
  sgVolDown,
  sgFullScreen,
  sgVolUp,
  sgClose,
};
static_assert(sgClose + 1 == SkinButtonCount);

// The window's look: its background, the glyphs of its 24 buttons (a null
// image leaves the button blank) and the title font. A background or font
// that is not present leaves the window's as it was.
struct TSkin {
  std::optional<QImage> Background;
  std::array<QImage, SkinButtonCount> Glyphs;
  std::optional<QImage> Font;
};

// Reads the skin in use: the installed skin whose folder holds SKIN.INI, or
// else the built-in skin of "SKINS.DLL" (nothing without the library). A
// bitmap of an installed skin that cannot be read is reported through
// ReportError, naming the file; that picture and those after it are taken
// from the built-in skin.
TSkin ReadSkin(const QString& SkinUsed, const QStringList& SkinList,
               const std::function<void(const QString& Message)>& ReportError);
