#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QWidget>

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xrandr.h>
#include <X11/keysym.h>

#include "platform/qt/DisplayModes.h"
#include "platform/qt/KeyMap.h"

static void PrintTo(const TDisplayMode& Mode, std::ostream* Out) {
  *Out << FormatDisplayMode(Mode).toStdString();
}

// On a virtual X server whose screen is 1024x768 at depth 24.
namespace {

Display* QtDisplay() {
  const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  return x11 ? x11->display() : nullptr;
}

// The server offers only its own size until modes are added to its output,
// as `xrandr --newmode` and `--addmode` would.
void AddOutputMode(Display* X, int Width, int Height, int Refresh) {
  XRRScreenResources* resources = XRRGetScreenResources(X, DefaultRootWindow(X));
  std::string name = std::to_string(Width) + "x" + std::to_string(Height) + "_" + std::to_string(Refresh);
  XRRModeInfo info{};
  info.width = info.hTotal = Width;
  info.height = info.vTotal = Height;
  info.dotClock = static_cast<unsigned long>(Width) * Height * Refresh;
  info.name = name.data();
  info.nameLength = static_cast<unsigned>(name.size());
  XRRAddOutputMode(X, resources->outputs[0], XRRCreateMode(X, DefaultRootWindow(X), &info));
  XSync(X, False);
  XRRFreeScreenResources(resources);
}

bool WaitFor(const std::function<bool()>& Done) {
  QElapsedTimer timer;
  timer.start();
  while (!Done() && timer.elapsed() < 5000)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  return Done();
}

TEST(X11, DisplayModesSwitchAndRestore) {
  Display* x = QtDisplay();
  ASSERT_NE(x, nullptr);
  AddOutputMode(x, 800, 600, 60);
  AddOutputMode(x, 800, 600, 75); // a second rate of one size
  AddOutputMode(x, 640, 480, 60);
  const TDisplayMode desktop{1024, 768, 24}, mode800{800, 600, 24}, mode640{640, 480, 24};
  {
    TDisplayModes modes;
    EXPECT_EQ(modes.Modes(), (std::vector<TDisplayMode>{desktop, mode800, mode640}));
    EXPECT_FALSE(modes.Switch({1000, 700, 24}));
    EXPECT_FALSE(modes.Switch({800, 600, 16})); // the depth is the screen's
    ASSERT_TRUE(modes.Switch(mode640));
    ASSERT_TRUE(modes.Switch(mode800));
    EXPECT_EQ(modes.Current(), mode800);
    modes.Restore(); // to the size from before the first switch
    EXPECT_EQ(modes.Current(), desktop);
    ASSERT_TRUE(modes.Switch(mode640));
  }
  EXPECT_EQ(TDisplayModes().Current(), desktop);
}

// Keys typed into a window: Shift and Num Lock (off) must not change a code.
TEST(X11, TypedKeyCodes) {
  Display* x = QtDisplay();
  ASSERT_NE(x, nullptr);
  struct TKeyWindow : QWidget {
    std::vector<uint32_t> Pressed;
    void keyPressEvent(QKeyEvent* Event) override { Pressed.push_back(VirtualKeyCode(*Event)); }
  } window;
  window.show();
  window.activateWindow();
  ASSERT_TRUE(WaitFor([&] { return window.isActiveWindow(); }));

  const std::pair<std::vector<KeySym>, std::vector<uint32_t>> cases[] = {
      {{XK_a}, {65}},           {{XK_Shift_L, XK_a}, {16, 65}}, {{XK_1}, {49}},
      {{XK_Shift_L, XK_1}, {16, 49}}, {{XK_Shift_L, XK_0}, {16, 48}}, {{XK_KP_Home}, {36}},
      {{XK_KP_Enter}, {13}},    {{XK_Control_L, XK_F5}, {17, 116}}, {{XK_minus}, {0}},
  };
  for (const auto& [keys, expected] : cases) {
    window.Pressed.clear();
    for (KeySym key : keys)
      XTestFakeKeyEvent(x, XKeysymToKeycode(x, key), True, CurrentTime);
    for (auto key = keys.rbegin(); key != keys.rend(); ++key)
      XTestFakeKeyEvent(x, XKeysymToKeycode(x, *key), False, CurrentTime);
    XFlush(x);
    const size_t count = expected.size(); // a lambda may not name a structured binding here (clang 14)
    WaitFor([&] { return window.Pressed.size() >= count; });
    EXPECT_EQ(window.Pressed, expected) << XKeysymToString(keys.back());
  }
}

} // namespace
