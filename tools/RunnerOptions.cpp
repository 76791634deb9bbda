#include "tools/RunnerOptions.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <sys/stat.h>
#include <utility>

#include "core/NESUnit.h"
#include "tools/OutputFile.h"
#include "tools/SoundRecorder.h"
#include "tools/WavWriter.h"

const char RunnerUsage[] = R"(usage: pixtor-headless [options] CARTRIDGE

Powers the console on, resets it and runs the cartridge with no window and
no pacing, then prints "frames N seconds S fps F".

  --frames N            run N frames, 1 to 10000000 (default 60); the run
                        stops on line 8 of frame N+1
  --frame-rate D        frame divisor: draw one frame in D, 1 to 1000 (default 1)
  --start ADDR          start at ADDR (hex, 0 to FFFF) instead of the reset vector
  --regs A=..,X=..,Y=..,P=..,S=..
                        set registers (hex, 0 to FF) before running
  --instructions N      stop after N instructions, 1 to 1000000000000
  --trace FILE          write one line per instruction, before it executes
  --dump ADDR:LEN       at the end, print processor memory (hex), 16 bytes a line
  --dump-vram ADDR:LEN  at the end, print picture-unit memory (hex), 16 bytes a line
  --snapshot FILE.bmp   write the picture last presented as an 8-bit BMP
  --hash                print a hash of the picture last presented and its palette RAM
  --input FILE          feed the joypads from a script: lines "FRAME PAD BUTTON..."
  --tones FILE          log every sound driver call: frame, line, call, channel, value
  --wav FILE            render the run's sound into a 44.1 kHz 16-bit WAV (at most
                        4 GiB, 1463277 frames): the synthesizer, or the speaker
                        when no SoundFont loads
  --midi FILE           write every MIDI message of the run as a Standard MIDI File
                        (format 0, emulated time); the MIDI driver is always chosen
  --load-state FILE     after power-on and reset, put a save state in place; the run
                        goes on from its frame (--frames and --input still count
                        from power-on), sound files start there
  --save-state FILE     at the end, write the console's state as a save state
  --version             print the runner's version and exit
)";

