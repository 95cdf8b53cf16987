#pragma once

#include <QMainWindow>

namespace planimo {

// The one top-level window of the program (frmMain).
class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  explicit MainWindow(QWidget* parent = nullptr);
};

}  // namespace planimo
