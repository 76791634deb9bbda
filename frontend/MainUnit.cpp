#include "frontend/MainUnit.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <exception>
#include <limits>

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QMimeData>
#include <QPixmap>
#include <QScreen>
#include <QSettings>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QTimer>

#include "core/JOYUnit.h"
#include "core/MMCUnit.h"
#include "core/NESUnit.h"
#include "core/PPUUnit.h"
#include "core/PSGUnit.h"
#include "dialogs/AboutUnit.h"
#include "frontend/SkinUnit.h"
#include "platform/FrameClock.h"
#include "platform/MessagePump.h"
#include "platform/RegularFile.h"
#include "platform/WindowInput.h"
#include "platform/qt/DisplayModes.h"
#include "platform/qt/KeyMap.h"
#include "platform/qt/PlusButton.h"
#include "platform/qt/Prompts.h"
#include "platform/qt/Screens.h"
#include "platform/qt/SkinLabel.h"
#include "platform/sdl/Joystick.h"

// clang-format off
const std::array<TKeyName, 52> KeyTable = {{
  {"BACK", 8}, {"TAB", 9}, {"CLEAR", 12}, {"RETURN", 13}, {"SHIFT", 16}, {"CONTROL", 17},
  {"ESCAPE", 27}, {"SPACE", 32}, {"PAG UP", 33}, {"PAG DOWN", 34}, {"END", 35}, {"HOME", 36},
  {"LEFT", 37}, {"UP", 38}, {"RIGHT", 39}, {"DOWN", 40},
  {"NUMPAD 0", 96}, {"NUMPAD 1", 97}, {"NUMPAD 2", 98}, {"NUMPAD 3", 99}, {"NUMPAD 4", 100},
  {"NUMPAD 5", 101}, {"NUMPAD 6", 102}, {"NUMPAD 7", 103}, {"NUMPAD 8", 104}, {"NUMPAD 9", 105},
  {"Key A", 65}, {"Key B", 66}, {"Key C", 67}, {"Key D", 68}, {"Key E", 69}, {"Key F", 70},
  {"Key G", 71}, {"Key H", 72}, {"Key I", 73}, {"Key J", 74}, {"Key K", 75}, {"Key L", 76},
  {"Key M", 77}, {"Key N", 78}, {"Key O", 79}, {"Key P", 80}, {"Key Q", 81}, {"Key R", 82},
  {"Key S", 83}, {"Key T", 84}, {"Key U", 85}, {"Key V", 86}, {"Key W", 87}, {"Key X", 88},
  {"Key Y", 89}, {"Key Z", 90},
}};
// clang-format on

namespace {

// The one main window, for the message pump (a plain function).
TMainForm* Instance = nullptr;

// Settings value names of a joypad, in the order of TPadKeys.
constexpr const char* PadValueNames[8] = {"UP", "DOWN", "LEFT", "RIGHT", "A", "B", "START", "SELECT"};
// Input states driven by the keys of TPadKeys, in its order: button 3 is
// Select and button 4 Start.
constexpr int32_t PadKeyStates[8] = {InputUp,        InputDown,      InputLeft,      InputRight,
                                     InputButton(1), InputButton(2), InputButton(4), InputButton(3)};

const QString OpenDialogTitle = QStringLiteral("Load ROM ...");
const QString OpenDialogFilter = QStringLiteral("NES Roms (*.NES *.NEs *.NeS *.Nes *.nES *.nEs *.neS *.nes);;"
                                                "ASM 6502 images (*.EXE *.exe);;All files (*)");

// Reads the settings of one group, telling the user of values that cannot be
// used and what is used instead.
class TSettingsReader {
public:
  explicit TSettingsReader(QSettings& Settings) : Settings(Settings) {}

  int64_t Integer(const QString& Name, int64_t Default, int64_t Min, int64_t Max) {
    if (!Settings.contains(Name)) return Default;
    bool ok = false;
    const int64_t value = Settings.value(Name).toString().trimmed().toLongLong(&ok);
    if (!ok) {
      Problem(Name, QStringLiteral("is not a number; %1 is used").arg(Default));
      return Default;
    }
    if (value < Min || value > Max) {
      const int64_t used = std::clamp(value, Min, Max);
      Problem(Name, QStringLiteral("is outside %1 to %2; %3 is used").arg(Min).arg(Max).arg(used));
      return used;
    }
    return value;
  }

