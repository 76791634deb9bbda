// Save states, rewind and fast-forward: F5 saves to the state slot in use,
// F6 moves to the next slot, F7 loads from it; holding F8 steps back through
// the last 30 seconds, holding F9 runs unpaced. While a run is under way a
// state is taken or put back on the next frame's line 8, where a pause would
// stop the run; otherwise at once.
#include <cstdio>
#include <vector>

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include "core/MMCUnit.h"
#include "core/NESUnit.h"
#include "core/StateUnit.h"
#include "frontend/MainUnit.h"
#include "platform/RegularFile.h"
#include "platform/SoundVolume.h"
#include "platform/qt/SkinLabel.h"
#include "tools/OutputFile.h"

namespace {

constexpr int StateSlots = 10;
// How long a confirmation stands on the title line.
constexpr int NoticeTime = 2000; // ms

// "$XDG_DATA_HOME/Brovane/Pixtor/states/" (~/.local/share without it).
QString StateFolder() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/Brovane/Pixtor/states/";
}

// Reads a state file whole, or gives why not; a state is far smaller than the most read.
std::optional<QString> ReadState(const QString& Path, std::vector<uint8_t>& Bytes) {
  QFile file(Path);
  if (!file.exists()) return QString();
  if (!NotAFile(QFile::encodeName(Path).toStdString()).empty() || !file.open(QIODevice::ReadOnly))
    return QStringLiteral("CANNOT BE READ");
  const QByteArray data = file.read(qint64(MaxStateBytes) + 1);
  Bytes.assign(data.begin(), data.end());
  return {};
}

} // namespace

QString TMainForm::StateFile(int Slot) const {
  // The start of the image's digest keeps apart cartridges of one name.
  QString digest;
  for (int i = 0; i < 4; ++i) digest += QString::asprintf("%02x", NES->MMC->ImageDigest[i]);
  return StateFolder() + QString::fromLocal8Bit(NES->MMC->FileName.c_str()) + "-" + digest +
         QStringLiteral(".%1.state").arg(Slot);
}

void TMainForm::ShowNotice(const QString& Text) {
  slTitle->SetCaption(Text);
  NoticeTimer.start(NoticeTime);
}

// A run under way stops, or goes on, only on a line 8.
bool TMainForm::RunUnderWay() const { return RunDepth > 0; }

void TMainForm::StateKey(int Key) {
  if (!CartridgeLoaded) return;
  switch (Key) {
  case Qt::Key_F5: PendingState = TStateCommand::Save; break;
  case Qt::Key_F6:
    StateSlot = (StateSlot + 1) % StateSlots;
    ShowNotice(QStringLiteral("STATE %1").arg(StateSlot));
    return;
  case Qt::Key_F7: {
    std::vector<uint8_t> bytes;
    if (const std::optional<QString> failure = ReadState(StateFile(StateSlot), bytes)) {
      ShowNotice(failure->isEmpty() ? QStringLiteral("NO STATE %1").arg(StateSlot)
                                    : QStringLiteral("STATE %1 %2").arg(StateSlot).arg(failure->toUpper()));
      return;
    }
    StateToLoad = std::move(bytes);
    PendingState = TStateCommand::Load;
    break;
  }
  default: return;
  }
  if (!RunUnderWay()) DoStateCommand(nullptr);
}

// Interrupt is the one the line handler of line 8 handed back when a run is
// under way, and none otherwise.
void TMainForm::DoStateCommand(uint8_t* Interrupt) {
  const TStateCommand command = std::exchange(PendingState, TStateCommand::None);
  if (command == TStateCommand::Save) {
    const std::vector<uint8_t> state = Interrupt ? SaveStateOnLine8(*NES, *Interrupt) : SaveState(*NES);
    try {
      QDir().mkpath(StateFolder());
      TOutputFile file(QFile::encodeName(StateFile(StateSlot)).toStdString());
      file.Write(state.data(), state.size());
      file.Close();
      ShowNotice(QStringLiteral("STATE %1 SAVED").arg(StateSlot));
    } catch (const std::runtime_error& failure) {
      // The state saved before, if any, is still there.
      std::fprintf(stderr, "pixtor: %s\n", failure.what());
      ShowNotice(QStringLiteral("STATE %1 NOT SAVED").arg(StateSlot));
    }
  } else if (command == TStateCommand::Load) {
    const std::vector<uint8_t> state = std::exchange(StateToLoad, {});
    const std::optional<TStateRefusal> refusal =
        Interrupt ? LoadStateOnLine8(*NES, state, *Interrupt) : LoadState(*NES, state);
    if (refusal)
      ShowNotice(QStringLiteral("STATE %1 %2").arg(StateSlot).arg(QString(RefusalText(*refusal)).toUpper()));
    else
      ShowNotice(QStringLiteral("STATE %1 LOADED").arg(StateSlot));
  }
}

// The console's line events while the window runs it: after line 8's, the
// state commands and a state for the rewind ring.
void TMainForm::CPULoop(TCPU* Sender, uint8_t& Interrupt) {
  NES->CPULoop(Sender, Interrupt);
  if (NES->ScanLine != JoypadPollLine) return;
  if (PendingState != TStateCommand::None) DoStateCommand(&Interrupt);
  if (!Rewinding) Rewind.Push(SaveStateOnLine8(*NES, Interrupt));
}

void TMainForm::RewindKey(bool Held) {
  if (Held == Rewinding || (Held && !CartridgeLoaded)) return;
  Rewinding = Held;
  if (Held) {
    ResumeAfterRewind = RunUnderWay() && !NES->Paused;
    NES->Pause();
    SetSoundVolume(0);
    RewindTimer.start();
    return;
  }
  RewindTimer.stop();
  SetSoundVolume(Settings.SoundVolume);
  if (ResumeAfterRewind) QTimer::singleShot(0, this, &TMainForm::btnRunClick);
}

// One kept frame back, shown, each 1/60 s while F8 is held.
void TMainForm::RewindStep() {
  if (RunUnderWay()) return; // the run has yet to reach the line where it stops
  const std::span<const uint8_t> state = Rewind.StepBack();
  if (!state.empty()) LoadState(*NES, state);
}

void TMainForm::FastForwardKey(bool Held) {
  FastForward = Held;
  SetSoundVolume(Held ? 0 : Settings.SoundVolume);
}
