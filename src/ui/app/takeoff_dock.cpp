#include "app/takeoff_dock.h"

#include <QAction>
#include <QClipboard>
#include <QCursor>
#include <QDir>
#include <QEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QSortFilterProxyModel>
#include <QSplitter>
#include <QTableView>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "app/main_window.h"
#include "app/takeoff_highlight.h"
#include "app/takeoff_items_dialog.h"
#include "app/takeoff_model.h"
#include "io/csv_export.h"
#include "model/hit_test.h"
#include "takeoff/takeoff_edit.h"
#include "takeoff/takeoff_rows.h"
#include "takeoff/takeoff_select.h"
#include "takeoff/takeoff_table.h"
#include "takeoff/takeoff_totals.h"
#include "view/map_view.h"
#include "view/view_units.h"

namespace planimo {

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

QPushButton* Button(QWidget* parent, const char* name, const char* caption) {
  auto* b = new QPushButton(QString::fromUtf8(caption), parent);
  b->setObjectName(QString::fromLatin1(name));
  b->setAutoDefault(false);
  return b;
}

}  // namespace

TakeoffDock::TakeoffDock(MainWindow& window, const QString& placeFolder)
    : QDockWidget(QStringLiteral("測定一覧"), &window), window_(window) {
  setObjectName(QStringLiteral("dockTakeoff"));
  auto* body = new QWidget(this);
  auto* buttons = new QHBoxLayout;
  QPushButton* items = Button(body, "cmdTakeoffItems", "品目...");
  itemButton_ = Button(body, "cmdTakeoffPut", "品目に入れる");
  auto* itemMenu = new QMenu(itemButton_);
  itemMenu->setObjectName(QStringLiteral("popTakeoffPut"));
  itemButton_->setMenu(itemMenu);
  QPushButton* deduction = Button(body, "cmdTakeoffDeduction", "控除");
  deductionButton_ = deduction;
  QPushButton* copy = Button(body, "cmdTakeoffCopy", "コピー");
  QPushButton* csv = Button(body, "cmdTakeoffCsv", "CSV...");
  for (QPushButton* b : {items, itemButton_, deduction, copy, csv}) buttons->addWidget(b);
  buttons->addStretch();

  model_ = new TakeoffModel(window.document(), this);
  sorted_ = new QSortFilterProxyModel(this);
  sorted_->setSourceModel(model_);
  sorted_->setSortRole(TakeoffModel::kSortRole);
  table_ = new QTableView(body);
  table_->setObjectName(QStringLiteral("lstTakeoff"));
  table_->setModel(sorted_);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setSortingEnabled(true);
  table_->sortByColumn(-1, Qt::AscendingOrder);  // the core's grouping until a header is clicked
  table_->verticalHeader()->hide();
  table_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
  table_->horizontalHeader()->setStretchLastSection(true);
  table_->setContextMenuPolicy(Qt::CustomContextMenu);
  table_->setWordWrap(false);
  const int widths[] = {36, 48, 84, 76, 40, 120};
  for (int c = 0; c < static_cast<int>(std::size(widths)); ++c) table_->setColumnWidth(c, widths[c]);

  totals_ = new QTreeWidget(body);
  totals_->setObjectName(QStringLiteral("lstTakeoffTotals"));
  totals_->setRootIsDecorated(false);
  totals_->setHeaderLabels({QStringLiteral("品目"), QStringLiteral("件数"), QStringLiteral("長さ"), QStringLiteral("面積")});

  auto* split = new QSplitter(Qt::Vertical, body);
  split->addWidget(table_);
  split->addWidget(totals_);
  split->setStretchFactor(0, 3);
  split->setStretchFactor(1, 1);
  auto* layout = new QVBoxLayout(body);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addLayout(buttons);
  layout->addWidget(split, 1);
  setWidget(body);

  connect(items, &QPushButton::clicked, this, [this] { editItems(); });
  connect(itemMenu, &QMenu::aboutToShow, this, [this] { fillItemMenu(); });
  connect(deduction, &QPushButton::clicked, this, [this] { toggleDeduction(); });
  connect(copy, &QPushButton::clicked, this, [this] { copyTable(); });
  connect(csv, &QPushButton::clicked, this, [this] { window_.exportCsv(CsvKind::Items); });
  connect(table_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { enableCommands(); });
  connect(table_, &QTableView::clicked, this, [this](const QModelIndex& i) { chooseRow(i.row()); });
  connect(table_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
    const QModelIndex i = table_->indexAt(at);
    if (!i.isValid()) return;
    if (!table_->selectionModel()->isRowSelected(i.row(), {})) table_->selectRow(i.row());
    chooseRow(i.row());
    if (QMenu* edit = window_.popup(QStringLiteral("popEdit"))) {
      edit->exec(table_->viewport()->mapToGlobal(at));
      window_.reflectSession();
      if (window_.mapView()) window_.mapView()->refresh();
    }
  });

  window.addDockWidget(Qt::RightDockWidgetArea, this);
  QAction* toggle = toggleViewAction();
  toggle->setObjectName(QStringLiteral("mnuDispTakeoff"));
  toggle->setText(QStringLiteral("測定一覧"));
  if (QMenu* disp = window.findChild<QMenu*>(QStringLiteral("mnuDisp"))) {
    disp->addSeparator();
    disp->addAction(toggle);
  }
  if (window.mapView()) highlight_ = new TakeoffHighlight(window.document(), *window.mapView());
  connect(this, &QDockWidget::visibilityChanged, this, [this](bool on) {
    if (highlight_) highlight_->setShown(on);
    // Wide enough for its columns the first time it is shown.
    if (on && !sized_ && !isFloating()) {
      sized_ = true;
      window_.resizeDocks({this}, {460}, Qt::Horizontal);
    }
  });

  placeTimer_ = new QTimer(this);
  placeTimer_->setSingleShot(true);
  placeTimer_->setInterval(300);
  connect(placeTimer_, &QTimer::timeout, this, [this] { savePlace(); });
  connect(toggle, &QAction::toggled, this, [this] { notePlace(); });
  connect(this, &QDockWidget::dockLocationChanged, this, [this] { notePlace(); });
  connect(this, &QDockWidget::topLevelChanged, this, [this] { notePlace(); });
  installEventFilter(this);
  hide();
  setPlaceFolder(placeFolder);
  follow();
}

