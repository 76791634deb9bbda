#include "frontend/InputRecorder.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

#include <QFile>

#include "core/JOYUnit.h"
#include "core/NESUnit.h"
#include "tools/InputScript.h"

std::optional<QString> TInputRecorder::Start(const QString& CartridgePath, const std::string& CartridgeName) {
  Script.reset();
  if (Path.isEmpty() || Failure) return {};
  const std::string name = QFile::encodeName(Path).toStdString();
  std::error_code error;
  if (std::filesystem::equivalent(name, QFile::encodeName(CartridgePath).toStdString(), error)) {
    Failure = true;
    return QStringLiteral("The joypad script %1 is the cartridge %2 itself: the game's input is not recorded.")
        .arg(Path, CartridgePath);
  }
  Script.reset(std::fopen(name.c_str(), "w"));
  if (!Script) return Fail(errno);
  Buttons = {};
  return Write("# " + CartridgeName + "\n0 1 -\n0 2 -\n");
}

std::optional<QString> TInputRecorder::Frame(int64_t Frame, const TNES& NES) {
  if (!Script) return {};
  std::string lines;
  for (int pad = 0; pad < 2; ++pad) {
    const uint8_t held = NES.JOY->Buttons[pad];
    if (held == Buttons[pad]) continue;
    Buttons[pad] = held;
    lines += InputScriptLine(Frame, pad, held);
  }
  if (lines.empty()) return {};
  return Write(lines);
}

std::optional<QString> TInputRecorder::Write(const std::string& Text) {
  errno = 0;
  if (std::fputs(Text.c_str(), Script.get()) < 0 || std::fflush(Script.get()) != 0) return Fail(errno);
  return {};
}

std::optional<QString> TInputRecorder::Finish() {
  if (!Script) return {};
  errno = 0;
  if (std::fclose(Script.release()) != 0) return Fail(errno);
  return {};
}

// The script is not written again; the game goes on.
QString TInputRecorder::Fail(int Error) {
  Script.reset();
  Failure = true;
  return QStringLiteral("cannot write the joypad script %1: %2").arg(Path, QString::fromLocal8Bit(std::strerror(Error ? Error : EIO)));
}
