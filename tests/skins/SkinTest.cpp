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
  TRead result;
  result.Skin = ReadSkin(SkinUsed, SkinList, [&](const QString& Text) { result.Messages << Text; });
  return result;
}

const TSkin& BuiltIn() {
  static const TSkin skin = ReadSkin({}, {}, [](const QString& Text) { FAIL() << Text.toStdString(); });
  return skin;
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
  const auto picture = [&](const char* Name) { return QImage(Folder.Path() + Name, "BMP"); };
  const auto same = [](const QImage& A, const QImage& B) {
    return A.convertToFormat(QImage::Format_RGB32) == B.convertToFormat(QImage::Format_RGB32);
  };
  ASSERT_TRUE(Skin.Background && Skin.Font);
  EXPECT_TRUE(same(*Skin.Background, From[0] == Installed ? picture("MAIN.BMP") : *BuiltIn().Background));
  const auto glyphs = [&](int First, int Last, int Source, const char* Name) {
    for (int glyph = First; glyph <= Last; ++glyph) {
      const QImage expected = From[Source] == Installed
                                  ? picture(Name).copy(QRect(QPoint(), GlyphSize(glyph)))
                                  : BuiltIn().Glyphs[glyph];
      EXPECT_EQ(Skin.Glyphs[glyph].size(), GlyphSize(glyph)) << glyph;
      EXPECT_EQ(Skin.Glyphs[glyph].pixel(0, 0), expected.pixel(0, 0)) << glyph << " from " << Name;
    }
  };
  glyphs(sgVol, sgClose, 1, "SYSTEM.BMP");
  glyphs(sgSettings, sgInfo, 2, "SETTINGS.BMP");
  glyphs(sgFirstSlot, sgFirstSlot + 9, 3, "NUMBERS.BMP");
  glyphs(sgOpenFile, sgSnapShot, 4, "BUTTONS.BMP");
  EXPECT_TRUE(same(*Skin.Font, From[5] == Installed ? picture("TEXT.BMP") : *BuiltIn().Font));
}

TEST(ReadSkin, SampleSkinLoadsWhole) {
  const QString folder = PIXTOR_SAMPLE_SKIN;
  const TRead result = Read("walnut", {"Other=/nowhere/", "Walnut=" + folder});
  EXPECT_TRUE(result.Messages.isEmpty()) << result.Messages.join("\n").toStdString();
  const TSkin& skin = result.Skin;
  ASSERT_TRUE(skin.Background && skin.Font);
  EXPECT_EQ(*skin.Background, QImage(folder + "MAIN.BMP", "BMP"));
  EXPECT_NE(skin.Background->pixel(100, 5), BuiltIn().Background->pixel(100, 5)); // a look of its own
  EXPECT_EQ(skin.Font->size(), QSize(155, 18));
  for (int glyph = 0; glyph < SkinButtonCount; ++glyph)
    EXPECT_EQ(skin.Glyphs[glyph].size(), GlyphSize(glyph)) << glyph;
}

TEST(ReadSkin, InstalledSkinComesFromItsFolder) {
  TSkinFolder folder;
  folder.WriteSkin();
  const TRead result = Read("Test", {"Test=" + folder.Path()});
  EXPECT_TRUE(result.Messages.isEmpty());
  ExpectFrom(result.Skin, folder, {Installed, Installed, Installed, Installed, Installed, Installed});
}

TEST(ReadSkin, WithoutSkinIniTheBuiltInSkinIsUsedSilently) {
  TSkinFolder folder;
  folder.WriteSkin();
  QFile::remove(folder.Path() + "SKIN.INI"); // the folder changed while the program ran
  for (const auto& [Used, List] : std::initializer_list<std::pair<QString, QStringList>>{
           {"Test", {"Test=" + folder.Path()}}, {"", {"=" + folder.Path()}}, {"Gone", {}}}) {
    const TRead result = Read(Used, List);
    EXPECT_TRUE(result.Messages.isEmpty());
    ExpectFrom(result.Skin, folder, {Library, Library, Library, Library, Library, Library});
  }
}

TEST(ReadSkin, UnlistedSkinIsLookedForInTheWorkingFolder) {
  TSkinFolder folder;
  folder.WriteSkin();
  const QString previous = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(folder.Path()));
  const TRead result = Read("Unlisted", {"Test=/nowhere/"});
  QDir::setCurrent(previous);
  EXPECT_TRUE(result.Messages.isEmpty());
  ExpectFrom(result.Skin, folder, {Installed, Installed, Installed, Installed, Installed, Installed});
}