void TakeoffDock::follow() {
  // The chosen rows by their objects, so that they stay chosen where the
  // objects stand after the change. Once objects came or went an index may
  // name another object: nothing stays chosen then.
  const std::vector<SelectedObject> chosen = chosenObjects();
  const int before = model_->rowCount();
  model_->reload();
  if (model_->rowCount() != before) {
    table_->selectionModel()->clear();  // the current row too, which a later focus would choose again
  } else if (!chosen.empty()) {
    QItemSelection keep;
    for (int r = 0; r < sorted_->rowCount(); ++r) {
      const std::optional<SelectedObject> o = objectAt(r);
      for (const SelectedObject& c : chosen) {
        if (o && o->strKind == c.strKind && o->intIndex == c.intIndex) {
          keep.select(sorted_->index(r, 0), sorted_->index(r, TakeoffModel::kColumns - 1));
        }
      }
    }
    table_->selectionModel()->select(keep, QItemSelectionModel::ClearAndSelect);
  }
  showTotals();
  enableCommands();
  if (highlight_) highlight_->update();
}

// An item takes chosen rows, and only an area can be a deduction.
void TakeoffDock::enableCommands() {
  const std::vector<SelectedObject> chosen = chosenObjects();
  itemButton_->setEnabled(!chosen.empty());
  deductionButton_->setEnabled(
      std::any_of(chosen.begin(), chosen.end(), [](const SelectedObject& o) { return o.strKind == kKindMensekiS; }));
}

void TakeoffDock::showTotals() {
  const Document& doc = window_.document();
  const TakeoffTotals t = ComputeTotals(doc);
  totals_->clear();
  for (std::size_t i = 1; i <= t.items.size(); ++i) {
    // Items in their order, then what belongs to none.
    const std::size_t n = i % t.items.size();
    const ItemTotal& total = t.items[n];
    if (n == 0 && total.count == 0) continue;
    auto* row = new QTreeWidgetItem(totals_);
    row->setText(0, n == 0 ? QStringLiteral("(品目なし)") : Q(ItemName(doc.state, static_cast<int>(n))));
    if (n > 0) row->setData(0, Qt::DecorationRole, ItemColour(doc.state.takeoffItems[n - 1].colour));
    row->setText(1, QString::number(total.count));
    row->setText(2, Q(LengthTotalText(doc, total.length)).trimmed());
    row->setText(3, Q(AreaTotalText(doc, total.area)).trimmed());
    for (int c = 1; c <= 3; ++c) row->setTextAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
  }
  for (int c = 0; c < 4; ++c) totals_->resizeColumnToContents(c);
}

std::optional<SelectedObject> TakeoffDock::objectAt(int r) const {
  const QModelIndex source = sorted_->mapToSource(sorted_->index(r, 0));
  const TakeoffRow* row = model_->row(source.row());
  if (row == nullptr) return std::nullopt;
  return RowSelection(*row);
}

std::vector<SelectedObject> TakeoffDock::chosenObjects() const {
  std::vector<SelectedObject> out;
  if (table_->selectionModel() == nullptr) return out;
  for (const QModelIndex& i : table_->selectionModel()->selectedRows()) {
    if (std::optional<SelectedObject> o = objectAt(i.row())) out.push_back(*o);
  }
  return out;
}

