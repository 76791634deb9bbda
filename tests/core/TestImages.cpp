#include "TestImages.h"

#include <cstdlib>
#include <fstream>
#include <stdexcept>

TTempFolder::TTempFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "pixtor-test-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
  Path = pattern;
}

TTempFolder::~TTempFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(Path, ignored);
}

std::string TTempFolder::Write(const std::string& Name, const std::vector<uint8_t>& Bytes) const {
  std::filesystem::path file = Path / Name;
  std::filesystem::create_directories(file.parent_path());
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(Bytes.data()), static_cast<std::streamsize>(Bytes.size()));
  return file.string();
}

std::vector<uint8_t> MakeImage(uint8_t ProgPages, uint8_t CharPages, uint8_t Control, uint8_t Byte7, uint8_t Byte8) {
  std::vector<uint8_t> image = {'N', 'E', 'S', 0x1A, ProgPages, CharPages, Control, Byte7, Byte8, 0, 0, 0, 0, 0, 0, 0};
  for (int page = 0; page < ProgPages; ++page) image.insert(image.end(), 16384, static_cast<uint8_t>(page + 1));
  for (int page = 0; page < CharPages; ++page) image.insert(image.end(), 8192, static_cast<uint8_t>(0xC0 + page));
  return image;
}
