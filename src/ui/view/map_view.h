#pragma once

// The map view (pictWindow): shows the drawing's image at the current zoom
// inside a scrolled viewport (pictMap) and paints every kept record and
// working object over it straight from the Document. The view never keeps a
// rescaled copy of the image: each repaint samples the exposed part of the
// image as loaded through the zoom transform. A PDF page is the exception:
// at zooms other than 100 % its visible part is rendered again at the
// zoom's resolution (pdf_sharpener.h) and painted over the 96 dpi picture.

#include <QAbstractScrollArea>
#include <QImage>
#include <QMetaType>
#include <atomic>
#include <functional>
#include <memory>
#include <thread>

#include "model/document.h"
#include "view/image_loader.h"
#include "view/pdf_sharpener.h"
#include "view/scan_picture.h"

class QPainter;

namespace planimo {

class BandPainter;

// A mouse event on the map surface, in view millimetres of the zoomed
// surface: (viewport pixel + scroll offset) x 0.2645.
struct MapMouseEvent {
  float x = 0;
  float y = 0;
  Qt::MouseButton button = Qt::NoButton;  // the button pressed or released; none on a move
  Qt::MouseButtons buttons;               // the buttons held after the event
  bool ctrl = false;
  bool shift = false;
};

// Outcome of one zoom: the image step and the record rescale can fail apart;
// the view is usable either way.
struct ZoomResult {
  bool imageShown = false;       // false: no image loaded or the factor is unusable
  bool objectsRescaled = false;  // false: the rescale refused the factor, nothing moved
  bool ok() const { return imageShown && objectsRescaled; }
};

class MapView : public QAbstractScrollArea {
  Q_OBJECT

 public:
  explicit MapView(Document& doc, QWidget* parent = nullptr);
  ~MapView() override;

  // subMapDraw's loading step. Checks the file first; on failure the view
  // stays as it was. The image is shown at the factor the records stand at
  // (sngZoomPrev), so they stay in register. A large JPEG decodes in a
  // worker thread and its rows show as they arrive (firstPictureShown once
  // they fill the viewport); a large TIFF or PDF page is read in a worker
  // over blank paper of its size. Then `pending` is set and imageReady follows.
  // imageReady is emitted (queued, after this returns) for every successful
  // load that no other load or clearImage has replaced by then. `page`
  // (from 1) is the page of a TIFF or a PDF.
  ImageLoadResult openImage(const QString& path, int page = 1);

  // Drops the image (and any read still running): the view shows the empty
  // surface with the records alone, as before the first image. A project
  // whose image cannot be shown must not stand over another drawing's.
  void clearImage();

  // subMapZoom's view steps: shows the image at doc.view.sngZoom, lays out the
  // scroll bars, rescales every record (subDisp_Object) and repaints.
  ZoomResult applyZoom();

  // Repaints everything, or only the surface a record or a millimetre box
  // covers (call before and after moving a record).
  void refresh();
  void refreshArea(const QRectF& mm);
  void refreshRecord(const LineRecord& line);
  void refreshRecord(const ShapeRecord& shape);
  void refreshRecord(const TextRecord& label);

  // subSetScrollBars: visibility and ranges for the current surface size.
  void updateScrollBars();

  bool hasImage() const { return !shown_.isNull(); }
  // The image as loaded (pictOrg): the source of the bitmap export and of
  // printing. Incomplete or reduced while isLoading().
  const QImage& image() const { return shown_; }
  // The same with its reduced levels, as the view paints it.
  const ScanPicture* picture() const { return picture_.get(); }
  bool isLoading() const { return loading_; }
  QString imagePath() const { return path_; }
  int imagePage() const { return page_; }  // the page shown of a TIFF or a PDF, from 1
  // The picture is a PDF page at exactly 96 dpi (pdf_page.h): its paper
  // size is exact, whatever its dots per metre round to.
  bool isPdfPage() const { return pdfPage_; }
  QSize imageSize() const { return fullSize_; }     // pixels as loaded
  QSize surfaceSize() const { return surfacePx_; }  // pixels at the shown factor
  // The viewport the layout works with: the area inside both scroll bars,
  // whether they show or not.
  QSize viewportArea() const;
  QPoint scrollOffset() const;
  QPointF toMapMm(QPointF viewportPx) const;
  // The map as painted (picture and records) under `viewportRect`, which may
  // reach beyond the viewport.
  QImage surfacePart(const QRect& viewportRect) const;
  // Large repaints are drawn on two cores (the default); the picture is the
  // same either way.
  void setBandPainting(bool on) { bandPainting_ = on; }

