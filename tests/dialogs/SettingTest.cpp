#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>

#include "dialogs/SettingUnit.h"
#include "platform/qt/KeyMap.h"
#include "platform/qt/Prompts.h"
#include "platform/qt/Settings.h"
#include "platform/qt/SkinLibrary.h"
#include "tests/FakePrompts.h"

namespace {

class SettingTest : public testing::Test {
protected:
  // Writes Contents as Folder/SKIN.INI under the test's folder; gives its path.
  QString WriteSkin(const QString& Folder, const QByteArray& Contents) {
    QDir(Dir.path()).mkpath(Folder);
    const QString path = Dir.filePath(Folder + "/SKIN.INI");
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(Contents);
    return path;
  }
  QStringList SkinRows(const TfrmSetting& Dialog) {
    QStringList rows;
    for (int i = 0; i < Dialog.lbSkins->count(); ++i)
      rows << Dialog.lbSkins->item(i)->text();
    return rows;
  }

  TFakePrompts Fake;
  QTemporaryDir Dir;
  // What the dialog is given.
  TSettings Settings;
  bool DirectDraw = false;
  std::vector<TDisplayMode> Modes;
};

TEST_F(SettingTest, TabsAndControlsAsTheDialogOpens) {
  TfrmSetting dialog(nullptr, Settings, DirectDraw, Modes);
  EXPECT_EQ(dialog.windowTitle(), "Setting ...");
  EXPECT_EQ(dialog.size(), QSize(361, 324));
  QStringList tabs;
  for (int i = 0; i < dialog.PageControl->count(); ++i)
    tabs << dialog.PageControl->tabText(i);
  EXPECT_EQ(tabs, QStringList({"Screen", "Sound", "Joypad 1", "Joypad 2", "Mappers", "Skins"}));
  EXPECT_EQ(dialog.PageControl->currentIndex(), 0);
  EXPECT_EQ(dialog.seRate->minimum(), 1);
  EXPECT_EQ(dialog.seRate->maximum(), 10);
  EXPECT_FALSE(dialog.ckViewFreq->isEnabled());
  EXPECT_FALSE(dialog.cbCH5->isEnabled());
  EXPECT_FALSE(dialog.cbDisplay->isEnabled());
  for (int pad = 0; pad < 2; ++pad)
    for (QComboBox* list : dialog.KeyLists(pad)) {
      ASSERT_EQ(list->count(), int(KeyTable.size()));
      for (size_t i = 0; i < KeyTable.size(); ++i) {
        EXPECT_EQ(list->itemText(int(i)), KeyTable[i].Name);
        EXPECT_EQ(list->itemData(int(i)).toUInt(), KeyTable[i].Code);
      }
    }
}

TEST_F(SettingTest, StoredVolumeThroughOK) {
  const std::pair<int, int> cases[] = {{0, 0},     {51, 51},   {102, 102}, {153, 153}, {204, 204},
                                       {255, 255}, {127, 102}, {25, 0},    {200, 178}};
  for (auto [stored, accepted] : cases) {
    Settings.SoundVolume = stored;
    TfrmSetting dialog(nullptr, Settings, DirectDraw, Modes);
    EXPECT_EQ(dialog.lbVolume->text().toInt(), 10 - dialog.tbVolume->value()) << stored;
    dialog.btnOKClick();
    EXPECT_EQ(dialog.Settings.SoundVolume, accepted) << stored;
  }
}

TEST_F(SettingTest, TrackBarPositionGivesVolume) {
  // The top of the bar (position 0) is the loudest.
  const std::pair<int, int> cases[] = {{0, 255}, {1, 229}, {5, 127}, {9, 25}, {10, 0}};
  for (auto [position, volume] : cases) {
    TfrmSetting dialog(nullptr, Settings, DirectDraw, Modes);
    dialog.tbVolume->setValue(position);
    EXPECT_EQ(dialog.lbVolume->text(), QString::number(10 - position));
    dialog.btnOKClick();
    EXPECT_EQ(dialog.Settings.SoundVolume, volume) << position;
  }
}

TEST_F(SettingTest, DisplayModeListFollowsViewModeAndDirectDraw) {
  struct TCase {
    int ViewMode;
    bool DirectDraw;
    bool FullEnabled, DisplayEnabled, FullChecked;
  };
  const TCase cases[] = {
      {0, true, true, false, false},
      {1, true, true, true, true},
      {0, false, false, false, false},
      {2, true, true, false, false}, // an unknown mode leaves normal view checked
  };
  for (const TCase& c : cases) {
    Settings.ViewMode = c.ViewMode;
    DirectDraw = c.DirectDraw;
    TfrmSetting dialog(nullptr, Settings, DirectDraw, Modes);
    EXPECT_EQ(dialog.rbFull->isEnabled(), c.FullEnabled) << c.ViewMode << c.DirectDraw;
    EXPECT_EQ(dialog.lblDisplay->isEnabled(), c.DirectDraw) << c.ViewMode << c.DirectDraw;
    EXPECT_EQ(dialog.cbDisplay->isEnabled(), c.DisplayEnabled) << c.ViewMode << c.DirectDraw;
    EXPECT_EQ(dialog.rbFull->isChecked(), c.FullChecked) << c.ViewMode << c.DirectDraw;
  }
  Settings.ViewMode = 0;
  DirectDraw = true;
  TfrmSetting dialog(nullptr, Settings, DirectDraw, Modes);
  dialog.rbFull->click();
  EXPECT_TRUE(dialog.cbDisplay->isEnabled());
  dialog.rbNormal->click();
  EXPECT_FALSE(dialog.cbDisplay->isEnabled());
}

TEST_F(SettingTest, KeyOutsideTheKeyTableIsKept) {
  Settings.Pad1Keys[0] = 200; // no entry of the key table has it
  Settings.Pad2Keys[7] = 45;
  const TPadKeys pad2 = Settings.Pad2Keys;
  TfrmSetting dialog(nullptr, Settings, DirectDraw, Modes);
  EXPECT_EQ(dialog.cb1UP->currentIndex(), -1);
  EXPECT_EQ(dialog.cb2Select->currentIndex(), -1);
  EXPECT_EQ(dialog.cb1down->currentText(), "DOWN");
  dialog.cb1down->setCurrentIndex(dialog.cb1down->findData(75));
  dialog.btnOKClick();
  EXPECT_EQ(dialog.Settings.Pad1Keys[0], 200u);
  EXPECT_EQ(dialog.Settings.Pad1Keys[1], 75u);
  EXPECT_EQ(dialog.Settings.Pad2Keys, pad2);
}

TEST_F(SettingTest, DefaultSkinAndOKEmptiesSkinUsed) {
  Settings.SkinList = {"Retro=/skins/retro/"};
  Settings.SkinUsed.clear();
  {
    TfrmSetting dialog(nullptr, Settings, DirectDraw, Modes);
    // The empty name becomes "Default" as the dialog opens, kept even on Cancel.
    EXPECT_EQ(dialog.Settings.SkinUsed, "Default");
    EXPECT_EQ(dialog.lbSkins->currentRow(), 0);
    EXPECT_FALSE(dialog.edAuthor->text().isEmpty());
    EXPECT_EQ(dialog.edCopyright->text(), CopyrightNotice);
    dialog.btnOKClick();
    EXPECT_EQ(dialog.Settings.SkinUsed, "");
  }

  Settings.SkinUsed = "Retro";
  TfrmSetting dialog(nullptr, Settings, DirectDraw, Modes);
  EXPECT_EQ(dialog.lbSkins->currentRow(), 1);
  dialog.lbSkins->setCurrentRow(0);
  dialog.btnOKClick();
  EXPECT_EQ(dialog.Settings.SkinUsed, "");
  EXPECT_EQ(dialog.Settings.SkinList, QStringList{"Retro=/skins/retro/"});
}

TEST_F(SettingTest, AddedSkinNameHasUnderscoresForSpaces) {
  Fake.Chosen = WriteSkin("night sky", "[info]\r\nname = Night  Sky\r\nAuthor=Ann\r\nCopyright=(c) Ann\r\n"
                                       "Comments=Dark blue\r\n");
  TfrmSetting dialog(nullptr, Settings, DirectDraw, Modes);
  dialog.btnAddClick();
  EXPECT_TRUE(Fake.Errors.isEmpty()) << Fake.Errors.join("\n").toStdString();
  EXPECT_EQ(SkinRows(dialog), QStringList({"Default", "Night__Sky"}));
  EXPECT_EQ(dialog.lbSkins->currentRow(), 1);
  EXPECT_EQ(dialog.edAuthor->text(), "Ann");
  EXPECT_EQ(dialog.edCopyright->text(), "(c) Ann");
  EXPECT_EQ(dialog.edComments->text(), "Dark blue");
  dialog.btnOKClick();
  EXPECT_EQ(dialog.Settings.SkinUsed, "Night__Sky");
  EXPECT_EQ(dialog.Settings.SkinList, QStringList{"Night__Sky=" + Dir.path() + "/night sky/"});
}

TEST_F(SettingTest, DeletingSelectsTheSkinAboveAndNeverDefault) {
  Settings.SkinList = {"A=/a/", "B=/b/"};
  Settings.SkinUsed = "B";
  TfrmSetting dialog(nullptr, Settings, DirectDraw, Modes);
  ASSERT_EQ(dialog.lbSkins->currentRow(), 2);
  dialog.btnDeleteClick();
  EXPECT_EQ(SkinRows(dialog), QStringList({"Default", "A"}));
  EXPECT_EQ(dialog.lbSkins->currentRow(), 1);
  dialog.btnDeleteClick();
  EXPECT_EQ(dialog.lbSkins->currentRow(), 0);
  dialog.btnDeleteClick();
  dialog.lbSkins->setCurrentRow(-1);
  dialog.btnDeleteClick();
  EXPECT_EQ(SkinRows(dialog), QStringList{"Default"});
  // Deleting works on the dialog's copy until OK.
  EXPECT_EQ(dialog.Settings.SkinList, QStringList({"A=/a/", "B=/b/"}));
  dialog.btnOKClick();
  EXPECT_TRUE(dialog.Settings.SkinList.isEmpty());
  EXPECT_EQ(dialog.Settings.SkinUsed, "");
}

TEST_F(SettingTest, SkinsThatCannotBeAddedAreRefused) {
  const QString notInfo = QStringLiteral("ERROR: This is not an Info Skin file.\n\r"
                                         "Please refer to Info Skin file documentation for more info.");
  Settings.SkinList = {"Retro=/skins/retro/"};
  QDir(Dir.path()).mkpath("folder");
  struct TCase {
    QString Chosen;
    QString Error; // empty: no message
  };
  const TCase cases[] = {
      {"", ""}, // the dialog was cancelled
      {WriteSkin("noname", "[INFO]\nAuthor=Ann\n[BITMAPS]\nName=Main\n"), notInfo},
      {WriteSkin("empty", ""), notInfo},
      {WriteSkin("retro", "[INFO]\nName=Retro\n"), "ERROR: A skin named Retro is already installed."},
      {WriteSkin("default", "[INFO]\nName=default\n"), "ERROR: A skin named default is already installed."},
      {WriteSkin("slash", "[INFO]\nName=Blue/Green\n"), "holds \"=\", \"/\" or \"\\\"; it cannot be stored."},
      {WriteSkin("binary", QByteArray("[INFO]\nName=Bin\0\x01\x02", 16)), "It is not a text file."},
      {Dir.filePath("folder"), "It is not a file."},
      {Dir.filePath("missing/SKIN.INI"), "The file does not exist."},
  };
  for (const TCase& c : cases) {
    Fake.Errors.clear();
    Fake.Chosen = c.Chosen;
    TfrmSetting dialog(nullptr, Settings, DirectDraw, Modes);
    dialog.btnAddClick();
    EXPECT_EQ(SkinRows(dialog), QStringList({"Default", "Retro"})) << c.Chosen.toStdString();
    if (c.Error.isEmpty()) {
      EXPECT_TRUE(Fake.Errors.isEmpty()) << c.Chosen.toStdString();
    } else {
      ASSERT_EQ(Fake.Errors.size(), 1) << c.Chosen.toStdString();
      EXPECT_TRUE(Fake.Errors[0].startsWith("ERROR: ")) << Fake.Errors[0].toStdString();
      EXPECT_TRUE(Fake.Errors[0].endsWith(c.Error)) << Fake.Errors[0].toStdString();
    }
  }
}

TEST_F(SettingTest, SkinPropertyFollowsTheChosenRow) {
  WriteSkin("blue", "[INFO]\nName=Blue\nAuthor=Bea\nCopyright=(c) Bea\nComments=Calm\n");
  Settings.SkinList = {"Blue=" + Dir.path() + "/blue/", "Gone=" + Dir.path() + "/gone/"};
  Settings.SkinUsed = "Blue";
  TfrmSetting dialog(nullptr, Settings, DirectDraw, Modes);
  struct TCase {
    int Row;
    QString Author, Copyright, Comments;
  };
  const TCase cases[] = {
      {1, "Bea", "(c) Bea", "Calm"}, {2, "", "", ""}, // its folder has lost SKIN.INI
  };
  EXPECT_EQ(dialog.edAuthor->text(), "Bea"); // shown as the dialog opens
  for (const TCase& c : cases) {
    dialog.lbSkins->setCurrentRow(c.Row);
    EXPECT_EQ(dialog.edAuthor->text(), c.Author) << c.Row;
    EXPECT_EQ(dialog.edCopyright->text(), c.Copyright) << c.Row;
    EXPECT_EQ(dialog.edComments->text(), c.Comments) << c.Row;
  }
  dialog.lbSkins->setCurrentRow(0);
  EXPECT_FALSE(dialog.edAuthor->text().isEmpty()); // the built-in skin's author
  EXPECT_EQ(dialog.edCopyright->text(), CopyrightNotice);
  EXPECT_TRUE(dialog.edComments->text().isEmpty());
}

TEST_F(SettingTest, FrameDivisorBelowOneBecomesOne) {
  Settings.FrameRate = 0;
  TfrmSetting dialog(nullptr, Settings, DirectDraw, Modes);
  dialog.btnOKClick();
  EXPECT_EQ(dialog.Settings.FrameRate, 1);
}

TEST_F(SettingTest, JoypadTabsStandAsAJoypad) {
  TfrmSetting dialog(nullptr, Settings, DirectDraw, Modes);
  dialog.show();
  for (int pad = 0; pad < 2; ++pad) {
    dialog.PageControl->setCurrentIndex(2 + pad);
    const std::array<QComboBox*, 8> lists = dialog.KeyLists(pad);
    std::array<QRect, 8> r;
    for (size_t i = 0; i < r.size(); ++i) {
      ASSERT_TRUE(lists[i]->isVisible());
      r[i] = QRect(lists[i]->mapTo(&dialog, QPoint(0, 0)), lists[i]->size());
    }
    const auto [up, down, left, right] = std::tuple(r[0], r[1], r[2], r[3]);
    EXPECT_LT(up.bottom(), left.top());
    EXPECT_GT(down.top(), left.bottom());
    EXPECT_EQ(left.top(), right.top());
    EXPECT_LT(left.right(), up.center().x());
    EXPECT_GT(right.left(), up.center().x());
    EXPECT_EQ(up.center().x(), down.center().x());
    // A, B, START and SELECT from top to bottom on the right.
    for (size_t i = 4; i < 8; ++i) {
      EXPECT_GT(r[i].left(), right.right()) << i;
      EXPECT_TRUE(dialog.rect().contains(r[i])) << i;
    }
    for (size_t i = 5; i < 8; ++i)
      EXPECT_GT(r[i].top(), r[i - 1].bottom()) << i;
  }
}

TEST_F(SettingTest, EveryTabThroughOKAndTheSettingsStore) {
  DirectDraw = true;
  Modes = {{640, 480, 32}, {800, 600, 32}};
  Settings.ScreenMode = "640x480x32";
  TfrmSetting dialog(nullptr, Settings, DirectDraw, Modes);
  dialog.rbFull->setChecked(true);
  dialog.seRate->setValue(7);
  dialog.tbVolume->setValue(2);
  dialog.cbCH2->setChecked(false);
  dialog.cbCH4->setChecked(false);
  dialog.cb1A->setCurrentIndex(dialog.cb1A->findData(75));
  dialog.cb2Select->setCurrentIndex(dialog.cb2Select->findData(101));
  dialog.cbJoy1->setChecked(true);
  Fake.Chosen = Dir.path();
  dialog.btnSelFolderClick();
  EXPECT_EQ(dialog.edMappersFolder->text(), Fake.Chosen);
  Fake.Chosen = WriteSkin("blue", "[INFO]\nName=Blue\n");
  dialog.btnAddClick();
  dialog.btnOKClick();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);

