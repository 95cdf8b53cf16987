#include "app/annotation_commands.h"

#include <QAction>
#include <QColorDialog>
#include <QEvent>
#include <QFontDialog>
#include <QHelpEvent>
#include <QMenu>
#include <QToolTip>

#include "app/main_window.h"
#include "measure/abandon.h"
#include "measure/edit_commands.h"
#include "view/map_view.h"

namespace planimo {

namespace {

QColor ToQColor(Colour c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }
Colour FromQColor(const QColor& c) { return Rgb(c.red(), c.green(), c.blue()); }

QFont ToQFont(const FontChoice& f) {
  QFont q(QString::fromStdString(f.name));
  q.setPointSizeF(f.size);
  q.setBold(f.bold);
  q.setItalic(f.italic);
  q.setStrikeOut(f.strikethru);
  q.setUnderline(f.underline);
  return q;
}

FontChoice FromQFont(const QFont& q) {
  return {q.family().toStdString(), static_cast<float>(q.pointSizeF()), q.bold(), q.italic(), q.strikeOut(),
          q.underline()};
}

class DialogColourChooser : public ColourChooser {
 public:
  explicit DialogColourChooser(const AnnotationCommands::ColourDialog& d) : d_(d) {}
  std::optional<Colour> Choose(Colour initial) override {
    const std::optional<QColor> c = d_(ToQColor(initial));
    if (!c || !c->isValid()) return std::nullopt;
    return FromQColor(*c);
  }

 private:
  const AnnotationCommands::ColourDialog& d_;
};

class DialogFontChooser : public FontChooser {
 public:
  explicit DialogFontChooser(const AnnotationCommands::FontDialog& d) : d_(d) {}
  std::optional<FontChoice> Choose(const FontChoice& initial) override {
    const std::optional<QFont> f = d_(ToQFont(initial));
    if (!f) return std::nullopt;
    return FromQFont(*f);
  }

 private:
  const AnnotationCommands::FontDialog& d_;
};

// dlgInput for the numbering commands: text, numeric text and cancel.
class WindowDialogAsker : public DialogAsker {
 public:
  explicit WindowDialogAsker(MainWindow& w) : w_(w) {}
  DialogAnswer Ask(const std::string& prompt, const std::string& title, const std::string& unitLabel,
                   const std::string& initial) override {
    const InputAnswer a = w_.askInput({QString::fromStdString(title), QString::fromStdString(prompt),
                                       QString::fromStdString(unitLabel), QString::fromStdString(initial)});
    return {a.propLetDlgCancel, a.propLetDlgText.toStdString(), a.propLetDlgNum.toStdString()};
  }

