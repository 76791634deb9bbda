#include "dialogs/SettingUnit.h"

#include <memory>

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "platform/IniFile.h"
#include "platform/qt/KeyMap.h"
#include "platform/qt/Prompts.h"
#include "platform/qt/SkinLibrary.h"

namespace {

using TKeyListMembers = std::array<QComboBox * TfrmSetting::*, 8>;
const std::array<TKeyListMembers, 2> KeyListMembers = {{
    {&TfrmSetting::cb1UP, &TfrmSetting::cb1down, &TfrmSetting::cb1Left, &TfrmSetting::cb1right,
     &TfrmSetting::cb1A, &TfrmSetting::cb1B, &TfrmSetting::cb1Start, &TfrmSetting::cb1Select},
    {&TfrmSetting::cb2Up, &TfrmSetting::cb2down, &TfrmSetting::cb2Left, &TfrmSetting::cb2Right,
     &TfrmSetting::cb2A, &TfrmSetting::cb2B, &TfrmSetting::cb2Start, &TfrmSetting::cb2Select},
}};
const std::array<QCheckBox * TfrmSetting::*, 2> JoyMembers = {&TfrmSetting::cbJoy1, &TfrmSetting::cbJoy2};

const QString DefaultSkin = QStringLiteral("Default");
// Who made the built-in skin, shown for the "Default" entry.
const QString DefaultSkinAuthor = QStringLiteral("Brovane, for Pixtor");
const QString SkinIniName = QStringLiteral("SKIN.INI");
const QString ErrorCaption = QStringLiteral("ERROR");

TPadKeys& PadKeys(TSettings& Settings, int Pad) { return Pad == 0 ? Settings.Pad1Keys : Settings.Pad2Keys; }
bool& PadEnabled(TSettings& Settings, int Pad) { return Pad == 0 ? Settings.Pad1Enabled : Settings.Pad2Enabled; }

QString SkinName(const QString& Line) { return Line.section(u'=', 0, 0); }

QString ReadInfo(const QString& IniPath, const char* Key) {
  return QString::fromStdString(ReadProfileString(QFile::encodeName(IniPath).toStdString(), "INFO", Key));
}

// Why a chosen skin description cannot be read as text; empty when it can.
QString UnreadableReason(const QString& Path) {
  const QFileInfo info(Path);
  if (!info.exists()) return QStringLiteral("The file does not exist.");
  if (!info.isFile()) return QStringLiteral("It is not a file.");
  QFile file(Path);
  if (!file.open(QIODevice::ReadOnly)) return file.errorString() + u'.';
  // A text file holds no zero byte; the first 64 KB tell.
  if (file.read(65536).contains('\0')) return QStringLiteral("It is not a text file.");
  return {};
}

// Tabs with less room beside their captions, so that all six stand side by
// side in the dialog's width.
class TNarrowTabStyle : public QProxyStyle {
public:
  int pixelMetric(PixelMetric Metric, const QStyleOption* Option, const QWidget* Widget) const override {
    return Metric == PM_TabBarTabHSpace ? 10 : QProxyStyle::pixelMetric(Metric, Option, Widget);
  }
};

QLabel* NewLabel(const QString& Caption, QWidget* Buddy) {
  auto* label = new QLabel(Caption);
  label->setBuddy(Buddy);
  return label;
}

} // namespace

