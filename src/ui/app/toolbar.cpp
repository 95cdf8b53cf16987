// Toolbar1: the command buttons and, to their right, the read-out boxes.
#include <QAction>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

#include "app/main_window.h"
#include "model/zoom_steps.h"

namespace planimo {

namespace {

struct ButtonSpec {
  const char* key;
  const char* tooltip;
  const char* theme;  // freedesktop icon name, with a style icon as fallback
  QStyle::StandardPixmap fallback;
};

}  // namespace

void MainWindow::buildToolbar() {
  QToolBar* bar = addToolBar(QStringLiteral("Toolbar1"));
  bar->setObjectName(QStringLiteral("Toolbar1"));
  bar->setMovable(false);
  bar->setFloatable(false);
  const ButtonSpec buttons[] = {
      {"open", "図面を開く", "document-open", QStyle::SP_DialogOpenButton},
      {"save", "図面の上書き保存", "document-save", QStyle::SP_DialogSaveButton},
      {"print", "印刷...", "document-print", QStyle::SP_FileDialogDetailedView},
      {"magnify", "拡大", "zoom-in", QStyle::SP_ArrowUp},
      {"modosu", "読み込み時のサイズに戻す", "zoom-original", QStyle::SP_BrowserReload},
      {"reduce", "縮小", "zoom-out", QStyle::SP_ArrowDown},
      {"help", "ヘルプ", "help-contents", QStyle::SP_DialogHelpButton},
  };
  for (const ButtonSpec& b : buttons) {
    const QString key = QString::fromLatin1(b.key);
    const QIcon icon = QIcon::fromTheme(QString::fromLatin1(b.theme), style()->standardIcon(b.fallback));
    QAction* a = bar->addAction(icon, QString::fromUtf8(b.tooltip));
    a->setObjectName(key);
    a->setToolTip(QString::fromUtf8(b.tooltip));
    if (QWidget* w = bar->widgetForAction(a)) w->setObjectName(key);
    connect(a, &QAction::triggered, this, [this, key] { runToolbarKey(key); });
    if (key == QLatin1String("print") || key == QLatin1String("reduce")) bar->addSeparator();
  }
}

// The read-out boxes sit in one row inside a holder, so each box can be
// shown and hidden on its own.
void MainWindow::buildReadouts() {
  QToolBar* bar = findChild<QToolBar*>(QStringLiteral("Toolbar1"));
  bar->addSeparator();
  auto* holder = new QWidget(bar);
  holder->setObjectName(QStringLiteral("readoutRow"));
  auto* row = new QHBoxLayout(holder);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(2);
  const char* tips[] = {"経度", "緯度", "速度", "経過距離", "時刻", "標高", "経過秒"};
  for (std::size_t i = 0; i < readouts_.size(); ++i) {
    auto* box = new QLineEdit(holder);
    box->setObjectName(QStringLiteral("txtPict(%1)").arg(i));
    box->setToolTip(QString::fromUtf8(tips[i]));
    box->setReadOnly(true);
    box->setMinimumWidth(i == 0 ? 200 : 90);
    box->clear();
    box->hide();
    row->addWidget(box);
    readouts_[i] = box;
  }
  row->addStretch();
  bar->addWidget(holder);
}

// Every button first leaves a fixed zoom and any unfinished measurement.
void MainWindow::runToolbarKey(const QString& key) {
  resetDispMenu();
  const auto runIfEnabled = [this](const char* name) {
    QAction* a = command(QString::fromLatin1(name));
    if (a->isEnabled()) a->trigger();
  };
  if (key == QLatin1String("open")) {
    runIfEnabled("mnuFileOpenPrj");
  } else if (key == QLatin1String("save")) {
    runIfEnabled("mnuFileSavePrj");
  } else if (key == QLatin1String("print")) {
    runIfEnabled("mnuFilePrint");
  } else if (key == QLatin1String("magnify")) {
    toolbarMagnify();
  } else if (key == QLatin1String("modosu")) {
    toolbarAsLoaded();
  } else if (key == QLatin1String("reduce")) {
    toolbarReduce();
  } else if (key == QLatin1String("help")) {
    showHelpHint();
  }
}

void MainWindow::toolbarMagnify() {
  doc_.view.sngZoom = MagnifyStep(doc_.view.sngZoom);
  applyZoom();
}

void MainWindow::toolbarReduce() {
  doc_.view.sngZoom = ReduceStep(doc_.view.sngZoom);
  applyZoom();
}

void MainWindow::toolbarAsLoaded() {
  doc_.view.sngZoom = kZoomAsLoaded;
  applyZoom();
}

}  // namespace planimo
