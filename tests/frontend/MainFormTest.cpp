#include <gtest/gtest.h>

#include <algorithm>

#include <sys/stat.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

#include "core/MMCUnit.h"
#include "core/NESUnit.h"
#include "core/PSGUnit.h"
#include "frontend/MainUnit.h"
#include "platform/WindowInput.h"
#include "platform/qt/Screens.h"
#include "platform/qt/SkinLibrary.h"
#include "platform/qt/PlusButton.h"
#include "platform/qt/SkinLabel.h"
#include "tests/FakePrompts.h"

namespace {

// A cartridge image of mapper 0 whose program loops for ever.
QByteArray Cartridge(uint8_t ProgPages, uint8_t CharPages) {
  QByteArray image("NES\x1A", 4);
  image.append(char(ProgPages)).append(char(CharPages)).append(QByteArray(10, 0));
  QByteArray program(ProgPages * 16384, 0);
  program[0] = char(0x4C); // JMP $8000
  program[1] = 0x00;
  program[2] = char(0x80);
  program[program.size() - 4] = 0x00; // reset vector $8000
  program[program.size() - 3] = char(0x80);
  return image + program + QByteArray(CharPages * 8192, 0);
}

class MainFormTest : public testing::Test {
protected:
  MainFormTest() {
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(Dir.filePath("config")));
  }
  QString Write(const QString& Name, const QByteArray& Contents) {
    QFile file(Dir.filePath(Name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(Contents);
    return file.fileName();
  }
  QString SettingsFile() const { return Dir.filePath("config/Brovane/Pixtor.conf"); }
  // Runs Action inside the run loop of the command that comes next.
  static void DuringTheRun(std::function<void()> Action) { QTimer::singleShot(0, std::move(Action)); }

  QTemporaryDir Dir;
  TFakePrompts Fake;
};

TEST_F(MainFormTest, FirstStartTakesTheDefaults) {
  TMainForm form(true);
  EXPECT_EQ(form.Settings, TSettings());
  EXPECT_EQ(form.NES->FrameRate, 3);
  EXPECT_EQ(form.NES->PSG->Volume, 255);
  EXPECT_EQ(form.NES->PSG->ChannelOn, (std::array<bool, 4>{true, true, true, true}));
  for (TPlusButton* slot : form.Slots) EXPECT_TRUE(slot->Hint().isEmpty());
  EXPECT_TRUE(Fake.Errors.isEmpty());
  // Select is button 3 and Start button 4 of the input objects.
  EXPECT_EQ(form.DXInputA.Assigns[InputButton(3)][0], 9u);
  EXPECT_EQ(form.DXInputA.Assigns[InputButton(4)][0], 13u);
  EXPECT_EQ(form.DXInputB.Assigns[InputUp][0], 69u);
}

TEST_F(MainFormTest, SettingsTakeEffectAndComeBackAtTheNextStart) {
  TSettings changed;
  changed.FrameRate = 7;
  changed.SoundVolume = 102;
  changed.SoundChannel = {true, false, true, false};
  changed.Slots[3] = "/roms/game.nes";
  changed.Pad1Keys = {87, 83, 65, 68, 75, 76, 13, 9};
  changed.Pad2Enabled = true;
  {
    TMainForm form(true);
    form.ApplySettings(changed);
    form.close();
  }
  TMainForm form(true);
  EXPECT_EQ(form.CurrentSettings(), changed);
  EXPECT_EQ(form.NES->FrameRate, 7);
  EXPECT_EQ(form.NES->PSG->Volume, 102);
  EXPECT_EQ(form.NES->PSG->ChannelOn, changed.SoundChannel);
  EXPECT_EQ(form.Slots[3]->Hint(), "/roms/game.nes");
  EXPECT_EQ(form.DXInputA.Assigns[InputUp][0], 87u);
  EXPECT_TRUE(form.DXInputB.JoystickEnabled);
  EXPECT_FALSE(form.DXInputA.JoystickEnabled);
}

TEST_F(MainFormTest, InfoLineAndControlsBeforeAndAfterALoad) {
  TMainForm form(true);
  form.FormShow();
  EXPECT_EQ(form.GetInfoLine(),
            "Pixtor emulator - No Cartridge Loaded. NO Direct X v6.0 found, " + CopyrightNotice);
  for (TPlusButton* button : {form.btnRun, form.btnReset, form.btnPause, form.btnSnapShot, form.btnInfo})
    EXPECT_FALSE(button->isEnabled());
  EXPECT_FALSE(form.btnFullScreen->isEnabled());
  EXPECT_TRUE(form.DXTimer.isActive());

  Fake.Chosen = Write("two.nes", Cartridge(2, 1));
  DuringTheRun([&] {
    EXPECT_TRUE(form.NES->Running);
    for (TPlusButton* button : {form.btnRun, form.btnReset, form.btnPause, form.btnSnapShot, form.btnInfo})
      EXPECT_TRUE(button->isEnabled());
    EXPECT_FALSE(form.DXTimer.isActive());
    EXPECT_FALSE(form.btnFullScreen->isEnabled()); // no accelerated screen
    form.btnPauseClick();
  });
  form.btnOpenFileClick();
  EXPECT_FALSE(form.NES->Running);
  EXPECT_EQ(form.GetInfoLine(), "Pixtor emulator - two.nes < No Mapper, ROM:02, VROM:01 >. NO Direct X v6.0 found, " +
                                    CopyrightNotice);
  EXPECT_EQ(form.slTitle->Caption(), form.GetInfoLine());
  // Open never writes a slot.
  for (TPlusButton* slot : form.Slots) EXPECT_TRUE(slot->Hint().isEmpty());
}

TEST_F(MainFormTest, CommandsWaitForACartridge) {
  TMainForm form(true);
  form.FormShow();
  const uint16_t pc = form.NES->CPU->PC;
  form.btnRunClick(); // would never return if it ran
  form.btnResetClick();
  form.btnPauseClick();
  EXPECT_FALSE(form.NES->Running || form.NES->Paused);
  EXPECT_EQ(form.NES->CPU->PC, pc);
  Fake.Chosen.clear();
  form.btnOpenFileClick(); // cancelled
  EXPECT_FALSE(form.CartridgeLoaded);
}

TEST_F(MainFormTest, SlotsKeepTheirPathUntilALoadFails) {
  TMainForm form(true);
  form.FormShow();
  TPlusButton* slot = form.Slots[2];
  Fake.Chosen = Write("game.nes", Cartridge(1, 1));
  DuringTheRun([&] { form.btnPauseClick(); });
  slot->Click(); // empty: the dialog fills it
  EXPECT_TRUE(form.CartridgeLoaded);
  EXPECT_TRUE(slot->Down());
  EXPECT_EQ(slot->Hint(), Fake.Chosen);

  // Clicking the slot that is down raises it and changes nothing else.
  slot->Click();
  EXPECT_FALSE(slot->Down());
  EXPECT_TRUE(form.CartridgeLoaded);
  EXPECT_EQ(slot->Hint(), Fake.Chosen);

  // A filled slot loads without asking; another slot going down raises it.
  Fake.Chosen.clear();
  DuringTheRun([&] { form.btnPauseClick(); });
  slot->Click();
  EXPECT_TRUE(form.CartridgeLoaded);
  form.Slots[5]->SetHint(Dir.filePath("gone.nes"));
  form.Slots[5]->Click();
  EXPECT_FALSE(slot->Down());
  // A failed load empties that slot and raises it; the cartridge before is gone.
  EXPECT_FALSE(form.CartridgeLoaded);
  EXPECT_FALSE(form.Slots[5]->Down());
  EXPECT_TRUE(form.Slots[5]->Hint().isEmpty());
  EXPECT_EQ(slot->Hint(), Dir.filePath("game.nes"));
  EXPECT_FALSE(form.btnRun->isEnabled());

  // An empty slot whose dialog is cancelled stays empty and up.
  form.Slots[7]->Click();
  EXPECT_FALSE(form.Slots[7]->Down());
  ASSERT_EQ(Fake.Errors.size(), 1); // the slot whose file is gone
  EXPECT_TRUE(Fake.Errors[0].contains("gone.nes"));
}

TEST_F(MainFormTest, OpenDuringARunNestsAndEveryRunEnds) {
  TMainForm form(true);
  form.FormShow();
  const QString first = Write("first.nes", Cartridge(1, 0));
  const QString second = Write("second.nes", Cartridge(2, 0));
  const QString broken = Write("broken.nes", "NES\x1A");
  int depth = 0;
  Fake.Chosen = first;
  DuringTheRun([&] {
    ++depth;
    Fake.Chosen = second;
    DuringTheRun([&] {
      ++depth;
      EXPECT_EQ(form.NES->MMC->FileName, "second.nes");
      form.btnPauseClick();
    });
    form.btnOpenFileClick(); // a nested run, left when paused
    EXPECT_TRUE(form.NES->Paused);
    // A failed load during the run: the outer run must stop too.
    Fake.Chosen = broken;
    form.btnOpenFileClick();
    EXPECT_FALSE(form.CartridgeLoaded);
  });
  form.btnOpenFileClick();
  EXPECT_EQ(depth, 2);
  EXPECT_FALSE(form.CartridgeLoaded);
  EXPECT_FALSE(form.NES->Running);
}

TEST_F(MainFormTest, SnapshotWritesTheFrameOrSaysWhyNot) {
  TMainForm form(true);
  form.FormShow();
  Fake.Chosen = Write("game.nes", Cartridge(1, 1));
  DuringTheRun([&] { form.btnPauseClick(); });
  form.btnOpenFileClick();
  Fake.Chosen = Dir.filePath("shot.bmp");
  form.btnSnapShotClick();
  QFile shot(Fake.Chosen);
  ASSERT_TRUE(shot.open(QIODevice::ReadOnly));
  EXPECT_EQ(shot.read(2), "BM");
  EXPECT_TRUE(Fake.Errors.isEmpty());
  Fake.Chosen = Dir.filePath("no/such/folder/shot.bmp");
  form.btnSnapShotClick();
  ASSERT_EQ(Fake.Errors.size(), 1);
  EXPECT_TRUE(Fake.Errors[0].contains("shot.bmp"));
  EXPECT_TRUE(form.CartridgeLoaded);
}

TEST_F(MainFormTest, SnapshotIsThePictureOnTheScreen) {
  TMainForm form(true);
  form.FormShow();
  form.NES->FrameRate = 1;
  const auto snapshot = [&](const QString& Name) {
    Fake.Chosen = Dir.filePath(Name);
    form.btnSnapShotClick();
    QFile shot(Fake.Chosen);
    EXPECT_TRUE(shot.open(QIODevice::ReadOnly));
    const TDIB& shown = *form.NES->Shown;
    const std::vector<uint8_t> bytes = shown.FileBytes();
    EXPECT_EQ(shot.readAll(), QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())));
    // The sprites' colours are 17 to 31.
    const uint8_t* pixels = shown.ScanLine(0);
    EXPECT_TRUE(std::any_of(pixels, pixels + TDIB::Width * TDIB::Height, [](uint8_t p) { return p > 16; }))
        << Name.toStdString();
  };
  Fake.Chosen = PIXTOR_BUSY_IMAGE;
  QTimer::singleShot(300, [&] {
    snapshot("running.bmp"); // between two lines of a frame
    form.btnPauseClick();
  });
  form.btnOpenFileClick();
  snapshot("paused.bmp"); // the console stopped on line 8, the next frame begun
  EXPECT_TRUE(Fake.Errors.isEmpty());
}

