#include "app/main_window.h"

namespace planimo {

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
  setObjectName(QStringLiteral("frmMain"));
  setWindowTitle(QStringLiteral("距離・寸法測定　管理ソフト『Planimo』 Ver 1.6.0"));
  setMinimumSize(320, 240);
  resize(1024, 700);
}

}  // namespace planimo
