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
  QImage Cut = PicClip(Picture, Columns, Rows, Cell);
  return Cut.width() < TPlusButton::GlyphStates ? QImage() : Cut;
}

// Glyphs First, First + 1, ... from the cells of a one-column picture.
void Column(TSkin& Skin, const QImage& Picture, TSkinGlyph First, int Rows) {
  for (int Row = 0; Row < Rows; ++Row)
    Skin.Glyphs[First + Row] = Glyph(Picture, 1, Rows, Row + 1);
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
  const TSkinLibrary Library;
  if (!Library.Loaded()) return;
  for (const TPicture Picture : BuiltInOrder)
    if (Picture >= First) Apply(Skin, Picture, Library.Bitmap(Sources[Picture].Resource));
}

std::string LocalPath(const QString& Path) { return QFile::encodeName(Path).toStdString(); }

} // namespace

TSkin ReadSkin(const QString& SkinUsed, const QStringList& SkinList,
               const std::function<void(const QString& Message)>& ReportError) {
  TSkin Skin;
  const QString Folder = SkinFolder(SkinList, SkinUsed);
  const QString Ini = Folder + "SKIN.INI";
  if (SkinUsed.isEmpty() || !QFile::exists(Ini)) {
    ApplyBuiltIn(Skin, pcMain);
    return Skin;
  }
  if (const std::string Kind = NotAFile(LocalPath(Ini)); !Kind.empty()) {
    ReportError(QStringLiteral("The skin description \"%1\" is %2, not a file; the built-in skin is used.")
                    .arg(Ini, QString::fromStdString(Kind)));
    ApplyBuiltIn(Skin, pcMain);
    return Skin;
  }
  int64_t Pixels = 0;
  for (int Picture = pcMain; Picture < PictureCount; ++Picture) {
    const char* Key = Sources[Picture].Key;
    const QString Path = Folder + QString::fromLocal8Bit(ReadProfileString(LocalPath(Ini), "BITMAPS", Key));
    QString Error;
    QImage Image = ReadBitmapFile(Path, Error);
    Pixels += int64_t(Image.width()) * Image.height();
    if (Pixels > MaxSkinPixels) {
      Image = QImage();
      Error = QStringLiteral("the skin's pictures hold more than %1 pixels in all").arg(MaxSkinPixels);
    }
    if (Image.isNull()) {
      ReportError(QStringLiteral("The skin bitmap \"%1\" (%2 in %3) cannot be loaded: %4.")
                      .arg(Path, Key, Ini, Error));
      ApplyBuiltIn(Skin, TPicture(Picture));
      break;
    }
    Apply(Skin, TPicture(Picture), Image);
  }
  return Skin;
}
