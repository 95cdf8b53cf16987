#include "app/options_dialog.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QShowEvent>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace planimo {

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

void SetText(QLineEdit* box, const std::string& text) {
  const QString q = Q(text);
  if (box->text() != q) box->setText(q);
}

void SetText(QLabel* label, const std::string& text) { label->setText(Q(text)); }

bool IsEnter(const QKeyEvent* key) { return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter; }

}  // namespace

OptionsDialog::OptionsDialog(Document& doc, QWidget* parent) : QDialog(parent), doc_(doc) {
  setObjectName(QStringLiteral("frmOption"));
  setWindowTitle(QStringLiteral("オプション"));
  // Modeless, above the main window, gone once closed.
  setWindowFlags(windowFlags() | Qt::Tool);
  setModal(false);
  setAttribute(Qt::WA_DeleteOnClose);

  auto* layout = new QVBoxLayout(this);
  SSTab_ = new QTabWidget(this);
  SSTab_->setObjectName(QStringLiteral("SSTab"));
  const char* captions[kOptionTabCount] = {"全般", "傾き補正", "既知の距離設定", "既知の経緯度設定"};
  for (int t = 0; t < kOptionTabCount; ++t) {
    auto* page = new QWidget(SSTab_);
    page->setObjectName(QStringLiteral("SSTab_%1").arg(t));
    SSTab_->addTab(page, QString::fromUtf8(captions[t]));
  }
  buildGeneralTab(SSTab_->widget(0));
  buildTiltTab(SSTab_->widget(1));
  buildDistanceTab(SSTab_->widget(2));
  buildLatLongTab(SSTab_->widget(3));
  layout->addWidget(SSTab_);
  cmdOK_ = new QPushButton(QStringLiteral("OK"), this);
  cmdOK_->setObjectName(QStringLiteral("cmdOK"));
  layout->addWidget(cmdOK_, 0, Qt::AlignRight);
  // Enter belongs to the boxes' focus chains, never to a default button.
  for (QPushButton* button : {cmdSettei_, cmdCnv_, cmdScale_, cmdOK_}) {
    button->setAutoDefault(false);
    button->setDefault(false);
  }

  LoadOptionsForm(doc_, form_);
  push();
  connectControls();
}

OptionsDialog::~OptionsDialog() {
  // The boxes outlive this object's members while the base class tears them
  // down; their last focus-out must not reach the filter any more.
  for (const auto& entry : boxes_) const_cast<QObject*>(entry.first)->removeEventFilter(this);
  for (QRadioButton* option : optUnitD_) option->removeEventFilter(this);
}

void OptionsDialog::connectControls() {
  for (int i = 0; i < 2; ++i) {
    connect(optMOde_[i], &QRadioButton::clicked, this, [this, i] {
      ChooseMode(doc_, form_, i);
      push();
    });
  }
  for (int n = 0; n < kUnitCount; ++n) {
    connect(optUnitD_[n], &QRadioButton::clicked, this, [this, n] {
      pull();
      ChooseDistanceUnit(doc_, form_, n);
      push();
    });
    connect(optUnitS_[n], &QRadioButton::clicked, this, [this, n] {
      ChooseAreaUnit(doc_, form_, n);
      push();
    });
  }
  connect(vscDPointD_, &QScrollBar::valueChanged, this, [this](int v) {
    if (pushing_) return;
    SetDecimalsD(doc_, form_, v);
    push();
  });
  connect(vscDPointS_, &QScrollBar::valueChanged, this, [this](int v) {
    if (pushing_) return;
    SetDecimalsS(doc_, form_, v);
    push();
  });
  connect(chkSnap_, &QCheckBox::toggled, this, [this](bool on) {
    if (pushing_) return;
    SetSnap(doc_, form_, on);
  });
  connect(SSTab_, &QTabWidget::currentChanged, this, [this](int tab) {
    if (!pushing_) selectTab(tab);
  });
  connect(cmdSettei_, &QPushButton::clicked, this, [this] {
    pull();
    ApplyKnownDistance(doc_, form_);
    push();
  });
  connect(cmdScale_, &QPushButton::clicked, this, [this] {
    pull();
    const FocusMove move = ApplyDrawingScale(doc_, form_);
    push();
    applyFocus(move);
    emit stateChanged();
  });
  connect(cmdCnv_, &QPushButton::clicked, this, [this] {
    pull();
    ApplyLatLong(doc_, form_);
    push();
    emit stateChanged();
  });
  connect(cmdOK_, &QPushButton::clicked, this, &QWidget::close);
}

