#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "platform/IniFile.h"

namespace {

struct TIniCase {
  const char* Name;
  std::string Text;
  const char* Section;
  const char* Key;
  const char* Expected;
};

class IniFileTest : public testing::Test {
protected:
  void SetUp() override {
    Dir = std::filesystem::temp_directory_path() /
          ("pixtor_ini_" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::create_directories(Dir);
  }
  void TearDown() override { std::filesystem::remove_all(Dir); }
  std::string Write(const std::string& Text) {
    const std::string path = (Dir / "SKIN.INI").string();
    std::ofstream(path, std::ios::binary) << Text;
    return path;
  }
  std::filesystem::path Dir;
};

TEST_F(IniFileTest, ReadsAsWindowsProfileFunctions) {
  const TIniCase cases[] = {
      {"plain", "[INFO]\nName=Walnut\n", "INFO", "Name", "Walnut"},
      {"names in any case", "[info]\nNAME=Walnut\n", "Info", "name", "Walnut"},
      {"first of duplicate keys", "[A]\nK=1\nk=2\n", "A", "K", "1"},
      {"duplicate section", "[A]\nX=1\n[B]\nK=2\n[a]\nK=3\n", "A", "K", "3"},
      {"comment skipped", "[A]\n;K=1\nK=2\n", "A", "K", "2"},
      {"CRLF", "[A]\r\nK=v\r\n\r\nL=w\r\n", "A", "L", "w"},
      {"blanks trimmed", "  [ A ]  \n\t K \t=  v w  \n", "A", "K", "v w"},
      {"quotes dropped", "[A]\nK=\" x \"\n", "A", "K", " x "},
      {"equals in value", "[A]\nK=a=b\n", "A", "K", "a=b"},
      {"empty value", "[A]\nK=\nK=2\n", "A", "K", ""},
      {"missing key", "[A]\nK=1\n", "A", "L", ""},
      {"missing section", "[B]\nK=1\n", "A", "K", ""},
      {"key of another section", "[A]\nX=1\n[B]\nK=2\n", "A", "K", ""},
      {"key before any section", "K=1\n[A]\n", "A", "K", ""},
      {"line without equals", "[A]\nK\nK=3\n", "A", "K", "3"},
      {"section without bracket", "[A]\n[B\nK=4\n", "A", "K", "4"},
      {"byte order mark", "\xEF\xBB\xBF[A]\nK=5\n", "A", "K", "5"},
      {"no final newline", "[A]\nK=6", "A", "K", "6"},
      {"empty file", "", "A", "K", ""},
      {"NUL bytes", std::string("\0\0\n[A]\nK=7\n", 11), "A", "K", "7"},
  };
  for (const TIniCase& c : cases)
    EXPECT_EQ(ReadProfileString(Write(c.Text), c.Section, c.Key), c.Expected) << c.Name;
}

TEST_F(IniFileTest, MissingFileReadsEmpty) {
  EXPECT_EQ(ReadProfileString((Dir / "NONE.INI").string(), "A", "K"), "");
  EXPECT_EQ(ReadProfileString(Dir.string(), "A", "K"), ""); // a folder
}

TEST_F(IniFileTest, ReadsOnlyTheFirstMegabyte) {
  const std::string filler(1500000, 'x');
  EXPECT_EQ(ReadProfileString(Write("[A]\nK=1\n" + filler + "\nL=2\n"), "A", "K"), "1");
  EXPECT_EQ(ReadProfileString(Write("[A]\nK=1\n" + filler + "\nL=2\n"), "A", "L"), "");
}

TEST_F(IniFileTest, BinaryFileReadsWithoutFault) {
  std::mt19937 random(7);
  std::string bytes(65536, '\0');
  for (char& byte : bytes)
    byte = char(random());
  bytes += "\n[A]\nK=8\n";
  EXPECT_EQ(ReadProfileString(Write(bytes), "A", "K"), "8");
}

} // namespace
