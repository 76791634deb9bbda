#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

// The headless runner's command line.

extern const char RunnerUsage[];

// The longest run: ten million frames, about 46 hours of console time.
inline constexpr int64_t MaxFrames = 10'000'000;
// More instructions than the longest run can execute.
inline constexpr uint64_t MaxInstructions = 1'000'000'000'000;

struct TRange {
  uint32_t Addr = 0;
  uint32_t Length = 0;
};

struct TRegisters {
  std::optional<uint8_t> A, X, Y, P, S;
};

struct TOptions {
  std::string Cartridge;
  int64_t Frames = 60;
  int32_t FrameRate = 1;
  std::optional<uint16_t> Start;
  TRegisters Registers;
  std::optional<uint64_t> Instructions;
  std::string TraceFile;
  std::vector<TRange> Dumps;
  std::vector<TRange> VRAMDumps;
  std::string SnapshotFile;
  bool Hash = false;
  bool Help = false;
  bool Version = false;
  std::string InputFile;
  std::string TonesFile;
  std::string WavFile;
  std::string MidiFile;
  std::string LoadStateFile;
  std::string SaveStateFile;
};

// A command line the runner refuses; the message names what was typed.
struct TUsageError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Reads and checks the arguments (without the program name) before anything
// is loaded or created: numbers, ranges, and the files' names (an output
// that is the cartridge, the input script or another output is refused).
// Throws TUsageError.
TOptions ParseOptions(const std::vector<std::string>& Args);
