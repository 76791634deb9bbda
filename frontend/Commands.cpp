// The main window's commands: the cartridge (open, run, reset, pause, the
// ten slots), the snapshot and the dialogs.
#include <cstdio>
#include <exception>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "core/MMCUnit.h"
#include "core/NESUnit.h"
#include "dialogs/AboutUnit.h"
#include "dialogs/RomPropertyUnit.h"
#include "dialogs/SettingUnit.h"
#include "frontend/MainUnit.h"
#include "platform/RegularFile.h"
#include "platform/qt/DisplayModes.h"
#include "platform/qt/PlusButton.h"
#include "platform/qt/Prompts.h"
#include "platform/qt/Screens.h"
#include "platform/qt/SkinLabel.h"

namespace {

const QString OpenDialogTitle = QStringLiteral("Load ROM ...");
const QString OpenDialogFilter = QStringLiteral("NES Roms (*.NES *.NEs *.NeS *.Nes *.nES *.nEs *.neS *.nes);;"
                                                "ASM 6502 images (*.EXE *.exe);;All files (*)");

} // namespace

// File errors name the file and the reason; the user is told and the program goes on.
void TMainForm::ReportFileError(const std::exception& Error) {
  Prompts().Error(this, QStringLiteral("Error"), QString::fromLocal8Bit(Error.what()));
}

bool TMainForm::LoadCartridge(const QString& Path) {
  // A run loop under way must never go on with released cartridge memory:
  // the console is asked to stop before the cartridge goes, and a run
  // started for the new cartridge clears the request again.
  NES->Stop();
  if (CartridgeLoaded) NES->MMC->UnloadROM();
  LastCartridge = Path;
  const std::string name = QFile::encodeName(Path).toStdString();
  QString failure;
  try {
    CheckReadable(name);
    CartridgeLoaded = NES->MMC->LoadROM(name);
    if (!CartridgeLoaded) failure = "cannot run " + Path + ": " + QString::fromStdString(NES->MMC->Refusal());
  } catch (const std::exception& error) {
    CartridgeLoaded = false;
    failure = QString::fromLocal8Bit(error.what());
  }
  UpdateControls();
  if (!CartridgeLoaded) {
    // The title line never names a cartridge that is not loaded.
    slTitle->SetCaption(GetInfoLine());
    std::fprintf(stderr, "pixtor: %s\n", qPrintable(failure));
    Prompts().Error(this, QStringLiteral("Error"), failure);
  }
  return CartridgeLoaded;
}

void TMainForm::StartCartridge() {
  slTitle->SetCaption(GetInfoLine());
  NES->PowerOn();
  NES->CPU->OnLoop = TLoopEvent::Bind<&TMainForm::CPULoop>(this);
  NES->Reset();
  // Once more now that the console runs, so that full screen can be had.
  UpdateControls();
  Frames = 0;
  ReportRecordFailure(InputRecord.Start(LastCartridge, NES->MMC->FileName));
  Rewind.Clear();
  PendingState = TStateCommand::None;
  RunConsole();
}

void TMainForm::OpenCartridge(const QString& Path) {
  if (LoadCartridge(Path)) StartCartridge();
}

QString TMainForm::CartridgeFolder() const {
  const QString folder = QFileInfo(LastCartridge).absolutePath();
  return !LastCartridge.isEmpty() && QFileInfo(folder).isDir() ? folder : QDir::homePath();
}

void TMainForm::btnOpenFileClick() {
  btnOpenFile->repaint();
  const QString path = Prompts().OpenFile(this, OpenDialogTitle, OpenDialogFilter, CartridgeFolder());
  if (path.isEmpty()) return;
  OpenCartridge(path);
}

void TMainForm::btnRunClick() {
  if (CartridgeLoaded) RunConsole();
}

void TMainForm::RunConsole() {
  ++RunDepth;
  NES->Run();
  --RunDepth;
}

void TMainForm::btnResetClick() {
  if (CartridgeLoaded) NES->Reset();
}

void TMainForm::btnPauseClick() {
  if (CartridgeLoaded) NES->Pause();
}

void TMainForm::btnClick(TPlusButton* Button) {
  if (!Button->Down()) return;
  if (Button->Hint().isEmpty()) {
    Button->repaint();
    const QString path = Prompts().OpenFile(this, OpenDialogTitle, OpenDialogFilter, CartridgeFolder());
    // Cancelled: the game runs on, and the slot stays empty and up.
    if (path.isEmpty()) {
      Button->SetDown(false);
      return;
    }
    LastCartridge = path;
    Button->SetHint(path);
  }
  if (LoadCartridge(Button->Hint())) {
    StartCartridge();
  } else {
    Button->SetHint(QString());
    Button->SetDown(false);
  }
}

void TMainForm::btnSnapShotClick() {
  const QString path = Prompts().SaveFile(this, QStringLiteral("Save snapshot as ..."),
                                          QStringLiteral("Windows Bitmap (*.bmp)"), QStringLiteral("bmp"));
  if (path.isEmpty()) return;
  // The picture the user sees: the frame buffer itself may be halfway through the next frame.
  try {
    NES->Shown->SaveToFile(QFile::encodeName(path).toStdString());
  } catch (const std::exception& error) {
    ReportFileError(error);
  }
}

// A script that cannot be written is told once; the program then ends with a failure.
void TMainForm::ReportRecordFailure(const std::optional<QString>& Failure) {
  if (!Failure) return;
  std::fprintf(stderr, "pixtor: %s\n", qPrintable(*Failure));
  Prompts().Error(this, QStringLiteral("Error"), *Failure);
}

void TMainForm::btnSettingsClick() {
  TfrmSetting dialog(this, CurrentSettings(), DirectDrawAvailable, Modes->Modes());
  if (dialog.exec() == QDialog::Accepted)
    ApplySettings(dialog.Settings);
  else
    Settings.SkinUsed = dialog.Settings.SkinUsed; // "Default" for an empty name, OK or not
}

void TMainForm::btnInfoClick() {
  TfrmROMProperty dialog(this);
  dialog.ShowCartridge(*NES->MMC);
  dialog.exec();
}

void TMainForm::btnAboutClick() {
  TfrmAbout about(this);
  about.exec();
}