 signals:
  void mapMousePressed(const planimo::MapMouseEvent& e);
  void mapMouseMoved(const planimo::MapMouseEvent& e);
  void mapMouseReleased(const planimo::MapMouseEvent& e);
  void mapDoubleClicked(const planimo::MapMouseEvent& e);
  // The zoom or the scroll position changed.
  void viewChanged();
  // The full-resolution image is shown (ok), or its read failed and the
  // previous image is back (not ok).
  void imageReady(const planimo::ImageLoadResult& result);
  // The first picture of a load fills the viewport (its rows are painted).
  void firstPictureShown();
  // The visible part of a PDF page is shown rendered at the zoom's resolution.
  void sharpPictureShown();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  struct Shown {
    std::shared_ptr<ScanPicture> picture;
    QSize fullSize;
    QString path;
    int page = 1;
    bool pdfPage = false;
  };

  ImageLoadResult openInBackground(const QString& path, int page, QSize size, float zoom, bool pdf);
  ImageLoadResult openJpeg(const QString& path, float zoom, bool large, bool withLevels, bool& viaQt);
  void display(Shown s, float zoom);
  void finishFullRead(unsigned generation, ImageLoadResult result, std::shared_ptr<ScanPicture> picture);
  void reportLater(unsigned generation, const ImageLoadResult& result);
  void rowsArrived(unsigned generation);
  void buildLevels(const std::shared_ptr<ScanPicture>& picture);
  void paintPicture(QPainter& painter, const QRectF& exposed) const;
  void paintSharp(QPainter& painter, const QRectF& exposed) const;
  QRectF sharpTarget() const;  // where sharp_ lies on the picture's surface
  void requestSharp();
  void sharpArrived(SharpPicture sharp);
  void startWholePage();
  int bandSeam(const QRect& area) const;
  void joinWorker();
  void stopHelper();
  MapMouseEvent toEvent(const QMouseEvent* event, Qt::MouseButton button) const;
  void followScroll(bool horizontal, bool vertical);

  Document& doc_;
  std::shared_ptr<ScanPicture> picture_;  // what is painted: rows as decoded, levels as built
  QImage shown_;        // the full image of picture_ (see image())
  QSize fullSize_;      // pixel size of the full image
  QString path_;
  int page_ = 1;
  bool pdfPage_ = false;
  float shownZoom_ = 1.0f;
  QSize surfacePx_;
  Shown previous_;      // restored when the full read fails
  bool loading_ = false;
  unsigned generation_ = 0;
  int paintedRows_ = 0;           // rows of the loading picture asked to be painted
  bool awaitingFirst_ = false;    // firstPictureShown not yet emitted for this load
  std::atomic<bool> rowsPosted_{false};
  std::thread worker_;            // the decoder or Qt's full read
  std::thread helper_;            // faults pages in and builds the levels behind the decoder
  std::shared_ptr<ScanPicture> helped_;  // the picture helper_ works on
  bool bandPainting_ = true;
  QImage canvas_;                         // what a banded repaint draws into
  std::unique_ptr<BandPainter> bands_;
  // A PDF page's visible part at the zoom's resolution, over the 96 dpi picture.
  std::unique_ptr<PdfSharpener> sharpener_;  // started with the first PDF page shown zoomed
  unsigned sharpTicket_ = 0;                 // the request whose rendering is still wanted
  QImage sharp_;                             // null until it arrives, and once the zoom or page changes
  QRect sharpClip_;                          // where sharp_ lies on the surface
  unsigned sharpSource_ = 0;                 // the load (generation_) sharp_ was rendered for
  // The whole-page render of a PDF page being opened, started once its
  // visible part is drawn: the PDF reader draws one page at a time, so a
  // whole page started first would hold the first picture back behind it.
  std::function<void()> wholePage_;
};

}  // namespace planimo

Q_DECLARE_METATYPE(planimo::MapMouseEvent)
Q_DECLARE_METATYPE(planimo::ImageLoadResult)
