#include <gtest/gtest.h>

#include <QApplication>

// The Qt tests need an application object; the platform (offscreen or an X
// server) comes from QT_QPA_PLATFORM, which CTest sets. Listing the tests,
// as the build does, needs neither.
int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
  QApplication application(argc, argv);
  return RUN_ALL_TESTS();
}