  bool Boolean(const QString& Name, bool Default) {
    const QString text = Settings.value(Name).toString().trimmed().toLower();
    if (text == "true" || text == "false") return text == "true";
    return Integer(Name, Default, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()) != 0;
  }

  QString Text(const QString& Name) { return Settings.value(Name).toString(); }

  QStringList Problems;

private:
  void Problem(const QString& Name, const QString& What) {
    const QString group = Settings.group();
    Problems << QStringLiteral("%1 %2").arg(group.isEmpty() ? Name : group + "/" + Name, What);
  }

  QSettings& Settings;
};

// The settings file, a link followed to what it leads to: saving then
// replaces that file and keeps the link.
QString SettingsFilePath() {
  const QFileInfo info(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                       QStringLiteral("/Brovane/Pixtor.conf"));
  if (!info.isSymLink()) return info.filePath();
  const QString target = info.canonicalFilePath();
  return target.isEmpty() ? info.symLinkTarget() : target;
}

// Why the settings file cannot be read as settings; empty when it can (or is not there).
QString UnreadableSettings(const QString& Path) {
  const std::string kind = NotAFile(QFile::encodeName(Path).toStdString());
  if (!kind.empty()) return QStringLiteral("it is %1, not a file").arg(QString::fromStdString(kind));
  QFile file(Path);
  if (!file.exists()) return {};
  if (!file.open(QIODevice::ReadOnly)) return file.errorString();
  const QByteArray text = file.readAll();
  QStringDecoder utf8(QStringDecoder::Utf8);
  const QString decoded = utf8(text);
  if (text.contains('\0') || utf8.hasError()) return QStringLiteral("it is not a text file");
  return {};
}

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
  SkinList.clear();
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

  LoadSettings();
  ApplyKeyAssignment();
  LoadSkin();
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

void TMainForm::ToggleFullScreen() {
  const bool entering = !DXScreenTV || !DXScreenTV->FullScreen;
  std::optional<TDisplayMode> mode;
  if (entering && !ScreenMode.isEmpty()) {
    mode = ParseDisplayMode(ScreenMode);
    if (!mode) {
      Prompts().Error(this, QStringLiteral("Full Screen"),
                      QStringLiteral("The display mode \"%1\" is not a width, a height and a bit count "
                                     "separated by \"x\"; the window stays as it is.")
                          .arg(ScreenMode));
      return;
    }
  }
  if (!DXScreenTV) return;
  DXScreenTV->Finalize();
  if (!entering) {
    Modes->Restore();
    showNormal();
    setFixedSize(400, 310);
    setGeometry(SavedGeometry);
    DXScreenTV->setGeometry(ScreenTV->geometry());
    unsetCursor();
    DXScreenTV->FullScreen = false;
  } else {
    SavedGeometry = geometry();
    if (mode) {
      DXScreenTV->DisplayWidth = mode->Width;
      DXScreenTV->DisplayHeight = mode->Height;
      DXScreenTV->DisplayBitCount = mode->BitCount;
      // A mode the screen does not offer leaves the desktop's mode in use.
      Modes->Switch(*mode);
    }
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    // The window manager makes a full-screen window cover the screen; with
    // none, the window covers it itself.
    setGeometry(screen()->geometry());
    showFullScreen();
    DXScreenTV->setGeometry(rect());
    DXScreenTV->raise();
    setCursor(Qt::BlankCursor);
    DXScreenTV->FullScreen = true;
  }
  DXScreenTV->Initialize();
}

void TMainForm::btnFullScreenClick() {
  if (NES->Running && DirectDrawAvailable) ToggleFullScreen();
}

void TMainForm::resizeEvent(QResizeEvent* Event) {
  QWidget::resizeEvent(Event);
  if (DXScreenTV && DXScreenTV->FullScreen) DXScreenTV->setGeometry(rect());
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
  } else if (Event->key() == Qt::Key_F2 && !Event->isAutoRepeat()) {
    btnOpenFileClick();
  } else if ((Event->key() == Qt::Key_Return || Event->key() == Qt::Key_Enter) &&
             (Event->modifiers() & Qt::AltModifier) && !Event->isAutoRepeat()) {
    if (DirectDrawAvailable && NES->Running) ToggleFullScreen();
  }
}

