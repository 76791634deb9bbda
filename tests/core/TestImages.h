#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// A folder of its own under the system's temporary folder, removed with the object.
class TTempFolder {
public:
  TTempFolder();
  ~TTempFolder();
  TTempFolder(const TTempFolder&) = delete;
  TTempFolder& operator=(const TTempFolder&) = delete;

  std::filesystem::path Path;
  // Writes Bytes to the file Name in the folder and gives its full path.
  std::string Write(const std::string& Name, const std::vector<uint8_t>& Bytes) const;
};

// An iNES image: the header with the given counts and byte 6, then program
// pages whose every byte is its page number plus one, then character pages
// filled with $C0 + page. Extra header bytes 7 and 8 as given.
std::vector<uint8_t> MakeImage(uint8_t ProgPages, uint8_t CharPages, uint8_t Control = 0, uint8_t Byte7 = 0,
                               uint8_t Byte8 = 0);
