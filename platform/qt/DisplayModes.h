#pragma once

#include <memory>
#include <optional>
#include <vector>

#include <QString>

// A full-screen display mode: width and height in pixels, and bits per pixel.
struct TDisplayMode {
  int Width = 0;
  int Height = 0;
  int BitCount = 0;
  friend bool operator==(const TDisplayMode&, const TDisplayMode&) = default;
};

// "%dx%dx%d": width, height and bit count.
QString FormatDisplayMode(const TDisplayMode& Mode);
// Three decimal numbers separated by "x"; nothing for any other text.
std::optional<TDisplayMode> ParseDisplayMode(const QString& Text);

// The screen's display modes, as the X server's RandR extension reports
// them, and switching between them. A switch is undone by Restore and
// always when this object goes. Without X11 or RandR there are no modes and
// no switching.
class TDisplayModes {
public:
  TDisplayModes();
  ~TDisplayModes();
  TDisplayModes(const TDisplayModes&) = delete;
  TDisplayModes& operator=(const TDisplayModes&) = delete;

  // Every mode the screen offers, largest first, each once.
  std::vector<TDisplayMode> Modes() const;
  // Switches the screen to Mode; false when the screen does not offer it.
  bool Switch(const TDisplayMode& Mode);
  // Puts back the mode from before the first switch; nothing if none was made.
  void Restore();
  // The mode in use now (the desktop's mode when nothing was switched).
  std::optional<TDisplayMode> Current() const;

private:
  struct TState;
  std::unique_ptr<TState> State;
};
