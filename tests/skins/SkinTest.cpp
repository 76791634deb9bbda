#include <sys/stat.h>

#include <QBuffer>
#include <QDir>

#include "SkinFiles.h"
#include "frontend/SkinUnit.h"
#include "platform/qt/SkinLibrary.h"

namespace {

struct TRead {
  TSkin Skin;
  QStringList Messages;
};

TRead Read(const QString& SkinUsed, const QStringList& SkinList) {
  TRead Result;
  Result.Skin = ReadSkin(SkinUsed, SkinList, [&](const QString& Text) { Result.Messages << Text; });
  return Result;
}

const TSkin& BuiltIn() {
  static const TSkin Skin = ReadSkin({}, {}, [](const QString& Text) { FAIL() << Text.toStdString(); });
  return Skin;
}

// Glyph sizes of a skin whose pictures have the built-in sizes.
QSize GlyphSize(int Glyph) {
  if (Glyph <= sgInfo) return {400, 26};
  if (Glyph < sgOpenFile) return {150, 30};
  if (Glyph < sgVol) return {165, 33};
  return Glyph == sgVol ? QSize(200, 20) : QSize(100, 20);
}

// The pictures of the test skin come from it, all others from the built-in skin.
enum TFrom { Installed, Library };

void ExpectFrom(const TSkin& Skin, const TSkinFolder& Folder, const std::array<TFrom, 6>& From) {
  const auto Picture = [&](const char* Name) { return QImage(Folder.Path() + Name, "BMP"); };
  const auto Same = [](const QImage& A, const QImage& B) {
    return A.convertToFormat(QImage::Format_RGB32) == B.convertToFormat(QImage::Format_RGB32);
  };
  ASSERT_TRUE(Skin.Background && Skin.Font);
  EXPECT_TRUE(Same(*Skin.Background, From[0] == Installed ? Picture("MAIN.BMP") : *BuiltIn().Background));
  const auto Glyphs = [&](int First, int Last, int Source, const char* Name) {
    for (int Glyph = First; Glyph <= Last; ++Glyph) {
      const QImage Expected = From[Source] == Installed
                                  ? Picture(Name).copy(QRect(QPoint(), GlyphSize(Glyph)))
                                  : BuiltIn().Glyphs[Glyph];
      EXPECT_EQ(Skin.Glyphs[Glyph].size(), GlyphSize(Glyph)) << Glyph;
      EXPECT_EQ(Skin.Glyphs[Glyph].pixel(0, 0), Expected.pixel(0, 0)) << Glyph << " from " << Name;
    }
  };
  Glyphs(sgVol, sgClose, 1, "SYSTEM.BMP");
  Glyphs(sgSettings, sgInfo, 2, "SETTINGS.BMP");
  Glyphs(sgFirstSlot, sgFirstSlot + 9, 3, "NUMBERS.BMP");
  Glyphs(sgOpenFile, sgSnapShot, 4, "BUTTONS.BMP");
  EXPECT_TRUE(Same(*Skin.Font, From[5] == Installed ? Picture("TEXT.BMP") : *BuiltIn().Font));
}

TEST(ReadSkin, SampleSkinLoadsWhole) {
  const QString Folder = PIXTOR_SAMPLE_SKIN;
  const TRead Result = Read("walnut", {"Other=/nowhere/", "Walnut=" + Folder});
  EXPECT_TRUE(Result.Messages.isEmpty()) << Result.Messages.join("\n").toStdString();
  const TSkin& Skin = Result.Skin;
  ASSERT_TRUE(Skin.Background && Skin.Font);
  EXPECT_EQ(*Skin.Background, QImage(Folder + "MAIN.BMP", "BMP"));
  EXPECT_NE(Skin.Background->pixel(100, 5), BuiltIn().Background->pixel(100, 5)); // a look of its own
  EXPECT_EQ(Skin.Font->size(), QSize(155, 18));
  for (int Glyph = 0; Glyph < SkinButtonCount; ++Glyph)
    EXPECT_EQ(Skin.Glyphs[Glyph].size(), GlyphSize(Glyph)) << Glyph;
}

TEST(ReadSkin, InstalledSkinComesFromItsFolder) {
  TSkinFolder Folder;
  Folder.WriteSkin();
  const TRead Result = Read("Test", {"Test=" + Folder.Path()});
  EXPECT_TRUE(Result.Messages.isEmpty());
  ExpectFrom(Result.Skin, Folder, {Installed, Installed, Installed, Installed, Installed, Installed});
}

TEST(ReadSkin, WithoutSkinIniTheBuiltInSkinIsUsedSilently) {
  TSkinFolder Folder;
  Folder.WriteSkin();
  QFile::remove(Folder.Path() + "SKIN.INI"); // the folder changed while the program ran
  for (const auto& [Used, List] : std::initializer_list<std::pair<QString, QStringList>>{
           {"Test", {"Test=" + Folder.Path()}}, {"", {"=" + Folder.Path()}}, {"Gone", {}}}) {
    const TRead Result = Read(Used, List);
    EXPECT_TRUE(Result.Messages.isEmpty());
    ExpectFrom(Result.Skin, Folder, {Library, Library, Library, Library, Library, Library});
  }
}

TEST(ReadSkin, UnlistedSkinIsLookedForInTheWorkingFolder) {
  TSkinFolder Folder;
  Folder.WriteSkin();
  const QString Previous = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(Folder.Path()));
  const TRead Result = Read("Unlisted", {"Test=/nowhere/"});
  QDir::setCurrent(Previous);
  EXPECT_TRUE(Result.Messages.isEmpty());
  ExpectFrom(Result.Skin, Folder, {Installed, Installed, Installed, Installed, Installed, Installed});
}

