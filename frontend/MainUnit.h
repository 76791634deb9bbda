#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <exception>
#include <memory>
#include <vector>

#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include "frontend/InputRecorder.h"
#include "platform/Input.h"
#include "platform/RewindRing.h"
#include "platform/qt/Settings.h"

class QLabel;
class QFrame;
class TNES;
class TCPU;
class TPlusButton;
class TSkinLabel;
class TDXScreen;
class TPaintBox;
class TWindowInput;
class TDisplayModes;
class TSDLJoystick;
class TFrameClock;
class TMidiRecording;

// The program's title, also the first piece of the info line.
inline const QString AppTitle = QStringLiteral("Pixtor emulator");
// The main window: a skinned, borderless window that owns the console and
// drives it from its buttons and keys. Its logic is written as state changes
// of this object and calls on the console; the widgets only show that state.
class TMainForm : public QWidget {
  Q_OBJECT

public:
  // CanvasOnly keeps the accelerated screen from being tried.
  explicit TMainForm(bool CanvasOnly = false);
  ~TMainForm() override;

  std::unique_ptr<TNES> NES;
  bool CartridgeLoaded = false;
  bool DirectDrawAvailable = false;
  bool Dragging = false;
  QPoint DragOrigin;
  // The settings in effect, but for the slots' paths, which are the slot buttons' hints.
  TSettings Settings;

  // Components, at their places in the 400 x 310 client area.
  QLabel* imBackground;
  TPaintBox* ScreenTV;
  TDXScreen* DXScreenTV; // none where OpenGL cannot be had, or with CanvasOnly
  QFrame* bvScreen;
  TSkinLabel* slTitle;
  TPlusButton* btnAbout;
  TPlusButton* btnMinimize;
  TPlusButton* btnFullScreen;
  TPlusButton* btnClose;
  TPlusButton* btnOpenFile;
  TPlusButton* btnRun;
  TPlusButton* btnReset;
  TPlusButton* btnPause;
  TPlusButton* btnSnapShot;
  TPlusButton* btnSettings;
  TPlusButton* btnInfo;
  TPlusButton* btnVolDown;
  TPlusButton* btnVol;
  TPlusButton* btnVolUp;
  std::array<TPlusButton*, SlotCount> Slots; // btnZero ... btnNine
  TDXInput DXInputA;
  TDXInput DXInputB;
  QTimer DXTimer;

  // The screen's display modes (XRandR); the settings dialog lists them.
  TDisplayModes& DisplayModes() { return *Modes; }

  void FormShow();
  void UpdateControls();
  void ToggleFullScreen();
  QString GetInfoLine() const;
  void LoadSettings();
  void SaveSettings();
  // Puts New in effect at once: the keys and game controllers of both pads,
  // the frame divisor, the sound's volume and channels, the slots and, when
  // another skin is used, the skin.
  void ApplySettings(const TSettings& New);
  // The settings in effect, with the slots' paths.
  TSettings CurrentSettings() const;
  void LoadSkin();

  // Commands.
  void btnOpenFileClick();
  void btnRunClick();
  void btnResetClick();
  void btnPauseClick();
  void btnClick(TPlusButton* Button);
  void btnSnapShotClick();
  void btnSettingsClick();
  void btnInfoClick();
  void btnAboutClick();
  void btnFullScreenClick();
  void DXTimerTimer();
  // Loads Path and runs it as Open does after its dialog.
  void OpenCartridge(const QString& Path);

  // Dragging the window by its background or title, in screen coordinates.
  void imBackgroundMouseDown(QPoint ScreenPoint);
  void imBackgroundMouseMove(QPoint ScreenPoint);
  void imBackgroundMouseUp();

  // The keyboard as the joypads see it (held keys of the active window).
  TWindowInput& Input() { return *WindowInput; }
  // Prints emulated and drawn frames per second and processor use once a second.
  bool ShowStats = false;
  // The joypads' input of the cartridge started last, as a joypad script.
  TInputRecorder InputRecord;
  // Save states, rewind and fast-forward (F5 to F9).
  void StateKey(int Key);
  void RewindKey(bool Held);
  void FastForwardKey(bool Held);
  void CPULoop(TCPU* Sender, uint8_t& Interrupt);
  int StateSlot = 0;
  TRewindRing Rewind;

  // Where the music is written, if anywhere; told each line.
  TMidiRecording* MidiRecord = nullptr;
  // Lines emulated since the window opened, over every cartridge.
  int64_t Lines = 0;
  // The splash window, hidden and freed when the window is first shown.
  std::unique_ptr<QWidget> Splash;

protected:
  void showEvent(QShowEvent* Event) override;
  void closeEvent(QCloseEvent* Event) override;
  void keyPressEvent(QKeyEvent* Event) override;
  void keyReleaseEvent(QKeyEvent* Event) override;
  bool event(QEvent* Event) override;
  bool eventFilter(QObject* Watched, QEvent* Event) override;
  void dragEnterEvent(QDragEnterEvent* Event) override;
  void dropEvent(QDropEvent* Event) override;
  void resizeEvent(QResizeEvent* Event) override;

private:
  void FormCreate();
  void FormClose();
  // Loads a cartridge after the console was stopped and the old one released.
  bool LoadCartridge(const QString& Path);
  void StartCartridge();
  // Runs the console until a pause, counting the runs under way.
  void RunConsole();
  void ReportFileError(const std::exception& Error);
  void ReportRecordFailure(const std::optional<QString>& Failure);
  void ApplyKeyAssignment();
  void FrameDone();
  // The run loop's message pump: a plain function, for the one main window.
  static void PumpMessages();
  static TMainForm* Instance;
  // Where the Open dialog starts: the folder of the cartridge opened or chosen last.
  QString CartridgeFolder() const;

  bool CanvasOnly;
  bool Shown = false;
  QRect SavedGeometry;
  std::unique_ptr<TWindowInput> WindowInput;
  std::unique_ptr<TSDLJoystick> Joystick;
  std::unique_ptr<TDisplayModes> Modes;
  std::unique_ptr<TFrameClock> Clock;
  // Frames since the cartridge was started.
  int64_t Frames = 0;
  QString LastCartridge;
  enum class TStateCommand { None, Save, Load };
  QString StateFile(int Slot) const;
  bool RunUnderWay() const;
  void DoStateCommand(uint8_t* Interrupt);
  void RewindStep();
  void ShowNotice(const QString& Text);
  int RunDepth = 0; // runs under way, one inside another
  TStateCommand PendingState = TStateCommand::None;
  std::vector<uint8_t> StateToLoad;
  bool Rewinding = false;
  bool ResumeAfterRewind = false;
  bool FastForward = false;
  QTimer RewindTimer; // a step back each 1/60 s
  QTimer NoticeTimer; // the title line's confirmation, then the info line again

  TSettingsFile SettingsFile;
  bool SkinLoaded = false;
  // Figures of the last second, for ShowStats.
  std::chrono::steady_clock::time_point StatStart = std::chrono::steady_clock::now();
  uint64_t StatFrames = 0;
  uint64_t StatDrawn = 0;
  double StatCPU = 0;
};
