// The settings file on arbitrary bytes: read as the window reads it at
// start, then written to another file and read again.
#include <cstdint>
#include <cstdlib>

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include "platform/qt/Settings.h"

namespace {
QTemporaryDir* Folder = nullptr;
} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  Folder = new QTemporaryDir; // lives as long as the fuzzer
  new QCoreApplication(*argc, *argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  QFile file(Folder->filePath("Pixtor.conf"));
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
  file.write(reinterpret_cast<const char*>(Data), qint64(Size));
  file.close();
  QString message;
  const TSettings settings = TSettingsFile(file.fileName()).Load(message);
  TSettingsFile copy(Folder->filePath("Copy.conf"));
  QFile::remove(copy.Path());
  if (!copy.Save(settings).isEmpty()) std::abort();
  copy.Load(message);
  return 0;
}
