#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TMMC;

// What the loaded cartridge image's header says, in read-only fields.
class TfrmROMProperty : public QDialog {
  Q_OBJECT

public:
  explicit TfrmROMProperty(QWidget* Owner);

  QLineEdit* edFileName;
  QLineEdit* edHeader;
  QLineEdit* edProgPages;
  QLabel* lblROM;
  QLineEdit* edCharPages;
  QLabel* lblVROM;
  QCheckBox* cbVertMirror;
  QCheckBox* cbBattery;
  QCheckBox* cbTrainer;
  QCheckBox* cbFourScreen;
  QLineEdit* edMapping;
  QLineEdit* edEXpansion;
  QPushButton* btnOK;

  // Fills the fields from a loaded cartridge.
  void ShowCartridge(const TMMC& Cartridge);
};