TEST(ReadSkin, BadBitmapIsReportedAndTheRestComeFromTheBuiltInSkin) {
  const struct {
    const char* Name;
    std::function<void(const TSkinFolder&)> Break;
    QString File;
    std::array<TFrom, 6> From;
  } Cases[] = {
      {"missing",
       [](const TSkinFolder& F) { QFile::remove(F.Path() + "NUMBERS.BMP"); },
       "NUMBERS.BMP",
       {Installed, Installed, Installed, Library, Library, Library}},
      {"not a bitmap",
       [](const TSkinFolder& F) { F.Write("MAIN.BMP", "[INFO]\nName=Me\n"); },
       "MAIN.BMP",
       {Library, Library, Library, Library, Library, Library}},
      {"huge declared size",
       [](const TSkinFolder& F) {
         QFile File(F.Path() + "TEXT.BMP");
         ASSERT_TRUE(File.open(QIODevice::ReadWrite));
         File.seek(18);
         File.write(QByteArray("\xff\xff\xff\x7f\xff\xff\xff\x7f", 8));
       },
       "TEXT.BMP",
       {Installed, Installed, Installed, Installed, Installed, Library}},
      {"key missing",
       [](const TSkinFolder& F) { F.Write("SKIN.INI", "[BITMAPS]\nMain=MAIN.BMP\nsystem = SYSTEM.BMP\n"); },
       "",
       {Installed, Installed, Library, Library, Library, Library}},
      {"a pipe, which nothing writes",
       [](const TSkinFolder& F) {
         QFile::remove(F.Path() + "SETTINGS.BMP");
         ASSERT_EQ(::mkfifo(QFile::encodeName(F.Path() + "SETTINGS.BMP").constData(), 0600), 0);
       },
       "SETTINGS.BMP",
       {Installed, Installed, Library, Library, Library, Library}},
      {"more pixels in all than a skin may hold",
       [](const TSkinFolder& F) { F.Save("NUMBERS.BMP", QImage(1500, 600, QImage::Format_Mono)); },
       "NUMBERS.BMP",
       {Installed, Installed, Installed, Library, Library, Library}},
      {"unreadable",
       [](const TSkinFolder& F) { QFile::setPermissions(F.Path() + "BUTTONS.BMP", {}); },
       "BUTTONS.BMP",
       {Installed, Installed, Installed, Installed, Library, Library}},
  };
  for (const auto& Case : Cases) {
    SCOPED_TRACE(Case.Name);
    TSkinFolder Folder;
    Folder.WriteSkin();
    Case.Break(Folder);
    if (Case.File == "BUTTONS.BMP" && QFile(Folder.Path() + Case.File).open(QIODevice::ReadOnly))
      continue; // running as root, every file is readable
    const TRead Result = Read("Test", {"Test=" + Folder.Path()});
    ASSERT_EQ(Result.Messages.size(), 1);
    EXPECT_TRUE(Result.Messages[0].contains('"' + Folder.Path() + Case.File + '"'))
        << Result.Messages[0].toStdString();
    ExpectFrom(Result.Skin, Folder, Case.From);
  }
}