TfrmSetting::TfrmSetting(QWidget* Owner, const TSettings& Settings, bool DirectDrawAvailable,
                         std::vector<TDisplayMode> DisplayModes)
    : QDialog(Owner, Qt::Tool), Settings(Settings), DirectDrawAvailable(DirectDrawAvailable),
      DisplayModes(std::move(DisplayModes)) {
  setWindowTitle(QStringLiteral("Setting ..."));
  setFixedSize(361, 324);

  PageControl = new QTabWidget;
  auto* tabStyle = new TNarrowTabStyle;
  tabStyle->setParent(this);
  PageControl->tabBar()->setStyle(tabStyle);
  PageControl->addTab(NewScreenPage(), QStringLiteral("Screen"));
  PageControl->addTab(NewSoundPage(), QStringLiteral("Sound"));
  PageControl->addTab(NewJoypadPage(0), QStringLiteral("Joypad 1"));
  PageControl->addTab(NewJoypadPage(1), QStringLiteral("Joypad 2"));
  PageControl->addTab(NewMappersPage(), QStringLiteral("Mappers"));
  PageControl->addTab(NewSkinsPage(), QStringLiteral("Skins"));
  PageControl->setCurrentIndex(0);

  btnOK = new QPushButton(QStringLiteral("OK"));
  btnOK->setDefault(true);
  btnCancel = new QPushButton(QStringLiteral("Cancel"));
  connect(btnOK, &QPushButton::clicked, this, &TfrmSetting::btnOKClick);
  connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(btnOK);
  buttons->addWidget(btnCancel);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->addWidget(PageControl);
  layout->addLayout(buttons);

  FormCreate();
}

QWidget* TfrmSetting::NewScreenPage() {
  rbNormal = new QRadioButton(QStringLiteral("Normal view"));
  rbFull = new QRadioButton(QStringLiteral("Full screen"));
  rbNormal->setChecked(true);
  for (QRadioButton* button : {rbNormal, rbFull})
    connect(button, &QRadioButton::toggled, this, [this, button](bool Checked) {
      if (Checked) rbNormalClick(button);
    });
  cbDisplay = new QComboBox;
  cbDisplay->setEnabled(false);
  lblDisplay = NewLabel(QStringLiteral("Display mode :"), cbDisplay);

  gbScreenSize = new QGroupBox(QStringLiteral("Screen Size"));
  auto* display = new QHBoxLayout;
  display->addWidget(lblDisplay);
  display->addWidget(cbDisplay, 1);
  auto* screenSize = new QVBoxLayout(gbScreenSize);
  screenSize->addWidget(rbNormal);
  screenSize->addWidget(rbFull);
  screenSize->addLayout(display);

  seRate = new QSpinBox;
  seRate->setRange(1, 10);
  lblRate = NewLabel(QStringLiteral("Frame skip :"), seRate);
  ckViewFreq = new QCheckBox(QStringLiteral("View Frame Rate"));
  ckViewFreq->setEnabled(false);

  auto* rate = new QHBoxLayout;
  rate->addWidget(lblRate);
  rate->addWidget(seRate);
  rate->addStretch();
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(gbScreenSize);
  layout->addLayout(rate);
  layout->addWidget(ckViewFreq);
  layout->addStretch();
  return page;
}

QWidget* TfrmSetting::NewSoundPage() {
  tbVolume = new QSlider(Qt::Vertical);
  tbVolume->setRange(0, 10);
  tbVolume->setPageStep(1);
  tbVolume->setTickPosition(QSlider::TicksBothSides);
  tbVolume->setTickInterval(1);
  // Position 0 stands at the top, and the arrow keys move the handle the way they point.
  tbVolume->setInvertedAppearance(true);
  tbVolume->setInvertedControls(true);
  connect(tbVolume, &QSlider::valueChanged, this, &TfrmSetting::tbVolumeChange);
  lbVolume = new QLabel;
  lbVolume->setAlignment(Qt::AlignCenter);

  gbVolume = new QGroupBox(QStringLiteral("Volume"));
  auto* volume = new QVBoxLayout(gbVolume);
  volume->addWidget(tbVolume, 1, Qt::AlignHCenter);
  volume->addWidget(lbVolume);

  cbCH1 = new QCheckBox(QStringLiteral("Channel #1 (Square wave 1)"));
  cbCH2 = new QCheckBox(QStringLiteral("Channel #2 (Square wave 2)"));
  cbCH3 = new QCheckBox(QStringLiteral("Channel #3 (Triangle wave)"));
  cbCH4 = new QCheckBox(QStringLiteral("Channel #4 (Noise)"));
  cbCH5 = new QCheckBox(QStringLiteral("PCM"));
  cbCH5->setEnabled(false);

  auto* channels = new QVBoxLayout;
  for (QCheckBox* channel : {cbCH1, cbCH2, cbCH3, cbCH4, cbCH5})
    channels->addWidget(channel);
  channels->addStretch();
  auto* page = new QWidget;
  auto* layout = new QHBoxLayout(page);
  layout->addWidget(gbVolume);
  layout->addLayout(channels, 1);
  return page;
}

