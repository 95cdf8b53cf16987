#include <gtest/gtest.h>

#include "app/main_window.h"

TEST(MainWindow, CaptionNamesProductAndVersion) {
  planimo::MainWindow w;
  EXPECT_EQ(w.windowTitle(), QStringLiteral("距離・寸法測定　管理ソフト『Planimo』 Ver 1.6.0"));
  EXPECT_EQ(w.minimumSize(), QSize(320, 240));
}
