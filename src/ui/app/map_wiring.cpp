// Connects the map view to the core: pointer events go to the measurement
// state machine, what it reports comes back as repaints, popups, read-outs
// and dialog refreshes. Also showing a new drawing's image and the zoom commands.
#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QScopeGuard>
#include <QUrl>
#include <QDir>
#include <QFileInfo>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QStringList>

#include "app/annotation_commands.h"
#include "app/busy_guard.h"
#include "app/error_box.h"
#include "app/main_window.h"
#include "app/options_dialog.h"
#include "app/page_dialog.h"
#include "io/drawing_pages.h"
#include "io/project_flow.h"
#include "measure/abandon.h"
#include "measure/dispatcher.h"
#include "measure/label_events.h"
#include "measure/vertex_drag.h"
#include "model/zoom_steps.h"
#include "view/loupe.h"
#include "view/map_view.h"
#include "view/qt_text_measurer.h"
#include "view/stated_resolution.h"

namespace planimo {

namespace {

enum Phase { kPress, kMove, kRelease, kDoubleClick };

// The platform's prompt box for comments and texts typed on a label.
class DialogPrompt : public PromptAsker {
 public:
  explicit DialogPrompt(QWidget* parent) : parent_(parent) {}
  std::optional<std::string> Ask(const std::string& prompt, const std::string& title,
                                 const std::string& defaultAnswer) override {
    bool ok = false;
    const QString answer =
        QInputDialog::getText(parent_, QString::fromStdString(title), QString::fromStdString(prompt),
                              QLineEdit::Normal, QString::fromStdString(defaultAnswer), &ok);
    if (!ok) return std::nullopt;
    return answer.toStdString();
  }

 private:
  QWidget* parent_;
};

int CoreButton(Qt::MouseButton b) {
  if (b == Qt::LeftButton) return 1;
  if (b == Qt::RightButton) return 2;
  return 0;
}

// A move carries the button held down, as the classic handlers receive it.
int HeldButton(Qt::MouseButtons held) {
  if (held & Qt::LeftButton) return 1;
  if (held & Qt::RightButton) return 2;
  return 0;
}

const char* PopupName(Popup p) {
  switch (p) {
    case Popup::Mes: return "popMes";
    case Popup::Hosei: return "popHosei";
    case Popup::Dis: return "popDis";
    case Popup::Taiou: return "popTaiou";
    case Popup::Hikidashi: return "popHikidashi";
    case Popup::Edit: return "popEdit";
    case Popup::Moji: return "popMoji";
  }
  return "";
}

}  // namespace

void MainWindow::setupMapView() {
  doc_.measurer = std::make_shared<QtTextMeasurer>();
  PlaceDefaultSample(doc_);
  view_ = new MapView(doc_, this);
  new Loupe(view_);
  installMapView(view_);
  connect(view_, &MapView::mapMousePressed, this, [this](const MapMouseEvent& e) { onMapMouse(kPress, e); });
  connect(view_, &MapView::mapMouseMoved, this, [this](const MapMouseEvent& e) { onMapMouse(kMove, e); });
  connect(view_, &MapView::mapMouseReleased, this, [this](const MapMouseEvent& e) { onMapMouse(kRelease, e); });
  connect(view_, &MapView::mapDoubleClicked, this, [this](const MapMouseEvent& e) { onMapMouse(kDoubleClick, e); });
  // Only a load that left the window locked waits for this; every other
  // load was finished when openImage returned.
  connect(view_, &MapView::imageReady, this, [this](const ImageLoadResult& r) {
    if (!loadingLocked_) return;
    loadingLocked_ = false;
    QApplication::restoreOverrideCursor();
    setEnabled(true);
    finishImageLoad(r, loadingPath_, loadingStartsDrawing_, loadingPage_);
  });
  // The Space key is no modifier to Qt: the window watches it for the map.
  qApp->installEventFilter(this);
  setAcceptDrops(true);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Space && !key->isAutoRepeat()) spaceDown_ = event->type() == QEvent::KeyPress;
  }
  return QMainWindow::eventFilter(watched, event);
}

void MainWindow::connectMapCommands() {
  connect(command(QStringLiteral("mnuFileNewPrj")), &QAction::triggered, this, [this] { newDrawing(); });
  connect(command(QStringLiteral("mnuToolOpt")), &QAction::triggered, this, [this] { openOptions(); });
  connect(command(QStringLiteral("popMesMenseki")), &QAction::triggered, this, [this] {
    CommandCloseArea(doc_, session_);
    reflectSession();
    view_->refresh();
  });
  connect(command(QStringLiteral("popMesKeiro")), &QAction::triggered, this, [this] {
    CommandFinishRoute(doc_, session_);
    reflectSession();
    view_->refresh();
  });
  connect(command(QStringLiteral("mnuDispAxis")), &QAction::triggered, this, [this] {
    ToggleReadoutRow(session_);
    reflectSession();
    showReadouts();
  });
}

