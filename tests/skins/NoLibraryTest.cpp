// Run where no "SKINS.DLL" can be found.
#include <QLabel>

#include "SkinFiles.h"
#include "dialogs/AboutUnit.h"
#include "dialogs/SplashUnit.h"
#include "platform/qt/SkinLibrary.h"
#include "frontend/SkinUnit.h"

TEST(NoSkinLibrary, BuiltInSkinIsEmpty) {
  int reports = 0;
  const TSkin skin = ReadSkin({}, {}, [&](const QString&) { ++reports; });
  EXPECT_FALSE(skin.Background);
  EXPECT_FALSE(skin.Font);
  for (const QImage& glyph : skin.Glyphs)
    EXPECT_TRUE(glyph.isNull());
  EXPECT_EQ(reports, 0);
  EXPECT_TRUE(ReadLogo().isNull());
}

TEST(NoSkinLibrary, FailedInstalledPictureLeavesTheRestBlank) {
  TSkinFolder folder;
  folder.WriteSkin();
  QFile::remove(folder.Path() + "NUMBERS.BMP");
  QStringList messages;
  const TSkin skin =
      ReadSkin("Test", {"Test=" + folder.Path()}, [&](const QString& Text) { messages << Text; });
  ASSERT_EQ(messages.size(), 1);
  EXPECT_TRUE(messages[0].contains(folder.Path() + "NUMBERS.BMP"));
  EXPECT_TRUE(skin.Background);
  EXPECT_FALSE(skin.Glyphs[sgInfo].isNull());
  EXPECT_TRUE(skin.Glyphs[sgFirstSlot].isNull());
  EXPECT_TRUE(skin.Glyphs[sgOpenFile].isNull());
  EXPECT_FALSE(skin.Font);
}

TEST(NoSkinLibrary, AboutStaysBlackAndSplashShowsOnlyTheNotice) {
  const TfrmAbout about;
  EXPECT_TRUE(about.imgLogo->pixmap().isNull());
  EXPECT_EQ(about.palette().color(QPalette::Window), QColor(Qt::black));
  const TfrmSplash splash;
  EXPECT_TRUE(splash.imgSplash->pixmap().isNull());
  EXPECT_EQ(splash.lblCopyright->text(), CopyrightNotice);
}
