// pixtor: the emulator's window.

#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <thread>

#include <QApplication>
#include <QFileInfo>
#include <QTimer>


#include "core/MMCUnit.h"
#include "core/NESUnit.h"
#include "dialogs/SplashUnit.h"
#include "frontend/MainUnit.h"
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

  QApplication application(argc, argv);
  QApplication::setApplicationDisplayName(AppTitle);
  // The real sound devices, made before the console that opens them and gone after it.
  TAudioBackends audio;

  TMainForm form(canvas);
  form.ShowStats = stats;
  form.InputRecordPath = record;
  form.Splash = std::make_unique<TfrmSplash>();
  form.Splash->show();
  form.Splash->repaint();
  QApplication::processEvents();
  std::this_thread::sleep_for(std::chrono::milliseconds(750));

  form.show();
  if (cartridge) {
    const QString path = QString::fromLocal8Bit(cartridge);
    QTimer::singleShot(0, &form, [&form, path] {
      if (!QFileInfo(path).isFile()) {
        std::fprintf(stderr, "pixtor: %s: no such cartridge file\n", qPrintable(path));
        return;
      }
      form.OpenCartridge(path);
      if (!form.CartridgeLoaded)
        std::fprintf(stderr, "pixtor: %s: cannot run this cartridge%s%s\n", qPrintable(path),
                     form.NES->MMC->MappingName.empty() ? "" : ": ", form.NES->MMC->MappingName.c_str());
    });
  }
  return QApplication::exec();
}
