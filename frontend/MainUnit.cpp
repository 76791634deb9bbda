#include "frontend/MainUnit.h"


#include <QCloseEvent>
#include <QDropEvent>
#include <QFrame>
#include <QLabel>
#include <QMimeData>
#include <QPixmap>
#include <QTimer>
#include <QWindow>

#include "core/MMCUnit.h"
#include "core/NESUnit.h"
#include "core/PSGUnit.h"
#include "frontend/SkinUnit.h"
#include "platform/FrameClock.h"
#include "platform/MessagePump.h"
#include "platform/SoundVolume.h"
#include "platform/WindowInput.h"
#include "platform/qt/DisplayModes.h"
#include "platform/qt/KeyMap.h"
#include "platform/qt/PlusButton.h"
#include "platform/qt/Prompts.h"
#include "platform/qt/Screens.h"
#include "platform/qt/SkinLabel.h"
#include "platform/qt/SkinLibrary.h"
#include "platform/sdl/Joystick.h"


namespace {

// Input states driven by the keys of TPadKeys, in its order: button 3 is
// Select and button 4 Start.
constexpr int32_t PadKeyStates[8] = {InputUp,        InputDown,      InputLeft,      InputRight,
                                     InputButton(1), InputButton(2), InputButton(4), InputButton(3)};

} // namespace

TMainForm::TMainForm(bool CanvasOnly) : QWidget(nullptr, Qt::FramelessWindowHint), CanvasOnly(CanvasOnly) {
  Instance = this;
  setWindowTitle(QStringLiteral("Pixtor"));
  setFixedSize(400, 310);
  setAcceptDrops(true);
  setFocusPolicy(Qt::StrongFocus);

  imBackground = new QLabel(this);
  imBackground->setGeometry(0, 0, 400, 310);
  imBackground->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  imBackground->installEventFilter(this);
  bvScreen = new QFrame(this);
  bvScreen->setGeometry(48, 30, 258, 242);
  bvScreen->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  ScreenTV = new TPaintBox(this);
  ScreenTV->setGeometry(49, 31, 256, 240);
  DXScreenTV = !CanvasOnly && TDXScreen::Possible() ? new TDXScreen(this) : nullptr;
  if (DXScreenTV) DXScreenTV->setGeometry(49, 31, 256, 240);
  slTitle = new TSkinLabel(this, 48, 10, 257, 8);
  slTitle->installEventFilter(this);

  btnAbout = new TPlusButton(this, 8, 4, 20, 20, QStringLiteral("About"));
  btnMinimize = new TPlusButton(this, 335, 4, 20, 20, QStringLiteral("Minimize"));
  btnFullScreen = new TPlusButton(this, 355, 4, 20, 20, QStringLiteral("Full Screen"));
  btnClose = new TPlusButton(this, 375, 4, 20, 20, QStringLiteral("Close"));
  btnOpenFile = new TPlusButton(this, 12, 31, 33, 33, QStringLiteral("Open Cartridge"));
  btnRun = new TPlusButton(this, 12, 64, 33, 33, QStringLiteral("Run Cartridge"));
  btnReset = new TPlusButton(this, 12, 97, 33, 33, QStringLiteral("Reset Cartridge"));
  btnPause = new TPlusButton(this, 12, 130, 33, 33, QStringLiteral("Pause CPU"));
  btnSnapShot = new TPlusButton(this, 12, 163, 33, 33, QStringLiteral("Snapshot ..."));
  btnSettings = new TPlusButton(this, 313, 31, 80, 26);
  btnInfo = new TPlusButton(this, 313, 61, 80, 26);
  btnVolDown = new TPlusButton(this, 313, 103, 20, 20);
  btnVol = new TPlusButton(this, 333, 103, 40, 20);
  btnVolUp = new TPlusButton(this, 373, 103, 20, 20);
  for (int n = 0; n < SlotCount; ++n) {
    Slots[n] = new TPlusButton(this, 28 + 30 * n, 275, 30, 30);
    Slots[n]->GroupIndex = 1;
    connect(Slots[n], &TPlusButton::Clicked, this, [this, n] { btnClick(Slots[n]); });
  }

  connect(btnAbout, &TPlusButton::Clicked, this, &TMainForm::btnAboutClick);
  connect(btnMinimize, &TPlusButton::Clicked, this, &QWidget::showMinimized);
  connect(btnFullScreen, &TPlusButton::Clicked, this, &TMainForm::btnFullScreenClick);
  connect(btnClose, &TPlusButton::Clicked, this, &QWidget::close);
  connect(btnOpenFile, &TPlusButton::Clicked, this, &TMainForm::btnOpenFileClick);
  connect(btnRun, &TPlusButton::Clicked, this, &TMainForm::btnRunClick);
  connect(btnReset, &TPlusButton::Clicked, this, &TMainForm::btnResetClick);
  connect(btnPause, &TPlusButton::Clicked, this, &TMainForm::btnPauseClick);
  connect(btnSnapShot, &TPlusButton::Clicked, this, &TMainForm::btnSnapShotClick);
  connect(btnSettings, &TPlusButton::Clicked, this, &TMainForm::btnSettingsClick);
  connect(btnInfo, &TPlusButton::Clicked, this, &TMainForm::btnInfoClick);

  // The idle timer runs as often as the message loop allows, starting disabled.
  DXTimer.setInterval(0);
  connect(&DXTimer, &QTimer::timeout, this, &TMainForm::DXTimerTimer);
  RewindTimer.setInterval(std::chrono::duration_cast<std::chrono::milliseconds>(TFrameClock::Period));
  RewindTimer.setTimerType(Qt::PreciseTimer);
  connect(&RewindTimer, &QTimer::timeout, this, &TMainForm::RewindStep);
  NoticeTimer.setSingleShot(true);
  connect(&NoticeTimer, &QTimer::timeout, this, [this] { slTitle->SetCaption(GetInfoLine()); });

  FormCreate();
}

