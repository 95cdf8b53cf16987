#pragma once

#include <QMainWindow>
#include <QString>
#include <array>
#include <functional>
#include <memory>

#include <QPointer>

#include "app/input_dialog.h"
#include "app/options_dialog.h"
#include "app/message_sink.h"
#include "app/program_places.h"
#include "io/recent_drawings.h"
#include "measure/tool_state.h"
#include "model/document.h"
#include "model/history.h"

class QAction;
class QDragEnterEvent;
class QDropEvent;
class QEvent;
class QLabel;
class QLineEdit;
class QMenu;
class QUrl;

namespace planimo {

class AnnotationCommands;
class MapView;
class PageChooser;
class PrintCommands;
class TakeoffDock;
struct MapMouseEvent;
struct MouseResult;
struct ImageLoadResult;
struct FileChooserRequest;
enum class CsvKind;
enum class ExportFormat;

// The one top-level window of the program (frmMain). It owns the session's
// Document and measurement session and shows their state in its menus,
// toolbar and status bar.
class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  // The program's own places: a build or a portable copy, or an installation
  // with the user's own Init.ini.
  explicit MainWindow(QWidget* parent = nullptr);
  // `programFolder` is where Init.ini and the help live; empty means the
  // executable's folder. `sink` receives every message box (null: real boxes).
  MainWindow(std::shared_ptr<MessageSink> sink, const QString& programFolder, QWidget* parent = nullptr);
  MainWindow(std::shared_ptr<MessageSink> sink, const ProgramPlaces& places, QWidget* parent = nullptr);

  Document& document() { return doc_; }
  const Document& document() const { return doc_; }
  MeasureSession& session() { return session_; }
  MessageSink& messages() { return *sink_; }

  // Commands, popups and controls by their object names.
  QAction* command(const QString& name) const;
  QMenu* popup(const QString& name) const;
  QLineEdit* readout(int index) const;  // txtPict(0..6)
  QLabel* statusPanel(int number) const;  // 1..6
  void setStatusText(int number, const QString& text);

  QString programFolder() const { return programFolder_; }
  QString settingsPath() const { return settingsFile_; }
  QString helpFilePath() const;

  // Puts the map view in place of the placeholder viewport.
  void installMapView(QWidget* view);

  // Opens an image in the map view as "新しい図面の作成" does after its
  // chooser. Until the view exists the path is only kept, so the view can
  // open it when it is installed. The drawing's objects are cleared only once
  // the new image is shown: a file that cannot be read loses nothing.
  // `page` (from 1) picks the page of a TIFF or a PDF; 0 asks the page
  // chooser when the file has several.
  void openImage(const QString& path, int page = 0);
  // Replaces the page chooser (tests); null restores the window's own.
  void setPageChooser(PageChooser* chooser) { pageChooser_ = chooser; }
  // mnuFileNewPrj: asks for an image, then openImage. Tests replace the
  // chooser; an empty answer is a cancel.
  void newDrawing();
  void setImageChooser(std::function<QString()> chooser) { imageChooser_ = std::move(chooser); }
  MapView* mapView() const { return view_; }
  AnnotationCommands* annotations() const { return annotations_; }
  TakeoffDock* takeoffDock() const { return takeoff_; }  // "測定一覧"

  // The File menu's project commands (file_commands.cpp). A project (.ini)
  // or an image, as the command line names it.
  void openFile(const QString& path, int page = 0);
  // `page` above 0 shows that page instead of the one the project stores.
  void openProject(const QString& path, int page = 0);
  bool saveProject();    // "図面の上書き保存"; false when not saved
  bool saveProjectAs();  // "名前を付けて図面の保存..."
  void exportCsv(CsvKind kind);
  // "書き出し": the drawing for CAD and GIS (export/export_commands.cpp).
  void exportDrawing(ExportFormat format);
  // Asks whether to save changes made since the last save or open; false
  // when the command that asked must not go on.
  bool confirmDiscard();
  // Replaces every file chooser (tests); an empty answer is a cancel.
  void setFileChooser(std::function<QString(const FileChooserRequest&)> chooser) {
    fileChooser_ = std::move(chooser);
  }
  OptionsDialog* optionsDialog() const { return options_; }
  PrintCommands* printing() const { return printing_; }
  void openOptions();
  QString pendingImage() const { return pendingImage_; }

  // The view shows doc.view.sngZoom when this runs; the status bar follows.
  void setZoomHook(std::function<void(float)> hook) { zoomHook_ = std::move(hook); }
  void applyZoom();
  // subResetDispMenu: clears the zoom check marks, abandons the live measurement.
  void resetDispMenu();

  // Copies what the core holds (check marks, enabled states, captions,
  // status texts) onto the menus and the status bar.
  void reflectSession();