void TMainForm::keyReleaseEvent(QKeyEvent* Event) {
  if (!Event->isAutoRepeat()) WindowInput->Release(Event->nativeScanCode(), VirtualKeyCode(*Event));
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

// Commands on the cartridge.

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
  } catch (const std::exception& Error) {
    CartridgeLoaded = false;
    failure = QString::fromLocal8Bit(Error.what());
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
  NES->Reset();
  // Once more now that the console runs, so that full screen can be had.
  UpdateControls();
  Frames = 0;
  ReportRecordFailure(InputRecord.Start(LastCartridge, NES->MMC->FileName));
  NES->Run();
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
  if (CartridgeLoaded) NES->Run();
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
  const TDIB& shown = DirectDrawAvailable ? DXScreenTV->Shown() : ScreenTV->Shown();
  try {
    shown.SaveToFile(QFile::encodeName(path).toStdString());
  } catch (const std::exception& Error) {
    ReportFileError(Error);
  }
}

// The run loop's message pump: the window's events once per line, and the
// frame clock once per emulated frame, before the line event that starts
// the next frame.
void TMainForm::PumpMessages() {
  if (Instance) {
    if (Instance->NES->ScanLine == FrameLines - 1) Instance->FrameDone();
    if (Instance->NES->ScanLine == JoypadPollLine)
      Instance->ReportRecordFailure(Instance->InputRecord.Frame(Instance->Frames, *Instance->NES));
  }
  QCoreApplication::processEvents();
}

// A script that cannot be written is told once; the program then ends with a failure.
void TMainForm::ReportRecordFailure(const std::optional<QString>& Failure) {
  if (!Failure) return;
  std::fprintf(stderr, "pixtor: %s\n", qPrintable(*Failure));
  Prompts().Error(this, QStringLiteral("Error"), *Failure);
}

void TMainForm::FrameDone() {
  ++Frames;
  Clock->Tick();
  if (!ShowStats) return;
  ++StatFrames;
  const auto now = TFrameClock::Clock::now();
  const std::chrono::duration<double> elapsed = now - StatStart;
  if (elapsed.count() < 1.0) return;
  const uint64_t drawn = (DXScreenTV ? DXScreenTV->Flips : 0) + ScreenTV->Draws;
  const double cpu = double(std::clock()) / CLOCKS_PER_SEC;
  std::fprintf(stderr, "pixtor: %.2f frames/s emulated, %.2f drawn, processor %.1f%%\n",
               StatFrames / elapsed.count(), double(drawn - StatDrawn) / elapsed.count(),
               100.0 * (cpu - StatCPU) / elapsed.count());
  StatFrames = 0;
  StatDrawn = drawn;
  StatCPU = cpu;
  StatStart = now;
}

// Settings: "~/.config/Brovane/Pixtor.conf", read once at start and written once at exit.

void TMainForm::LoadSettings() {
  SettingsFile = SettingsFilePath();
  const QString unreadable = UnreadableSettings(SettingsFile);
  // A file that cannot be read is kept as it is, and the defaults are used.
  SettingsWritable = unreadable.isEmpty();
  QSettings settings(SettingsWritable ? SettingsFile : QString(), QSettings::IniFormat);
  TSettingsReader read(settings);
  constexpr int64_t MaxInt = std::numeric_limits<int32_t>::max();
  NES->FrameRate = int32_t(read.Integer("FrameRate", DefaultFrameRate, 1, 10));
  SkinUsed = read.Text("Skin Used");
  NES->PSG->Volume = int32_t(read.Integer("SoundVolume", 255, 0, 255));
  for (int c = 0; c < SoundChannels; ++c)
    NES->PSG->ChannelOn[c] = read.Boolean(QStringLiteral("SoundChannel%1").arg(c + 1), true);
  ViewMode = int32_t(read.Integer("WIN", 0, std::numeric_limits<int32_t>::min(), MaxInt));
  ScreenMode = read.Text("SCREEN");
  for (int n = 0; n < SlotCount; ++n) Slots[n]->SetHint(read.Text(QStringLiteral("MRU%1").arg(n + 1)));

  const auto readPad = [&](const QString& Group, TPadKeys& Keys, const TPadKeys& Defaults, bool& Enabled) {
    settings.beginGroup(Group);
    Enabled = read.Boolean("ENABLED", false);
    for (size_t k = 0; k < Keys.size(); ++k)
      Keys[k] = uint32_t(read.Integer(PadValueNames[k], Defaults[k], 0, std::numeric_limits<uint32_t>::max()));
    settings.endGroup();
  };
  readPad("JOY1", Pad1Keys, DefaultPad1Keys, Pad1Enabled);
  readPad("JOY2", Pad2Keys, DefaultPad2Keys, Pad2Enabled);

  settings.beginGroup("SKINS");
  SkinList.clear();
  for (const QString& name : settings.childKeys()) {
    const QString folder = read.Text(name);
    if (!folder.isEmpty()) SkinList << name + "=" + folder;
  }
  settings.endGroup();

  if (SettingsWritable && settings.status() == QSettings::FormatError) {
    SettingsWritable = false;
    read.Problems.prepend(QStringLiteral("the file is not a settings file"));
  } else if (!SettingsWritable) {
    read.Problems.prepend(unreadable);
  }
  if (!SettingsWritable)
    read.Problems << QStringLiteral("the defaults are used, and the file is kept as it is: "
                                    "settings are not saved when the window closes");
  if (!read.Problems.isEmpty())
    Prompts().Error(this, QStringLiteral("Settings"),
                    QStringLiteral("In the settings file %1:\n%2").arg(SettingsFile, read.Problems.join("\n")));
}