TMainForm::~TMainForm() {
  // FormDestroy: the console goes first, then what it borrowed.
  SetMessagePump(nullptr);
  NES.reset();
  if (Instance == this) Instance = nullptr;
}

void TMainForm::FormCreate() {
  NES = std::make_unique<TNES>();
  Dragging = false;
  CartridgeLoaded = false;
  Joystick = std::make_unique<TSDLJoystick>();
  WindowInput = std::make_unique<TWindowInput>(Joystick.get());
  WindowInput->SetActive(isActiveWindow());
  for (TDXInput* input : {&DXInputA, &DXInputB}) {
    input->Keyboard = WindowInput.get();
    input->Joystick = WindowInput.get();
  }
  Modes = std::make_unique<TDisplayModes>();
  Clock = std::make_unique<TFrameClock>();
  SetMessagePump(&TMainForm::PumpMessages);

  // The settings bring the key assignment and the skin with them.
  LoadSettings();
}

void TMainForm::showEvent(QShowEvent* Event) {
  QWidget::showEvent(Event);
  if (!Shown) {
    Shown = true;
    FormShow();
  }
}

void TMainForm::FormShow() {
  NES->SetInput(&DXInputA, &DXInputB);
  DirectDrawAvailable = DXScreenTV && DXScreenTV->Initialize();
  NES->SetDisplay(DirectDrawAvailable, DXScreenTV, ScreenTV);
  NES->PowerOn();
  NES->CPU->OnLoop = TLoopEvent::Bind<&TMainForm::CPULoop>(this);
  slTitle->SetCaption(GetInfoLine());
  slTitle->SetActive(true);
  Splash.reset();
  UpdateControls();
}

void TMainForm::closeEvent(QCloseEvent* Event) {
  FormClose();
  Event->accept();
}

void TMainForm::FormClose() {
  NES->Stop();
  // Leaving full screen puts back the display mode it switched to.
  if (DXScreenTV && DXScreenTV->FullScreen) ToggleFullScreen();
  if (DirectDrawAvailable) DXScreenTV->Finalize();
  DXTimer.stop();
  ReportRecordFailure(InputRecord.Finish());
  SaveSettings();
}

void TMainForm::UpdateControls() {
  DXTimer.stop();
  if (!CartridgeLoaded) DXTimer.start();
  btnFullScreen->setEnabled(NES->Running && DirectDrawAvailable);
  for (TPlusButton* button : {btnRun, btnReset, btnPause, btnSnapShot, btnInfo})
    button->setEnabled(CartridgeLoaded);
}

