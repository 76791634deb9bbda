#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

#include "tools/OutputFile.h"

namespace {

namespace fs = std::filesystem;

std::string Contents(const fs::path& Path) {
  std::ifstream in(Path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string CloseError(TOutputFile& File) {
  try {
    File.Close();
  } catch (const std::runtime_error& error) {
    return error.what();
  }
  return "";
}

class OutputFile : public testing::Test {
protected:
  void SetUp() override {
    Folder = fs::temp_directory_path() / ("pixtor-output-" + std::to_string(::getpid()));
    fs::create_directories(Folder);
  }
  void TearDown() override { fs::remove_all(Folder); }
  fs::path Folder;
};

// The old file stays until Close puts the new one in place; unclosed, the new one leaves nothing.
TEST_F(OutputFile, RegularFileReplacedOnlyByASuccessfulClose) {
  const fs::path path = Folder / "out.txt";
  std::ofstream(path) << "old";
  {
    TOutputFile file(path.string());
    file.Print("new %d", 1);
    EXPECT_EQ(Contents(path), "old");
  }
  EXPECT_EQ(Contents(path), "old");
  TOutputFile file(path.string());
  file.Write("head----", 8);
  file.Patch(4, "ers", 3);
  file.Write("!", 1);
  EXPECT_EQ(CloseError(file), "");
  EXPECT_EQ(Contents(path), "headers-!");
  EXPECT_EQ(std::distance(fs::directory_iterator(Folder), fs::directory_iterator()), 1);
}

TEST_F(OutputFile, LinkKeptAndItsFileReplaced) {
  std::ofstream(Folder / "target") << "old";
  fs::create_symlink("target", Folder / "link");
  TOutputFile file((Folder / "link").string());
  file.Print("new");
  file.Close();
  EXPECT_TRUE(fs::is_symlink(Folder / "link"));
  EXPECT_EQ(Contents(Folder / "target"), "new");
}

TEST_F(OutputFile, FailuresNameTheFileAndTheReason) {
  try {
    TOutputFile file(Folder.string());
    ADD_FAILURE() << "a directory opened for writing";
  } catch (const std::runtime_error& error) {
    EXPECT_EQ(std::string(error.what()), "cannot write " + Folder.string() + ": Is a directory");
  }
  EXPECT_THROW(TOutputFile((Folder / "none" / "x").string()), std::runtime_error);
  // A device is written directly; a full one fails by the final flush at the latest.
  TOutputFile full("/dev/full");
  full.Print("x");
  EXPECT_EQ(CloseError(full), "cannot write /dev/full: No space left on device");
}

} // namespace
