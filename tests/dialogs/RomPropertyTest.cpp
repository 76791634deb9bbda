#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>

#include "core/MMCUnit.h"
#include "core/NESUnit.h"
#include "dialogs/RomPropertyUnit.h"

namespace {

TEST(RomPropertyTest, FieldsShowTheLoadedHeader) {
  struct TCase {
    uint8_t ProgPages, CharPages, Flags;
    QByteArray Expansion; // header bytes 8 to 15
    QString Pages[4];     // program pages, ROM size, character pages, VROM size
    bool Checks[4];       // vertical mirroring, battery, trainer, four-screen
    QString ExpansionText;
  };
  const TCase cases[] = {
      {2, 1, 0x03, QByteArray(8, '\0'), {"2", "32 Kb", "1", "8 Kb"}, {true, true, false, false}, ""},
      {1,
       0,
       0x0c,
       QByteArray("Dump\0Two", 8),
       {"1", "16 Kb", "0", "0 Kb"},
       {false, false, true, true},
       "Dump"},
      {1,
       2,
       0x00,
       QByteArray("Expanded", 8),
       {"1", "16 Kb", "2", "16 Kb"},
       {false, false, false, false},
       "Expanded"},
  };
  QTemporaryDir dir;
  for (const TCase& c : cases) {
    QByteArray image =
        QByteArray("NES\x1a", 4) + char(c.ProgPages) + char(c.CharPages) + char(c.Flags) + '\0';
    image += c.Expansion;
    if (c.Flags & 0x04) image += QByteArray(512, '\0'); // the trainer
    image += QByteArray(c.ProgPages * ProgPageSize + c.CharPages * CharPageSize, '\0');
    const QString path = dir.filePath("game.nes");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(image);
    file.close();
    TNES nes;
    ASSERT_TRUE(nes.MMC->LoadROM(QFile::encodeName(path).toStdString())) << nes.MMC->MappingName;

    TfrmROMProperty dialog(nullptr);
    dialog.ShowCartridge(*nes.MMC);
    EXPECT_EQ(dialog.edFileName->text(), "game.nes");
    EXPECT_EQ(dialog.edHeader->text(), "NES");
    EXPECT_EQ(dialog.edProgPages->text(), c.Pages[0]);
    EXPECT_EQ(dialog.lblROM->text(), c.Pages[1]);
    EXPECT_EQ(dialog.edCharPages->text(), c.Pages[2]);
    EXPECT_EQ(dialog.lblVROM->text(), c.Pages[3]);
    const QCheckBox* checks[] = {dialog.cbVertMirror, dialog.cbBattery, dialog.cbTrainer,
                                 dialog.cbFourScreen};
    for (int i = 0; i < 4; ++i)
      EXPECT_EQ(checks[i]->isChecked(), c.Checks[i]) << i;
    EXPECT_EQ(dialog.edMapping->text(), "No Mapper");
    EXPECT_EQ(dialog.edEXpansion->text(), c.ExpansionText);
  }
}

TEST(RomPropertyTest, NothingToChangeOrTabTo) {
  TfrmROMProperty dialog(nullptr);
  EXPECT_EQ(dialog.windowTitle(), "ROM Property");
  EXPECT_EQ(dialog.size(), QSize(369, 263));
  EXPECT_TRUE(dialog.windowFlags() & Qt::WindowStaysOnTopHint);
  for (QLineEdit* field : {dialog.edFileName, dialog.edHeader, dialog.edProgPages, dialog.edCharPages,
                           dialog.edMapping, dialog.edEXpansion}) {
    EXPECT_TRUE(field->isReadOnly());
    EXPECT_EQ(field->focusPolicy(), Qt::NoFocus);
  }
  for (QCheckBox* flag : {dialog.cbVertMirror, dialog.cbBattery, dialog.cbTrainer, dialog.cbFourScreen})
    EXPECT_FALSE(flag->isEnabled());
  dialog.show(); // laid out at its fixed size: every caption and field shows whole
  for (QWidget* widget : dialog.findChildren<QWidget*>()) {
    if (!qobject_cast<QLineEdit*>(widget) && !qobject_cast<QCheckBox*>(widget) && !qobject_cast<QLabel*>(widget))
      continue;
    EXPECT_GE(widget->height(), widget->sizeHint().height()) << widget->objectName().toStdString();
    if (qobject_cast<QCheckBox*>(widget)) {
      EXPECT_GE(widget->width(), widget->sizeHint().width());
    }
  }
}

} // namespace