QWidget* TfrmSetting::NewJoypadPage(int Pad) {
  auto* page = new QWidget;
  auto* grid = new QGridLayout;
  // The directions stand as a cross: left and right side by side, up above
  // and down below, centred over both; A, B, START and SELECT in a column on the right.
  for (int i = 0; i < 8; ++i) {
    auto* list = new QComboBox;
    list->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    list->setMaxVisibleItems(16);
    this->*KeyListMembers[Pad][i] = list;
    QLabel* label = NewLabel(QString::fromLatin1(PadKeyNames[i]), list);
    if (i == 0 || i == 1) {
      const int row = i == 0 ? 0 : 4;
      grid->addWidget(label, row, 0, 1, 2, Qt::AlignBottom | Qt::AlignHCenter);
      grid->addWidget(list, row + 1, 0, 1, 2, Qt::AlignHCenter);
    } else if (i == 2 || i == 3) {
      grid->addWidget(label, 2, i - 2, Qt::AlignBottom | Qt::AlignHCenter);
      grid->addWidget(list, 3, i - 2);
    } else {
      const int row = 2 * (i - 4);
      grid->addWidget(label, row, 3, Qt::AlignBottom | Qt::AlignLeft);
      grid->addWidget(list, row + 1, 3);
    }
  }
  grid->setColumnStretch(2, 1);
  QCheckBox* joy = new QCheckBox(QStringLiteral("Joypad enabled"));
  this->*JoyMembers[Pad] = joy;

  auto* layout = new QVBoxLayout(page);
  layout->addLayout(grid);
  layout->addStretch();
  layout->addWidget(joy);
  return page;
}

QWidget* TfrmSetting::NewMappersPage() {
  edMappersFolder = new QLineEdit;
  btnSelFolder = new QPushButton(QStringLiteral("..."));
  btnSelFolder->setFixedWidth(btnSelFolder->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 16);
  connect(btnSelFolder, &QPushButton::clicked, this, &TfrmSetting::btnSelFolderClick);
  lbMappers = new QListWidget;

  auto* folder = new QHBoxLayout;
  folder->addWidget(edMappersFolder, 1);
  folder->addWidget(btnSelFolder);
  auto* group = new QGroupBox(QStringLiteral("Mappers"));
  auto* groupLayout = new QVBoxLayout(group);
  groupLayout->addWidget(lbMappers);

  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(NewLabel(QStringLiteral("Mappers directory :"), edMappersFolder));
  layout->addLayout(folder);
  layout->addWidget(group, 1);
  return page;
}

QWidget* TfrmSetting::NewSkinsPage() {
  lbSkins = new QListWidget;
  // A row the user chooses, by mouse or keys, shows its property; rows chosen
  // by the dialog itself go through SelectSkin, which keeps this quiet.
  connect(lbSkins, &QListWidget::currentRowChanged, this, &TfrmSetting::lbSkinsClick);
  btnAdd = new QPushButton(QStringLiteral("Add"));
  btnDelete = new QPushButton(QStringLiteral("Delete"));
  connect(btnAdd, &QPushButton::clicked, this, &TfrmSetting::btnAddClick);
  connect(btnDelete, &QPushButton::clicked, this, &TfrmSetting::btnDeleteClick);

  auto* skinButtons = new QVBoxLayout;
  skinButtons->addWidget(btnAdd);
  skinButtons->addWidget(btnDelete);
  skinButtons->addStretch();
  auto* skins = new QGroupBox(QStringLiteral("Skins"));
  auto* skinsLayout = new QHBoxLayout(skins);
  skinsLayout->addWidget(lbSkins, 1);
  skinsLayout->addLayout(skinButtons);

  edAuthor = new QLineEdit;
  edCopyright = new QLineEdit;
  edComments = new QLineEdit;
  auto* property = new QGroupBox(QStringLiteral("Skins Property"));
  auto* propertyLayout = new QFormLayout(property);
  for (auto [caption, edit] : {std::pair{"Author :", edAuthor}, std::pair{"Copyright :", edCopyright},
                               std::pair{"Comments :", edComments}}) {
    // The fields describe the skin; nothing stores them.
    edit->setReadOnly(true);
    propertyLayout->addRow(QString::fromLatin1(caption), edit);
  }

  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(skins, 1);
  layout->addWidget(property);
  return page;
}