TEST_F(MainFormTest, ARefusedCartridgeIsToldAndNamedNowhere) {
  TMainForm form(true);
  form.FormShow();
  QByteArray mapper1 = Cartridge(1, 1);
  mapper1[6] = 0x10;
  const QString refused = Write("mapper1.nes", mapper1);
  const QString text = Write("notes.txt", "not a cartridge\n");
  Fake.Chosen = Write("game.nes", Cartridge(1, 1));
  DuringTheRun([&] {
    Fake.Chosen = refused;
    form.btnOpenFileClick(); // F2 during a game
  });
  form.btnOpenFileClick();
  Fake.Chosen = text;
  form.btnOpenFileClick();
  ASSERT_EQ(Fake.Errors.size(), 2);
  EXPECT_TRUE(Fake.Errors[0].contains(refused) && Fake.Errors[0].contains("mapper #1 not supported"));
  EXPECT_TRUE(Fake.Errors[1].contains(text) && Fake.Errors[1].contains("not an iNES image"));
  EXPECT_FALSE(form.CartridgeLoaded || form.NES->Running || form.btnRun->isEnabled());
  EXPECT_EQ(form.slTitle->Caption(), form.GetInfoLine());
  EXPECT_TRUE(form.GetInfoLine().contains("No Cartridge Loaded"));
}

