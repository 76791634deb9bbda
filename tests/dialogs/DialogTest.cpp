#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include "dialogs/AboutUnit.h"
#include "dialogs/SplashUnit.h"
#include "platform/qt/SkinLibrary.h"

namespace {

TEST(About, ShowsTheLogoOnBlackAndClosesWithOk) {
  TfrmAbout About;
  EXPECT_EQ(About.windowTitle(), "frmAbout");
  EXPECT_EQ(About.size(), QSize(373, 253));
  EXPECT_EQ(About.palette().color(QPalette::Window), QColor(Qt::black));
  EXPECT_EQ(About.imgLogo->geometry(), QRect(8, 8, 216, 144));
  EXPECT_EQ(About.imgLogo->pixmap().size(), QSize(216, 144));
  EXPECT_EQ(About.btnOK->geometry(), QRect(152, 224, 75, 25));
  EXPECT_TRUE(About.btnOK->isDefault());
  QTimer::singleShot(0, About.btnOK, &QPushButton::click);
  EXPECT_EQ(About.exec(), QDialog::Accepted);
}

TEST(Splash, ShowsTheLogoWithTheNotice) {
  TfrmSplash Splash;
  EXPECT_EQ(Splash.size(), QSize(216, 144));
  EXPECT_TRUE(Splash.windowFlags() & Qt::FramelessWindowHint);
  EXPECT_TRUE(Splash.windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_EQ(Splash.imgSplash->geometry(), QRect(0, 0, 216, 144));
  EXPECT_EQ(Splash.imgSplash->pixmap().size(), QSize(216, 144));
  EXPECT_EQ(Splash.lblCopyright->pos(), QPoint(72, 120));
  EXPECT_EQ(Splash.lblCopyright->text(), CopyrightNotice);
  EXPECT_EQ(Splash.lblCopyright->font().pixelSize(), 8);
  EXPECT_EQ(Splash.lblCopyright->palette().color(QPalette::WindowText), QColor(Qt::white));
  // The notice lies on the logo, above the picture's frame.
  Splash.show();
  const QImage Shown = Splash.grab().toImage();
  const QRect Notice = Splash.lblCopyright->geometry();
  bool White = false;
  for (int X = Notice.left(); X <= Notice.right(); ++X)
    for (int Y = Notice.top(); Y <= Notice.bottom(); ++Y)
      White |= QColor(Shown.pixel(X, Y)).lightness() > 200;
  EXPECT_TRUE(White);
}

} // namespace