void TMainForm::SaveSettings() {
  if (!SettingsWritable) return;
  QSettings settings(SettingsFile, QSettings::IniFormat);
  settings.setValue("FrameRate", NES->FrameRate);
  settings.setValue("Skin Used", SkinUsed);
  settings.setValue("SoundVolume", NES->PSG->Volume);
  for (int c = 0; c < SoundChannels; ++c)
    settings.setValue(QStringLiteral("SoundChannel%1").arg(c + 1), int(NES->PSG->ChannelOn[c]));
  settings.setValue("SCREEN", ScreenMode);
  settings.setValue("WIN", ViewMode);
  for (int n = 0; n < SlotCount; ++n) settings.setValue(QStringLiteral("MRU%1").arg(n + 1), Slots[n]->Hint());

  const auto writePad = [&](const QString& Group, const TPadKeys& Keys, bool Enabled) {
    settings.beginGroup(Group);
    for (size_t k = 0; k < Keys.size(); ++k) settings.setValue(PadValueNames[k], Keys[k]);
    settings.setValue("ENABLED", int(Enabled));
    settings.endGroup();
  };
  writePad("JOY1", Pad1Keys, Pad1Enabled);
  writePad("JOY2", Pad2Keys, Pad2Enabled);

  settings.remove("SKINS");
  settings.beginGroup("SKINS");
  for (const QString& line : SkinList) {
    const QString name = line.section('=', 0, 0);
    // A name listed twice keeps the first one's folder.
    if (!settings.contains(name)) settings.setValue(name, line.section('=', 1));
  }
  settings.endGroup();

  settings.sync();
  if (settings.status() != QSettings::NoError)
    Prompts().Error(this, QStringLiteral("Settings"),
                    QStringLiteral("The settings could not be written to %1.").arg(SettingsFile));
}

void TMainForm::ApplyKeyAssignment() {
  const auto assign = [](TDXInput& Input, const TPadKeys& Keys, bool Enabled) {
    Input.ClearAssigns();
    for (size_t k = 0; k < Keys.size(); ++k) Input.AssignStateKey(PadKeyStates[k], std::span(&Keys[k], 1));
    Input.JoystickEnabled = Enabled;
  };
  assign(DXInputA, Pad1Keys, Pad1Enabled);
  assign(DXInputB, Pad2Keys, Pad2Enabled);
}

void TMainForm::LoadSkin() {
  const std::array<TPlusButton*, SkinButtonCount> buttons = {
      btnSettings, btnInfo,  Slots[0],    Slots[1],  Slots[2],     Slots[3],   Slots[4],   Slots[5],
      Slots[6],    Slots[7], Slots[8],    Slots[9],  btnOpenFile,  btnRun,     btnReset,   btnPause,
      btnSnapShot, btnVol,   btnAbout,    btnMinimize, btnVolDown, btnFullScreen, btnVolUp, btnClose};
  for (TPlusButton* button : buttons) button->ClearGlyph();
  const TSkin skin = ReadSkin(SkinUsed, SkinList, [this](const QString& Message) {
    Prompts().Error(this, QStringLiteral("Skin"), Message);
  });
  for (int g = 0; g < SkinButtonCount; ++g) buttons[g]->SetGlyph(skin.Glyphs[g]);
  if (skin.Background) imBackground->setPixmap(QPixmap::fromImage(*skin.Background));
  if (skin.Font) slTitle->SetFont(*skin.Font);
}

void TMainForm::btnAboutClick() {
  TfrmAbout about(this);
  about.exec();
}
