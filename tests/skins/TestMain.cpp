// The skin tests need a QApplication: Qt's offscreen platform unless another is named.
#include <QApplication>
#include <gtest/gtest.h>

int main(int ArgumentCount, char** Arguments) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication Application(ArgumentCount, Arguments);
  testing::InitGoogleTest(&ArgumentCount, Arguments);
  return RUN_ALL_TESTS();
}
