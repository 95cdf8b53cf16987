#pragma once

// The shell side of annotating and editing: the entries of the edit popup
// "p編集", of the leader-line popup and of the text/position popup call the
// core's commands on the selection; the colour and font choosers and the
// input dialog answer them; the map shows the hover text of the label under
// the pointer.

#include <QColor>
#include <QFont>
#include <QObject>
#include <functional>
#include <optional>

#include "measure/annotations.h"

namespace planimo {

class MainWindow;

class AnnotationCommands : public QObject {
  Q_OBJECT

 public:
  explicit AnnotationCommands(MainWindow& window);

  // What the map's mouse dispatch hands leader lines, texts and positions to.
  AnnotationTools* tools() { return &tools_; }

  // The choosers; tests replace them. An empty answer is a cancel.
  using ColourDialog = std::function<std::optional<QColor>(const QColor& initial)>;
  using FontDialog = std::function<std::optional<QFont>(const QFont& initial)>;
  void setColourDialog(ColourDialog d) { colourDialog_ = std::move(d); }
  void setFontDialog(FontDialog d) { fontDialog_ = std::move(d); }

  // Watches the map's viewport for hover-text requests.
  void watchMap(QWidget* viewport);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void connectEditPopup();
  void connectTextPopups();
  // Runs a core command from a popup entry, then shows the result.
  void run(const char* name, std::function<void()> command);
  void afterCommand();

  MainWindow& w_;
  CoreAnnotationTools tools_;
  ColourDialog colourDialog_;
  FontDialog fontDialog_;
  QWidget* viewport_ = nullptr;
};

}  // namespace planimo
