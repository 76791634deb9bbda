// pixtor-headless: runs a cartridge with no window and no pacing.

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <exception>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "PixtorVersion.h"
#include "core/JOYUnit.h"
#include "core/MMCUnit.h"
#include "core/NESUnit.h"
#include "core/PPUUnit.h"
#include "core/PSGUnit.h"
#include "core/StateUnit.h"
#include "platform/CFile.h"
#include "platform/DIB.h"
#include "platform/RegularFile.h"
#include "tools/FrameHash.h"
#include "tools/InputScript.h"
#include "tools/OutputFile.h"
#include "tools/RunnerOptions.h"
#include "tools/SoundRecorder.h"
#include "tools/Trace.h"

namespace {

void SetRegisters(TCPU& CPU, const TRegisters& Registers) {
  if (Registers.A) CPU.A = *Registers.A;
  if (Registers.X) CPU.X = *Registers.X;
  if (Registers.Y) CPU.Y = *Registers.Y;
  if (Registers.P) CPU.P = *Registers.P;
  if (Registers.S) CPU.S = *Registers.S;
}

template <typename Peek> void Dump(TOutputFile& Out, const TRange& Range, Peek Read) {
  for (uint32_t line = 0; line < Range.Length; line += 16) {
    Out.Print("%04X:", Range.Addr + line);
    for (uint32_t i = line; i < Range.Length && i < line + 16; ++i) Out.Print(" %02X", Read(Range.Addr + i));
    Out.Print("\n");
  }
}

// Reads a whole file of at most Limit bytes; one past the limit tells it is longer.
std::vector<uint8_t> ReadFile(const std::string& Path, size_t Limit) {
  CheckReadable(Path);
  TFile file(std::fopen(Path.c_str(), "rb"));
  if (!file) throw std::runtime_error("cannot read " + Path + ": " + std::strerror(errno));
  std::vector<uint8_t> bytes(Limit + 1);
  bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file.get()));
  if (std::ferror(file.get()))
    throw std::runtime_error("cannot read " + Path + ": " + std::strerror(errno ? errno : EIO));
  return bytes;
}

// Drives the console: stops it after a number of frames, feeds the joypads
// from a script, logs the sound driver calls, keeps the palette of what was
// presented, and watches instructions when a trace or an instruction limit
// is asked for.
class TRunner {
public:
  // The sound files are created here, the others by PowerOn; all are put in place by Finish.
  explicit TRunner(const TOptions& Options) : Options(Options), Sound(Options.WavFile, Options.MidiFile) {}

  void Load() {
    CheckReadable(Options.Cartridge);
    if (!NES.MMC->LoadROM(Options.Cartridge)) {
      throw std::runtime_error("cannot run " + Options.Cartridge + ": " + NES.MMC->Refusal());
    }
  }

  void PowerOn() {
    if (!Options.InputFile.empty()) {
      Pads = std::make_unique<TScriptedPads>(ReadInputScriptFile(Options.InputFile));
      NES.SetInput(&Pads->Pad1, &Pads->Pad2);
    }
    if (!Options.TonesFile.empty()) {
      // The log sits in front of the voice driver the sound unit chose, which still plays every call.
      Tones.emplace(Options.TonesFile);
      DriverToneOn = std::exchange(NES.PSG->OnToneOn, TToneOnEvent::Bind<&TRunner::ToneOn>(this));
      DriverToneLevel = std::exchange(NES.PSG->OnToneLevel, TToneLevelEvent::Bind<&TRunner::ToneLevel>(this));
    }
    if (!Options.TraceFile.empty()) Trace.emplace(Options.TraceFile);
    if (!Options.SaveStateFile.empty()) StateOut.emplace(Options.SaveStateFile);

    NES.FrameRate = Options.FrameRate;
    NES.Present = TPresentEvent::Bind<&TRunner::Present>(this);
    NES.PowerOn();
    NES.CPU->OnLoop = TLoopEvent::Bind<&TRunner::Loop>(this);
    NES.Reset();
    if (Options.Start) NES.CPU->PC = *Options.Start;
    SetRegisters(*NES.CPU, Options.Registers);
    if (!Options.LoadStateFile.empty()) LoadStateFile();
    Lines = StartLine = NES.LineCount();
  }

  void Run() {
    // A run ends on line 8 of frame Frames, where a loaded state may already be.
    if (NES.LineCount() == Options.Frames * FrameLines + JoypadPollLine) return;
    if (Trace || Options.Instructions)
      NES.RunWatched(TInstructionEvent::Bind<&TRunner::Instruction>(this));
    else
      NES.Run();
  }