TEST_F(MainFormTest, CancellingAnEmptySlotsDialogLeavesTheGameRunning) {
  TMainForm form(true);
  form.FormShow();
  Fake.Chosen = Write("game.nes", Cartridge(1, 1));
  DuringTheRun([&] {
    Fake.Chosen.clear();
    form.Slots[4]->Click();
    EXPECT_TRUE(form.NES->Running && form.CartridgeLoaded && form.btnSnapShot->isEnabled());
    EXPECT_FALSE(form.Slots[4]->Down());
    form.btnPauseClick();
  });
  form.btnOpenFileClick();
  // The Open dialog starts in the folder of the cartridge chosen last.
  form.btnOpenFileClick();
  EXPECT_EQ(Fake.StartFolder, Dir.path());
  EXPECT_TRUE(form.CartridgeLoaded);
}

TEST_F(MainFormTest, TheJoypadScriptIsNeverTheCartridgeAndItsFailuresAreTold) {
  const QByteArray image = Cartridge(1, 1);
  const QString game = Write("game.nes", image);
  ASSERT_TRUE(QFile::link(game, Dir.filePath("link.nes")));
  for (const QString& script : {Dir.filePath("link.nes"), Dir.filePath("no/such/folder/input.txt")}) {
    TMainForm form(true);
    form.FormShow();
    form.InputRecord.SetPath(script);
    Fake.Errors.clear();
    Fake.Chosen = game;
    for (int start = 0; start < 2; ++start) {
      DuringTheRun([&] { form.btnPauseClick(); });
      form.btnOpenFileClick();
    }
    form.close();
    EXPECT_EQ(Fake.Errors.size(), 1) << script.toStdString(); // once, however often the game starts
    EXPECT_TRUE(Fake.Errors.value(0).contains(script));
    EXPECT_TRUE(form.InputRecord.Failed());
  }
  QFile cartridge(game);
  ASSERT_TRUE(cartridge.open(QIODevice::ReadOnly));
  EXPECT_EQ(cartridge.readAll(), image);
}