namespace {

namespace fs = std::filesystem;

[[noreturn]] void Refuse(const std::string& Option, const std::string& Value, const std::string& Why) {
  throw TUsageError(Option + " \"" + Value + "\": " + Why);
}

// Decimal digits only, or hexadecimal digits after an optional "$" or "0x".
std::optional<uint64_t> Number(std::string_view Text, int Base) {
  if (Base == 16) {
    if (Text.starts_with('$')) Text.remove_prefix(1);
    else if (Text.starts_with("0x") || Text.starts_with("0X")) Text.remove_prefix(2);
  }
  const bool digits = !Text.empty() && std::all_of(Text.begin(), Text.end(), [Base](char c) {
    return Base == 16 ? std::isxdigit(uint8_t(c)) : std::isdigit(uint8_t(c));
  });
  uint64_t value = 0;
  if (!digits || std::from_chars(Text.data(), Text.data() + Text.size(), value, Base).ec != std::errc())
    return std::nullopt;
  return value;
}

uint64_t NumberIn(const std::string& Option, const std::string& Text, int Base, uint64_t Low, uint64_t High,
                  const std::string& What) {
  const std::optional<uint64_t> value = Number(Text, Base);
  if (!value || *value < Low || *value > High) Refuse(Option, Text, What);
  return *value;
}

std::string Hex(uint32_t Value) {
  char text[12];
  std::snprintf(text, sizeof text, "%X", Value);
  return text;
}

// ADDR:LEN (hex) inside a memory of Size bytes, LEN at least 1.
TRange Range(const std::string& Option, const std::string& Text, uint32_t Size) {
  const std::string why = "a range is ADDR:LEN (hex), ADDR 0 to " + Hex(Size - 1) + ", LEN 1 to " + Hex(Size) +
                          " - ADDR";
  const size_t colon = Text.find(':');
  if (colon == std::string::npos) Refuse(Option, Text, why);
  const std::optional<uint64_t> addr = Number(std::string_view(Text).substr(0, colon), 16);
  const std::optional<uint64_t> length = Number(std::string_view(Text).substr(colon + 1), 16);
  if (!addr || !length || *addr >= Size || *length < 1 || *length > Size - *addr) Refuse(Option, Text, why);
  return {uint32_t(*addr), uint32_t(*length)};
}

TRegisters Registers(const std::string& Option, const std::string& Text) {
  TRegisters registers;
  const std::string_view list = Text;
  for (size_t start = 0; start <= list.size();) {
    const std::string_view item = list.substr(start, list.find(',', start) - start);
    start += item.size() + 1;
    const size_t equals = item.find('=');
    const std::string_view name = item.substr(0, std::min(equals, item.size()));
    std::optional<uint8_t>* slot = name == "A"                 ? &registers.A
                                   : name == "X"               ? &registers.X
                                   : name == "Y"               ? &registers.Y
                                   : name == "P"               ? &registers.P
                                   : name == "S" || name == "SP" ? &registers.S
                                                                 : nullptr;
    if (!slot || equals == std::string_view::npos)
      Refuse(Option, Text, "registers are NAME=VALUE, separated by commas, NAME one of A, X, Y, P, S (or SP)");
    const std::optional<uint64_t> value = Number(item.substr(equals + 1), 16);
    if (!value || *value > 0xFF) Refuse(Option, Text, "a register value is 0 to FF (hex)");
    *slot = uint8_t(*value);
  }
  return registers;
}

// The sound of Frames frames fits a WAV file; the run ends on line 8 of the frame after the last.
bool WavHolds(int64_t Frames) { return WavFileBytes((Frames + 1) * FrameLines) <= TWavWriter::MaxBytes; }

int64_t MaxWavFrames() {
  int64_t low = 1, high = MaxFrames;
  while (low < high) {
    const int64_t middle = (low + high + 1) / 2;
    if (WavHolds(middle)) low = middle;
    else high = middle - 1;
  }
  return low;
}

// A file's name: not empty, and not what looks like an option unless a file has that name.
std::string FileName(const std::string& Option, const std::string& Text) {
  std::error_code error;
  if (Text.empty()) Refuse(Option, Text, "a file name is needed");
  if (Text[0] == '-' && !fs::exists(Text, error))
    Refuse(Option, Text, "a file name is needed (no file has this name; an option?)");
  return Text;
}

// Outputs may not write over the inputs or over each other: names are
// compared as the paths they lead to. A device (/dev/null) or the runner's
// standard output or error, all written as streams, may take several.
void CheckFileNames(const TOptions& Options) {
  struct TNamed {
    const char* Option;
    const std::string& Path;
    bool Output;
  };
  const TNamed files[] = {
      {"the cartridge", Options.Cartridge, false},  {"--input", Options.InputFile, false},
      {"--trace", Options.TraceFile, true},         {"--snapshot", Options.SnapshotFile, true},
      {"--tones", Options.TonesFile, true},         {"--wav", Options.WavFile, true},
      {"--midi", Options.MidiFile, true},           {"--load-state", Options.LoadStateFile, false},
      {"--save-state", Options.SaveStateFile, true}};
  auto where = [](const std::string& Path) {
    std::error_code error;
    const fs::path absolute = fs::absolute(Path, error);
    const fs::path path = fs::weakly_canonical(absolute, error);
    return error ? absolute : path;
  };
  for (size_t i = 0; i < std::size(files); ++i) {
    if (!files[i].Output || files[i].Path.empty()) continue;
    struct stat info;
    if (::stat(files[i].Path.c_str(), &info) == 0 && (S_ISCHR(info.st_mode) || StandardStreamAt(files[i].Path)))
      continue;
    for (size_t j = 0; j < std::size(files); ++j) {
      if (j == i || files[j].Path.empty() || where(files[i].Path) != where(files[j].Path)) continue;
      if (!files[j].Output || j < i)
        Refuse(files[i].Option, files[i].Path, std::string("is also ") + files[j].Option);
    }
  }
}

} // namespace

