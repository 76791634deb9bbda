#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/RunnerOptions.h"

namespace {

// The message ParseOptions refuses Args with, empty when it accepts them.
std::string Refusal(const std::vector<std::string>& Args) {
  try {
    ParseOptions(Args);
  } catch (const TUsageError& error) {
    return error.what();
  }
  return "";
}

TEST(RunnerOptions, NumbersAreStrictAndInRange) {
  const struct {
    std::vector<std::string> Args;
    std::string Refused; // the start of the message; empty: accepted
  } cases[] = {
      {{"--frames", "10000000"}, ""},
      {{"--frames", "18446744073709551615"}, "--frames \"18446744073709551615\": frames are 1 to 10000000"},
      {{"--frames", "99999999999999999999999"}, "--frames \"99999999999999999999999\": frames are 1 to"},
      {{"--frames", "10000001"}, "--frames \"10000001\""},
      {{"--frames", "0"}, "--frames \"0\""},
      {{"--frames", " -1"}, "--frames \" -1\""},
      {{"--frames", " 5"}, "--frames \" 5\""},
      {{"--frames", "+5"}, "--frames \"+5\""},
      {{"--frames", "5x"}, "--frames \"5x\""},
      {{"--frames", ""}, "--frames \"\""},
      {{"--frame-rate", "1000"}, ""},
      {{"--frame-rate", "1001"}, "--frame-rate \"1001\": the frame divisor is 1 to 1000"},
      {{"--instructions", "1000000000000"}, ""},
      {{"--instructions", "1000000000001"}, "--instructions \"1000000000001\""},
      {{"--start", "$FFFF"}, ""},
      {{"--start", "0xc000"}, ""},
      {{"--start", "10000"}, "--start \"10000\": an address is 0 to FFFF (hex)"},
      {{"--start", "0x"}, "--start \"0x\""},
      {{"--start", "$-1"}, "--start \"$-1\""},
      {{"--dump", "FFF0:10"}, ""},
      {{"--dump", "0:0"}, "--dump \"0:0\": a range is ADDR:LEN (hex), ADDR 0 to FFFF, LEN 1 to 10000 - ADDR"},
      {{"--dump", "FFF0:11"}, "--dump \"FFF0:11\""},
      {{"--dump", "10"}, "--dump \"10\""},
      {{"--dump-vram", "3FFF:1"}, ""},
      {{"--dump-vram", "4000:1"}, "--dump-vram \"4000:1\": a range is ADDR:LEN (hex), ADDR 0 to 3FFF"},
      {{"--regs", "A=1,X=$FF,Y=0x2,P=24,SP=FD,S=0"}, ""},
      {{"--regs", "Q=1"}, "--regs \"Q=1\": registers are NAME=VALUE"},
      {{"--regs", "A=100"}, "--regs \"A=100\": a register value is 0 to FF (hex)"},
      {{"--regs", "A=1,"}, "--regs \"A=1,\""},
      {{"--regs", "A"}, "--regs \"A\""},
      {{"--frames", "1463277", "--wav", "x.wav"}, ""},
      {{"--frames", "1463278", "--wav", "x.wav"},
       "--wav \"x.wav\": 1463278 frames of sound are more than a WAV file holds (4 GiB, 1463277 frames)"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = c.Args;
    args.push_back("cart.nes");
    const std::string refusal = Refusal(args);
    EXPECT_EQ(refusal.substr(0, c.Refused.size()), c.Refused) << c.Args[0] << " " << c.Args[1];
    EXPECT_EQ(refusal.empty(), c.Refused.empty()) << c.Args[0] << " " << c.Args[1] << ": " << refusal;
  }
}

TEST(RunnerOptions, FileNamesMayNotCollide) {
  const struct {
    std::vector<std::string> Args;
    std::string Refused;
  } cases[] = {
      {{"--tones", "cart.nes", "cart.nes"}, "--tones \"cart.nes\": is also the cartridge"},
      {{"--snapshot", "./sub/../cart.nes", "cart.nes"}, "--snapshot \"./sub/../cart.nes\": is also the cartridge"},
      {{"--wav", "x", "--midi", "x", "cart.nes"}, "--midi \"x\": is also --wav"},
      {{"--tones", "x", "--trace", "./x", "cart.nes"}, "--tones \"x\": is also --trace"},
      {{"--input", "s.txt", "--trace", "s.txt", "cart.nes"}, "--trace \"s.txt\": is also --input"},
      {{"--wav", "/dev/null", "--midi", "/dev/null", "cart.nes"}, ""},
      {{"--trace", "/dev/stdout", "--tones", "/dev/stdout", "cart.nes"}, ""}, // both join standard output
      {{"--snapshot", "-o", "cart.nes"}, "--snapshot \"-o\": a file name is needed"},
      {{"--trace", "--hash", "cart.nes"}, "--trace \"--hash\": a file name is needed"},
      {{"--midi", "", "cart.nes"}, "--midi \"\": a file name is needed"},
      {{"--trace"}, "--trace needs a value"},
      {{"--hash", "-o", "cart.nes"}, "unknown option \"-o\""},
      {{"a.nes", "b.nes"}, "only one cartridge, please (\"a.nes\" and \"b.nes\")"},
      {{"--hash"}, "no cartridge named"},
      {{"--load-state", "s", "--save-state", "s", "cart.nes"}, "--save-state \"s\": is also --load-state"},
      {{"--load-state", "a", "--save-state", "b", "cart.nes"}, ""},
      {{"--save-state", "s", "--instructions", "9", "cart.nes"},
       "--save-state \"s\": a state is taken between frames; --instructions stops within one"},
      {{"--load-state", "s", "--regs", "A=1", "cart.nes"},
       "--load-state \"s\": the state sets the processor; --start and --regs can't as well"},
      {{"--load-state", "s", "--start", "8000", "cart.nes"}, "--load-state \"s\": the state sets the processor"},
  };
  for (const auto& c : cases) {
    const std::string refusal = Refusal(c.Args);
    EXPECT_EQ(refusal.substr(0, c.Refused.size()), c.Refused) << c.Args[0];
    EXPECT_EQ(refusal.empty(), c.Refused.empty()) << c.Args[0] << ": " << refusal;
  }
}

TEST(RunnerOptions, ValuesReachTheOptions) {
  const TOptions options = ParseOptions(
      {"--frames", "7", "--start", "$C000", "--regs", "P=24,SP=FD", "--dump", "10:2", "--dump-vram", "3F00:20", "c.nes"});
  EXPECT_EQ(options.Frames, 7);
  EXPECT_EQ(options.Start, 0xC000);
  EXPECT_EQ(options.Registers.P, 0x24);
  EXPECT_EQ(options.Registers.S, 0xFD);
  EXPECT_FALSE(options.Registers.A);
  ASSERT_EQ(options.Dumps.size(), 1u);
  EXPECT_EQ(options.Dumps[0].Addr, 0x10u);
  EXPECT_EQ(options.Dumps[0].Length, 2u);
  EXPECT_EQ(options.VRAMDumps[0].Length, 0x20u);
  EXPECT_EQ(options.Cartridge, "c.nes");
}

} // namespace
