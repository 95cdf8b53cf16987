// stsBar: six panels, numbered from 1.
#include <QLabel>
#include <QStatusBar>

#include "app/main_window.h"

namespace planimo {

namespace {

struct PanelSpec {
  const char* tooltip;
  int width;
  int minimumWidth;
};

constexpr PanelSpec kPanels[] = {
    {"図面名", 166, 166},       {"画像ファイル名", 166, 166}, {"ツール", 96, 96},
    {"モード", 96, 96},         {"拡大縮小率", 66, 66},       {"画像ファイルパス名", 120, 96},
};

}  // namespace

void MainWindow::buildStatusBar() {
  QStatusBar* bar = statusBar();
  bar->setObjectName(QStringLiteral("stsBar"));
  bar->setSizeGripEnabled(true);
  for (std::size_t i = 0; i < panels_.size(); ++i) {
    const PanelSpec& spec = kPanels[i];
    auto* panel = new QLabel(bar);
    panel->setObjectName(QStringLiteral("stsPanel%1").arg(i + 1));
    panel->setToolTip(QString::fromUtf8(spec.tooltip));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setMinimumWidth(spec.minimumWidth);
    const bool last = i + 1 == panels_.size();
    if (!last) panel->setMaximumWidth(spec.width);
    panel->resize(spec.width, panel->sizeHint().height());
    // The path panel takes what is left of the bar, never less than its minimum.
    bar->addWidget(panel, last ? 1 : 0);
    panels_[i] = panel;
  }
  setStatusText(1, QString());
  setStatusText(2, QString());
  setStatusText(6, QString());
}

}  // namespace planimo
