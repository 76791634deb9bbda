// The settings file on arbitrary bytes: the main window reads it at start
// (values, key assignment, skin) on Qt's offscreen platform.
#include <cstdint>
#include <cstdlib>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "frontend/MainUnit.h"
#include "platform/qt/Prompts.h"

namespace {
QTemporaryDir* Config = nullptr;
} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  Config = new QTemporaryDir; // lives as long as the fuzzer
  qputenv("XDG_CONFIG_HOME", QFile::encodeName(Config->path()));
  QDir(Config->path()).mkpath("Brovane");
  new QApplication(*argc, *argv);
  Prompts().Error = [](QWidget*, const QString&, const QString&) {};
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  QFile file(Config->filePath("Brovane/Pixtor.conf"));
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
  file.write(reinterpret_cast<const char*>(Data), qint64(Size));
  file.close();
  TMainForm form(true);
  return 0;
}
