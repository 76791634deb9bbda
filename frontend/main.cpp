// pixtor: the emulator's window.

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <thread>

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

#include "dialogs/SplashUnit.h"
#include "frontend/MainUnit.h"
#include "platform/RegularFile.h"
#include "platform/audio/AudioDevice.h"

namespace {

const char Usage[] = R"(usage: pixtor [--canvas] [--stats] [--record FILE] [CARTRIDGE]

Opens the emulator's window and, when a cartridge is named, loads and runs it.

  --canvas        draw with the plain screen instead of OpenGL (for broken graphics drivers)
  --stats         print emulated and drawn frames per second and processor use once a second
  --record FILE   write the joypads' input as a joypad script of pixtor-headless, which
                  replays the game exactly (the cartridge started last)
  --help          print this and exit
)";

} // namespace

int main(int argc, char* argv[]) {
  bool canvas = false;
  bool stats = false;
  QString record;
  const char* cartridge = nullptr;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0) {
      std::fputs(Usage, stdout);
      return 0;
    } else if (std::strcmp(argv[i], "--canvas") == 0) {
      canvas = true;
    } else if (std::strcmp(argv[i], "--stats") == 0) {
      stats = true;
    } else if (std::strcmp(argv[i], "--record") == 0) {
      if (++i == argc) {
        std::fprintf(stderr, "pixtor: --record needs a file name\n%s", Usage);
        return 2;
      }
      record = QString::fromLocal8Bit(argv[i]);
      // A pipe would hold the window until something reads it.
      if (const std::string kind = NotAFile(argv[i]); !kind.empty() && kind != "a device") {
        std::fprintf(stderr, "pixtor: cannot write the joypad script %s: it is %s\n", argv[i], kind.c_str());
        return 2;
      }
    } else if (argv[i][0] == '-' && argv[i][1] == '-' && !QFileInfo::exists(QString::fromLocal8Bit(argv[i]))) {
      std::fprintf(stderr, "pixtor: unknown option %s\n%s", argv[i], Usage);
      return 2;
    } else if (!cartridge) {
      cartridge = argv[i];
    } else {
      std::fprintf(stderr, "pixtor: one cartridge at a time (%s, then %s)\n%s", cartridge, argv[i], Usage);
      return 2;
    }
  }

  std::error_code error;
  if (cartridge && !record.isEmpty() && std::filesystem::equivalent(cartridge, QFile::encodeName(record).data(), error)) {
    std::fprintf(stderr, "pixtor: the joypad script %s is the cartridge %s\n", qPrintable(record), cartridge);
    return 2;
  }

  QApplication application(argc, argv);
  // The program's name where the desktop shows one; the windows' captions stay as they are.
  QApplication::setApplicationName(AppTitle);
  QGuiApplication::setDesktopFileName(QStringLiteral("pixtor"));
  // The real sound devices, made before the console that opens them and gone after it.
  TAudioBackends audio;

  TMainForm form(canvas);
  form.ShowStats = stats;
  form.InputRecord.SetPath(record);
  form.Splash = std::make_unique<TfrmSplash>();
  form.Splash->show();
  form.Splash->repaint();
  QApplication::processEvents();
  std::this_thread::sleep_for(std::chrono::milliseconds(750));

  form.show();
  if (cartridge) {
    const QString path = QString::fromLocal8Bit(cartridge);
    QTimer::singleShot(0, &form, [&form, path] { form.OpenCartridge(path); });
  }
  const int status = QApplication::exec();
  return status != 0 ? status : form.InputRecord.Failed() ? 1 : 0;
}
