#pragma once

// The loupe: while the Z key is held with the pointer over the map, a
// square shows the drawing around the pointer four times larger, with a
// crosshair on the pointer, so that a vertex can be put on the exact pixel
// of a scan without zooming the whole view. It shows the map as painted,
// records included, and takes no mouse event: every move still reaches the
// measurement.

#include <QPointer>
#include <QWidget>

namespace planimo {

class MapView;

class Loupe : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kMagnification = 4;
  static constexpr int kSide = 176;  // pixels on screen; a multiple of the magnification

  explicit Loupe(MapView* view);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void follow(QPoint viewportPos);
  void hold(bool on);

  MapView* view_;
  QWidget* map_;                // the same map, as the widget it stays while taken down
  QPointer<QWidget> viewport_;  // its viewport
  QPoint pointer_;  // in viewport pixels
  bool held_ = false;
};

}  // namespace planimo
