#include "RomRun.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

namespace {

uint32_t Get32(const std::vector<uint8_t>& Bytes, size_t At) {
  return Bytes[At] | Bytes[At + 1] << 8 | Bytes[At + 2] << 16 | uint32_t(Bytes[At + 3]) << 24;
}

// The text as one word for the shell.
std::string Quote(const std::string& Text) {
  std::string quoted = "'";
  for (char c : Text) {
    if (c == '\'') quoted.append("'\\''");
    else quoted.push_back(c);
  }
  quoted.push_back('\'');
  return quoted;
}

std::vector<uint8_t> ReadFile(const std::filesystem::path& Path) {
  std::ifstream file(Path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

} // namespace

std::string RomTestFile(const std::string& Name) { return std::string(PIXTOR_ROM_TEST_DATA) + "/" + Name; }

TRomRun::TRomRun(const std::string& Name, int Frames, const std::vector<std::string>& Extra) {
  std::string pattern = (std::filesystem::temp_directory_path() / "pixtor-roms-XXXXXX").string();
  if (!mkdtemp(pattern.data())) {
    ADD_FAILURE() << "cannot make a temporary folder";
    return;
  }
  Folder = pattern;
  const auto snapshot = Folder / "frame.bmp", tones = Folder / "tones.txt", output = Folder / "out.txt";

  std::vector<std::string> words = {PIXTOR_HEADLESS, "--frames", std::to_string(Frames), "--snapshot",
                                     snapshot.string(), "--tones", tones.string()};
  words.insert(words.end(), Extra.begin(), Extra.end());
  words.push_back(std::string(PIXTOR_ROM_DIR) + "/" + Name + ".nes");
  std::string command;
  for (const std::string& word : words) command.append(Quote(word)).append(" ");
  command.append("> ").append(Quote(output.string()));
  if (int status = std::system(command.c_str()); status != 0) {
    ADD_FAILURE() << command << " exited with status " << status;
    return;
  }

  Snapshot = ReadFile(snapshot);
  if (Snapshot.size() < 54 || Snapshot[0] != 'B' || Snapshot[1] != 'M' || Snapshot[28] != 8) {
    ADD_FAILURE() << snapshot << " is not an 8-bit BMP";
    return;
  }
  PixelOffset = Get32(Snapshot, 10);
  PaletteOffset = 14 + Get32(Snapshot, 14);
  Width = int(Get32(Snapshot, 18));
  Height = int(Get32(Snapshot, 22));
  if (Width != 256 || Height != 240 || Snapshot.size() < PixelOffset + 256u * 240u) {
    ADD_FAILURE() << snapshot << " is not a 256 x 240 bottom-up image";
    return;
  }

  std::ifstream out(output);
  for (std::string line; std::getline(out, line);) {
    std::istringstream words(line);
    std::string first, byte;
    words >> first;
    if (first.size() != 5 || first.back() != ':') continue;
    uint32_t addr = std::stoul(first.substr(0, 4), nullptr, 16);
    while (words >> byte) Dumped[addr++] = uint8_t(std::stoul(byte, nullptr, 16));
  }
  std::ifstream log(tones);
  for (std::string line; std::getline(log, line);) ToneLines.push_back(line);
  Ok = true;
}

TRomRun::~TRomRun() {
  std::error_code ignored;
  if (!Folder.empty()) std::filesystem::remove_all(Folder, ignored);
}

uint8_t TRomRun::Pixel(int X, int Y) const {
  if (!Ok) return 0xEE;
  // Rows are stored bottom-up, each padded to four bytes (256 needs none).
  return Snapshot[PixelOffset + size_t(Height - 1 - Y) * ((Width + 3) & ~3) + X];
}

TColor TRomRun::Color(int Index) const {
  if (!Ok) return {};
  size_t at = PaletteOffset + 4 * size_t(Index); // blue, green, red, 0
  return {Snapshot[at + 2], Snapshot[at + 1], Snapshot[at]};
}

std::vector<uint8_t> TRomRun::Dump(uint32_t Addr, uint32_t Length) const {
  std::vector<uint8_t> bytes;
  for (uint32_t a = Addr; a < Addr + Length; ++a) {
    auto found = Dumped.find(a);
    if (found == Dumped.end()) {
      ADD_FAILURE() << "no dump of address " << std::hex << a;
      break;
    }
    bytes.push_back(found->second);
  }
  return bytes;
}

std::vector<std::string> TRomRun::Tones() const { return ToneLines; }
