// pixtor-headless: runs a cartridge with no window and no pacing.

#include <cerrno>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <fstream>

#include "core/JOYUnit.h"
#include "core/MMCUnit.h"
#include "core/NESUnit.h"
#include "core/PPUUnit.h"
#include "core/PSGUnit.h"
#include "platform/DIB.h"
#include "tools/InputScript.h"
#include "tools/SoundRecorder.h"
#include "tools/Trace.h"

namespace {

const char Usage[] = R"(usage: pixtor-headless [options] CARTRIDGE

Powers the console on, resets it and runs the cartridge with no window and
no pacing, then prints "frames N seconds S fps F".

  --frames N            run N frames (default 60); the run stops on line 8 of frame N+1
  --frame-rate D        frame divisor: draw one frame in D (default 1)
  --start ADDR          start at ADDR (hex) instead of the reset vector
  --regs A=..,X=..,Y=..,P=..,S=..
                        set registers (hex) before running
  --instructions N      stop after N instructions
  --trace FILE          write one line per instruction, before it executes
  --dump ADDR:LEN       at the end, print processor memory (hex), 16 bytes a line
  --dump-vram ADDR:LEN  at the end, print picture-unit memory (hex), 16 bytes a line
  --snapshot FILE.bmp   write the picture last presented as an 8-bit BMP
  --hash                print a hash of the picture last presented and its palette RAM
  --input FILE          feed the joypads from a script: lines "FRAME PAD BUTTON..."
  --tones FILE          log every sound driver call: frame, line, call, channel, value
  --wav FILE            render the run's sound offline into a 44.1 kHz 16-bit WAV:
                        the synthesizer, or the speaker when no SoundFont loads
  --midi FILE           write every MIDI message of the run as a Standard MIDI File
                        (format 0, emulated time); the MIDI driver is always chosen
)";

struct TRange {
  uint32_t Addr = 0;
  uint32_t Length = 0;
};

struct TOptions {
  std::string Cartridge;
  int64_t Frames = 60;
  int32_t FrameRate = 1;
  std::optional<uint16_t> Start;
  std::string Registers;
  std::optional<uint64_t> Instructions;
  std::string TraceFile;
  std::vector<TRange> Dumps;
  std::vector<TRange> VRAMDumps;
  std::string SnapshotFile;
  bool Hash = false;
  std::string InputFile;
  std::string TonesFile;
  std::string WavFile;
  std::string MidiFile;
};

[[noreturn]] void Fail(const std::string& message, int code = 2) {
  std::fprintf(stderr, "pixtor-headless: %s\n", message.c_str());
  std::exit(code);
}

uint64_t ParseNumber(const std::string& text, int base, const char* what) {
  std::string digits = text;
  if (base == 16 && !digits.empty() && digits[0] == '$') digits.erase(0, 1);
  else if (base == 16 && digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X'))
    digits.erase(0, 2);
  char* end = nullptr;
  errno = 0;
  uint64_t value = std::strtoull(digits.c_str(), &end, base);
  if (digits.empty() || *end != '\0' || errno != 0 || digits[0] == '-')
    Fail(std::string("bad ") + what + ": \"" + text + "\"");
  return value;
}

TRange ParseRange(const std::string& text, uint32_t limit) {
  size_t colon = text.find(':');
  if (colon == std::string::npos) Fail("a range is ADDR:LEN, got \"" + text + "\"");
  uint64_t addr = ParseNumber(text.substr(0, colon), 16, "address");
  uint64_t length = ParseNumber(text.substr(colon + 1), 16, "length");
  if (addr >= limit || length > limit - addr) Fail("range \"" + text + "\" runs past the end of memory");
  return {static_cast<uint32_t>(addr), static_cast<uint32_t>(length)};
}

TOptions ParseOptions(int argc, char** argv) {
  TOptions options;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    auto value = [&]() -> std::string {
      if (i + 1 >= argc) Fail(arg + " needs a value");
      return argv[++i];
    };
    if (arg == "--help" || arg == "-h") {
      std::fputs(Usage, stdout);
      std::exit(0);
    } else if (arg == "--frames") {
      options.Frames = static_cast<int64_t>(ParseNumber(value(), 10, "frame count"));
    } else if (arg == "--frame-rate") {
      uint64_t divisor = ParseNumber(value(), 10, "frame divisor");
      if (divisor < 1 || divisor > 1000) Fail("the frame divisor is 1 to 1000");
      options.FrameRate = static_cast<int32_t>(divisor);
    } else if (arg == "--start") {
      options.Start = static_cast<uint16_t>(ParseRange(value() + ":0", 0x10000).Addr);
    } else if (arg == "--regs") {
      options.Registers = value();
    } else if (arg == "--instructions") {
      options.Instructions = ParseNumber(value(), 10, "instruction count");
    } else if (arg == "--trace") {
      options.TraceFile = value();
    } else if (arg == "--dump") {
      options.Dumps.push_back(ParseRange(value(), 0x10000));
    } else if (arg == "--dump-vram") {
      options.VRAMDumps.push_back(ParseRange(value(), 0x4000));
    } else if (arg == "--snapshot") {
      options.SnapshotFile = value();
    } else if (arg == "--hash") {
      options.Hash = true;
    } else if (arg == "--input") {
      options.InputFile = value();
    } else if (arg == "--tones") {
      options.TonesFile = value();
    } else if (arg == "--wav") {
      options.WavFile = value();
    } else if (arg == "--midi") {
      options.MidiFile = value();
    } else if (!arg.empty() && arg[0] == '-') {
      Fail("unknown option " + arg + "\n" + Usage);
    } else if (options.Cartridge.empty()) {
      options.Cartridge = arg;
    } else {
      Fail("only one cartridge, please");
    }
  }
  if (options.Cartridge.empty()) Fail(std::string("no cartridge named\n") + Usage);
  return options;
}