  // dlgInput: shows it modally and keeps its answer. Tests and scripted
  // callers may replace the dialog with a function.
  InputAnswer askInput(const InputRequest& request);
  void setInputRunner(std::function<InputAnswer(const InputRequest&)> runner) { inputRunner_ = std::move(runner); }
  const QString& propLetDlgNum() const { return lastInput_.propLetDlgNum; }
  const QString& propLetDlgText() const { return lastInput_.propLetDlgText; }
  bool propLetDlgCancel() const { return lastInput_.propLetDlgCancel; }

  // The undo history: a user action ends with a checkpoint; a new drawing
  // or an opened project starts the history afresh.
  const History& history() const { return history_; }
  void checkpoint(const QString& caption);
  void startHistory();
  void undo();
  void redo();

  // "最近使った図面": opening a project by its path is handed in by the
  // project commands; until then the list is not offered. Opened and saved
  // projects are noted; the list lives in `folder` (the user's
  // configuration folder unless a test gives another).
  void setRecentOpener(std::function<void(const QString&)> opener);
  void noteRecentDrawing(const QString& path);
  void setRecentFolder(const QString& folder);

  // How F1 hands a help file to the desktop; true when something opened it.
  void setUrlOpener(std::function<bool(const QUrl&)> opener) { urlOpener_ = std::move(opener); }

 public slots:
  void showVersionBox();
  void showHelpHint();
  void openHelp();
  void openFolderDialog();
  void toolbarMagnify();
  void toolbarReduce();
  void toolbarAsLoaded();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  // Closing the window ends the program, whatever other windows are open.
  void closeEvent(QCloseEvent* event) override;
  // An image file dropped on the window opens as "新しい図面の作成" does.
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void readSettings();
  void placeWindow();
  void buildMenus();
  void buildFileMenu();
  void buildDisplayMenu();
  void buildToolMenu();
  void buildHelpMenu();
  void buildEditMenu();
  void buildRecentMenu();
  void connectHistory();
  void watchOptions();
  void reflectHistory();
  void reflectRecent();
  void afterHistoryChange();
  void buildPopups();
  void buildMeasurePopup();
  void buildEditPopup();
  void buildToolbar();
  void buildReadouts();
  void buildStatusBar();
  void setInitialMenuState();
  void connectCommands();
  void runToolbarKey(const QString& key);
  void setupMapView();
  void connectMapCommands();
  void onMapMouse(int phase, const MapMouseEvent& e);
  void afterMouse(const MouseResult& r);
  // Shows `path` in the map view; `startsDrawing` when the image begins a new
  // drawing, not when it is the image of the project just opened.
  // `page` 0 asks which page of a file of several pages.
  void loadImage(const QString& path, bool startsDrawing, int page);
  void finishImageLoad(const ImageLoadResult& r, const QString& path, bool startsDrawing, int page);
  void showReadouts();
  void connectFileCommands();
  void buildExportMenu(QMenu* file);
  void connectExportCommands();
  void reflectExportCommands();
  QString chooseFile(const FileChooserRequest& request, const QString& untouched = QString());
  void reflectFiles();

  QAction* addCommand(QMenu* menu, const QString& name, const QString& caption, bool checkable = false);
  QMenu* addSubmenu(QMenu* parent, const QString& name, const QString& caption);
  QMenu* addPopup(const QString& name, const QString& caption);

  Document doc_;
  MeasureSession session_;
  std::shared_ptr<MessageSink> sink_;
  QString programFolder_;
  QString settingsFile_;
  QString settingsWriteFile_;
  QString pendingImage_;
  int pendingPage_ = 0;
  std::array<QLineEdit*, 7> readouts_{};
  std::array<QLabel*, 6> panels_{};
  std::function<void(float)> zoomHook_;
  std::function<InputAnswer(const InputRequest&)> inputRunner_;
  std::function<bool(const QUrl&)> urlOpener_;
  InputAnswer lastInput_;
  MapView* view_ = nullptr;
  AnnotationCommands* annotations_ = nullptr;
  QPointer<OptionsDialog> options_;
  PrintCommands* printing_ = nullptr;
  TakeoffDock* takeoff_ = nullptr;
  std::function<QString()> imageChooser_;
  PageChooser* pageChooser_ = nullptr;
  std::function<QString(const FileChooserRequest&)> fileChooser_;
  // The read that keeps the window locked: its file and what it is for.
  QString loadingPath_;
  int loadingPage_ = 1;
  bool loadingStartsDrawing_ = true;
  bool loadingLocked_ = false;
  bool spaceDown_ = false;
  // The left button is held on the map: a drag is under way, and a command
  // that comes meanwhile (a key) belongs to it until the release.
  bool mapLeftHeld_ = false;
  History history_;
  RecentDrawings recent_;
  QString recentFile_;
  std::function<void(const QString&)> recentOpener_;
};

}  // namespace planimo
