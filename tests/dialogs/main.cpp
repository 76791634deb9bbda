#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

// The dialogs need an application; their owner, the main window, keeps its
// settings in the configuration folder, which points into a folder of its
// own for the run.
int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  QTemporaryDir config;
  qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  return RUN_ALL_TESTS();
}
