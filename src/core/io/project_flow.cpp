#include "io/project_flow.h"

#include <filesystem>

#include "geometry/paths.h"
#include "io/project_file.h"
#include "measure/abandon.h"

namespace planimo {
namespace {

// A new drawing or project is where the saved state starts.
void StartClean(Document& doc) { doc.revision = doc.savedRevision = ++doc.lastRevisionIssued; }

void ClearDrawing(Document& doc, MeasureSession& s) {
  ClearMeasurementData(doc, s);
  ClearCollection(doc.objects.lineHikidashi);
  ClearCollection(doc.objects.lblMoji);
  ClearCollection(doc.objects.lblKeiIdoS);
  AbandonMeasurement(doc, s);
  s.labelGrab = {};
  doc.selected = {};
}

bool IsFile(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(path, ec);
}

SaveOutcome Saved(const SaveNotes& notes) {
  SaveOutcome out;
  if (notes.wroteUtf8) out.notice = std::string(kSavedAsUtf8Notice);
  return out;
}

}  // namespace

FileChooserRequest NewDrawingChooser(const Document& doc) {
  return {false, "イメージデータを開きます", doc.settings.MAP_FD, "jpg",
          {{"JPEG(*.jpg)", "*.jpg *.jpeg"}, {"GIF(*.gif)", "*.gif"}, {"BMP(*.bmp)", "*.bmp"}}};
}

FileChooserRequest OpenProjectChooser(const Document& doc) {
  return {false, "図面を開きます", doc.settings.PRJ_FD, "ini", {{"Init(*.ini)", "*.ini"}}};
}

FileChooserRequest SaveProjectChooser(const Document& doc) {
  return {true, "名前を付けて図面保存", doc.settings.PRJ_FD, "ini", {{"(*.ini)", "*.ini"}}};
}

FileChooserRequest CsvChooser(const Document& doc) {
  return {true, "ＣＳＶファイル保存", doc.settings.PRJ_FD, "csv", {{"(*.csv)", "*.csv"}}};
}

void StartNewDrawing(Document& doc, MeasureSession& s, const std::string& imagePath) {
  ClearDrawing(doc, s);
  const SplitPathResult parts = SplitPath(imagePath);
  doc.state.fMei_MapImage = parts.fileName;
  // The new drawing has no project file yet: Save waits for a Save As.
  doc.files.projectFolder.clear();
  doc.files.projectFileName.clear();
  doc.files.panel1.clear();
  doc.files.panel2 = parts.fileName;
  doc.files.panel6 = parts.folder;
  EnableNewDrawingCommands(s);
  doc.view.sngZoom = 1.0f;
  doc.view.sngZoomPrev = 1.0f;
  SelectTool(s, Tool::Measure);
  StartClean(doc);
}

OpenOutcome OpenProject(Document& doc, MeasureSession& s, const std::string& path) {
  OpenOutcome out;
  const LoadReport r = LoadProject(doc, path);
  if (r.error) {
    out.error = r.error;
    return out;
  }
  out.warning = r.warning;
  AbandonMeasurement(doc, s);
  s.labelGrab = {};
  doc.selected = {};
  s.menu.mnuDispAxis = false;
  SelectTool(s, Tool::Measure);

  const SplitPathResult parts = SplitPath(path);
  doc.files.projectFolder = parts.folder;
  doc.files.projectFileName = parts.fileName;
  doc.files.panel1 = parts.fileName;
  doc.files.panel2 = doc.state.fMei_MapImage;
  doc.files.panel6 = doc.settings.MAP_FD;
  if (!doc.state.fMei_MapImage.empty()) {
    // The image folder first; a project kept with its image beside it opens too.
    out.imagePath = JoinPath(doc.settings.MAP_FD, doc.state.fMei_MapImage);
    const std::string beside = JoinPath(parts.folder, doc.state.fMei_MapImage);
    if (!IsFile(out.imagePath) && IsFile(beside)) {
      out.imagePath = beside;
      doc.files.panel6 = parts.folder;
    }
  }
  MenuState& m = s.menu;
  m.mnuFileSavePrjEnabled = m.mnuFileSaveAsPrjEnabled = m.mnuFileSaveAsImgEnabled = m.mnuFileSaveCsvEnabled = true;
  StartClean(doc);
  return out;
}

SaveOutcome SaveCurrentProject(Document& doc, MeasureSession& s) {
  (void)s;
  if (doc.files.projectFileName.empty()) {
    return {ErrorReport{kErrInvalidArgument, ErrorDescription(kErrInvalidArgument)}, std::nullopt};
  }
  SaveNotes notes;
  if (auto error = SaveProject(doc, doc.files.projectFolder, doc.files.projectFileName, &notes)) {
    return {error, std::nullopt};
  }
  doc.savedRevision = doc.revision;
  return Saved(notes);
}

SaveOutcome SaveProjectAs(Document& doc, MeasureSession& s, const std::string& path) {
  const SplitPathResult parts = SplitPath(path);
  SaveNotes notes;
  if (auto error = SaveProject(doc, parts.folder, parts.fileName, &notes)) return {error, std::nullopt};
  doc.files.projectFolder = parts.folder;
  doc.files.projectFileName = parts.fileName;
  doc.files.panel1 = parts.fileName;
  s.menu.mnuFileSavePrjEnabled = true;
  doc.savedRevision = doc.revision;
  return Saved(notes);
}

}  // namespace planimo
