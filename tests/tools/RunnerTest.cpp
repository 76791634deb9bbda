#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "PixtorVersion.h"

namespace {

namespace fs = std::filesystem;

std::string Cartridge(const char* Name) { return std::string(PIXTOR_ROM_DIR) + "/" + Name + ".nes"; }

std::string Contents(const fs::path& Path) {
  std::ifstream in(Path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Each test runs the runner in a fresh folder of its own.
class Runner : public testing::Test {
protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "pixtor-runner-XXXXXX").string();
    ASSERT_TRUE(mkdtemp(pattern.data()));
    Folder = pattern;
  }
  void TearDown() override { fs::remove_all(Folder); }

  // Runs the runner in the folder with Arguments (shell words) and standard
  // output sent as Output says; gives the exit status and keeps standard error.
  int Run(const std::string& Arguments, const std::string& Output = "> out.txt") {
    const std::string command =
        "cd '" + Folder.string() + "' && '" + PIXTOR_HEADLESS + "' " + Arguments + " " + Output + " 2> err.txt";
    const int status = std::system(command.c_str());
    Error = Contents(Folder / "err.txt");
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  fs::path Folder;
  std::string Error;
};

TEST_F(Runner, FailedWritesExitWithOneNamingTheFile) {
  const std::string sound = Cartridge("test_sound");
  const struct {
    std::string Arguments, Output, Message;
  } cases[] = {
      {"--midi /dev/full", "", "cannot write /dev/full: No space left on device"},
      {"--tones /dev/full", "", "cannot write /dev/full: No space left on device"},
      {"--trace /dev/full --instructions 2000", "", "cannot write /dev/full: No space left on device"},
      {"--wav /dev/full", "", "cannot write /dev/full: No space left on device"},
      {"--snapshot /dev/full", "", "cannot write /dev/full: No space left on device"},
      {"--wav no/such.wav", "", "cannot write no/such.wav: No such file or directory"},
      {"--hash", "> /dev/full", "cannot write standard output: No space left on device"},
      {"--dump 0:800", ">&-", "cannot write standard output: Bad file descriptor"},
      {"--input /", "", "cannot read /: it is a directory, not a file"},
      {"--input /proc/self/mem", "", "cannot read /proc/self/mem: Input/output error"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Run(c.Arguments + " '" + sound + "'", c.Output.empty() ? "> /dev/null" : c.Output), 1) << c.Arguments;
    EXPECT_NE(Error.find("pixtor-headless: " + c.Message + "\n"), std::string::npos) << c.Arguments << ": " << Error;
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(Folder), fs::directory_iterator()), 1); // err.txt alone
}

TEST_F(Runner, CartridgeThatIsNoFileSaysWhatItIs) {
  ASSERT_EQ(mkfifo((Folder / "pipe").c_str(), 0600), 0);
  const std::string tooLong(300, 'n');
  const struct {
    std::string Path, Message;
  } cases[] = {
      {".", "cannot read .: it is a directory, not a file"},
      {"pipe", "cannot read pipe: it is a pipe (FIFO), not a file"},
      {"/dev/zero", "cannot read /dev/zero: it is a device, not a file"},
      {tooLong, "cannot read " + tooLong + ": File name too long"},
      {"missing.nes", "cannot read missing.nes: No such file or directory"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Run("--trace t.txt --midi m.mid " + c.Path), 1) << c.Path;
    EXPECT_EQ(Error, "pixtor-headless: " + c.Message + "\n");
  }
  EXPECT_FALSE(fs::exists(Folder / "t.txt"));
  EXPECT_FALSE(fs::exists(Folder / "m.mid"));
}

TEST_F(Runner, UsageErrorComesFirstAndCreatesNothing) {
  EXPECT_EQ(Run("--trace t.txt --tones n.txt --regs Q=1 missing.nes"), 2);
  EXPECT_EQ(Error.rfind("pixtor-headless: --regs \"Q=1\":", 0), 0u) << Error;
  EXPECT_FALSE(fs::exists(Folder / "t.txt"));
  EXPECT_FALSE(fs::exists(Folder / "n.txt"));
}

// --version and --help answer on standard output before the rest of the line is looked at.
TEST_F(Runner, VersionAndHelpStopTheRun) {
  EXPECT_EQ(Run("--version --frames 0"), 0) << Error;
  EXPECT_EQ(Contents(Folder / "out.txt"), std::string("pixtor-headless ") + PixtorVersion + "\n");
  EXPECT_EQ(Run("--help missing.nes"), 0) << Error;
  EXPECT_EQ(Contents(Folder / "out.txt").rfind("usage: pixtor-headless ", 0), 0u);
  EXPECT_EQ(Run("--version", "> /dev/full"), 1);
  EXPECT_EQ(Error, "pixtor-headless: cannot write standard output: No space left on device\n");
}

TEST_F(Runner, OtherOutputsWrittenAfterAFailedSnapshot) {
  EXPECT_EQ(Run("--snapshot /dev/full --tones t.txt --midi m.mid --hash '" + Cartridge("test_sound") + "'"), 1);
  EXPECT_EQ(Error, "pixtor-headless: cannot write /dev/full: No space left on device\n");
  EXPECT_NE(Contents(Folder / "t.txt").find("ToneOn"), std::string::npos);
  EXPECT_EQ(Contents(Folder / "m.mid").substr(0, 4), "MThd");
  EXPECT_EQ(Contents(Folder / "out.txt").rfind("frames 60 ", 0), 0u);
}

// An output that leads to the runner's own standard output or error joins
// that stream: replacing the file behind it would lose the runner's report.
TEST_F(Runner, OutputNamingStandardOutputOrErrorJoinsThatStream) {
  const std::string sound = Cartridge("test_sound");
  for (const char* name : {"/dev/stdout", "/proc/self/fd/1", "/dev/stderr"}) {
    const bool toError = std::string(name) == "/dev/stderr";
    ASSERT_EQ(Run(std::string("--trace ") + name + " --instructions 3 --hash --dump 8000:2 '" + sound + "'"), 0)
        << name << ": " << Error;
    const std::string out = Contents(Folder / "out.txt");
    const std::string traced = toError ? Error : out;
    EXPECT_NE(traced.find(" SP:"), std::string::npos) << name << ": " << traced;
    EXPECT_NE(out.find("frames 0 "), std::string::npos) << name << ": " << out;
    EXPECT_NE(out.find("\n8000: 78 D8\n"), std::string::npos) << name << ": " << out;
    EXPECT_EQ(std::distance(fs::directory_iterator(Folder), fs::directory_iterator()), 2) << name;
  }
}

// Thousands of notes a frame go to the file as they come; its track length is filled in at the end.
TEST_F(Runner, FloodOfNotesStreamsIntoAWholeMidiFile) {
  ASSERT_EQ(Run("--frames 4 --midi m.mid '" + Cartridge("sound_flood") + "'"), 0) << Error;
  const std::string midi = Contents(Folder / "m.mid");
  ASSERT_GT(midi.size(), 22u);
  const uint32_t track = uint8_t(midi[18]) << 24 | uint8_t(midi[19]) << 16 | uint8_t(midi[20]) << 8 | uint8_t(midi[21]);
  EXPECT_EQ(track, midi.size() - 22);
  EXPECT_GT(midi.size(), 10000u * 3u);
  EXPECT_EQ(midi.substr(midi.size() - 3), std::string("\xFF\x2F\x00", 3));
}

// A state saved on frame 600 and run on to 1200 gives the picture, tones and
// state of the run that went to 1200 at once: the script's frames and
// --frames count from power-on.
TEST_F(Runner, LoadedStateRunsOnAsIfNeverStopped) {
  const std::string play = "--input '" + std::string(PIXTOR_DEMO_SCRIPT) + "' --frame-rate 3 '" + Cartridge("demo") + "'";
  ASSERT_EQ(Run("--frames 1200 --hash --tones whole.txt --save-state whole.state " + play), 0) << Error;
  const std::string whole = Contents(Folder / "out.txt");
  ASSERT_EQ(Run("--frames 600 --save-state half.state " + play), 0) << Error;
  ASSERT_EQ(Run("--frames 1200 --hash --tones rest.txt --load-state half.state --save-state rest.state " + play), 0)
      << Error;
  const std::string rest = Contents(Folder / "out.txt");
  EXPECT_EQ(rest.rfind("frames 600 ", 0), 0u) << rest;
  EXPECT_EQ(rest.substr(rest.find('\n')), whole.substr(whole.find('\n'))) << "the hash";
  EXPECT_EQ(Contents(Folder / "rest.state"), Contents(Folder / "whole.state"));

  std::string tones = Contents(Folder / "whole.txt"), later;
  for (size_t at = 0, end; at < tones.size(); at = end + 1) {
    end = tones.find('\n', at);
    if (std::stol(tones.substr(at, end - at)) >= 600) later += tones.substr(at, end + 1 - at);
  }
  EXPECT_FALSE(later.empty());
  EXPECT_EQ(Contents(Folder / "rest.txt"), later);

  ASSERT_EQ(Run("--frames 600 --load-state half.state --snapshot again.bmp " + play), 0) << Error;
  EXPECT_EQ(Contents(Folder / "out.txt").rfind("frames 0 ", 0), 0u) << "nothing left to run";
}

TEST_F(Runner, RefusedStateExitsWithOneNamingTheFileAndReason) {
  const std::string sound = std::string("'") + Cartridge("test_sound") + "'";
  ASSERT_EQ(Run("--frames 60 --save-state sound.state " + sound), 0) << Error;
  ASSERT_EQ(Run("--frames 60 --save-state flood.state '" + Cartridge("sound_flood") + "'"), 0) << Error;
  std::ofstream(Folder / "empty.state").close();
  const struct {
    std::string Arguments, Message;
  } cases[] = {
      {"--load-state empty.state", "cannot load state empty.state: empty file"},
      {"--load-state flood.state", "cannot load state flood.state: for another cartridge"},
      {"--load-state sound.state --frames 59", "cannot run to frame 59: the state sound.state is at frame 60"},
      {"--load-state none.state", "cannot read none.state: No such file or directory"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Run(c.Arguments + " --save-state out.state " + sound), 1) << c.Arguments;
    EXPECT_EQ(Error, "pixtor-headless: " + c.Message + "\n") << c.Arguments;
    EXPECT_FALSE(fs::exists(Folder / "out.state")) << c.Arguments;
  }
}

} // namespace