void TakeoffDock::chooseRow(int r) {
  const std::optional<SelectedObject> o = objectAt(r);
  if (!o || !SelectListed(window_.document(), window_.session(), *o)) return;
  window_.reflectSession();
  MapView* view = window_.mapView();
  if (view == nullptr) return;
  if (const std::optional<ObjectBox> b = ObjectBounds(window_.document(), *o)) {
    // The object's middle to the middle of the view, as far as the drawing
    // lets it scroll.
    const QSize area = view->viewport()->size();
    view->horizontalScrollBar()->setValue(static_cast<int>(MmToPx((b->left + b->right) / 2) - area.width() / 2));
    view->verticalScrollBar()->setValue(static_cast<int>(MmToPx((b->top + b->bottom) / 2) - area.height() / 2));
  }
  if (highlight_) highlight_->setShown(isVisible());
}

void TakeoffDock::copyTable() {
  QGuiApplication::clipboard()->setText(QString::fromStdString(TakeoffClipboardText(window_.document())));
}

void TakeoffDock::after(const QString& caption) {
  window_.checkpoint(caption);
  follow();
}

void TakeoffDock::putChosenInItem(int item) {
  if (AssignItem(window_.document(), chosenObjects(), item)) after(QStringLiteral("品目に入れる"));
}

void TakeoffDock::toggleDeduction() {
  Document& doc = window_.document();
  std::vector<SelectedObject> areas;
  bool all = true;
  for (const SelectedObject& o : chosenObjects()) {
    const TextRecord* label = ListedLabel(doc, o);
    if (o.strKind != kKindMensekiS || label == nullptr) continue;
    areas.push_back(o);
    all = all && label->Deduction;
  }
  if (SetDeduction(doc, areas, !all)) after(QStringLiteral("控除"));
}

void TakeoffDock::fillItemMenu() {
  QMenu* menu = itemButton_->menu();
  menu->clear();
  const std::vector<TakeoffItem>& items = window_.document().state.takeoffItems;
  for (std::size_t i = 0; i <= items.size(); ++i) {
    const int n = i < items.size() ? static_cast<int>(i + 1) : 0;
    QAction* a = menu->addAction(n == 0 ? QStringLiteral("(品目なし)") : Q(items[i].name));
    a->setObjectName(QStringLiteral("popTakeoffPut(%1)").arg(n));
    if (n > 0) {
      QPixmap swatch(12, 12);
      swatch.fill(ItemColour(items[i].colour));
      a->setIcon(QIcon(swatch));
    }
    connect(a, &QAction::triggered, this, [this, n] { putChosenInItem(n); });
  }
}

void TakeoffDock::editItems() {
  TakeoffItemsDialog dialog(window_.document(), [this](const QString& caption) { after(caption); }, &window_);
  dialog.exec();
}

bool TakeoffDock::eventFilter(QObject* watched, QEvent* event) {
  if (watched == this && (event->type() == QEvent::Resize || event->type() == QEvent::Move)) notePlace();
  return QDockWidget::eventFilter(watched, event);
}

// --- the dock's place, kept between sessions ---

void TakeoffDock::setPlaceFolder(const QString& folder) {
  placeFile_ = folder.isEmpty() ? QString() : QDir(folder).filePath(QStringLiteral("takeoff_dock.ini"));
  restorePlace();
}

void TakeoffDock::notePlace() {
  // Hiding the main window (closing the program) is no choice of the user's.
  if (!restoring_ && window_.isVisible()) placeTimer_->start();
}

void TakeoffDock::savePlace() {
  if (placeFile_.isEmpty() || !window_.isVisible()) return;
  QSettings s(placeFile_, QSettings::IniFormat);
  s.setValue(QStringLiteral("shown"), toggleViewAction()->isChecked());
  s.setValue(QStringLiteral("area"), static_cast<int>(window_.dockWidgetArea(this)));
  s.setValue(QStringLiteral("floating"), isFloating());
  s.setValue(QStringLiteral("geometry"), isFloating() ? geometry() : QRect(QPoint(), size()));
}

void TakeoffDock::restorePlace() {
  if (placeFile_.isEmpty()) return;
  QSettings s(placeFile_, QSettings::IniFormat);
  if (!s.contains(QStringLiteral("shown"))) return;
  restoring_ = true;
  const auto area = static_cast<Qt::DockWidgetArea>(s.value(QStringLiteral("area")).toInt());
  if (area == Qt::LeftDockWidgetArea || area == Qt::RightDockWidgetArea || area == Qt::TopDockWidgetArea ||
      area == Qt::BottomDockWidgetArea) {
    window_.addDockWidget(area, this);
  }
  const QRect g = s.value(QStringLiteral("geometry")).toRect();
  setFloating(s.value(QStringLiteral("floating")).toBool());
  setVisible(s.value(QStringLiteral("shown")).toBool());
  if (isFloating() && g.isValid()) {
    setGeometry(g);
  } else if (g.isValid()) {
    sized_ = true;
    const bool across = area == Qt::TopDockWidgetArea || area == Qt::BottomDockWidgetArea;
    window_.resizeDocks({this}, {across ? g.height() : g.width()}, across ? Qt::Vertical : Qt::Horizontal);
  }
  restoring_ = false;
}

}  // namespace planimo
