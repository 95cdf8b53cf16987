// The edit menu and the keys of a measurement in progress: every command of
// the menus, popups and toolbar, every end of a gesture on the map and the
// options dialog's "設定" end one user action, which the core's history
// turns into an undo step when the drawing changed; a command that comes
// during a drag on the map belongs to the drag. Also the list of
// recently used drawings in the file menu.
#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTableView>

#include "app/main_window.h"
#include "app/takeoff_dock.h"
#include "measure/measure_keys.h"
#include "view/map_view.h"

namespace planimo {

namespace {

// "図面を開く(&O)" -> "図面を開く", "線の色...." -> "線の色".
QString Plain(QString text) {
  static const QRegularExpression mnemonic(QStringLiteral("\\(&.\\)"));
  text.remove(mnemonic);
  text.remove(QLatin1Char('&'));
  while (text.endsWith(QLatin1Char('.')) || text.endsWith(QChar(0x2026))) text.chop(1);
  return text.trimmed();
}

// A step is named after its command; an item of a submenu with the submenu
// too ("線の幅 3P", "小数点 2").
QString CommandCaption(const QAction* action) {
  const QString own = Plain(action->text());
  const auto* menu = qobject_cast<const QMenu*>(action->parent());
  if (menu != nullptr && qobject_cast<const QMenu*>(menu->parentWidget()) != nullptr) {
    return Plain(menu->title()) + QLatin1Char(' ') + own;
  }
  return own;
}

bool IsHistoryCommand(const QAction* a) {
  const QString n = a->objectName();
  return n == u"mnuEditUndo" || n == u"mnuEditRedo" || n == u"keyEscape" || n == u"keyBackspace" ||
         n.startsWith(u"mnuFileRecent");
}

}  // namespace

void MainWindow::buildEditMenu() {
  auto* edit = new QMenu(QStringLiteral("編集(&E)"), this);
  edit->setObjectName(QStringLiteral("mnuEdit"));
  QAction* undo = addCommand(edit, QStringLiteral("mnuEditUndo"), QStringLiteral("元に戻す(&U)"));
  undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
  QAction* redo = addCommand(edit, QStringLiteral("mnuEditRedo"), QStringLiteral("やり直し(&R)"));
  redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
  // Between the file menu and the display menu.
  const QList<QAction*> bar = menuBar()->actions();
  menuBar()->insertMenu(bar.size() > 1 ? bar[1] : nullptr, edit);

  const std::pair<const char*, Qt::Key> keys[] = {{"keyEscape", Qt::Key_Escape}, {"keyBackspace", Qt::Key_Backspace}};
  for (const auto& [name, key] : keys) {
    auto* a = new QAction(this);
    a->setObjectName(QString::fromLatin1(name));
    a->setShortcut(QKeySequence(key));
    addAction(a);
  }
  buildRecentMenu();
}

void MainWindow::connectHistory() {
  connect(command(QStringLiteral("mnuEditUndo")), &QAction::triggered, this, [this] { undo(); });
  connect(command(QStringLiteral("mnuEditRedo")), &QAction::triggered, this, [this] { redo(); });
  connect(command(QStringLiteral("keyEscape")), &QAction::triggered, this, [this] {
    if (EscapeMeasurement(doc_, session_)) afterHistoryChange();
  });
  connect(command(QStringLiteral("keyBackspace")), &QAction::triggered, this, [this] {
    if (!BackspacePath(doc_, session_)) return;
    checkpoint(QStringLiteral("頂点の取り消し"));
    afterHistoryChange();
  });
  // Connected after every command's own handler, so it sees the result.
  for (QAction* a : findChildren<QAction*>()) {
    if (IsHistoryCommand(a) || a->menu() != nullptr) continue;
    connect(a, &QAction::triggered, this, [this, a] {
      // A key pressed during a drag on the map is part of the drag: one step
      // at the release, never a half-finished drag of its own.
      if (!mapLeftHeld_) checkpoint(CommandCaption(a));
    });
  }
  ResetHistory(history_, doc_);
  reflectHistory();
}

void MainWindow::checkpoint(const QString& caption) {
  if (Checkpoint(history_, doc_, caption.toStdString())) reflectHistory();
}

void MainWindow::startHistory() {
  // Another drawing: rows chosen in the list named the old drawing's objects.
  if (takeoff_ != nullptr) takeoff_->table()->selectionModel()->clear();
  ResetHistory(history_, doc_);
  reflectHistory();
}

// A key press while a button is held on the map would pull the records from
// under a drag or a leader line being drawn: it is ignored until the release.
void MainWindow::undo() {
  if (QGuiApplication::mouseButtons() != Qt::NoButton) return;
  // A measurement in progress ends with the step.
  EscapeMeasurement(doc_, session_);
  session_.labelGrab = {};
  session_.intHkdHandle = -1;
  if (Undo(history_, doc_)) afterHistoryChange();
}

void MainWindow::redo() {
  if (QGuiApplication::mouseButtons() != Qt::NoButton) return;
  EscapeMeasurement(doc_, session_);
  session_.labelGrab = {};
  session_.intHkdHandle = -1;
  if (Redo(history_, doc_)) afterHistoryChange();
}

void MainWindow::afterHistoryChange() {
  reflectHistory();
  reflectSession();
  if (options_) options_->refreshFromState();
  if (view_ != nullptr) view_->refresh();
}

void MainWindow::reflectHistory() {
  QAction* undo = command(QStringLiteral("mnuEditUndo"));
  QAction* redo = command(QStringLiteral("mnuEditRedo"));
  undo->setText(QString::fromStdString(UndoMenuText(history_)));
  undo->setEnabled(CanUndo(history_));
  redo->setText(QString::fromStdString(RedoMenuText(history_)));
  redo->setEnabled(CanRedo(history_));
  if (takeoff_ != nullptr) takeoff_->follow();
}

// The options dialog writes the project values as the user types; its
// "設定" buttons and its closing end the action.
void MainWindow::watchOptions() {
  for (const char* name : {"cmdSettei", "cmdScale", "cmdCnv"}) {
    if (auto* b = options_->findChild<QPushButton*>(QString::fromLatin1(name))) {
      connect(b, &QPushButton::clicked, this, [this] { checkpoint(QStringLiteral("設定")); });
    }
  }
  connect(options_, &OptionsDialog::closed, this, [this] { checkpoint(QStringLiteral("ｵﾌﾟｼｮﾝ")); });
}

// "最近使った図面": shown once opening a project by its path is possible.
void MainWindow::buildRecentMenu() {
  QMenu* file = findChild<QMenu*>(QStringLiteral("mnuFile"));
  QAction* end = command(QStringLiteral("mnuFileEnd"));
  auto* recent = new QMenu(QStringLiteral("最近使った図面"), file);
  recent->setObjectName(QStringLiteral("mnuFileRecent"));
  recent->menuAction()->setObjectName(QStringLiteral("mnuFileRecent"));
  file->insertMenu(end, recent);
  file->insertSeparator(end)->setObjectName(QStringLiteral("mnuFileRecentBar"));
  const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
  setRecentFolder(QDir(folder).filePath(QStringLiteral("Planimo")));
}

void MainWindow::setRecentFolder(const QString& folder) {
  recentFile_ = QString::fromStdString(RecentDrawingsPath(folder.toStdString()));
  recent_ = ReadRecentDrawings(recentFile_.toStdString());
  if (takeoff_ != nullptr) takeoff_->setPlaceFolder(folder);
  reflectRecent();
}

void MainWindow::setRecentOpener(std::function<void(const QString&)> opener) {
  recentOpener_ = std::move(opener);
  reflectRecent();
}

void MainWindow::noteRecentDrawing(const QString& path) {
  NoteRecentDrawing(recent_, QDir::toNativeSeparators(path).toStdString());
  WriteRecentDrawings(recentFile_.toStdString(), recent_);
  reflectRecent();
}

void MainWindow::reflectRecent() {
  auto* menu = findChild<QMenu*>(QStringLiteral("mnuFileRecent"));
  // Rebuilt also from inside one of its own entries (an open notes the
  // drawing, a missing file leaves the list): the old entries go later.
  for (QAction* old : menu->actions()) {
    menu->removeAction(old);
    old->deleteLater();
  }
  for (std::size_t i = 0; i < recent_.paths.size(); ++i) {
    QAction* a = menu->addAction(QString::fromStdString(RecentDrawingCaption(recent_, i)));
    a->setObjectName(QStringLiteral("mnuFileRecent(%1)").arg(i));
    connect(a, &QAction::triggered, this, [this, i] {
      RecentChoice c = ChooseRecentDrawing(recent_, i, [](const std::string& p) {
        return QFileInfo::exists(QString::fromStdString(p));
      });
      if (!c.open) {
        WriteRecentDrawings(recentFile_.toStdString(), recent_);
        reflectRecent();
        sink_->information(QStringLiteral("最近使った図面"), QString::fromStdString(c.message));
        return;
      }
      recentOpener_(QString::fromStdString(*c.open));
    });
  }
  const bool offered = static_cast<bool>(recentOpener_);
  menu->menuAction()->setVisible(offered);
  menu->menuAction()->setEnabled(!recent_.paths.empty());
  findChild<QAction*>(QStringLiteral("mnuFileRecentBar"))->setVisible(offered);
}

}  // namespace planimo
