// stsBar: six panels, numbered from 1.
#include <QLabel>
#include <QStatusBar>

#include "app/main_window.h"

namespace planimo {

namespace {

struct PanelLayout {
  const char* tooltip;
  int width;
  int minimumWidth;
};

constexpr PanelLayout kPanels[] = {
    {"図面名", 166, 166},       {"画像ファイル名", 166, 166}, {"ツール", 96, 96},
    {"モード", 96, 96},         {"拡大縮小率", 66, 66},       {"画像ファイルパス名", 120, 96},
};

}  // namespace

void MainWindow::buildStatusBar() {
  QStatusBar* bar = statusBar();
  bar->setObjectName(QStringLiteral("stsBar"));
  bar->setSizeGripEnabled(true);
  for (std::size_t i = 0; i < panels_.size(); ++i) {
    const PanelLayout& layout = kPanels[i];
    auto* panel = new QLabel(bar);
    panel->setObjectName(QStringLiteral("stsPanel%1").arg(i + 1));
    panel->setToolTip(QString::fromUtf8(layout.tooltip));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setMinimumWidth(layout.minimumWidth);
    const bool last = i + 1 == panels_.size();
    // A panel of fixed size takes a new text without laying the window out
    // again, which would repaint the map and the list on every zoom step.
    if (!last) panel->setFixedSize(layout.width, panel->sizeHint().height());
    panel->resize(layout.width, panel->sizeHint().height());
    // The path panel takes what is left of the bar, never less than its minimum.
    bar->addWidget(panel, last ? 1 : 0);
    panels_[i] = panel;
  }
  setStatusText(1, QString());
  setStatusText(2, QString());
  setStatusText(6, QString());
}

}  // namespace planimo
