#include "dialogs/SplashUnit.h"

#include <QLabel>
#include <QScreen>

#include "platform/qt/SkinLibrary.h"

TfrmSplash::TfrmSplash(QWidget* Parent)
    : QWidget(Parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      imgSplash(new QLabel(this)), lblCopyright(new QLabel(CopyrightNotice, this)) {
  setWindowTitle(QStringLiteral("frmSplash"));
  setFixedSize(216, 144);
  QPalette colors = palette();
  colors.setColor(QPalette::Window, Qt::black);
  colors.setColor(QPalette::WindowText, Qt::white);
  setPalette(colors);
  setAutoFillBackground(true);
  imgSplash->setGeometry(rect());
  QFont small = lblCopyright->font();
  small.setPixelSize(8);
  lblCopyright->setFont(small);
  lblCopyright->move(72, 120);
  lblCopyright->adjustSize();
  lblCopyright->raise();
  move(screen()->geometry().center() - rect().center());
  FormCreate();
}

void TfrmSplash::FormCreate() { imgSplash->setPixmap(QPixmap::fromImage(ReadLogo())); }