// "座標データ表示": the row shows the position, direction and value boxes of
// the calibration in force; the geographic box only in the lat/long one.
void MainWindow::showReadouts() {
  const bool on = session_.menu.mnuDispAxis;
  if (!on) {
    for (QLineEdit* box : readouts_) box->hide();
    return;
  }
  const bool geo = doc_.state.GE_booModeKei;
  const QStringList tips = {QStringLiteral("経緯度"), QStringLiteral("X mm"), QStringLiteral("Y mm"),
                            geo ? QStringLiteral("方位") : QStringLiteral("角度"), QStringLiteral("距離・寸法")};
  for (int i = 0; i <= 4; ++i) {
    QLineEdit* box = readouts_[static_cast<std::size_t>(i)];
    box->setFixedWidth(i == 0 ? (geo ? 210 : 0) : 73);
    if (i > 0 || geo) box->setToolTip(tips[i]);
    if (i > 0 || geo) box->show();
  }
}

void MainWindow::onMapMouse(int phase, const MapMouseEvent& e) {
  // Cleared by the release, or by a move without the button when a popup
  // took the release.
  if (phase != kDoubleClick) mapLeftHeld_ = e.buttons.testFlag(Qt::LeftButton);
  // A release or double-click ends the user's gesture, whoever took it.
  QString step;  // the name the gesture gave itself, if any
  const auto ended = qScopeGuard([this, phase, &step] {
    if (phase == kRelease) checkpoint(step);
    if (phase == kDoubleClick) checkpoint(QStringLiteral("ラベルの編集"));
  });
  MouseEvent ev;
  ev.x = e.x;
  ev.y = e.y;
  ev.ctrl = e.ctrl;
  ev.shift = e.shift;
  ev.space = spaceDown_;
  ev.button = phase == kMove ? HeldButton(e.buttons) : CoreButton(e.button);
  // Kept labels lie over the drawing: a press one of them takes stays with
  // it, moves and release included, and the map never sees it.
  std::optional<MouseResult> taken;
  switch (phase) {
    case kPress: taken = LabelPress(doc_, session_, ev); break;
    case kMove: taken = LabelDrag(doc_, session_, ev); break;
    case kRelease: taken = LabelRelease(session_); break;
    default: {
      if (ev.button != 1) return;
      DialogPrompt prompt(this);
      taken = LabelDoubleClick(doc_, session_, ev.x, ev.y, prompt);
      break;
    }
  }
  if (taken) {
    afterMouse(*taken);
    return;
  }
  if (phase == kDoubleClick) return;  // the map has no double-click of its own
  MouseResult r;
  switch (phase) {
    case kPress: r = OnMapMouseDown(doc_, session_, ev, annotations_->tools()); break;
    case kMove: r = OnMapMouseMove(doc_, session_, ev, annotations_->tools()); break;
    default: r = OnMapMouseUp(doc_, session_, ev, annotations_->tools()); break;
  }
  step = QString::fromStdString(r.step);
  // A vertex of a kept measurement that a press would grab.
  const bool grabbable =
      phase == kMove && ev.button == 0 && VertexUnder(doc_, session_, ev.x, ev.y);
  if (grabbable || session_.vertexGrab.held()) {
    view_->viewport()->setCursor(Qt::SizeAllCursor);
  } else {
    view_->viewport()->unsetCursor();
  }
  afterMouse(r);
}

void MainWindow::afterMouse(const MouseResult& r) {
  // The boxes are written on every event, shown or not.
  for (std::size_t i = 0; i < readouts_.size(); ++i) {
    const QString text = QString::fromStdString(session_.readout.txtPict[i]);
    if (readouts_[i]->text() != text) readouts_[i]->setText(text);
  }
  if (r.changed) view_->refresh();
  if (options_) {
    const PickReport& p = r.picks;
    if (p.knownDistance) {
      const KnownDistanceReport& k = *p.knownDistance;
      options_->reportKnownDistancePick(k.pair == 0, k.x1, k.y1, k.x2, k.y2, k.length);
    } else if (p.tiltPointsMoved || p.tiltCorrectionChanged || p.taiouPointsMoved || p.ratioDisplay) {
      options_->refreshFromState();
    }
  }
  reflectSession();
  for (Popup p : r.popups) {
    if (QMenu* menu = popup(QString::fromLatin1(PopupName(p)))) {
      menu->exec(QCursor::pos());
      reflectSession();
      view_->refresh();
    }
  }
}

void MainWindow::openOptions() {
  if (!options_) {
    options_ = new OptionsDialog(doc_, this);
    connect(options_, &OptionsDialog::closed, this, [this] {
      LeaveOptionsDialog(doc_, session_);
      reflectSession();
      view_->setToolTip(QString());
      view_->refresh();
    });
    connect(options_, &OptionsDialog::stateChanged, this, [this] { view_->refresh(); });
    connect(options_, &OptionsDialog::mapToolTipChanged, this, [this](const QString& t) { view_->setToolTip(t); });
    // A drawing opened while the dialog is open brings its own resolution.
    connect(view_, &MapView::imageReady, options_,
            [this] { options_->setDrawingResolution(DrawingDpi(view_->image(), view_->isPdfPage())); });
    options_->setDrawingResolution(DrawingDpi(view_->image(), view_->isPdfPage()));
    watchOptions();
  }
  session_.menu.mnuEditSetEnabled = false;
  reflectSession();
  options_->show();
  options_->raise();
  options_->activateWindow();
}

