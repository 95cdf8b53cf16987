// The controls of the options dialog, tab by tab, each under its own name
// ("txtXY_5" is txtXY(5)).

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include "app/options_dialog.h"

namespace planimo {

namespace {

QString Indexed(const char* name, int i) { return QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(i); }

QLabel* Caption(const QString& text, QWidget* parent) { return new QLabel(text, parent); }

QLabel* ReadOut(const QString& name, QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setObjectName(name);
  label->setFrameShape(QFrame::Panel);
  label->setFrameShadow(QFrame::Sunken);
  label->setMinimumWidth(90);
  // A read-out is one line high wherever the grid has room to spare.
  label->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
  return label;
}

}  // namespace

QLineEdit* OptionsDialog::makeBox(const QString& name, BoxRef ref) {
  auto* box = new QLineEdit(this);
  box->setObjectName(name);
  box->setMaxLength(99);
  box->installEventFilter(this);
  boxes_[box] = ref;
  return box;
}

void OptionsDialog::buildGeneralTab(QWidget* page) {
  auto* grid = new QGridLayout(page);

  auto* mode = new QGroupBox(QStringLiteral("測定モード"), page);
  auto* modeLayout = new QVBoxLayout(mode);
  const char* modeCaptions[2] = {"既知の距離を基に計測する", "既知の経緯度を基に計測する"};
  for (int i = 0; i < 2; ++i) {
    optMOde_[i] = new QRadioButton(QString::fromUtf8(modeCaptions[i]), mode);
    optMOde_[i]->setObjectName(Indexed("optMOde", i));
    modeLayout->addWidget(optMOde_[i]);
  }
  grid->addWidget(mode, 0, 0, 1, 2);

  auto* unitD = new QGroupBox(QStringLiteral("距離の単位"), page);
  auto* unitS = new QGroupBox(QStringLiteral("面積の単位"), page);
  auto* unitDLayout = new QGridLayout(unitD);
  auto* unitSLayout = new QGridLayout(unitS);
  for (int n = 0; n < kUnitCount; ++n) {
    optUnitD_[n] = new QRadioButton(unitD);
    optUnitD_[n]->setObjectName(Indexed("optUnitD", n));
    optUnitD_[n]->installEventFilter(this);
    unitDLayout->addWidget(optUnitD_[n], n % 7, n / 7);
    optUnitS_[n] = new QRadioButton(unitS);
    optUnitS_[n]->setObjectName(Indexed("optUnitS", n));
    unitSLayout->addWidget(optUnitS_[n], n % 7, n / 7);
  }
  grid->addWidget(unitD, 1, 0);
  grid->addWidget(unitS, 1, 1);

  auto* decimals = new QGroupBox(QStringLiteral("小数点"), page);
  auto* decLayout = new QGridLayout(decimals);
  vscDPointD_ = new QScrollBar(Qt::Vertical, decimals);
  vscDPointS_ = new QScrollBar(Qt::Vertical, decimals);
  vscDPointD_->setObjectName(QStringLiteral("vscDPointD"));
  vscDPointS_->setObjectName(QStringLiteral("vscDPointS"));
  for (QScrollBar* bar : {vscDPointD_, vscDPointS_}) {
    bar->setRange(0, 8);
    bar->setPageStep(1);
    bar->setFixedHeight(2 * bar->sizeHint().width() + 4);  // just its two arrows
  }
  lblDPointD_ = ReadOut(QStringLiteral("lblDPointD"), decimals);
  lblDPointS_ = ReadOut(QStringLiteral("lblDPointS"), decimals);
  decLayout->addWidget(Caption(QStringLiteral("距離"), decimals), 0, 0);
  decLayout->addWidget(lblDPointD_, 0, 1);
  decLayout->addWidget(vscDPointD_, 0, 2);
  decLayout->addWidget(Caption(QStringLiteral("面積"), decimals), 1, 0);
  decLayout->addWidget(lblDPointS_, 1, 1);
  decLayout->addWidget(vscDPointS_, 1, 2);
  grid->addWidget(decimals, 2, 0);

  auto* rest = new QVBoxLayout;
  auto* hojo = new QHBoxLayout;
  hojo->addWidget(Caption(QStringLiteral("寸法引き出し線の長さ"), page));
  txtHojoLen_ = makeBox(QStringLiteral("txtHojoLen"), {OptionBox::txtHojoLen, 0});
  hojo->addWidget(txtHojoLen_);
  rest->addLayout(hojo);
  auto* snap = new QGroupBox(QStringLiteral("多角形の閉じ方"), page);
  auto* snapLayout = new QVBoxLayout(snap);
  chkSnap_ = new QCheckBox(QStringLiteral("自動で閉じる"), snap);
  chkSnap_->setObjectName(QStringLiteral("chkSnap"));
  snapLayout->addWidget(chkSnap_);
  rest->addWidget(snap);
  grid->addLayout(rest, 2, 1);
}

void OptionsDialog::buildTiltTab(QWidget* page) {
  auto* grid = new QGridLayout(page);
  grid->addWidget(Caption(QStringLiteral("補正点（mm）"), page), 0, 0);
  grid->addWidget(Caption(QStringLiteral("X"), page), 0, 1);
  grid->addWidget(Caption(QStringLiteral("Y"), page), 0, 2);
  for (int i = 0; i < 4; ++i) {
    txtHosei_[i] = makeBox(Indexed("txtHosei", i), {OptionBox::txtHosei, i});
    grid->addWidget(txtHosei_[i], 1 + i / 2, 1 + i % 2);
  }
  grid->addWidget(Caption(QStringLiteral("点1"), page), 1, 0);
  grid->addWidget(Caption(QStringLiteral("点2"), page), 2, 0);
  grid->addWidget(Caption(QStringLiteral("度"), page), 3, 1);
  grid->addWidget(Caption(QStringLiteral("ラジアン"), page), 3, 2);
  grid->addWidget(Caption(QStringLiteral("傾きθ"), page), 4, 0);
  grid->addWidget(Caption(QStringLiteral("補正角"), page), 5, 0);
  // The derived angles are shown, never typed.
  const int rows[4] = {4, 5, 4, 5};
  const int cols[4] = {1, 1, 2, 2};
  for (int k = 0; k < 4; ++k) {
    txtHosei_[4 + k] = makeBox(Indexed("txtHosei", 4 + k), {OptionBox::txtHosei, 4 + k});
    txtHosei_[4 + k]->setReadOnly(true);
    grid->addWidget(txtHosei_[4 + k], rows[k], cols[k]);
  }
  grid->setRowStretch(6, 1);
}

void OptionsDialog::buildDistanceTab(QWidget* page) {
  auto* grid = new QGridLayout(page);
  for (int i = 0; i < 12; ++i) txtXY_[i] = makeBox(Indexed("txtXY", i), {OptionBox::txtXY, i});
  const char* titles[2] = {"水平距離", "垂直距離"};
  for (int pair = 0; pair < 2; ++pair) {
    const int base = pair * 6;
    const int row = pair * 4;
    grid->addWidget(Caption(QString::fromUtf8(titles[pair]), page), row, 0);
    grid->addWidget(Caption(QStringLiteral("X"), page), row, 1);
    grid->addWidget(Caption(QStringLiteral("Y"), page), row, 2);
    grid->addWidget(Caption(QStringLiteral("始点"), page), row + 1, 0);
    grid->addWidget(txtXY_[base + 0], row + 1, 1);
    grid->addWidget(txtXY_[base + 2], row + 1, 2);
    grid->addWidget(Caption(QStringLiteral("終点"), page), row + 2, 0);
    grid->addWidget(txtXY_[base + 1], row + 2, 1);
    grid->addWidget(txtXY_[base + 3], row + 2, 2);
    grid->addWidget(Caption(QStringLiteral("図上の長さ（mm）"), page), row + 3, 0);
    grid->addWidget(txtXY_[base + 4], row + 3, 1);
    grid->addWidget(Caption(QStringLiteral("実際の長さ"), page), row + 3, 2);
    grid->addWidget(txtXY_[base + 5], row + 3, 3);
    lblUnit_[pair] = ReadOut(Indexed("lblUnit", pair), page);
    grid->addWidget(lblUnit_[pair], row + 3, 4);
    lblRecio_[pair] = ReadOut(Indexed("lblRecio", pair), page);
    grid->addWidget(Caption(QStringLiteral("縮尺 1/"), page), row + 1, 3);
    grid->addWidget(lblRecio_[pair], row + 1, 4);
  }
  lblRecio_[2] = ReadOut(Indexed("lblRecio", 2), page);
  grid->addWidget(Caption(QStringLiteral("扁平率"), page), 8, 3);
  grid->addWidget(lblRecio_[2], 8, 4);
  cmdSettei_ = new QPushButton(QStringLiteral("設定"), page);
  cmdSettei_->setObjectName(QStringLiteral("cmdSettei"));
  grid->addWidget(cmdSettei_, 9, 4);

  // The drawing's own scale instead of a reference line on it.
  auto* scale = new QGroupBox(QStringLiteral("縮尺から設定"), page);
  auto* scaleLayout = new QHBoxLayout(scale);
  txtScaleN_ = makeBox(QStringLiteral("txtScaleN"), {OptionBox::txtScaleN, 0});
  txtScaleDpi_ = makeBox(QStringLiteral("txtScaleDpi"), {OptionBox::txtScaleDpi, 0});
  cmdScale_ = new QPushButton(QStringLiteral("縮尺から設定"), scale);
  cmdScale_->setObjectName(QStringLiteral("cmdScale"));
  scaleLayout->addWidget(Caption(QStringLiteral("縮尺 1:"), scale));
  scaleLayout->addWidget(txtScaleN_);
  scaleLayout->addWidget(Caption(QStringLiteral("解像度"), scale));
  scaleLayout->addWidget(txtScaleDpi_);
  scaleLayout->addWidget(Caption(QStringLiteral("dpi"), scale));
  scaleLayout->addWidget(cmdScale_);
  grid->addWidget(scale, 10, 0, 1, 5);
}

void OptionsDialog::buildLatLongTab(QWidget* page) {
  auto* grid = new QGridLayout(page);
  const char* groupNames[kDmsGroupCount] = {"txtKeido1", "txtIdo1", "txtKeido2", "txtIdo2"};
  const char* pieceCaptions[4] = {"度", "分", "秒", "秒換算"};
  for (int k = 0; k < 4; ++k) grid->addWidget(Caption(QString::fromUtf8(pieceCaptions[k]), page), 0, 2 + k);
  for (int point = 0; point < 2; ++point) {
    const int row = 1 + point * 3;
    auto& pict = point == 0 ? txtPict_mm1_ : txtPict_mm2_;
    const OptionBox pictBox = point == 0 ? OptionBox::txtPict_mm1 : OptionBox::txtPict_mm2;
    const char* pictName = point == 0 ? "txtPict_mm1" : "txtPict_mm2";
    grid->addWidget(Caption(point == 0 ? QStringLiteral("対応点１") : QStringLiteral("対応点２"), page), row, 0);
    grid->addWidget(Caption(QStringLiteral("X,Y（mm）"), page), row, 1);
    for (int i = 0; i < 2; ++i) {
      pict[i] = makeBox(Indexed(pictName, i), {pictBox, i});
      grid->addWidget(pict[i], row, 2 + i);
    }
    for (int j = 0; j < 2; ++j) {
      const int g = point * 2 + j;
      grid->addWidget(Caption(j == 0 ? QStringLiteral("経度") : QStringLiteral("緯度"), page), row + 1 + j, 1);
      for (int k = 0; k < 4; ++k) {
        dms_[g][k] = makeBox(Indexed(groupNames[g], k), {DmsGroupBox(g), k});
        grid->addWidget(dms_[g][k], row + 1 + j, 2 + k);
      }
    }
  }
  const char* paraCaptions[4] = {"ピクセル→経緯度　変換比率", "経緯度→ピクセル　変換比率",
                                 "ピクセル(0,0)の経緯度", "経緯度(0,0)のピクセル"};
  for (int k = 0; k < 4; ++k) {
    grid->addWidget(Caption(QString::fromUtf8(paraCaptions[k]), page), 7 + k, 0, 1, 2);
    for (int j = 0; j < 2; ++j) {
      lblPara_[2 * k + j] = ReadOut(Indexed("lblPara", 2 * k + j), page);
      grid->addWidget(lblPara_[2 * k + j], 7 + k, 2 + 2 * j, 1, 2);
    }
  }
  cmdCnv_ = new QPushButton(QStringLiteral("設定"), page);
  cmdCnv_->setObjectName(QStringLiteral("cmdCnv"));
  grid->addWidget(cmdCnv_, 11, 5);
}

}  // namespace planimo