 private:
  MainWindow& w_;
};

}  // namespace

AnnotationCommands::AnnotationCommands(MainWindow& window) : QObject(&window), w_(window) {
  colourDialog_ = [this](const QColor& initial) -> std::optional<QColor> {
    const QColor c = QColorDialog::getColor(initial, &w_);
    if (!c.isValid()) return std::nullopt;
    return c;
  };
  fontDialog_ = [this](const QFont& initial) -> std::optional<QFont> {
    bool ok = false;
    const QFont f = QFontDialog::getFont(&ok, initial, &w_);
    if (!ok) return std::nullopt;
    return f;
  };
  connectEditPopup();
  connectTextPopups();
}

void AnnotationCommands::afterCommand() {
  w_.reflectSession();
  if (MapView* view = w_.mapView()) view->refresh();
}

void AnnotationCommands::run(const char* name, std::function<void()> command) {
  QAction* action = w_.command(QString::fromLatin1(name));
  if (action == nullptr) return;
  connect(action, &QAction::triggered, this, [this, command = std::move(command)] {
    // A popup that opens over a running measurement (on a label) drops it,
    // as every other command that takes the user elsewhere does.
    if (MeasurementRunning(w_.session())) AbandonMeasurement(w_.document(), w_.session());
    command();
    afterCommand();
  });
}

void AnnotationCommands::connectEditPopup() {
  Document& doc = w_.document();
  run("popEditRev", [&doc] { ReverseSelectedDimension(doc); });
  run("popEditDel", [this, &doc] { DeleteSelected(doc, w_.session()); });
  run("popEditDpp", [&doc] { DuplicateSelected(doc); });
  run("popEditForColor", [this, &doc] {
    DialogColourChooser c(colourDialog_);
    ChooseTextColour(doc, c);
  });
  run("popEditBackColor", [this, &doc] {
    DialogColourChooser c(colourDialog_);
    ChooseBackColour(doc, c);
  });
  run("popEditBorderColor", [this, &doc] {
    DialogColourChooser c(colourDialog_);
    ChooseLineColour(doc, c);
  });
  run("popEditFont", [this, &doc] {
    DialogFontChooser f(fontDialog_);
    ChooseLabelFont(doc, f);
  });
  for (int style : {0, 1}) {
    run(style == 0 ? "popBackStyle0" : "popBackStyle1", [&doc, style] { SetBackStyle(doc, style); });
    run(style == 0 ? "popBorderStyle0" : "popBorderStyle1", [&doc, style] { SetBorderStyle(doc, style); });
  }
  for (int width : {1, 2, 3, 4, 5, 7, 9}) {
    run(QStringLiteral("popEditWidth(%1)").arg(width).toLatin1().constData(),
        [&doc, width] { SetLineWidth(doc, width); });
  }
  for (int style = 1; style <= 5; ++style) {
    run(QStringLiteral("popEditStyle%1").arg(style).toLatin1().constData(),
        [&doc, style] { SetLineStyle(doc, style); });
  }
  for (int unit = 0; unit < kUnitCount; ++unit) {
    run(QStringLiteral("popEditUnitD(%1)").arg(unit).toLatin1().constData(),
        [&doc, unit] { ChangeDistanceUnit(doc, unit); });
    run(QStringLiteral("popEditUnitS(%1)").arg(unit).toLatin1().constData(),
        [&doc, unit] { ChangeAreaUnit(doc, unit); });
  }
  for (int d = 0; d <= 6; ++d) {
    run(QStringLiteral("popEditDPoint(%1)").arg(d).toLatin1().constData(), [&doc, d] { ChangeDecimals(doc, d); });
  }
}

void AnnotationCommands::connectTextPopups() {
  Document& doc = w_.document();
  MeasureSession& s = w_.session();
  run("popHkdSenAllClr", [&doc] { ClearAllLeaderLines(doc); });
  run("popMojiAllClr", [&doc, &s] { ClearAllTexts(doc, s); });
  run("popHedda", [this, &doc, &s] {
    WindowDialogAsker asker(w_);
    AskTextHeader(doc, s, asker);
  });
  run("popFutta", [this, &doc, &s] {
    WindowDialogAsker asker(w_);
    AskTextFooter(doc, s, asker);
  });
  run("popRenInit", [this, &doc, &s] {
    WindowDialogAsker asker(w_);
    AskSequenceStart(doc, s, asker);
  });
  // The clear-all entry names what it clears; the tool commands run first.
  const auto caption = [this, &s] {
    if (QAction* clear = w_.command(QStringLiteral("popMojiAllClr"))) {
      clear->setText(QString::fromStdString(TextClearAllCaption(s.menu)));
    }
  };
  for (const char* tool : {"mnuToolMes", "mnuToolLine", "mnuToolCmnt", "mnuToolPinfo"}) {
    if (QAction* a = w_.command(QString::fromLatin1(tool))) connect(a, &QAction::triggered, this, caption);
  }
}

void AnnotationCommands::watchMap(QWidget* viewport) {
  viewport_ = viewport;
  viewport->installEventFilter(this);
}

bool AnnotationCommands::eventFilter(QObject* watched, QEvent* event) {
  if (watched == viewport_ && event->type() == QEvent::ToolTip && w_.mapView() != nullptr) {
    const auto* help = static_cast<QHelpEvent*>(event);
    const QPointF mm = w_.mapView()->toMapMm(help->pos());
    if (const std::optional<std::string> text =
            HoverText(w_.document(), static_cast<float>(mm.x()), static_cast<float>(mm.y()))) {
      // The text goes as soon as the pointer leaves the spot it rests on.
      QToolTip::showText(help->globalPos(), QString::fromStdString(*text), viewport_,
                         QRect(help->pos() - QPoint(3, 3), QSize(7, 7)));
      return true;
    }
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace planimo