TEST(ReadSkin, BadBitmapIsReportedAndTheRestComeFromTheBuiltInSkin) {
  const struct {
    const char* Name;
    std::function<void(const TSkinFolder&)> Break;
    QString File;
    std::array<TFrom, 6> From;
  } cases[] = {
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
         QFile file(F.Path() + "TEXT.BMP");
         ASSERT_TRUE(file.open(QIODevice::ReadWrite));
         file.seek(18);
         file.write(QByteArray("\xff\xff\xff\x7f\xff\xff\xff\x7f", 8));
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
  for (const auto& test : cases) {
    SCOPED_TRACE(test.Name);
    TSkinFolder folder;
    folder.WriteSkin();
    test.Break(folder);
    if (test.File == "BUTTONS.BMP" && QFile(folder.Path() + test.File).open(QIODevice::ReadOnly))
      continue; // running as root, every file is readable
    const TRead result = Read("Test", {"Test=" + folder.Path()});
    ASSERT_EQ(result.Messages.size(), 1);
    EXPECT_TRUE(result.Messages[0].contains('"' + folder.Path() + test.File + '"'))
        << result.Messages[0].toStdString();
    ExpectFrom(result.Skin, folder, test.From);
  }
}

TEST(ReadSkin, PicturesTooSmallForTheirGridLeaveBlankButtons) {
  TSkinFolder folder;
  folder.WriteSkin();
  QImage narrow(9, 80, QImage::Format_RGB32); // btnVol's cell is 9 wide, the others 4
  narrow.fill(Qt::red);
  folder.Save("SYSTEM.BMP", narrow);
  QImage flat(150, 9, QImage::Format_RGB32); // slot cells of no height
  flat.fill(Qt::red);
  folder.Save("NUMBERS.BMP", flat);
  const TRead result = Read("Test", {"Test=" + folder.Path()});
  EXPECT_TRUE(result.Messages.isEmpty());
  EXPECT_EQ(result.Skin.Glyphs[sgVol].size(), QSize(9, 20));
  for (int glyph = sgAbout; glyph <= sgClose; ++glyph)
    EXPECT_TRUE(result.Skin.Glyphs[glyph].isNull()) << glyph;
  for (int slot = 0; slot < 10; ++slot)
    EXPECT_TRUE(result.Skin.Glyphs[sgFirstSlot + slot].isNull()) << slot;
  EXPECT_EQ(result.Skin.Glyphs[sgOpenFile].size(), QSize(165, 33));
}

// Bitmaps of 1, 4, 8 and 24 bits a pixel as Qt writes them, and of 32 and
// 24 bits, top-down, as it does not.
TEST(ReadSkin, ReadsBitmapsOfEveryCommonDepth) {
  QImage picture(200, 80, QImage::Format_RGB32);
  for (int y = 0; y < 80; ++y)
    for (int x = 0; x < 200; ++x)
      picture.setPixel(x, y, qRgb(x % 2 ? 255 : 0, y % 4 * 60, x / 10 * 12));
  const auto saved = [](const QImage& Image) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    Image.save(&buffer, "BMP");
    return buffer.data();
  };
  const QImage mono = picture.convertToFormat(QImage::Format_Mono);
  const QImage few =
      picture.convertToFormat(QImage::Format_Indexed8, {qRgb(0, 0, 0), qRgb(255, 0, 0), qRgb(0, 0, 255)});
  const QImage many = picture.convertToFormat(QImage::Format_Indexed8);
  const struct {
    const char* Name;
    QImage Image;
    QByteArray File;
    int Bits;
  } cases[] = {
      {"1 bit", mono, saved(mono), 1},
      {"4 bits", few, saved(few), 4},
      {"8 bits", many, saved(many), 8},
      {"24 bits", picture, saved(picture), 24},
      {"32 bits", picture, RawBitmap(picture, 32, false), 32},
      {"24 bits top-down", picture, RawBitmap(picture, 24, true), 24},
  };
  for (const auto& test : cases) {
    SCOPED_TRACE(test.Name);
    ASSERT_EQ(uint8_t(test.File.at(28)), test.Bits) << "Qt wrote another depth";
    TSkinFolder folder;
    folder.WriteSkin();
    folder.Write("SYSTEM.BMP", test.File);
    const TRead result = Read("Test", {"Test=" + folder.Path()});
    EXPECT_TRUE(result.Messages.isEmpty());
    const QImage& about = result.Skin.Glyphs[sgAbout];
    ASSERT_EQ(about.size(), QSize(100, 20));
    for (const QPoint point : {QPoint(0, 0), QPoint(37, 5), QPoint(99, 19)})
      EXPECT_EQ(about.pixel(point), test.Image.pixel(point + QPoint(100, 20)));
  }
}

} // namespace