namespace {

// The first dropped local file with an image extension the program opens.
QString DroppedImage(const QMimeData* data) {
  if (data == nullptr || !data->hasUrls()) return {};
  for (const QUrl& url : data->urls()) {
    if (!url.isLocalFile()) continue;
    const QString suffix = QFileInfo(url.toLocalFile()).suffix().toLower();
    for (const char* known : {"jpg", "jpeg", "gif", "bmp", "png", "tif", "tiff", "pdf"}) {
      if (suffix == QLatin1String(known)) return url.toLocalFile();
    }
  }
  return {};
}

}  // namespace

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (!DroppedImage(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
  const QString path = DroppedImage(event->mimeData());
  if (path.isEmpty()) return;
  event->acceptProposedAction();
  if (confirmDiscard()) openImage(path);
}

void MainWindow::newDrawing() {
  if (!confirmDiscard()) return;
  const QString path = imageChooser_ ? imageChooser_() : chooseFile(NewDrawingChooser(doc_));
  if (path.isEmpty()) return;  // a cancelled chooser says nothing
  openImage(path);
}

void MainWindow::openImage(const QString& path, int page) { loadImage(path, true, page); }

void MainWindow::loadImage(const QString& path, bool startsDrawing, int page) {
  if (view_ == nullptr) {
    pendingImage_ = path;
    pendingPage_ = page;
    return;
  }
  pendingImage_.clear();
  // Which page, before anything of the drawing on screen is touched: a
  // cancel leaves it as it was, a page that is not there is refused.
  PageDialog ownChooser(this, path);
  const std::vector<DrawingPage> pages = DrawingPages(path);
  if (!pages.empty()) {
    const PagePick pick = PickPage(pages, page, pageChooser_ ? pageChooser_ : &ownChooser);
    if (pick.cancelled) return;
    if (!pick.page) {
      sink_->error(QStringLiteral("画像表示時エラー"),
                   QStringLiteral("subMapDraw()\r") +
                       ImageFailure(kErrInvalidPicture, QString::fromStdString(pick.error), path).description);
      return;
    }
    page = *pick.page;
  } else if (page == 0) {
    page = 1;  // the probe says what is wrong with the file
  }
  AbandonMeasurement(doc_, session_);  // a drop or a recent drawing, as New does
  view_->refresh();
  ImageLoadResult r;
  {
    BusyGuard busy(this);
    r = view_->openImage(path, page);
  }
  if (!r.ok) {
    sink_->error(QStringLiteral("画像表示時エラー"), QStringLiteral("subMapDraw()\r") + r.description);
    return;
  }
  if (r.pending) {
    // Whatever the image is for is done once it has been read.
    loadingPath_ = path;
    loadingPage_ = page;
    loadingStartsDrawing_ = startsDrawing;
    // The full-resolution read goes on; the window stays locked until then.
    setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    loadingLocked_ = true;
    return;
  }
  finishImageLoad(r, path, startsDrawing, page);
}

void MainWindow::finishImageLoad(const ImageLoadResult& r, const QString& path, bool startsDrawing, int page) {
  if (!r.ok) {
    sink_->error(QStringLiteral("画像表示時エラー"), QStringLiteral("subMapDraw()\r") + r.description);
    return;
  }
  // A new drawing starts empty, at 100 %, with the measuring tool; a
  // project's image only shows under the project just opened.
  if (startsDrawing) {
    if (options_) options_->close();
    StartNewDrawing(doc_, session_, QDir::toNativeSeparators(path).toStdString(), page);
  }
  view_->applyZoom();
  if (startsDrawing) startHistory();
  reflectFiles();
  reflectSession();
  view_->refresh();
}

void MainWindow::applyZoom() {
  if (view_ != nullptr) {
    // The zoom runs to its end before any other input is read, so only the
    // pointer says it is busy: locking the window and giving it back would
    // repaint every bar and menu of it on each zoom step.
    BusyGuard busy(nullptr);
    const ZoomResult z = view_->applyZoom();
    if (!z.imageShown) {
      sink_->error(QStringLiteral("拡大縮小時エラー"),
                   QStringLiteral("画像が読み込まれていないか、拡大縮小の不可能な画像、または設定です。\r"
                                  "画像が読み込まれていません。"));
    }
    if (!z.objectsRescaled) ShowErrorBox(*sink_, QStringLiteral("subDisp_Object"),
                                         ErrorReport{6, "倍率から図形の位置を計算できません。"});
  }
  if (zoomHook_) zoomHook_(doc_.view.sngZoom);
  setStatusText(5, QString::fromStdString(ZoomPercentText(doc_.view.sngZoom)));
}

}  // namespace planimo
