// pixtor: the emulator's window.

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>
#include <thread>

#include <QApplication>
#include <QCommandLineParser>
#include <QFile>
#include <QTimer>

#include "PixtorVersion.h"
#include "dialogs/SplashUnit.h"
#include "frontend/MainUnit.h"
#include "frontend/MidiRecording.h"
#include "platform/RegularFile.h"
#include "platform/audio/AudioDevice.h"

namespace {

const char Usage[] = R"(usage: pixtor [options] [CARTRIDGE]

Opens the emulator's window and, when a cartridge is named, loads and runs it.

  --canvas        draw with the plain screen instead of OpenGL (for broken graphics drivers)
  --stats         print emulated and drawn frames per second and processor use once a second
  --record FILE   write the joypads' input as a joypad script of pixtor-headless, which
                  replays the game exactly (the cartridge started last)
  --midi FILE     write the music of the cartridges played as a Standard MIDI File, put in
                  place when the window closes
  --version       print the version and exit
  --help          print this and exit
)";

// The options as given; a usage error throws std::invalid_argument.
struct TOptions {
  bool Canvas = false;
  bool Stats = false;
  QString Record;
  QString Midi;
  QString Cartridge;
  bool Help = false;
  bool Version = false;
};

std::string Local(const QString& Text) { return QFile::encodeName(Text).toStdString(); }

TOptions ParseOptions(int Argc, char* Argv[]) {
  QStringList arguments;
  for (int i = 0; i < Argc; ++i) arguments << QString::fromLocal8Bit(Argv[i]);
  QCommandLineParser parser;
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  const QCommandLineOption canvas("canvas"), stats("stats"), help("help"), version("version");
  const QCommandLineOption record("record", {}, "FILE"), midi("midi", {}, "FILE");
  parser.addOptions({canvas, stats, record, midi, help, version});
  if (!parser.parse(arguments)) throw std::invalid_argument(Local(parser.errorText()));
  TOptions options;
  options.Help = parser.isSet(help);
  options.Version = parser.isSet(version);
  options.Canvas = parser.isSet(canvas);
  options.Stats = parser.isSet(stats);
  options.Record = parser.value(record);
  options.Midi = parser.value(midi);
  const QStringList positional = parser.positionalArguments();
  if (positional.size() > 1)
    throw std::invalid_argument("one cartridge at a time (\"" + Local(positional[0]) + "\", then \"" +
                                Local(positional[1]) + "\")");
  if (!positional.isEmpty()) options.Cartridge = positional[0];
  for (const QString* output : {&options.Record, &options.Midi}) {
    if (output->isEmpty()) continue;
    // A pipe would hold the window until something reads it.
    if (const std::string kind = NotAFile(Local(*output)); !kind.empty() && kind != "a device")
      throw std::invalid_argument("cannot write " + Local(*output) + ": it is " + kind);
    std::error_code error;
    if (!options.Cartridge.isEmpty() && std::filesystem::equivalent(Local(*output), Local(options.Cartridge), error))
      throw std::invalid_argument(Local(*output) + " is the cartridge");
  }
  std::error_code error;
  if (!options.Record.isEmpty() && std::filesystem::equivalent(Local(options.Record), Local(options.Midi), error))
    throw std::invalid_argument("--record and --midi name the same file");
  return options;
}

} // namespace

int main(int argc, char* argv[]) {
  TOptions options;
  try {
    options = ParseOptions(argc, argv);
  } catch (const std::invalid_argument& error) {
    std::fprintf(stderr, "pixtor: %s\n(pixtor --help lists the options)\n", error.what());
    return 2;
  }
  if (options.Help) {
    std::fputs(Usage, stdout);
    return 0;
  }
  if (options.Version) {
    std::printf("pixtor %s\n", PixtorVersion);
    return 0;
  }

  QApplication application(argc, argv);
  // The program's name where the desktop shows one; the windows' captions stay as they are.
  QApplication::setApplicationName(AppTitle);
  QApplication::setApplicationVersion(PixtorVersion);
  QGuiApplication::setDesktopFileName(QStringLiteral("pixtor"));
  // The real sound devices, made before the console that opens them and gone after it.
  TAudioBackends audio;
  std::optional<TMidiRecording> midi;
  try {
    if (!options.Midi.isEmpty()) midi.emplace(Local(options.Midi));
  } catch (const std::runtime_error& error) {
    std::fprintf(stderr, "pixtor: %s\n", error.what());
    return 1;
  }

  TMainForm form(options.Canvas);
  form.ShowStats = options.Stats;
  form.InputRecord.SetPath(options.Record);
  if (midi) form.MidiRecord = &*midi;
  form.Splash = std::make_unique<TfrmSplash>();
  form.Splash->show();
  form.Splash->repaint();
  QApplication::processEvents();
  std::this_thread::sleep_for(std::chrono::milliseconds(750));

  form.show();
  if (!options.Cartridge.isEmpty())
    QTimer::singleShot(0, &form, [&form, path = options.Cartridge] { form.OpenCartridge(path); });
  int status = QApplication::exec();
  if (midi) {
    if (const std::optional<QString> failure = midi->Finish(form.Lines)) {
      std::fprintf(stderr, "pixtor: %s\n", qPrintable(*failure));
      status = 1;
    }
  }
  return status != 0 ? status : form.InputRecord.Failed() ? 1 : 0;
}