TEST_F(MainFormTest, TheCanvasWindowShowsWithoutOpenGL) {
  TMainForm form(true);
  EXPECT_EQ(form.DXScreenTV, nullptr);
  form.show();
  QCoreApplication::processEvents();
  EXPECT_FALSE(form.DirectDrawAvailable);
  EXPECT_EQ(form.windowTitle(), "Pixtor");
  form.close();
}

TEST_F(MainFormTest, StatesGoToTheirSlotsAndComeBackWhole) {
  qputenv("XDG_DATA_HOME", QFile::encodeName(Dir.filePath("data")));
  TMainForm form(true);
  form.FormShow();
  form.NES->FrameRate = 1;
  const auto play = [&](int Milliseconds) {
    QTimer::singleShot(Milliseconds, [&] { form.btnPauseClick(); });
    form.btnRunClick();
  };
  Fake.Chosen = PIXTOR_BUSY_IMAGE;
  DuringTheRun([&] {
    form.StateKey(Qt::Key_F5); // taken on the next frame's line 8
    form.btnPauseClick();
  });
  form.btnOpenFileClick();
  EXPECT_EQ(form.slTitle->Caption(), "STATE 0 SAVED");
  play(300);
  form.StateKey(Qt::Key_F5); // paused: at once
  const TDIB saved = *form.NES->Shown;
  const int64_t frame = form.NES->FrameCount;
  play(300);
  ASSERT_NE(form.NES->FrameCount, frame);
  form.StateKey(Qt::Key_F7);
  EXPECT_EQ(form.slTitle->Caption(), "STATE 0 LOADED");
  EXPECT_EQ(form.NES->FrameCount, frame);
  EXPECT_TRUE(*form.NES->Shown == saved);

  // A state that cannot be used changes nothing, and says why.
  const QString file = Dir.filePath("data/Brovane/Pixtor/states");
  const QStringList states = QDir(file).entryList(QDir::Files);
  ASSERT_EQ(states.size(), 1);
  EXPECT_TRUE(states[0].startsWith("busy.nes-")) << states[0].toStdString();
  QFile state(file + "/" + states[0]);
  ASSERT_TRUE(state.open(QIODevice::ReadWrite));
  state.seek(100);
  state.write("X");
  state.close();
  play(300);
  const int64_t now = form.NES->FrameCount;
  form.StateKey(Qt::Key_F7);
  EXPECT_EQ(form.slTitle->Caption(), "STATE 0 CORRUPT");
  EXPECT_EQ(form.NES->FrameCount, now);
  form.StateKey(Qt::Key_F6);
  form.StateKey(Qt::Key_F7);
  EXPECT_EQ(form.slTitle->Caption(), "NO STATE 1");
  EXPECT_TRUE(Fake.Errors.isEmpty());
}