void TMainForm::DXTimerTimer() {
  if (NES->Present) NES->Present();
  // The flip waits for the vertical blank on a real screen; the clock does
  // the same here, so an idle window redraws at the display's pace.
  Clock->Tick();
}

QString TMainForm::GetInfoLine() const {
  QString line = AppTitle;
  if (CartridgeLoaded) {
    const TMMC& cartridge = *NES->MMC;
    line += QString::asprintf(" - %s < %s, ROM:%2.2d, VROM:%2.2d >.", cartridge.FileName.c_str(),
                              cartridge.MappingName.c_str(), int(cartridge.Header[4]), int(cartridge.Header[5]));
  } else {
    line += QStringLiteral(" - No Cartridge Loaded.");
  }
  line += DirectDrawAvailable ? QStringLiteral(" Direct X v6.0 found,") : QStringLiteral(" NO Direct X v6.0 found,");
  return line + " " + CopyrightNotice;
}

// Key handling of the main window: Escape closes, F2 opens, Alt+Enter
// switches full screen. Every key also reaches the joypads.
void TMainForm::keyPressEvent(QKeyEvent* Event) {
  const uint32_t code = VirtualKeyCode(*Event);
  if (!Event->isAutoRepeat()) WindowInput->Press(Event->nativeScanCode(), code);
  if (Event->key() == Qt::Key_Escape) {
    close();
  } else if (Event->isAutoRepeat()) {
    return;
  } else if (Event->key() == Qt::Key_F2) {
    btnOpenFileClick();
  } else if ((Event->key() == Qt::Key_Return || Event->key() == Qt::Key_Enter) &&
             (Event->modifiers() & Qt::AltModifier)) {
    if (DirectDrawAvailable && NES->Running) ToggleFullScreen();
  } else if (Event->key() >= Qt::Key_F5 && Event->key() <= Qt::Key_F7) {
    StateKey(Event->key());
  } else if (Event->key() == Qt::Key_F8) {
    RewindKey(true);
  } else if (Event->key() == Qt::Key_F9) {
    FastForwardKey(true);
  }
}

void TMainForm::keyReleaseEvent(QKeyEvent* Event) {
  if (Event->isAutoRepeat()) return;
  WindowInput->Release(Event->nativeScanCode(), VirtualKeyCode(*Event));
  if (Event->key() == Qt::Key_F8) RewindKey(false);
  if (Event->key() == Qt::Key_F9) FastForwardKey(false);
}

bool TMainForm::event(QEvent* Event) {
  switch (Event->type()) {
  case QEvent::WindowActivate:
  case QEvent::WindowDeactivate: WindowInput->SetActive(Event->type() == QEvent::WindowActivate); break;
  case QEvent::KeyPress:
    // Tab reaches the game, never the focus chain.
    if (static_cast<QKeyEvent*>(Event)->key() == Qt::Key_Tab ||
        static_cast<QKeyEvent*>(Event)->key() == Qt::Key_Backtab) {
      keyPressEvent(static_cast<QKeyEvent*>(Event));
      return true;
    }
    break;
  default: break;
  }
  return QWidget::event(Event);
}

bool TMainForm::eventFilter(QObject* Watched, QEvent* Event) {
  if (Watched == imBackground || Watched == slTitle) {
    switch (Event->type()) {
    case QEvent::MouseButtonPress:
      // The window system moves the window where it can (Wayland lets no
      // program move its own window); elsewhere the window follows the mouse.
      if (windowHandle() && windowHandle()->startSystemMove()) return true;
      imBackgroundMouseDown(static_cast<QMouseEvent*>(Event)->globalPosition().toPoint());
      return true;
    case QEvent::MouseMove:
      imBackgroundMouseMove(static_cast<QMouseEvent*>(Event)->globalPosition().toPoint());
      return true;
    case QEvent::MouseButtonRelease: imBackgroundMouseUp(); return true;
    default: break;
    }
  }
  return QWidget::eventFilter(Watched, Event);
}

