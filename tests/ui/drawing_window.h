#pragma once

// The main window shown on a plain drawing, for tests that drive it with the
// mouse and the menus: a folder of its own for files, and every message box
// kept by a fake sink.

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "app/main_window.h"
#include "fake_message_sink.h"
#include "view/map_view.h"

namespace planimo {

// A mouse event sent straight to `w`, with `held` the buttons down during it.
inline void Send(QWidget* w, QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons held) {
  QMouseEvent e(type, QPointF(p), QPointF(w->mapToGlobal(p)), button, held, Qt::NoModifier);
  QApplication::sendEvent(w, &e);
}

struct DrawingWindowTest : ::testing::Test {
  // A white 800 x 600 drawing in a 1100 x 900 window: the whole drawing in
  // view at 100 %.
  void SetUp() override {
    QImage white(800, 600, QImage::Format_RGB32);
    white.fill(Qt::white);
    ASSERT_NO_FATAL_FAILURE(ShowDrawing(white, QStringLiteral("white.bmp"), QSize(1100, 900)));
  }

  // Shows the window at `size` and opens `drawing`, saved in the folder as `name`.
  void ShowDrawing(const QImage& drawing, const QString& name, QSize size) {
    w.resize(size);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    const QString path = folder.filePath(name);
    ASSERT_TRUE(drawing.save(path));
    w.openImage(path);
    ASSERT_NE(w.mapView(), nullptr);
    vp = w.mapView()->viewport();
  }

  QTemporaryDir folder;
  std::shared_ptr<FakeMessageSink> sink = std::make_shared<FakeMessageSink>();
  MainWindow w{sink, folder.path()};
  QWidget* vp = nullptr;
};

}  // namespace planimo
