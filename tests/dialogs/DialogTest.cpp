#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include "dialogs/AboutUnit.h"
#include "dialogs/SplashUnit.h"
#include "platform/qt/SkinLibrary.h"

namespace {

TEST(About, ShowsTheLogoOnBlackAndClosesWithOk) {
  TfrmAbout about;
  EXPECT_EQ(about.windowTitle(), "frmAbout");
  EXPECT_EQ(about.size(), QSize(373, 253));
  EXPECT_EQ(about.palette().color(QPalette::Window), QColor(Qt::black));
  EXPECT_EQ(about.imgLogo->geometry(), QRect(8, 8, 216, 144));
  EXPECT_EQ(about.imgLogo->pixmap().size(), QSize(216, 144));
  EXPECT_EQ(about.btnOK->geometry(), QRect(152, 224, 75, 25));
  EXPECT_TRUE(about.btnOK->isDefault());
  QTimer::singleShot(0, about.btnOK, &QPushButton::click);
  EXPECT_EQ(about.exec(), QDialog::Accepted);
}

TEST(Splash, ShowsTheLogoWithTheNotice) {
  TfrmSplash splash;
  EXPECT_EQ(splash.size(), QSize(216, 144));
  EXPECT_TRUE(splash.windowFlags() & Qt::FramelessWindowHint);
  EXPECT_TRUE(splash.windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_EQ(splash.imgSplash->geometry(), QRect(0, 0, 216, 144));
  EXPECT_EQ(splash.imgSplash->pixmap().size(), QSize(216, 144));
  EXPECT_EQ(splash.lblCopyright->pos(), QPoint(72, 120));
  EXPECT_EQ(splash.lblCopyright->text(), CopyrightNotice);
  EXPECT_EQ(splash.lblCopyright->font().pixelSize(), 8);
  EXPECT_EQ(splash.lblCopyright->palette().color(QPalette::WindowText), QColor(Qt::white));
  // The notice lies on the logo, above the picture's frame.
  splash.show();
  const QImage shown = splash.grab().toImage();
  const QRect notice = splash.lblCopyright->geometry();
  bool white = false;
  for (int x = notice.left(); x <= notice.right(); ++x)
    for (int y = notice.top(); y <= notice.bottom(); ++y)
      white |= QColor(shown.pixel(x, y)).lightness() > 200;
  EXPECT_TRUE(white);
}

} // namespace