void TMainForm::imBackgroundMouseDown(QPoint ScreenPoint) {
  if (Dragging) return;
  DragOrigin = ScreenPoint;
  Dragging = true;
}

void TMainForm::imBackgroundMouseMove(QPoint ScreenPoint) {
  if (!Dragging) return;
  move(ScreenPoint.x() + x() - DragOrigin.x(), ScreenPoint.y() + y() - DragOrigin.y());
  DragOrigin = ScreenPoint;
}

void TMainForm::imBackgroundMouseUp() { Dragging = false; }

void TMainForm::dragEnterEvent(QDragEnterEvent* Event) {
  const QList<QUrl> urls = Event->mimeData()->urls();
  if (!urls.isEmpty() && urls.first().isLocalFile()) Event->acceptProposedAction();
}

// A dropped cartridge opens as Open does after its dialog. It runs once the
// drop is over, so that the program it came from is not kept waiting.
void TMainForm::dropEvent(QDropEvent* Event) {
  const QList<QUrl> urls = Event->mimeData()->urls();
  if (urls.isEmpty() || !urls.first().isLocalFile()) return;
  Event->acceptProposedAction();
  const QString path = urls.first().toLocalFile();
  QTimer::singleShot(0, this, [this, path] { OpenCartridge(path); });
}

void TMainForm::LoadSettings() {
  QString message;
  ApplySettings(SettingsFile.Load(message));
  if (!message.isEmpty()) Prompts().Error(this, QStringLiteral("Settings"), message);
}

void TMainForm::SaveSettings() {
  const QString message = SettingsFile.Save(CurrentSettings());
  if (!message.isEmpty()) Prompts().Error(this, QStringLiteral("Settings"), message);
}

void TMainForm::ApplySettings(const TSettings& New) {
  const bool otherSkin = !SkinLoaded || New.SkinUsed != Settings.SkinUsed;
  Settings = New;
  NES->FrameRate = New.FrameRate;
  NES->PSG->Volume = New.SoundVolume;
  SetSoundVolume(New.SoundVolume); // live sound's loudness; the notes sent stay as they are
  NES->PSG->ChannelOn = New.SoundChannel;
  for (int n = 0; n < SlotCount; ++n) Slots[n]->SetHint(New.Slots[n]);
  ApplyKeyAssignment();
  if (otherSkin) LoadSkin();
}

TSettings TMainForm::CurrentSettings() const {
  TSettings current = Settings;
  for (int n = 0; n < SlotCount; ++n) current.Slots[n] = Slots[n]->Hint();
  return current;
}

void TMainForm::ApplyKeyAssignment() {
  const auto assign = [](TDXInput& Input, const TPadKeys& Keys, bool Enabled) {
    Input.ClearAssigns();
    for (size_t k = 0; k < Keys.size(); ++k) Input.AssignStateKey(PadKeyStates[k], std::span(&Keys[k], 1));
    Input.JoystickEnabled = Enabled;
  };
  assign(DXInputA, Settings.Pad1Keys, Settings.Pad1Enabled);
  assign(DXInputB, Settings.Pad2Keys, Settings.Pad2Enabled);
}

void TMainForm::LoadSkin() {
  const std::array<TPlusButton*, SkinButtonCount> buttons = {
      btnSettings, btnInfo,  Slots[0],    Slots[1],  Slots[2],     Slots[3],   Slots[4],   Slots[5],
      Slots[6],    Slots[7], Slots[8],    Slots[9],  btnOpenFile,  btnRun,     btnReset,   btnPause,
      btnSnapShot, btnVol,   btnAbout,    btnMinimize, btnVolDown, btnFullScreen, btnVolUp, btnClose};
  SkinLoaded = true;
  for (TPlusButton* button : buttons) button->ClearGlyph();
  const TSkin skin = ReadSkin(Settings.SkinUsed, Settings.SkinList, [this](const QString& Message) {
    Prompts().Error(this, QStringLiteral("Skin"), Message);
  });
  for (int g = 0; g < SkinButtonCount; ++g) buttons[g]->SetGlyph(skin.Glyphs[g]);
  if (skin.Background) imBackground->setPixmap(QPixmap::fromImage(*skin.Background));
  if (skin.Font) slTitle->SetFont(*skin.Font);
}

