#include "dialogs/AboutUnit.h"

#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include "platform/qt/SkinLibrary.h"

TfrmAbout::TfrmAbout(QWidget* Parent)
    : QDialog(Parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), imgLogo(new QLabel(this)),
      btnOK(new QPushButton(QStringLiteral("OK"), this)) {
  setWindowTitle(QStringLiteral("frmAbout"));
  setFixedSize(373, 253);
  QPalette colors = palette();
  colors.setColor(QPalette::Window, Qt::black);
  setPalette(colors);
  setAutoFillBackground(true);
  imgLogo->move(8, 8);
  btnOK->setGeometry(152, 224, 75, 25);
  btnOK->setDefault(true);
  connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
  move(screen()->geometry().center() - rect().center());
  FormCreate();
}

void TfrmAbout::FormCreate() {
  const QImage logo = ReadLogo();
  imgLogo->setPixmap(QPixmap::fromImage(logo));
  imgLogo->resize(logo.size());
}
