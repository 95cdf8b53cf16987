#pragma once

#include <QDialog>
#include <QString>
#include <array>
#include <optional>
#include <unordered_map>

#include "geometry/options_dialog.h"
#include "model/document.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QTabWidget;
class QWidget;

namespace planimo {

// The options and calibration dialog (frmOption): modeless, kept above the
// main window, released when it closes. It copies texts between its controls
// and an OptionsForm and leaves every decision to the core's rules.
class OptionsDialog : public QDialog {
  Q_OBJECT

 public:
  explicit OptionsDialog(Document& doc, QWidget* parent = nullptr);
  ~OptionsDialog() override;

  const OptionsForm& form() const { return form_; }
  // The box widget of a focus target (null for a non-text target).
  QWidget* widgetFor(BoxRef ref) const;

 public slots:
  // A calibration point was picked on the map: the fields follow the project.
  void refreshFromState();
  // A known-distance line picked on the map (horizontal or vertical pair).
  void reportKnownDistancePick(bool horizontal, float x1, float y1, float x2, float y2, float length);
  // subDisp_Rato: the scale and aspect texts, e.g. after a unit change.
  void refreshRatios();
  // The resolution the drawing's file states, for "縮尺から設定" (empty: the
  // file states none and the user types it).
  void setDrawingResolution(std::optional<double> dpi);

 signals:
  void closed();                                 // options entry on again, "測定ツール" checked
  void stateChanged();                           // check line or markers changed
  void mapToolTipChanged(const QString& text);   // tool tip of the map surface

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void reject() override;

 private:
  void buildGeneralTab(QWidget* page);
  void buildTiltTab(QWidget* page);
  void buildDistanceTab(QWidget* page);
  void buildLatLongTab(QWidget* page);
  QLineEdit* makeBox(const QString& name, BoxRef ref);
  void connectControls();

  void pull();  // widget texts -> form
  void push();  // form -> widgets
  void applyFocus(const FocusMove& move);
  void selectTab(int tab);
  FocusMove enterBox(BoxRef ref);
  bool leaveBox(BoxRef ref);

  Document& doc_;
  OptionsForm form_;
  bool pushing_ = false;

  QTabWidget* SSTab_ = nullptr;
  std::array<QRadioButton*, 2> optMOde_{};
  std::array<QRadioButton*, kUnitCount> optUnitD_{}, optUnitS_{};
  QScrollBar* vscDPointD_ = nullptr;
  QScrollBar* vscDPointS_ = nullptr;
  QLabel* lblDPointD_ = nullptr;
  QLabel* lblDPointS_ = nullptr;
  QLineEdit* txtHojoLen_ = nullptr;
  QCheckBox* chkSnap_ = nullptr;
  std::array<QLineEdit*, 8> txtHosei_{};
  std::array<QLineEdit*, 12> txtXY_{};
  std::array<QLabel*, 2> lblUnit_{};
  std::array<QLabel*, 3> lblRecio_{};
  std::array<QLineEdit*, 2> txtPict_mm1_{}, txtPict_mm2_{};
  std::array<std::array<QLineEdit*, 4>, kDmsGroupCount> dms_{};  // txtKeido1, txtIdo1, txtKeido2, txtIdo2
  std::array<QLabel*, 8> lblPara_{};
  QPushButton* cmdSettei_ = nullptr;
  QPushButton* cmdCnv_ = nullptr;
  QLineEdit* txtScaleN_ = nullptr;
  QLineEdit* txtScaleDpi_ = nullptr;
  QPushButton* cmdScale_ = nullptr;
  QPushButton* cmdOK_ = nullptr;
  std::unordered_map<const QObject*, BoxRef> boxes_;
};

}  // namespace planimo
