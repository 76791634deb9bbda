#include "dialogs/SplashUnit.h"

#include <QLabel>
#include <QScreen>

#include "platform/qt/SkinLibrary.h"

TfrmSplash::TfrmSplash(QWidget* Parent)
    : QWidget(Parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      imgSplash(new QLabel(this)), lblCopyright(new QLabel(CopyrightNotice, this)) {
  setWindowTitle(QStringLiteral("frmSplash"));
  setFixedSize(216, 144);
  QPalette Colors = palette();
  Colors.setColor(QPalette::Window, Qt::black);
  Colors.setColor(QPalette::WindowText, Qt::white);
  setPalette(Colors);
  setAutoFillBackground(true);
  imgSplash->setGeometry(rect());
  QFont Small = lblCopyright->font();
  Small.setPixelSize(8);
  lblCopyright->setFont(Small);
  lblCopyright->move(72, 120);
  lblCopyright->adjustSize();
  lblCopyright->raise();
  move(screen()->geometry().center() - rect().center());
  FormCreate();
}

void TfrmSplash::FormCreate() { imgSplash->setPixmap(QPixmap::fromImage(ReadLogo())); }