  TSettingsFile file(Dir.filePath("Pixtor.conf"));
  EXPECT_TRUE(file.Save(dialog.Settings).isEmpty());
  QString message;
  const TSettings reread = file.Load(message);
  EXPECT_TRUE(message.isEmpty());
  EXPECT_EQ(reread.FrameRate, 7);
  EXPECT_EQ(reread.SoundVolume, 204);
  EXPECT_EQ(reread.SoundChannel, (std::array<bool, 4>{true, false, true, false}));
  EXPECT_EQ(reread.Pad1Keys, (TPadKeys{38, 40, 37, 39, 75, 17, 13, 9}));
  EXPECT_EQ(reread.Pad2Keys, (TPadKeys{69, 88, 83, 68, 16, 90, 81, 101}));
  EXPECT_TRUE(reread.Pad1Enabled);
  EXPECT_FALSE(reread.Pad2Enabled);
  EXPECT_EQ(reread.ViewMode, 1);
  EXPECT_EQ(reread.ScreenMode, "640x480x32");
  EXPECT_EQ(reread.SkinUsed, "Blue");
  EXPECT_EQ(reread.SkinList, QStringList{"Blue=" + Dir.path() + "/blue/"});
  EXPECT_TRUE(Fake.Errors.isEmpty());
}

} // namespace
