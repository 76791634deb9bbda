#include "frontend/SkinUnit.h"

#include <QFile>

#include "platform/IniFile.h"
#include "platform/RegularFile.h"
#include "platform/qt/PlusButton.h"
#include "platform/qt/Settings.h"
#include "platform/qt/SkinLabel.h"
#include "platform/qt/SkinLibrary.h"

namespace {

// The pictures of a skin, in the order an installed skin is read.
enum TPicture { pcMain, pcSystem, pcSettings, pcNumbers, pcButtons, pcText, PictureCount };

struct TPictureSource {
  const char* Key; // in the BITMAPS section of SKIN.INI
  int Resource;    // in SKINS.DLL
};
constexpr std::array<TPictureSource, PictureCount> Sources = {{
    {"Main", BitmapBackground},
    {"System", BitmapSmallButtons},
    {"Settings", BitmapWideButtons},
    {"Numbers", BitmapSlotButtons},
    {"Buttons", BitmapCommandButtons},
    {"Text", BitmapTitleFont},
}};
// The order the built-in skin is read in.
constexpr std::array<TPicture, PictureCount> BuiltInOrder = {pcMain,    pcSettings, pcNumbers,
                                                             pcButtons, pcSystem,   pcText};

// Cells of the small-button picture cut as 2 x 4 (row 0, cut as 1 x 4, is btnVol's).
constexpr std::array<std::pair<TSkinGlyph, int>, 6> SmallButtonCells = {{
    {sgAbout, 3},
    {sgMinimize, 4},
    {sgVolDown, 5},
    {sgFullScreen, 6},
    {sgVolUp, 7},
    {sgClose, 8},
}};

// The window's client area, all a background can show.
constexpr int BackgroundWidth = 400;
constexpr int BackgroundHeight = 310;
// An installed skin's pictures may hold this many pixels in all, about four
// times the built-in skin's: a skin is never a reason to hold much memory.
constexpr int64_t MaxSkinPixels = 1 << 20;

// A cell narrower than the five state images leaves its button blank.
QImage Glyph(const QImage& Picture, int Columns, int Rows, int Cell) {
  QImage cut = PicClip(Picture, Columns, Rows, Cell);
  return cut.width() < TPlusButton::GlyphStates ? QImage() : cut;
}

// Glyphs First, First + 1, ... from the cells of a one-column picture.
void Column(TSkin& Skin, const QImage& Picture, TSkinGlyph First, int Rows) {
  for (int row = 0; row < Rows; ++row)
    Skin.Glyphs[First + row] = Glyph(Picture, 1, Rows, row + 1);
}

void Apply(TSkin& Skin, TPicture Picture, const QImage& Image) {
  switch (Picture) {
  // Only what is drawn is kept.
  case pcMain:
    if (!Image.isNull()) Skin.Background = Image.copy(0, 0, BackgroundWidth, BackgroundHeight);
    break;
  case pcSystem:
    Skin.Glyphs[sgVol] = Glyph(Image, 1, 4, 1);
    for (const auto& [Place, Cell] : SmallButtonCells)
      Skin.Glyphs[Place] = Glyph(Image, 2, 4, Cell);
    break;
  case pcSettings: Column(Skin, Image, sgSettings, 2); break;
  case pcNumbers: Column(Skin, Image, sgFirstSlot, 10); break;
  case pcButtons: Column(Skin, Image, sgOpenFile, 5); break;
  case pcText:
    if (!Image.isNull()) Skin.Font = Image.copy(0, 0, TSkinLabel::FontWidth, TSkinLabel::FontHeight);
    break;
  case PictureCount: break;
  }
}

// The built-in skin's pictures from First on (in the installed order).
void ApplyBuiltIn(TSkin& Skin, TPicture First) {
  const TSkinLibrary library;
  if (!library.Loaded()) return;
  for (const TPicture picture : BuiltInOrder)
    if (picture >= First) Apply(Skin, picture, library.Bitmap(Sources[picture].Resource));
}

std::string LocalPath(const QString& Path) { return QFile::encodeName(Path).toStdString(); }

} // namespace

TSkin ReadSkin(const QString& SkinUsed, const QStringList& SkinList,
               const std::function<void(const QString& Message)>& ReportError) {
  TSkin skin;
  const QString folder = SkinFolder(SkinList, SkinUsed);
  const QString ini = folder + "SKIN.INI";
  if (SkinUsed.isEmpty() || !QFile::exists(ini)) {
    ApplyBuiltIn(skin, pcMain);
    return skin;
  }
  if (const std::string kind = NotAFile(LocalPath(ini)); !kind.empty()) {
    ReportError(QStringLiteral("The skin description \"%1\" is %2, not a file; the built-in skin is used.")
                    .arg(ini, QString::fromStdString(kind)));
    ApplyBuiltIn(skin, pcMain);
    return skin;
  }
  int64_t pixels = 0;
  for (int picture = pcMain; picture < PictureCount; ++picture) {
    const char* key = Sources[picture].Key;
    const QString path = folder + QString::fromLocal8Bit(ReadProfileString(LocalPath(ini), "BITMAPS", key));
    QString error;
    QImage image = ReadBitmapFile(path, error);
    pixels += int64_t(image.width()) * image.height();
    if (pixels > MaxSkinPixels) {
      image = QImage();
      error = QStringLiteral("the skin's pictures hold more than %1 pixels in all").arg(MaxSkinPixels);
    }
    if (image.isNull()) {
      ReportError(QStringLiteral("The skin bitmap \"%1\" (%2 in %3) cannot be loaded: %4.")
                      .arg(path, key, ini, error));
      ApplyBuiltIn(skin, TPicture(picture));
      break;
    }
    Apply(skin, TPicture(picture), image);
  }
  return skin;
}