QWidget* OptionsDialog::widgetFor(BoxRef ref) const {
  const int i = ref.index;
  switch (ref.box) {
    case OptionBox::txtHojoLen: return txtHojoLen_;
    case OptionBox::chkSnap: return chkSnap_;
    case OptionBox::cmdOK: return cmdOK_;
    case OptionBox::txtHosei: return i >= 0 && i < 8 ? txtHosei_[i] : nullptr;
    case OptionBox::txtXY: return i >= 0 && i < 12 ? txtXY_[i] : nullptr;
    case OptionBox::txtPict_mm1: return i >= 0 && i < 2 ? txtPict_mm1_[i] : nullptr;
    case OptionBox::txtPict_mm2: return i >= 0 && i < 2 ? txtPict_mm2_[i] : nullptr;
    case OptionBox::txtKeido1: return i >= 0 && i < 4 ? dms_[0][i] : nullptr;
    case OptionBox::txtIdo1: return i >= 0 && i < 4 ? dms_[1][i] : nullptr;
    case OptionBox::txtKeido2: return i >= 0 && i < 4 ? dms_[2][i] : nullptr;
    case OptionBox::txtIdo2: return i >= 0 && i < 4 ? dms_[3][i] : nullptr;
    case OptionBox::txtScaleN: return txtScaleN_;
    case OptionBox::txtScaleDpi: return txtScaleDpi_;
    case OptionBox::None: break;
  }
  return nullptr;
}

void OptionsDialog::pull() {
  for (const auto& [object, ref] : boxes_) {
    const std::string text = static_cast<const QLineEdit*>(object)->text().toStdString();
    const int i = ref.index;
    switch (ref.box) {
      case OptionBox::txtHojoLen: form_.txtHojoLen = text; break;
      case OptionBox::txtHosei: form_.txtHosei[i] = text; break;
      case OptionBox::txtXY: form_.txtXY[i] = text; break;
      case OptionBox::txtPict_mm1: form_.txtPict_mm1[i] = text; break;
      case OptionBox::txtPict_mm2: form_.txtPict_mm2[i] = text; break;
      case OptionBox::txtKeido1: form_.txtKeido1[i] = text; break;
      case OptionBox::txtIdo1: form_.txtIdo1[i] = text; break;
      case OptionBox::txtKeido2: form_.txtKeido2[i] = text; break;
      case OptionBox::txtIdo2: form_.txtIdo2[i] = text; break;
      case OptionBox::txtScaleN: form_.txtScaleN = text; break;
      case OptionBox::txtScaleDpi: form_.txtScaleDpi = text; break;
      default: break;
    }
  }
}

void OptionsDialog::push() {
  pushing_ = true;
  optMOde_[form_.optMOde]->setChecked(true);
  for (int n = 0; n < kUnitCount; ++n) {
    optUnitD_[n]->setText(Q(form_.optUnitD[n]));
    optUnitS_[n]->setText(Q(form_.optUnitS[n]));
  }
  optUnitD_[form_.unitD]->setChecked(true);
  optUnitS_[form_.unitS]->setChecked(true);
  vscDPointD_->setValue(form_.vscDPointD);
  vscDPointS_->setValue(form_.vscDPointS);
  SetText(lblDPointD_, form_.lblDPointD);
  SetText(lblDPointS_, form_.lblDPointS);
  SetText(txtHojoLen_, form_.txtHojoLen);
  chkSnap_->setChecked(form_.chkSnap);
  for (int i = 0; i < 8; ++i) SetText(txtHosei_[i], form_.txtHosei[i]);
  for (int i = 0; i < 12; ++i) SetText(txtXY_[i], form_.txtXY[i]);
  for (int i = 0; i < 2; ++i) {
    SetText(lblUnit_[i], form_.lblUnit[i]);
    SetText(txtPict_mm1_[i], form_.txtPict_mm1[i]);
    SetText(txtPict_mm2_[i], form_.txtPict_mm2[i]);
  }
  for (int i = 0; i < 3; ++i) SetText(lblRecio_[i], form_.lblRecio[i]);
  for (int g = 0; g < kDmsGroupCount; ++g) {
    for (int k = 0; k < 4; ++k) SetText(dms_[g][k], DmsGroup(form_, g)[k]);
  }
  for (int i = 0; i < 8; ++i) SetText(lblPara_[i], form_.lblPara[i]);
  SetText(txtScaleN_, form_.txtScaleN);
  SetText(txtScaleDpi_, form_.txtScaleDpi);
  for (int t = 0; t < kOptionTabCount; ++t) SSTab_->setTabEnabled(t, form_.tabEnabled[t]);
  SSTab_->setCurrentIndex(form_.SSTab);
  pushing_ = false;
}

void OptionsDialog::applyFocus(const FocusMove& move) {
  QWidget* target = widgetFor(move.focus);
  if (!target) return;
  if (target == focusWidget()) {
    if (auto* box = qobject_cast<QLineEdit*>(target); box && move.selectText) box->selectAll();
    return;
  }
  target->setFocus(Qt::OtherFocusReason);
}

