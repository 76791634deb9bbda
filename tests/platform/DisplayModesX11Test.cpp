#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include <QGuiApplication>

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

#include "platform/qt/DisplayModes.h"

// Runs on a virtual X server whose screen is 1024x768 at depth 24. Such a
// server offers only its own size until more modes are added to its output,
// which the test does the way `xrandr --newmode` / `--addmode` would.
namespace {

Display* QtDisplay() {
  const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  return x11 ? x11->display() : nullptr;
}

void AddOutputMode(Display* X, int Width, int Height, int Refresh) {
  const Window root = DefaultRootWindow(X);
  XRRScreenResources* resources = XRRGetScreenResources(X, root);
  ASSERT_NE(resources, nullptr);
  ASSERT_GE(resources->noutput, 1);
  std::string name = std::to_string(Width) + "x" + std::to_string(Height) + "_" + std::to_string(Refresh);
  XRRModeInfo info{};
  info.width = Width;
  info.height = Height;
  info.hTotal = Width;
  info.vTotal = Height;
  info.dotClock = static_cast<unsigned long>(Width) * Height * Refresh;
  info.name = name.data();
  info.nameLength = static_cast<unsigned>(name.size());
  const RRMode mode = XRRCreateMode(X, root, &info);
  XRRAddOutputMode(X, resources->outputs[0], mode);
  XSync(X, False);
  XRRFreeScreenResources(resources);
}

class DisplayModesX11 : public testing::Test {
protected:
  static void SetUpTestSuite() {
    Display* x = QtDisplay();
    if (!x) return;
    AddOutputMode(x, 800, 600, 60);
    AddOutputMode(x, 800, 600, 75); // a second rate of one size
    AddOutputMode(x, 640, 480, 60);
  }
  void SetUp() override {
    if (!QtDisplay()) GTEST_SKIP() << "not on an X server";
  }
};

const TDisplayMode Desktop{1024, 768, 24};
const TDisplayMode Mode800{800, 600, 24};
const TDisplayMode Mode640{640, 480, 24};

TEST_F(DisplayModesX11, LargestFirstEachOnce) {
  TDisplayModes modes;
  EXPECT_EQ(modes.Modes(), (std::vector<TDisplayMode>{Desktop, Mode800, Mode640}));
  EXPECT_EQ(modes.Current(), Desktop);
}

TEST_F(DisplayModesX11, SwitchAndRestore) {
  TDisplayModes modes;
  ASSERT_TRUE(modes.Switch(Mode640));
  EXPECT_EQ(modes.Current(), Mode640);
  ASSERT_TRUE(modes.Switch(Mode800));
  EXPECT_EQ(modes.Current(), Mode800);
  // Restore goes back to the size from before the first switch, once.
  modes.Restore();
  EXPECT_EQ(modes.Current(), Desktop);
  ASSERT_TRUE(modes.Switch(Mode640));
  modes.Restore();
  modes.Restore();
  EXPECT_EQ(modes.Current(), Desktop);
}

TEST_F(DisplayModesX11, RefusesModesNotOffered) {
  TDisplayModes modes;
  EXPECT_FALSE(modes.Switch({1000, 700, 24}));
  EXPECT_FALSE(modes.Switch({800, 600, 16})); // the depth is the screen's
  EXPECT_EQ(modes.Current(), Desktop);
}

TEST_F(DisplayModesX11, UndoneWhenGone) {
  {
    TDisplayModes modes;
    ASSERT_TRUE(modes.Switch(Mode800));
  }
  EXPECT_EQ(TDisplayModes().Current(), Desktop);
}

} // namespace