std::array<QComboBox*, 8> TfrmSetting::KeyLists(int Pad) const {
  std::array<QComboBox*, 8> lists;
  for (int i = 0; i < 8; ++i)
    lists[i] = this->*KeyListMembers[Pad][i];
  return lists;
}

void TfrmSetting::FormCreate() {
  for (int pad = 0; pad < 2; ++pad)
    for (QComboBox* list : KeyLists(pad))
      for (const TKeyName& key : KeyTable)
        list->addItem(QString::fromLatin1(key.Name), key.Code);

  if (DirectDrawAvailable) {
    for (const TDisplayMode& mode : DisplayModes)
      cbDisplay->addItem(FormatDisplayMode(mode));
  } else {
    rbFull->setEnabled(false);
    lblDisplay->setEnabled(false);
  }

  seRate->setValue(Settings.FrameRate);
  tbVolume->setValue(10 - Settings.SoundVolume * 10 / 255);
  tbVolumeChange(); // the position may not have moved
  const std::array<QCheckBox*, 4> channels = {cbCH1, cbCH2, cbCH3, cbCH4};
  for (size_t i = 0; i < channels.size(); ++i)
    channels[i]->setChecked(Settings.SoundChannel[i]);

  for (int pad = 0; pad < 2; ++pad) {
    const std::array<QComboBox*, 8> lists = KeyLists(pad);
    // A code missing from the key table leaves its list without a selection.
    for (size_t i = 0; i < lists.size(); ++i)
      lists[i]->setCurrentIndex(lists[i]->findData(PadKeys(Settings, pad)[i]));
    (this->*JoyMembers[pad])->setChecked(PadEnabled(Settings, pad));
  }

  if (Settings.ViewMode == 0)
    rbNormal->setChecked(true);
  else if (Settings.ViewMode == 1)
    rbFull->setChecked(true);

  const int mode = cbDisplay->findText(Settings.ScreenMode);
  cbDisplay->setCurrentIndex(mode >= 0 ? mode : (cbDisplay->count() > 0 ? 0 : -1));

  DialogSkinList = Settings.SkinList;
  lbSkins->addItem(DefaultSkin);
  for (const QString& line : DialogSkinList)
    lbSkins->addItem(SkinName(line));

  // An empty skin name becomes "Default" here, whether the dialog is accepted or not.
  if (Settings.SkinUsed.isEmpty()) Settings.SkinUsed = DefaultSkin;
  const QList<QListWidgetItem*> used = lbSkins->findItems(Settings.SkinUsed, Qt::MatchExactly);
  SelectSkin(used.isEmpty() ? -1 : lbSkins->row(used.first()));
  lbSkinsClick();
}

void TfrmSetting::rbNormalClick(QRadioButton* Sender) { cbDisplay->setEnabled(Sender == rbFull); }

void TfrmSetting::tbVolumeChange() { lbVolume->setNum(10 - tbVolume->value()); }

