#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// The widgets under test need one application object for the whole run.
// The user's configuration folder is a fresh one of the run's own, so the
// drawings the tests open and save never reach the real recent list.
int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  QTemporaryDir config;
  if (config.isValid()) qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