void SetRegisters(TCPU& cpu, const std::string& list) {
  size_t pos = 0;
  while (pos < list.size()) {
    size_t comma = list.find(',', pos);
    std::string item = list.substr(pos, comma == std::string::npos ? std::string::npos : comma - pos);
    pos = comma == std::string::npos ? list.size() : comma + 1;
    size_t equals = item.find('=');
    if (equals == std::string::npos) Fail("a register is NAME=VALUE, got \"" + item + "\"");
    std::string name = item.substr(0, equals);
    uint64_t value = ParseNumber(item.substr(equals + 1), 16, "register value");
    if (value > 0xFF) Fail("register " + name + " takes one byte");
    uint8_t byte = static_cast<uint8_t>(value);
    if (name == "A") cpu.A = byte;
    else if (name == "X") cpu.X = byte;
    else if (name == "Y") cpu.Y = byte;
    else if (name == "P") cpu.P = byte;
    else if (name == "S" || name == "SP") cpu.S = byte;
    else Fail("unknown register " + name);
  }
}

template <typename Peek> void Dump(const TRange& range, Peek peek) {
  for (uint32_t line = 0; line < range.Length; line += 16) {
    std::printf("%04X:", range.Addr + line);
    for (uint32_t i = line; i < range.Length && i < line + 16; ++i) std::printf(" %02X", peek(range.Addr + i));
    std::printf("\n");
  }
}

struct TFileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using TFile = std::unique_ptr<std::FILE, TFileCloser>;

TFile CreateFile(const std::string& Path) {
  TFile file(std::fopen(Path.c_str(), "w"));
  if (!file) Fail("cannot write " + Path + ": " + std::strerror(errno), 1);
  return file;
}

// 64-bit FNV-1a.
uint64_t Hash(const uint8_t* Bytes, size_t Count, uint64_t Value = 0xCBF29CE484222325ull) {
  for (size_t i = 0; i < Count; ++i) Value = (Value ^ Bytes[i]) * 0x100000001B3ull;
  return Value;
}

// Drives the console: counts line events into frames, feeds the joypads from
// a script, logs the sound driver calls, keeps what was presented, and
// watches instructions when a trace or an instruction limit is asked for.
class TRunner {
public:
  explicit TRunner(const TOptions& Options) : Options(Options), Sound(Options.WavFile, Options.MidiFile) {}

  void Load() {
    if (!NES.MMC->LoadROM(Options.Cartridge)) {
      const std::string& reason = NES.MMC->MappingName;
      Fail(Options.Cartridge + ": " +
               (NES.MMC->FileName.empty() ? "no such file"
                : reason.empty()          ? "not an iNES image"
                                          : reason),
           1);
    }
  }

