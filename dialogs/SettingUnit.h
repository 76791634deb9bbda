#pragma once

#include <array>
#include <vector>

#include <QDialog>
#include <QStringList>

#include "platform/qt/DisplayModes.h"
#include "platform/qt/Settings.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSlider;
class QSpinBox;
class QTabWidget;

// The settings dialog: six tabs showing the settings it is given, changed
// only on OK; its owner then puts them in effect at once. Skins are added
// and deleted on a working copy of the skin list that replaces it on OK.
class TfrmSetting : public QDialog {
  Q_OBJECT

public:
  // Full screen and its display modes are offered when DirectDrawAvailable.
  TfrmSetting(QWidget* Owner, const TSettings& Settings, bool DirectDrawAvailable,
              std::vector<TDisplayMode> DisplayModes);

  // The settings shown; on OK, the ones chosen. An empty skin name becomes
  // "Default" when the dialog opens, OK or not.
  TSettings Settings;

  QTabWidget* PageControl;

  // "Screen"
  QGroupBox* gbScreenSize;
  QRadioButton* rbNormal;
  QRadioButton* rbFull;
  QLabel* lblDisplay;
  QComboBox* cbDisplay;
  QLabel* lblRate;
  QSpinBox* seRate;
  QCheckBox* ckViewFreq;

  // "Sound"
  QGroupBox* gbVolume;
  QSlider* tbVolume; // position 0 at the top is the loudest
  QLabel* lbVolume;
  QCheckBox* cbCH1;
  QCheckBox* cbCH2;
  QCheckBox* cbCH3;
  QCheckBox* cbCH4;
  QCheckBox* cbCH5;

  // "Joypad 1" and "Joypad 2": key lists whose entries carry their key codes.
  QComboBox *cb1UP, *cb1down, *cb1Left, *cb1right, *cb1A, *cb1B, *cb1Start, *cb1Select;
  QCheckBox* cbJoy1;
  QComboBox *cb2Up, *cb2down, *cb2Left, *cb2Right, *cb2A, *cb2B, *cb2Start, *cb2Select;
  QCheckBox* cbJoy2;

  // "Mappers"
  QLineEdit* edMappersFolder;
  QPushButton* btnSelFolder;
  QListWidget* lbMappers;

  // "Skins": "Default" (the built-in skin) at row 0, then one row per line of DialogSkinList.
  QListWidget* lbSkins;
  QPushButton* btnAdd;
  QPushButton* btnDelete;
  QLineEdit* edAuthor;
  QLineEdit* edCopyright;
  QLineEdit* edComments;

  QPushButton* btnOK;
  QPushButton* btnCancel;

  QStringList DialogSkinList; // "name=folder", as TSettings::SkinList

  void FormCreate();
  // Bound to both radio buttons; Sender is the one that became checked.
  void rbNormalClick(QRadioButton* Sender);
  void tbVolumeChange();
  void btnOKClick();
  void btnSelFolderClick();
  void btnAddClick();
  void btnDeleteClick();
  void lbSkinsClick();

  // The key lists of joypad 1 or 2 in the order UP, DOWN, LEFT, RIGHT, A, B, START, SELECT.
  std::array<QComboBox*, 8> KeyLists(int Pad) const;

private:
  QWidget* NewScreenPage();
  QWidget* NewSoundPage();
  QWidget* NewJoypadPage(int Pad);
  QWidget* NewMappersPage();
  QWidget* NewSkinsPage();
  // Selects a row of lbSkins without running lbSkinsClick.
  void SelectSkin(int Row);
  void ShowSkinProperty(const QString& IniPath);

  bool DirectDrawAvailable;
  std::vector<TDisplayMode> DisplayModes;
};
