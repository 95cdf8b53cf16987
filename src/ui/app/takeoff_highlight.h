#pragma once

// The frame drawn over the map around the object chosen in "測定一覧", on a
// transparent layer of the map's viewport that lets every click through.

#include <QWidget>
#include <optional>

#include "model/document.h"

namespace planimo {

class MapView;

class TakeoffHighlight : public QWidget {
  Q_OBJECT

 public:
  TakeoffHighlight(const Document& doc, MapView& view);
  // Shows the frame around the selected object while `on`.
  void setShown(bool on);

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Where the frame lies in the viewport, or nothing to show.
  std::optional<QRect> frameArea() const;
  void place();

  const Document& doc_;
  MapView& view_;
  bool shown_ = false;
  bool pending_ = false;  // a look after a repaint is on its way
  mutable QRectF frame_;  // the frame in viewport pixels, as last found
};

}  // namespace planimo
