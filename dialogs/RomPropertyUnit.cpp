#include "dialogs/RomPropertyUnit.h"

#include <cstring>

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

#include "core/MMCUnit.h"

namespace {

QLineEdit* NewField() {
  auto* field = new QLineEdit;
  field->setReadOnly(true);
  field->setFocusPolicy(Qt::NoFocus); // the Tab key passes over it
  return field;
}

// Header bytes as text, as many as Count, ending early at a zero byte.
QString HeaderText(const TMMC& Cartridge, size_t First, size_t Count) {
  const char* text = reinterpret_cast<const char*>(Cartridge.Header.data()) + First;
  return QString::fromLatin1(text, qsizetype(strnlen(text, Count)));
}

} // namespace

TfrmROMProperty::TfrmROMProperty(QWidget* Owner)
    : QDialog(Owner,
              Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
  setWindowTitle(QStringLiteral("ROM Property"));
  setFixedSize(369, 263);

  edFileName = NewField();
  edHeader = NewField();
  edProgPages = NewField();
  edCharPages = NewField();
  for (QLineEdit* shortField : {edHeader, edProgPages, edCharPages})
    shortField->setFixedWidth(56);
  edMapping = NewField();
  edEXpansion = NewField();
  lblROM = new QLabel;
  lblVROM = new QLabel;

  cbVertMirror = new QCheckBox(QStringLiteral("Vertical Mirroring"));
  cbBattery = new QCheckBox(QStringLiteral("Battery"));
  cbTrainer = new QCheckBox(QStringLiteral("Trainer"));
  cbFourScreen = new QCheckBox(QStringLiteral("Four Screen"));
  // On a disabled panel the flags show but cannot be changed.
  auto* flags = new QFrame;
  flags->setFrameShape(QFrame::StyledPanel);
  flags->setEnabled(false);
  auto* flagsLayout = new QGridLayout(flags);
  // Room for the captions whole: the dialog's size is fixed.
  flagsLayout->setContentsMargins(8, 1, 8, 1);
  flagsLayout->setVerticalSpacing(0);
  for (QCheckBox* flag : {cbVertMirror, cbBattery, cbTrainer, cbFourScreen})
    flag->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
  flagsLayout->addWidget(cbVertMirror, 0, 0);
  flagsLayout->addWidget(cbBattery, 0, 1);
  flagsLayout->addWidget(cbTrainer, 1, 0);
  flagsLayout->addWidget(cbFourScreen, 1, 1);

  auto* grid = new QGridLayout;
  grid->setVerticalSpacing(4);
  grid->addWidget(new QLabel(QStringLiteral("FileName :")), 0, 0);
  grid->addWidget(edFileName, 0, 1, 1, 4);
  grid->addWidget(new QLabel(QStringLiteral("Header :")), 1, 0);
  grid->addWidget(edHeader, 1, 1);
  grid->addWidget(new QLabel(QStringLiteral("Program Pages :")), 2, 0);
  grid->addWidget(edProgPages, 2, 1);
  grid->addWidget(new QLabel(QStringLiteral("ROM")), 2, 2);
  grid->addWidget(lblROM, 2, 3);
  grid->addWidget(new QLabel(QStringLiteral("Character Pages :")), 3, 0);
  grid->addWidget(edCharPages, 3, 1);
  grid->addWidget(new QLabel(QStringLiteral("VROM")), 3, 2);
  grid->addWidget(lblVROM, 3, 3);
  grid->addWidget(flags, 4, 0, 1, 5);
  grid->addWidget(new QLabel(QStringLiteral("Mapping :")), 5, 0);
  grid->addWidget(edMapping, 5, 1, 1, 4);
  grid->addWidget(new QLabel(QStringLiteral("Expansion :")), 6, 0);
  grid->addWidget(edEXpansion, 6, 1, 1, 4);
  grid->setColumnStretch(4, 1);

  auto* line = new QFrame;
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);

  btnOK = new QPushButton(QStringLiteral("OK"));
  btnOK->setDefault(true);
  connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
  auto* icon = new QLabel;
  const int iconSize = style()->pixelMetric(QStyle::PM_LargeIconSize);
  icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(iconSize));

  auto* bottom = new QHBoxLayout;
  bottom->addStretch();
  bottom->addWidget(btnOK);
  bottom->addStretch();
  bottom->addWidget(icon);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(8, 8, 8, 6);
  layout->setSpacing(4);
  layout->addLayout(grid);
  layout->addStretch();
  layout->addWidget(line);
  layout->addLayout(bottom);

  // Centred on the screen rather than on the owner.
  if (QScreen* desktop = screen()) move(desktop->availableGeometry().center() - rect().center());
}

void TfrmROMProperty::ShowCartridge(const TMMC& Cartridge) {
  const int progPages = Cartridge.Header[4];
  const int charPages = Cartridge.Header[5];
  edFileName->setText(QString::fromStdString(Cartridge.FileName));
  edHeader->setText(HeaderText(Cartridge, 0, 3));
  edProgPages->setText(QString::number(progPages));
  lblROM->setText(QStringLiteral("%1 Kb").arg(progPages * 16));
  edCharPages->setText(QString::number(charPages));
  lblVROM->setText(QStringLiteral("%1 Kb").arg(charPages * 8));
  cbVertMirror->setChecked(Cartridge.VertMirror);
  cbBattery->setChecked(Cartridge.Battery);
  cbTrainer->setChecked(Cartridge.Trainer);
  cbFourScreen->setChecked(Cartridge.FourScreen);
  edMapping->setText(QString::fromStdString(Cartridge.MappingName));
  edEXpansion->setText(HeaderText(Cartridge, 8, 8));
}
