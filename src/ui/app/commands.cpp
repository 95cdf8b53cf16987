// Wires the menu commands the shell itself carries out, and the tool and
// measurement-mode commands, which the core carries out on the session.
#include <QAction>
#include <QKeySequence>
#include <optional>

#include "app/help_key.h"
#include "app/main_window.h"
#include "measure/abandon.h"
#include "measure/annotations.h"

namespace planimo {

namespace {

// The core asks for the specified distance through dlgInput; a cancel is no
// answer, an OK hands over the numeric text (empty when it was not a number).
class WindowInputAsker : public InputAsker {
 public:
  explicit WindowInputAsker(MainWindow& window) : window_(window) {}
  std::optional<std::string> AskNumber(const std::string& prompt, const std::string& title,
                                       const std::string& unitLabel, const std::string& initial) override {
    const InputAnswer a = window_.askInput({QString::fromStdString(title), QString::fromStdString(prompt),
                                            QString::fromStdString(unitLabel), QString::fromStdString(initial)});
    if (a.propLetDlgCancel) return std::nullopt;
    return a.propLetDlgNum.toStdString();
  }

 private:
  MainWindow& window_;
};

}  // namespace

void MainWindow::connectCommands() {
  const auto on = [this](const char* name, auto&& slot) {
    connect(command(QString::fromLatin1(name)), &QAction::triggered, this, std::forward<decltype(slot)>(slot));
  };
  // After every core command the menus show the session again.
  const auto core = [this, on](const char* name, auto fn) {
    on(name, [this, fn] {
      fn();
      reflectSession();
      if (centralWidget()) centralWidget()->update();
    });
  };

  // Commands that take the user elsewhere drop an unfinished measurement
  // first; connected before any other slot of theirs, so it runs first.
  for (const char* name : {"mnuFileNewPrj", "mnuFileOpenPrj", "mnuToolOpt", "mnuToolMes", "mnuToolLine",
                           "mnuToolCmnt", "mnuToolPinfo"}) {
    on(name, [this] {
      AbandonMeasurement(doc_, session_);
      if (centralWidget()) centralWidget()->update();
    });
  }

  auto* helpKey = new QAction(this);
  helpKey->setObjectName(QStringLiteral("keyHelp"));
  helpKey->setShortcut(QKeySequence(Qt::Key_F1));
  helpKey->setShortcutContext(Qt::ApplicationShortcut);
  addAction(helpKey);
  connect(helpKey, &QAction::triggered, this, &MainWindow::openHelp);
  KeepHelpKeyInModalDialogs(helpKey);

  on("mnuFileEnd", [this] { close(); });
  on("mnuHelpVerInfo", [this] { showVersionBox(); });
  on("mnuHelpHlp", [this] { showHelpHint(); });
  on("mnuToolFolda", [this] { openFolderDialog(); });

  const char* const fixedZooms[] = {"mnuDisp200", "mnuDisp100", "mnuDisp80", "mnuDisp50", "mnuDisp25"};
  for (int item = 0; item < 5; ++item) {
    on(fixedZooms[item], [this, item] {
      resetDispMenu();
      doc_.view.sngZoom = CheckFixedZoom(session_, item);
      reflectSession();
      applyZoom();
    });
  }
  core("mnuDspDefault", [this] { ToggleDefaultSample(doc_, session_); });

  core("mnuToolMes", [this] { SelectTool(session_, Tool::Measure); });
  core("mnuToolLine", [this] { SelectTool(session_, Tool::Leader); });
  core("mnuToolCmnt", [this] { SelectAnnotationTool(doc_, session_, Tool::Comment); });
  core("mnuToolPinfo", [this] { SelectAnnotationTool(doc_, session_, Tool::Position); });
  // The options dialog opens from its own handler; the tool marks go first.
  core("mnuToolOpt", [this] {
    MenuState& m = session_.menu;
    m.mnuToolMes = m.mnuToolLine = m.mnuToolCmnt = m.mnuToolPinfo = false;
  });

  const std::pair<const char*, MeasureMode> modes[] = {
      {"popMesCancel", MeasureMode::Select}, {"popMesLine", MeasureMode::Line},
      {"popMesRenzoku", MeasureMode::Path},  {"popMesCir", MeasureMode::Circle},
      {"popMesInput", MeasureMode::Specified}};
  for (const auto& [name, mode] : modes) {
    const MeasureMode m = mode;
    core(name, [this, m] {
      WindowInputAsker asker(*this);
      SelectMode(doc_, session_, m, &asker);
    });
  }
  core("popMesPutSen", [this] { TogglePutSen(session_); });
  core("popMesPutMen", [this] { TogglePutMen(session_); });
  const std::pair<const char*, int> lengths[] = {{"popMesHj05", 5},  {"popMesHj10", 10}, {"popMesHj15", 15},
                                                 {"popMesHj20", 20}, {"popMesHj25", 25}, {"popMesHj30", 30}};
  for (const auto& [name, mm] : lengths) {
    const int length = mm;
    core(name, [this, length] { SetExtensionLength(doc_, session_, length); });
  }
  core("popMesAllClr", [this] { ClearMeasurementData(doc_, session_); });
  core("popHoseiL", [this] { ChooseHoseiPoint(session_, 0); });
  core("popHoseiR", [this] { ChooseHoseiPoint(session_, 1); });
  core("popDisX", [this] { ChooseDisPair(session_, 0); });
  core("popDisY", [this] { ChooseDisPair(session_, 1); });
  core("popTaiou1", [this] { ChooseTaiouPoint(session_, 0); });
  core("popTaiou2", [this] { ChooseTaiouPoint(session_, 1); });
  core("popHkdSenNew", [this] { ChooseLeaderCreate(session_, true); });
  core("popHkdSenSelect", [this] { ChooseLeaderCreate(session_, false); });
  core("popMojiNew", [this] { ChooseTextCreate(session_, true); });
  core("popMojiSelect", [this] { ChooseTextCreate(session_, false); });
}

}  // namespace planimo
