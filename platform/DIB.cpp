#include "platform/DIB.h"

#include <algorithm>
#include <cerrno>

#include "platform/CFile.h"

void TDIB::SetColors(int First, std::span<const TRGB> Entries) {
  if (First < 0 || First >= ColorCount) return;
  size_t count = std::min(Entries.size(), size_t(ColorCount - First));
  std::copy_n(Entries.begin(), count, Colors.begin() + First);
}

std::vector<uint8_t> TDIB::FileBytes() const { return EncodeBmp(Width, Height, 8, Colors, Pixels); }

void TDIB::SaveToFile(const std::string& Path) const {
  const std::vector<uint8_t> file = FileBytes();
  TFile out(std::fopen(Path.c_str(), "wb"));
  if (!out) FileError(Path, "Cannot create", errno);
  errno = 0;
  if (std::fwrite(file.data(), 1, file.size(), out.get()) != file.size()) FileError(Path, "Cannot write", errno ? errno : EIO);
  if (std::fclose(out.release()) != 0) FileError(Path, "Cannot write", errno ? errno : EIO);
}