  // Writes the report and every output asked for; a failed one does not
  // stop the others. Gives the failures' messages.
  std::vector<std::string> Finish(double Seconds) {
    std::vector<std::string> errors;
    auto attempt = [&errors](auto&& Write) {
      try {
        Write();
      } catch (const std::runtime_error& error) {
        errors.emplace_back(error.what());
      }
    };
    TOutputFile out = TOutputFile::StandardOutput();
    const int64_t frames = (Lines - StartLine) / FrameLines;
    out.Print("frames %lld seconds %.3f fps %.1f\n", static_cast<long long>(frames), Seconds,
              Seconds > 0 ? frames / Seconds : 0.0);
    if (Options.Hash) out.Print("%016llx\n", static_cast<unsigned long long>(FrameHash(*NES.Shown, ShownPalette)));
    if (!Options.SnapshotFile.empty()) {
      attempt([&] {
        TOutputFile snapshot(Options.SnapshotFile);
        const std::vector<uint8_t> bytes = NES.Shown->FileBytes();
        snapshot.Write(bytes.data(), bytes.size());
        snapshot.Close();
        out.Print("snapshot %s\n", Options.SnapshotFile.c_str());
      });
    }
    if (StateOut) {
      attempt([&] {
        const std::vector<uint8_t> bytes = SaveState(NES);
        StateOut->Write(bytes.data(), bytes.size());
        StateOut->Close();
      });
    }
    for (std::string& error : Sound.Close(Lines - StartLine)) errors.push_back(std::move(error));
    for (const TRange& range : Options.Dumps) Dump(out, range, [this](uint32_t a) { return PeekByte(NES, a); });
    for (const TRange& range : Options.VRAMDumps) {
      Dump(out, range, [this](uint32_t a) { return a < 0x2000 ? NES.PatternBank[a >> 10][a] : NES.PPU->VRAM[a]; });
    }
    for (std::optional<TOutputFile>* file : {&Trace, &Tones})
      if (*file) attempt([file] { (*file)->Close(); });
    attempt([&out] { out.Close(); });
    return errors;
  }

private:
  // The frames to run count from power-on, and so do the script's; the
  // sound files begin where the run does.
  void LoadStateFile() {
    const std::string& path = Options.LoadStateFile;
    if (std::optional<TStateRefusal> refusal = LoadState(NES, ReadFile(path, MaxStateBytes)))
      throw std::runtime_error("cannot load state " + path + ": " + RefusalText(*refusal));
    if (NES.FrameCount > Options.Frames)
      throw std::runtime_error("cannot run to frame " + std::to_string(Options.Frames) + ": the state " +
                               path + " is at frame " + std::to_string(NES.FrameCount));
  }

  // The runner's display: the console keeps the picture; the colours are
  // brought up to date as a screen would, and palette RAM kept for the hash.
  void Present() {
    NES.PPU->UpdatePalette();
    std::copy_n(NES.PPU->VRAM.begin() + 0x3F00, ShownPalette.size(), ShownPalette.begin());
  }

  void Loop(TCPU* Sender, uint8_t& Interrupt) {
    Lines = NES.LineCount() + 1; // the line this event begins
    Sound.SetLine(Lines - StartLine);
    if (Pads) Pads->SetFrame(Lines / FrameLines);
    NES.CPULoop(Sender, Interrupt);
    if (Lines == Options.Frames * FrameLines) NES.Pause();
  }

  bool Instruction(TCPU*) {
    if (Options.Instructions && Executed >= *Options.Instructions) return false;
    if (Trace) Trace->Print("%s\n", TraceLine(NES).c_str());
    ++Executed;
    return true;
  }

  // Calls made during a line event (the frame's sound step) count on the line that event begins.
  void LogTone(const char* Call, uint8_t Channel, long long Value) {
    Tones->Print("%lld %lld %s %d %lld\n", static_cast<long long>(Lines / FrameLines),
                 static_cast<long long>(Lines % FrameLines), Call, Channel, Value);
  }
  void ToneOn(uint8_t Channel, uint32_t Frequency) {
    LogTone("ToneOn", Channel, Frequency);
    DriverToneOn(Channel, Frequency);
  }
  void ToneLevel(uint8_t Channel, int32_t Level) {
    LogTone("ToneLevel", Channel, Level);
    DriverToneLevel(Channel, Level);
  }

  const TOptions& Options;
  TSoundRecorder Sound; // before the console: its sound unit opens these devices
  TNES NES;
  int64_t Lines = 0;     // line events since power-on
  int64_t StartLine = 0; // where the run began: 0, or a loaded state's line
  uint64_t Executed = 0;
  std::optional<TOutputFile> Trace, Tones, StateOut;
  TToneOnEvent DriverToneOn;
  TToneLevelEvent DriverToneLevel;
  std::unique_ptr<TScriptedPads> Pads;
  std::array<uint8_t, 32> ShownPalette{};
};

} // namespace

int main(int argc, char** argv) {
  TOptions options;
  try {
    options = ParseOptions(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const TUsageError& error) {
    std::fprintf(stderr, "pixtor-headless: %s\n(pixtor-headless --help lists the options)\n", error.what());
    return 2;
  }
  if (options.Help || options.Version) {
    TOutputFile out = TOutputFile::StandardOutput();
    if (options.Help) out.Print("%s", RunnerUsage);
    else out.Print("pixtor-headless %s\n", PixtorVersion);
    try {
      out.Close();
    } catch (const std::runtime_error& error) {
      std::fprintf(stderr, "pixtor-headless: %s\n", error.what());
      return 1;
    }
    return 0;
  }
  std::vector<std::string> errors;
  try {
    // Checked before any file is opened, which would take descriptor 1 in its place.
    if (::fcntl(STDOUT_FILENO, F_GETFD) < 0)
      throw std::runtime_error(std::string("cannot write standard output: ") + std::strerror(errno));
    auto runner = std::make_unique<TRunner>(options);
    runner->Load();
    runner->PowerOn();
    auto start = std::chrono::steady_clock::now();
    runner->Run();
    std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    errors = runner->Finish(elapsed.count());
  } catch (const std::exception& error) {
    errors.emplace_back(error.what());
  }
  for (const std::string& error : errors) std::fprintf(stderr, "pixtor-headless: %s\n", error.c_str());
  return errors.empty() ? 0 : 1;
}
