// Runs the widely used nestest cartridge in automation mode and compares the
// processor's trace with the reference console's log, line by line, through
// both of the processor's paths to the console's bus.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "ConsolePaths.h"
#include "core/MMCUnit.h"
#include "core/NESUnit.h"
#include "tools/Trace.h"

namespace {

const std::filesystem::path TestROMs = PIXTOR_TESTROMS;

// The documented-opcode section ends where the log's line 5004 begins.
constexpr uint16_t EndOfDocumentedTests = 0xC6BD;
constexpr size_t DocumentedLines = 5003;

struct TTraceRow {
  unsigned PC = 0, A = 0, X = 0, Y = 0, P = 0, S = 0;
  std::string Mnemonic;
};

TTraceRow ParseRow(const std::string& line) {
  TTraceRow row;
  std::sscanf(line.c_str(), "%4x", &row.PC);
  row.Mnemonic = line.substr(16, 3);
  std::sscanf(line.c_str() + 48, "A:%2x X:%2x Y:%2x P:%2x SP:%2x", &row.A, &row.X, &row.Y, &row.P, &row.S);
  return row;
}

// Whether two aligned rows agree. The processor keeps bit 4 of P by its own
// rules (PHP pushes P as held, BRK's pushed copy has it set), so P may differ
// there everywhere, and so may A right after a PLA of a pushed status.
bool Agree(const TTraceRow& reference, const TTraceRow& ours, bool afterPLA) {
  unsigned aMask = afterPLA ? 0xEF : 0xFF;
  return reference.PC == ours.PC && ((reference.A ^ ours.A) & aMask) == 0 && reference.X == ours.X &&
         reference.Y == ours.Y && ((reference.P ^ ours.P) & 0xEF) == 0 && reference.S == ours.S;
}

struct TStretch {
  size_t First, Last; // reference log lines, from 1
  bool operator==(const TStretch&) const = default;
};

// Walks both traces; where the PCs part, finds the nearest point where the
// next few PCs agree again. Every row that disagrees, and every row that only
// one trace has, belongs to a divergent stretch.
std::vector<TStretch> Divergences(const std::vector<TTraceRow>& reference, const std::vector<TTraceRow>& ours) {
  constexpr size_t Window = 4, Reach = 200;
  auto samePath = [&](size_t i, size_t j) {
    for (size_t k = 0; k < Window; ++k) {
      if (i + k >= reference.size() || j + k >= ours.size()) return i + k >= reference.size() && j + k >= ours.size();
      if (reference[i + k].PC != ours[j + k].PC) return false;
    }
    return true;
  };
  std::vector<TStretch> stretches;
  auto mark = [&](size_t line) {
    if (!stretches.empty() && stretches.back().Last + 1 >= line) stretches.back().Last = std::max(stretches.back().Last, line);
    else stretches.push_back({line, line});
  };
  size_t i = 0, j = 0;
  while (i < reference.size() && j < ours.size()) {
    if (reference[i].PC == ours[j].PC) {
      if (!Agree(reference[i], ours[j], i > 0 && reference[i - 1].Mnemonic == "PLA")) mark(i + 1);
      ++i, ++j;
      continue;
    }
    size_t di = 0, dj = 0;
    bool found = false;
    for (size_t distance = 1; distance <= Reach && !found; ++distance) {
      for (di = 0; di <= distance && !found; ++di) {
        dj = distance - di;
        found = samePath(i + di, j + dj);
      }
    }
    if (!found) {
      mark(i + 1);
      mark(reference.size());
      return stretches;
    }
    --di;
    // The rows only one side has; where only ours has rows, the reference row they precede.
    for (size_t k = 0; k < std::max<size_t>(di, 1); ++k) mark(std::min(i + k + 1, reference.size()));
    i += di, j += dj;
  }
  if (i < reference.size() || j < ours.size()) mark(std::min(i + 1, reference.size()));
  return stretches;
}

class Nestest : public ::testing::TestWithParam<TPath> {
public:
  TNES NES;
  TSlotForwarder Forwarder{NES};
  std::vector<TTraceRow> Trace;

  void Present() {}
  bool Record(TCPU* cpu) {
    if (cpu->PC == EndOfDocumentedTests) return false;
    Trace.push_back(ParseRow(TraceLine(NES)));
    return Trace.size() < 20000;
  }
};

TEST_P(Nestest, DocumentedOpcodesFollowTheReferenceLogExceptWhereThisProcessorDiffers) {
  std::ifstream log(TestROMs / "nestest.log");
  if (!std::filesystem::exists(TestROMs / "nestest.nes") || !log)
    GTEST_SKIP() << "reference cartridge not found in " << TestROMs;
  std::vector<TTraceRow> reference;
  for (std::string line; reference.size() < DocumentedLines && std::getline(log, line);)
    reference.push_back(ParseRow(line));

  ASSERT_TRUE(NES.MMC->LoadROM((TestROMs / "nestest.nes").string()));
  NES.Present = TPresentEvent::Bind<&Nestest::Present>(this);
  NES.FrameRate = 1;
  NES.PowerOn();
  Forwarder.Install(GetParam());
  NES.Reset();
  NES.CPU->PC = 0xC000;
  NES.CPU->P = 0x24;
  NES.CPU->S = 0xFD;
  NES.CPU->RunWatched(TInstructionEvent::Bind<&Nestest::Record>(this));
  ASSERT_EQ(NES.CPU->PC, EndOfDocumentedTests);

  // Where this processor's own rules send it elsewhere, with the reference log's lines.
  const std::vector<std::pair<TStretch, const char*>> expected = {
      {{219, 386}, "decimal mode is honoured: ADC at $C91C and the tests after it fail and keep "
                   "their error code in X"},
      {{1062, 1063}, "LDA $00 reads the error code the decimal tests left"},
      {{1101, 1121}, "LDA ($FF,X) takes its pointer's high byte from $0100"},
      {{1130, 1141}, "STA ($FF,X) stores through the $0100 pointer; the check reads it back"},
      {{3059, 3060}, "LDA $00 reads the error code the pointer tests left"},
      {{3066, 3076}, "LDA ($FF),Y takes its pointer's high byte from $0100"},
      {{3251, 3252}, "the error code in $00 is copied to $10"},
      {{3349, 3363}, "JMP ($02FF) takes its high byte from $0300 and runs through other code "
                     "until the registers are loaded again"},
  };
  std::vector<TStretch> want;
  for (const auto& [stretch, cause] : expected) want.push_back(stretch);
  std::vector<TStretch> found = Divergences(reference, Trace);
  std::ostringstream lines;
  for (const TStretch& s : found) lines << ' ' << s.First << '-' << s.Last;
  EXPECT_EQ(found, want) << "divergent stretches (reference log lines):" << lines.str();

  EXPECT_GT(Trace.size(), reference.size());
  EXPECT_LT(Trace.size(), reference.size() + 60);
  EXPECT_EQ(NES.RAM[0x10], 0xEC) << "the last failing documented-opcode test";
  EXPECT_EQ(NES.RAM[0x11], 0x00);
  EXPECT_EQ(Forwarder.Calls > 0, GetParam() == TPath::Slots);
}

INSTANTIATE_TEST_SUITE_P(Paths, Nestest, ::testing::Values(TPath::Direct, TPath::Slots),
                         [](const auto& info) { return std::string(PathName(info.param)); });

} // namespace
