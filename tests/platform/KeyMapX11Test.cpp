#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QWidget>

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include "platform/qt/KeyMap.h"

// Keys typed on a virtual X server's keyboard into a window, as a user types
// them: the codes must not depend on what Shift or Num Lock make of a key.
namespace {

class TKeyWindow : public QWidget {
public:
  std::vector<uint32_t> Pressed;

protected:
  void keyPressEvent(QKeyEvent* Event) override { Pressed.push_back(VirtualKeyCode(*Event)); }
};

Display* QtDisplay() {
  const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  return x11 ? x11->display() : nullptr;
}

template <typename TDone>
bool WaitFor(TDone Done) {
  QElapsedTimer timer;
  timer.start();
  while (!Done() && timer.elapsed() < 5000)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  return Done();
}

struct TTypedCase {
  const char* Name;
  KeySym Held; // NoSymbol for none
  KeySym Key;
  std::vector<uint32_t> Expected; // codes of the key presses, the held key's first
  friend void PrintTo(const TTypedCase& c, std::ostream* out) { *out << c.Name; }
};

class TypedKeys : public testing::TestWithParam<TTypedCase> {
protected:
  void SetUp() override {
    X = QtDisplay();
    if (!X) GTEST_SKIP() << "not on an X server";
    Window.resize(64, 64);
    Window.show();
    Window.activateWindow();
    ASSERT_TRUE(WaitFor([this] { return Window.isActiveWindow(); }));
  }

  void Type(KeySym Symbol, bool Down) {
    XTestFakeKeyEvent(X, XKeysymToKeycode(X, Symbol), Down, CurrentTime);
    XFlush(X);
  }

  Display* X = nullptr;
  TKeyWindow Window;
};

TEST_P(TypedKeys, GiveTheirCodes) {
  const TTypedCase& c = GetParam();
  if (c.Held != NoSymbol) Type(c.Held, true);
  Type(c.Key, true);
  Type(c.Key, false);
  if (c.Held != NoSymbol) Type(c.Held, false);
  EXPECT_TRUE(WaitFor([&] { return Window.Pressed.size() >= c.Expected.size(); }));
  EXPECT_EQ(Window.Pressed, c.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Keyboard, TypedKeys,
    testing::Values(TTypedCase{"Letter", NoSymbol, XK_a, {65}},
                    TTypedCase{"ShiftedLetter", XK_Shift_L, XK_a, {16, 65}},
                    TTypedCase{"Digit", NoSymbol, XK_1, {49}},
                    TTypedCase{"Shifted1", XK_Shift_L, XK_1, {16, 49}},
                    TTypedCase{"Shifted0", XK_Shift_L, XK_0, {16, 48}},
                    TTypedCase{"ControlAndF5", XK_Control_L, XK_F5, {17, 116}},
                    TTypedCase{"Alt", NoSymbol, XK_Alt_L, {18}},
                    TTypedCase{"KeypadEnter", NoSymbol, XK_KP_Enter, {13}},
                    // Num Lock is off: the keypad's 7 is its Home key.
                    TTypedCase{"KeypadHome", NoSymbol, XK_KP_Home, {36}},
                    TTypedCase{"Minus", NoSymbol, XK_minus, {0}}),
    [](const auto& info) { return std::string(info.param.Name); });

} // namespace