void OptionsDialog::selectTab(int tab) {
  pull();
  const FocusMove move = SelectOptionTab(doc_, form_, tab);
  push();
  applyFocus(move);
  emit mapToolTipChanged(Q(form_.mapToolTip));
  emit stateChanged();
}

FocusMove OptionsDialog::enterBox(BoxRef ref) {
  const int i = ref.index;
  switch (ref.box) {
    case OptionBox::txtHojoLen: return HojoLenEnter(doc_, form_);
    case OptionBox::txtHosei: return HoseiEnter(form_, i);
    case OptionBox::txtXY: return XYEnter(form_, i);
    case OptionBox::txtPict_mm1: return PictMmEnter(form_, 0, i);
    case OptionBox::txtPict_mm2: return PictMmEnter(form_, 1, i);
    case OptionBox::txtKeido1: return DmsEnter(form_, 0, i);
    case OptionBox::txtIdo1: return DmsEnter(form_, 1, i);
    case OptionBox::txtKeido2: return DmsEnter(form_, 2, i);
    case OptionBox::txtIdo2: return DmsEnter(form_, 3, i);
    case OptionBox::txtScaleN:
    case OptionBox::txtScaleDpi: return ScaleEnter(form_, ref.box);
    default: return {};
  }
}

bool OptionsDialog::leaveBox(BoxRef ref) {
  const int i = ref.index;
  switch (ref.box) {
    case OptionBox::txtHojoLen: HojoLenLeave(doc_, form_); return false;
    case OptionBox::txtHosei: return HoseiLeave(doc_, form_, i);
    case OptionBox::txtXY: XYLeave(doc_, form_, i); return false;
    case OptionBox::txtPict_mm1: return PictMmLeave(doc_, form_, 0, i);
    case OptionBox::txtPict_mm2: return PictMmLeave(doc_, form_, 1, i);
    case OptionBox::txtKeido1: DmsLeave(form_, 0, i); return false;
    case OptionBox::txtIdo1: DmsLeave(form_, 1, i); return false;
    case OptionBox::txtKeido2: DmsLeave(form_, 2, i); return false;
    case OptionBox::txtIdo2: DmsLeave(form_, 3, i); return false;
    default: return false;
  }
}

bool OptionsDialog::eventFilter(QObject* watched, QEvent* event) {
  if (const auto it = boxes_.find(watched); it != boxes_.end()) {
    auto* box = static_cast<QLineEdit*>(watched);
    const BoxRef ref = it->second;
    if (event->type() == QEvent::KeyPress && IsEnter(static_cast<QKeyEvent*>(event))) {
      pull();
      const FocusMove move = enterBox(ref);
      push();
      applyFocus(move);
      return true;  // Enter never reaches the box or a button
    }
    if (event->type() == QEvent::FocusOut && !pushing_) {
      pull();
      const bool moved = leaveBox(ref);
      push();
      if (moved) emit stateChanged();
    } else if (event->type() == QEvent::FocusIn) {
      // After the click that brought the focus has placed its cursor.
      QTimer::singleShot(0, box, &QLineEdit::selectAll);
    }
    return false;
  }
  if (event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool typed = !key->text().isEmpty() && key->key() != Qt::Key_Space && key->key() != Qt::Key_Tab &&
                       key->key() != Qt::Key_Backtab;
    for (QRadioButton* option : optUnitD_) {
      if (watched == option && typed) {
        pull();
        const FocusMove move = DistanceUnitKey(doc_, form_);
        push();
        applyFocus(move);
        return true;
      }
    }
  }
  return QDialog::eventFilter(watched, event);
}

void OptionsDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (event->spontaneous()) return;
  pull();
  const FocusMove move = ActivateOptionsForm(doc_, form_);
  push();
  applyFocus(move);
  emit mapToolTipChanged(Q(form_.mapToolTip));
  emit stateChanged();
}

void OptionsDialog::closeEvent(QCloseEvent* event) {
  CloseOptionsForm(doc_, form_);
  pushing_ = true;
  SSTab_->setCurrentIndex(0);
  pushing_ = false;
  emit mapToolTipChanged(QString());
  emit stateChanged();
  emit closed();
  event->accept();
}

void OptionsDialog::reject() { close(); }

void OptionsDialog::refreshFromState() {
  pull();
  RefreshFromState(doc_, form_);
  push();
}

void OptionsDialog::reportKnownDistancePick(bool horizontal, float x1, float y1, float x2, float y2,
                                            float length) {
  pull();
  ReportDistancePick(doc_, form_, horizontal, x1, y1, x2, y2, length);
  push();
}

void OptionsDialog::setDrawingResolution(std::optional<double> dpi) {
  pull();
  ShowDrawingResolution(form_, dpi);
  push();
}

void OptionsDialog::refreshRatios() {
  pull();
  subDisp_Rato(doc_, form_);
  push();
}

}  // namespace planimo
