#include "platform/qt/DisplayModes.h"

#include <algorithm>

#include <QGuiApplication>
#include <QStringList>

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

QString FormatDisplayMode(const TDisplayMode& Mode) {
  return QString::asprintf("%dx%dx%d", Mode.Width, Mode.Height, Mode.BitCount);
}

std::optional<TDisplayMode> ParseDisplayMode(const QString& Text) {
  const QStringList parts = Text.split(u'x');
  if (parts.size() != 3) return std::nullopt;
  int numbers[3];
  for (int i = 0; i < 3; ++i) {
    const QString& part = parts[i];
    // Digits only: toInt alone would also take signs and surrounding blanks.
    if (part.isEmpty() || part.size() > 5 ||
        !std::all_of(part.begin(), part.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
      return std::nullopt;
    numbers[i] = part.toInt();
    if (numbers[i] < 1 || numbers[i] > 65535) return std::nullopt;
  }
  return TDisplayMode{numbers[0], numbers[1], numbers[2]};
}

// The screen sizes come from RandR's screen configuration, which on a
// server with several outputs describes the primary one. The colour depth
// cannot be switched: every mode has the screen's default depth.
struct TDisplayModes::TState {
  Display* X = nullptr; // borrowed from the Qt application
  Window Root = 0;
  int Depth = 0;
  // The size and rotation in use before the first switch.
  std::optional<TDisplayMode> Original;
  Rotation OriginalRotation = RR_Rotate_0;

  using TConfig = std::unique_ptr<XRRScreenConfiguration, decltype(&XRRFreeScreenConfigInfo)>;

  // The screen configuration, read afresh: sizes change with the outputs.
  TConfig Config() const {
    return TConfig(X ? XRRGetScreenInfo(X, Root) : nullptr, &XRRFreeScreenConfigInfo);
  }

  std::vector<TDisplayMode> Sizes(const TConfig& Config) const {
    std::vector<TDisplayMode> modes;
    if (!Config) return modes;
    int count = 0;
    const XRRScreenSize* sizes = XRRConfigSizes(Config.get(), &count);
    for (int i = 0; i < count; ++i)
      modes.push_back({sizes[i].width, sizes[i].height, Depth});
    return modes;
  }

  // The size in use and its rotation.
  std::optional<TDisplayMode> CurrentSize(Rotation& Rotate) const {
    const TConfig config = Config();
    if (!config) return std::nullopt;
    const SizeID current = XRRConfigCurrentConfiguration(config.get(), &Rotate);
    const std::vector<TDisplayMode> sizes = Sizes(config);
    if (current >= sizes.size()) return std::nullopt;
    return sizes[current];
  }

  // False when the screen does not offer Mode or the server refuses it.
  bool SetSize(const TDisplayMode& Mode, Rotation Rotate) {
    const TConfig config = Config();
    const std::vector<TDisplayMode> sizes = Sizes(config);
    const auto found = std::find(sizes.begin(), sizes.end(), Mode);
    if (found == sizes.end()) return false;
    const Status status =
        XRRSetScreenConfig(X, config.get(), Root, int(found - sizes.begin()), Rotate, CurrentTime);
    XSync(X, False);
    return status == RRSetConfigSuccess;
  }
};

TDisplayModes::TDisplayModes() : State(std::make_unique<TState>()) {
  const auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  Display* display = x11 ? x11->display() : nullptr;
  int eventBase = 0;
  int errorBase = 0;
  if (!display || !XRRQueryExtension(display, &eventBase, &errorBase)) return;
  State->X = display;
  State->Root = DefaultRootWindow(display);
  State->Depth = DefaultDepth(display, DefaultScreen(display));
}

TDisplayModes::~TDisplayModes() {
  // The display connection closes with the application; the X server then
  // undoes nothing, so this object must go first to put the mode back.
  if (qGuiApp) Restore();
}

std::vector<TDisplayMode> TDisplayModes::Modes() const {
  std::vector<TDisplayMode> modes = State->Sizes(State->Config());
  std::sort(modes.begin(), modes.end(), [](const TDisplayMode& a, const TDisplayMode& b) {
    const long long areaA = 1LL * a.Width * a.Height;
    const long long areaB = 1LL * b.Width * b.Height;
    return areaA != areaB ? areaA > areaB : a.Width > b.Width;
  });
  modes.erase(std::unique(modes.begin(), modes.end()), modes.end());
  return modes;
}

bool TDisplayModes::Switch(const TDisplayMode& Mode) {
  if (!State->X || Mode.BitCount != State->Depth) return false;
  Rotation rotation = RR_Rotate_0;
  const std::optional<TDisplayMode> current = State->CurrentSize(rotation);
  if (!current || !State->SetSize(Mode, rotation)) return false;
  if (!State->Original) {
    State->Original = current;
    State->OriginalRotation = rotation;
  }
  return true;
}

void TDisplayModes::Restore() {
  if (!State->Original) return;
  State->SetSize(*State->Original, State->OriginalRotation);
  State->Original.reset();
}

std::optional<TDisplayMode> TDisplayModes::Current() const {
  Rotation rotation = RR_Rotate_0;
  return State->CurrentSize(rotation);
}
