#include "platform/qt/DisplayModes.h"
struct TDisplayModes::TState {};
QString FormatDisplayMode(const TDisplayMode& m) { return QString::asprintf("%dx%dx%d", m.Width, m.Height, m.BitCount); }
std::optional<TDisplayMode> ParseDisplayMode(const QString&) { return std::nullopt; }
TDisplayModes::TDisplayModes() {}
TDisplayModes::~TDisplayModes() {}
std::vector<TDisplayMode> TDisplayModes::Modes() const { return {}; }
bool TDisplayModes::Switch(const TDisplayMode&) { return false; }
void TDisplayModes::Restore() {}
std::optional<TDisplayMode> TDisplayModes::Current() const { return std::nullopt; }