void TfrmSetting::btnOKClick() {
  Settings.FrameRate = seRate->value();
  Settings.SoundVolume = (10 - tbVolume->value()) * 255 / 10;
  const std::array<QCheckBox*, 4> channels = {cbCH1, cbCH2, cbCH3, cbCH4};
  for (size_t i = 0; i < channels.size(); ++i)
    Settings.SoundChannel[i] = channels[i]->isChecked();

  for (int pad = 0; pad < 2; ++pad) {
    const std::array<QComboBox*, 8> lists = KeyLists(pad);
    // A list without a selection keeps its button's stored code.
    for (size_t i = 0; i < lists.size(); ++i)
      if (lists[i]->currentIndex() >= 0) PadKeys(Settings, pad)[i] = lists[i]->currentData().toUInt();
    PadEnabled(Settings, pad) = (this->*JoyMembers[pad])->isChecked();
  }

  if (rbNormal->isChecked()) {
    Settings.ViewMode = 0;
  } else if (rbFull->isChecked()) {
    Settings.ViewMode = 1;
    Settings.ScreenMode = cbDisplay->currentText();
  }

  const int line = lbSkins->currentRow() - 1;
  Settings.SkinUsed = line < 0 ? QString() : SkinName(DialogSkinList[line]);
  Settings.SkinList = DialogSkinList;
  accept();
}

void TfrmSetting::btnSelFolderClick() {
  const QString folder = Prompts().Folder(this, QStringLiteral("Browse for Mappers Folder"),
                                          QStringLiteral("Please select folder :"), QStringLiteral("/"));
  if (!folder.isEmpty()) edMappersFolder->setText(folder);
}

void TfrmSetting::btnAddClick() {
  const QString path = Prompts().OpenFile(this, QStringLiteral("Open Info Skin file ..."),
                                          QStringLiteral("Info Skin file (SKIN.INI)"), QString());
  if (path.isEmpty()) return;
  if (const QString reason = UnreadableReason(path); !reason.isEmpty()) {
    Prompts().Error(this, ErrorCaption, QStringLiteral("Cannot read %1: %2").arg(path, reason));
    return;
  }
  const QString name = ReadInfo(path, "Name").replace(u' ', u'_');
  if (name.isEmpty()) {
    Prompts().Error(this, ErrorCaption,
                    QStringLiteral("This is not an Info Skin file.") + QStringLiteral("\n\r") +
                        QStringLiteral("Please refer to Info Skin file documentation for more info."));
    return;
  }
  // A skin is stored as a settings value named after it, in a "name=folder" line.
  if (name.contains(u'=') || name.contains(u'/') || name.contains(u'\\')) {
    Prompts().Error(
        this, ErrorCaption,
        QStringLiteral("The skin name %1 holds \"=\", \"/\" or \"\\\"; it cannot be stored.").arg(name));
    return;
  }
  // "Default" names the built-in skin.
  if (!lbSkins->findItems(name, Qt::MatchFixedString).isEmpty()) {
    Prompts().Error(this, ErrorCaption, QStringLiteral("A skin named %1 is already installed.").arg(name));
    return;
  }
  DialogSkinList.append(name + u'=' + QFileInfo(path).absolutePath() + u'/');
  lbSkins->addItem(name);
  SelectSkin(lbSkins->count() - 1);
  ShowSkinProperty(path);
}

void TfrmSetting::btnDeleteClick() {
  const int line = lbSkins->currentRow() - 1;
  if (line < 0) return;
  {
    // The property fields keep what they show.
    const QSignalBlocker quiet(lbSkins);
    const std::unique_ptr<QListWidgetItem> removed(lbSkins->takeItem(line + 1));
  }
  DialogSkinList.removeAt(line);
  if (lbSkins->count() > 0) SelectSkin(line);
}

void TfrmSetting::lbSkinsClick() {
  QListWidgetItem* item = lbSkins->currentItem();
  if (!item) return;
  if (lbSkins->currentRow() == 0) {
    edAuthor->setText(DefaultSkinAuthor);
    edCopyright->setText(CopyrightNotice);
    edComments->clear();
  } else {
    ShowSkinProperty(SkinFolder(DialogSkinList, item->text()) + SkinIniName);
  }
}

void TfrmSetting::SelectSkin(int Row) {
  const QSignalBlocker quiet(lbSkins);
  lbSkins->setCurrentRow(Row);
}

void TfrmSetting::ShowSkinProperty(const QString& IniPath) {
  edAuthor->setText(ReadInfo(IniPath, "Author"));
  edCopyright->setText(ReadInfo(IniPath, "Copyright"));
  edComments->setText(ReadInfo(IniPath, "Comments"));
}