TEST(ReadSkin, PicturesTooSmallForTheirGridLeaveBlankButtons) {
  TSkinFolder Folder;
  Folder.WriteSkin();
  QImage Narrow(9, 80, QImage::Format_RGB32); // btnVol's cell is 9 wide, the others 4
  Narrow.fill(Qt::red);
  Folder.Save("SYSTEM.BMP", Narrow);
  QImage Flat(150, 9, QImage::Format_RGB32); // slot cells of no height
  Flat.fill(Qt::red);
  Folder.Save("NUMBERS.BMP", Flat);
  const TRead Result = Read("Test", {"Test=" + Folder.Path()});
  EXPECT_TRUE(Result.Messages.isEmpty());
  EXPECT_EQ(Result.Skin.Glyphs[sgVol].size(), QSize(9, 20));
  for (int Glyph = sgAbout; Glyph <= sgClose; ++Glyph)
    EXPECT_TRUE(Result.Skin.Glyphs[Glyph].isNull()) << Glyph;
  for (int Slot = 0; Slot < 10; ++Slot)
    EXPECT_TRUE(Result.Skin.Glyphs[sgFirstSlot + Slot].isNull()) << Slot;
  EXPECT_EQ(Result.Skin.Glyphs[sgOpenFile].size(), QSize(165, 33));
}

// Bitmaps of 1, 4, 8 and 24 bits a pixel as Qt writes them, and of 32 and
// 24 bits, top-down, as it does not.
TEST(ReadSkin, ReadsBitmapsOfEveryCommonDepth) {
  QImage Picture(200, 80, QImage::Format_RGB32);
  for (int Y = 0; Y < 80; ++Y)
    for (int X = 0; X < 200; ++X)
      Picture.setPixel(X, Y, qRgb(X % 2 ? 255 : 0, Y % 4 * 60, X / 10 * 12));
  const auto Saved = [](const QImage& Image) {
    QBuffer Buffer;
    Buffer.open(QIODevice::WriteOnly);
    Image.save(&Buffer, "BMP");
    return Buffer.data();
  };
  const QImage Mono = Picture.convertToFormat(QImage::Format_Mono);
  const QImage Few =
      Picture.convertToFormat(QImage::Format_Indexed8, {qRgb(0, 0, 0), qRgb(255, 0, 0), qRgb(0, 0, 255)});
  const QImage Many = Picture.convertToFormat(QImage::Format_Indexed8);
  const struct {
    const char* Name;
    QImage Image;
    QByteArray File;
    int Bits;
  } Cases[] = {
      {"1 bit", Mono, Saved(Mono), 1},
      {"4 bits", Few, Saved(Few), 4},
      {"8 bits", Many, Saved(Many), 8},
      {"24 bits", Picture, Saved(Picture), 24},
      {"32 bits", Picture, RawBitmap(Picture, 32, false), 32},
      {"24 bits top-down", Picture, RawBitmap(Picture, 24, true), 24},
  };
  for (const auto& Case : Cases) {
    SCOPED_TRACE(Case.Name);
    ASSERT_EQ(uint8_t(Case.File.at(28)), Case.Bits) << "Qt wrote another depth";
    TSkinFolder Folder;
    Folder.WriteSkin();
    Folder.Write("SYSTEM.BMP", Case.File);
    const TRead Result = Read("Test", {"Test=" + Folder.Path()});
    EXPECT_TRUE(Result.Messages.isEmpty());
    const QImage& About = Result.Skin.Glyphs[sgAbout];
    ASSERT_EQ(About.size(), QSize(100, 20));
    for (const QPoint Point : {QPoint(0, 0), QPoint(37, 5), QPoint(99, 19)})
      EXPECT_EQ(About.pixel(Point), Case.Image.pixel(Point + QPoint(100, 20)));
  }
}

} // namespace
