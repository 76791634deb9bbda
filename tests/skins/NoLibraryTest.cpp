// Run where no "SKINS.DLL" can be found.
#include <QLabel>

#include "SkinFiles.h"
#include "dialogs/AboutUnit.h"
#include "dialogs/SplashUnit.h"
#include "platform/qt/SkinLibrary.h"
#include "frontend/SkinUnit.h"

TEST(NoSkinLibrary, BuiltInSkinIsEmpty) {
  int Reports = 0;
  const TSkin Skin = ReadSkin({}, {}, [&](const QString&) { ++Reports; });
  EXPECT_FALSE(Skin.Background);
  EXPECT_FALSE(Skin.Font);
  for (const QImage& Glyph : Skin.Glyphs)
    EXPECT_TRUE(Glyph.isNull());
  EXPECT_EQ(Reports, 0);
  EXPECT_TRUE(ReadLogo().isNull());
}

TEST(NoSkinLibrary, FailedInstalledPictureLeavesTheRestBlank) {
  TSkinFolder Folder;
  Folder.WriteSkin();
  QFile::remove(Folder.Path() + "NUMBERS.BMP");
  QStringList Messages;
  const TSkin Skin =
      ReadSkin("Test", {"Test=" + Folder.Path()}, [&](const QString& Text) { Messages << Text; });
  ASSERT_EQ(Messages.size(), 1);
  EXPECT_TRUE(Messages[0].contains(Folder.Path() + "NUMBERS.BMP"));
  EXPECT_TRUE(Skin.Background);
  EXPECT_FALSE(Skin.Glyphs[sgInfo].isNull());
  EXPECT_TRUE(Skin.Glyphs[sgFirstSlot].isNull());
  EXPECT_TRUE(Skin.Glyphs[sgOpenFile].isNull());
  EXPECT_FALSE(Skin.Font);
}

TEST(NoSkinLibrary, AboutStaysBlackAndSplashShowsOnlyTheNotice) {
  const TfrmAbout About;
  EXPECT_TRUE(About.imgLogo->pixmap().isNull());
  EXPECT_EQ(About.palette().color(QPalette::Window), QColor(Qt::black));
  const TfrmSplash Splash;
  EXPECT_TRUE(Splash.imgSplash->pixmap().isNull());
  EXPECT_EQ(Splash.lblCopyright->text(), CopyrightNotice);
}
