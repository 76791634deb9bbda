// The main window's commands that open the settings and ROM property dialogs.
#include "core/MMCUnit.h"
#include "core/NESUnit.h"
#include "dialogs/RomPropertyUnit.h"
#include "dialogs/SettingUnit.h"
#include "frontend/MainUnit.h"

void TMainForm::btnSettingsClick() {
  const QString oldSkin = SkinUsed;
  TfrmSetting dialog(this);
  if (dialog.exec() != QDialog::Accepted) return;
  ApplyKeyAssignment();
  if (SkinUsed != oldSkin) LoadSkin();
}

void TMainForm::btnInfoClick() {
  TfrmROMProperty dialog(this);
  dialog.ShowCartridge(*NES->MMC);
  dialog.exec();
}