TOptions ParseOptions(const std::vector<std::string>& Args) {
  TOptions options;
  for (size_t i = 0; i < Args.size(); ++i) {
    const std::string& arg = Args[i];
    auto value = [&]() -> const std::string& {
      if (i + 1 >= Args.size()) throw TUsageError(arg + " needs a value");
      return Args[++i];
    };
    if (arg == "--help" || arg == "-h") {
      options.Help = true;
      return options;
    } else if (arg == "--version") {
      options.Version = true;
      return options;
    } else if (arg == "--frames") {
      options.Frames = int64_t(NumberIn(arg, value(), 10, 1, MaxFrames, "frames are 1 to " + std::to_string(MaxFrames)));
    } else if (arg == "--frame-rate") {
      options.FrameRate = int32_t(NumberIn(arg, value(), 10, 1, 1000, "the frame divisor is 1 to 1000"));
    } else if (arg == "--start") {
      options.Start = uint16_t(NumberIn(arg, value(), 16, 0, 0xFFFF, "an address is 0 to FFFF (hex)"));
    } else if (arg == "--regs") {
      options.Registers = Registers(arg, value());
    } else if (arg == "--instructions") {
      options.Instructions =
          NumberIn(arg, value(), 10, 1, MaxInstructions, "instructions are 1 to " + std::to_string(MaxInstructions));
    } else if (arg == "--trace") {
      options.TraceFile = FileName(arg, value());
    } else if (arg == "--dump") {
      options.Dumps.push_back(Range(arg, value(), 0x10000));
    } else if (arg == "--dump-vram") {
      options.VRAMDumps.push_back(Range(arg, value(), 0x4000));
    } else if (arg == "--snapshot") {
      options.SnapshotFile = FileName(arg, value());
    } else if (arg == "--hash") {
      options.Hash = true;
    } else if (arg == "--input") {
      options.InputFile = FileName(arg, value());
    } else if (arg == "--tones") {
      options.TonesFile = FileName(arg, value());
    } else if (arg == "--wav") {
      options.WavFile = FileName(arg, value());
    } else if (arg == "--midi") {
      options.MidiFile = FileName(arg, value());
    } else if (arg == "--load-state") {
      options.LoadStateFile = FileName(arg, value());
    } else if (arg == "--save-state") {
      options.SaveStateFile = FileName(arg, value());
    } else if (arg.empty()) {
      throw TUsageError("the cartridge's name is empty");
    } else if (arg[0] == '-') {
      throw TUsageError("unknown option \"" + arg + "\"");
    } else if (options.Cartridge.empty()) {
      options.Cartridge = arg;
    } else {
      throw TUsageError("only one cartridge, please (\"" + options.Cartridge + "\" and \"" + arg + "\")");
    }
  }
  if (options.Cartridge.empty()) throw TUsageError("no cartridge named");
  if (!options.WavFile.empty() && !WavHolds(options.Frames))
    Refuse("--wav", options.WavFile,
           std::to_string(options.Frames) + " frames of sound are more than a WAV file holds (4 GiB, " +
               std::to_string(MaxWavFrames()) + " frames)");
  // A state holds the processor as a pause leaves it, on line 8 of a frame.
  if (!options.SaveStateFile.empty() && options.Instructions)
    Refuse("--save-state", options.SaveStateFile,
           "a state is taken between frames; --instructions stops within one");
  if (!options.LoadStateFile.empty() && (options.Start || options.Registers.A || options.Registers.X ||
                                         options.Registers.Y || options.Registers.P || options.Registers.S))
    Refuse("--load-state", options.LoadStateFile,
           "the state sets the processor; --start and --regs can't as well");
  CheckFileNames(options);
  return options;
}