TEST_F(MainFormTest, AKeyIsSeenByTheNextFramesPoll) {
  TMainForm form(true);
  form.FormShow();
  form.Input().SetActive(true);
  form.InputRecord.SetPath(Dir.filePath("input.txt"));
  Fake.Chosen = Write("game.nes", Cartridge(1, 1));
  int64_t pressed = -1;
  // Messages are handled once a frame, after its last line: a key pressed
  // then is down when the pads are read on line 8 of the frame that follows.
  QTimer::singleShot(100, [&] {
    pressed = form.NES->FrameCount;
    QKeyEvent key(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(&form, &key);
    QTimer::singleShot(100, [&] { form.btnPauseClick(); });
  });
  form.btnOpenFileClick();
  form.close();
  QFile script(Dir.filePath("input.txt"));
  ASSERT_TRUE(script.open(QIODevice::ReadOnly));
  const QList<QByteArray> lines = script.readAll().split('\n');
  ASSERT_GE(lines.size(), 4);
  // The key came at the end of frame FrameCount (counted from 0 at power-on).
  EXPECT_EQ(lines[3], QByteArray::number(pressed + 1) + " 1 Start");
}

TEST_F(MainFormTest, ScreenModeThatIsNotAModeKeepsTheWindow) {
  TMainForm form(true);
  form.Settings.ScreenMode = "640 by 480";
  form.ToggleFullScreen();
  ASSERT_EQ(Fake.Errors.size(), 1);
  EXPECT_TRUE(Fake.Errors[0].contains("640 by 480"));
  EXPECT_FALSE(form.isFullScreen());
  EXPECT_EQ(form.size(), QSize(400, 310));
}

TEST_F(MainFormTest, DraggingMovesByTheMouseTravel) {
  TMainForm form(true);
  form.move(100, 50);
  form.imBackgroundMouseMove({500, 500}); // no drag yet
  EXPECT_EQ(form.pos(), QPoint(100, 50));
  form.imBackgroundMouseDown({200, 200});
  form.imBackgroundMouseDown({300, 300}); // a second button changes nothing
  form.imBackgroundMouseMove({210, 195});
  form.imBackgroundMouseMove({230, 205});
  EXPECT_EQ(form.pos(), QPoint(130, 55));
  form.imBackgroundMouseUp();
  form.imBackgroundMouseMove({400, 400});
  EXPECT_EQ(form.pos(), QPoint(130, 55));
}

} // namespace