  void PowerOn() {
    if (!Options.InputFile.empty()) {
      std::ifstream script(Options.InputFile);
      if (!script) Fail("cannot read " + Options.InputFile + ": " + std::strerror(errno), 1);
      Pads = std::make_unique<TScriptedPads>(ReadInputScript(script));
      NES.SetInput(&Pads->Pad1, &Pads->Pad2);
    }
    if (!Options.TonesFile.empty()) {
      // The log sits in front of the voice driver the sound unit chose, which still plays every call.
      Tones = CreateFile(Options.TonesFile);
      DriverToneOn = std::exchange(NES.PSG->OnToneOn, TToneOnEvent::Bind<&TRunner::ToneOn>(this));
      DriverToneLevel = std::exchange(NES.PSG->OnToneLevel, TToneLevelEvent::Bind<&TRunner::ToneLevel>(this));
    }
    if (!Options.TraceFile.empty()) Trace = CreateFile(Options.TraceFile);
    KeepPicture = Options.Hash || !Options.SnapshotFile.empty();

    NES.FrameRate = Options.FrameRate;
    NES.Present = TPresentEvent::Bind<&TRunner::Present>(this);
    NES.PowerOn();
    NES.CPU->OnLoop = TLoopEvent::Bind<&TRunner::Loop>(this);
    NES.Reset();
    if (Options.Start) NES.CPU->PC = *Options.Start;
    SetRegisters(*NES.CPU, Options.Registers);
  }

  void Run() {
    if (Options.Frames == 0) return;
    if (Trace || Options.Instructions) {
      NES.Running = true;
      NES.CPU->RunWatched(TInstructionEvent::Bind<&TRunner::Instruction>(this));
    } else {
      NES.Run();
    }
  }

  void Report(double Seconds) {
    int64_t frames = Lines / FrameLines;
    std::printf("frames %lld seconds %.3f fps %.1f\n", static_cast<long long>(frames), Seconds,
                Seconds > 0 ? frames / Seconds : 0.0);
    if (Options.Hash) {
      uint64_t hash = ::Hash(Shown.ScanLine(0), TDIB::Width * TDIB::Height);
      std::printf("%016llx\n", static_cast<unsigned long long>(::Hash(ShownPalette.data(), 32, hash)));
    }
    if (!Options.SnapshotFile.empty()) {
      Shown.SaveToFile(Options.SnapshotFile);
      std::printf("snapshot %s\n", Options.SnapshotFile.c_str());
    }
    Sound.Save(Lines);
    for (const TRange& range : Options.Dumps) Dump(range, [this](uint32_t a) { return PeekByte(NES, a); });
    for (const TRange& range : Options.VRAMDumps) {
      Dump(range, [this](uint32_t a) { return a < 0x2000 ? NES.PatternBank[a >> 10][a] : NES.PPU->VRAM[a]; });
    }
  }

private:
  // The runner's display: keeps a copy of the frame and its palette RAM as presented.
  void Present() {
    if (!KeepPicture) return;
    NES.PPU->UpdatePalette();
    Shown = *NES.PPU->FrameBuffer;
    std::copy_n(NES.PPU->VRAM.begin() + 0x3F00, ShownPalette.size(), ShownPalette.begin());
  }

  void Loop(TCPU* Sender, uint8_t& Interrupt) {
    ++Lines;
    Sound.SetLine(Lines);
    if (Pads) Pads->SetFrame(Lines / FrameLines);
    NES.CPULoop(Sender, Interrupt);
    if (Lines == Options.Frames * FrameLines) NES.Pause();
  }

  bool Instruction(TCPU*) {
    if (Options.Instructions && Executed >= *Options.Instructions) return false;
    if (Trace) {
      std::string line = TraceLine(NES);
      std::fprintf(Trace.get(), "%s\n", line.c_str());
    }
    ++Executed;
    return true;
  }

  // Calls made during a line event (the frame's sound step) count on the line that event begins.
  void LogTone(const char* Call, uint8_t Channel, long long Value) {
    std::fprintf(Tones.get(), "%lld %lld %s %d %lld\n", static_cast<long long>(Lines / FrameLines),
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
  int64_t Lines = 0;
  uint64_t Executed = 0;
  TFile Trace, Tones;
  TToneOnEvent DriverToneOn;
  TToneLevelEvent DriverToneLevel;
  std::unique_ptr<TScriptedPads> Pads;
  bool KeepPicture = false;
  TDIB Shown;
  std::array<uint8_t, 32> ShownPalette{};
};

} // namespace

int main(int argc, char** argv) {
  TOptions options = ParseOptions(argc, argv);
  try {
    auto runner = std::make_unique<TRunner>(options);
    runner->Load();
    runner->PowerOn();
    auto start = std::chrono::steady_clock::now();
    runner->Run();
    std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    runner->Report(elapsed.count());
  } catch (const std::exception& error) {
    Fail(error.what(), 1);
  }
  return 0;
}
