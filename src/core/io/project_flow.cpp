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

// The folder of an image as the project stores it: a name given relative to
// the working folder (an image named on the command line) would point
// elsewhere once the program starts from another folder.
std::string AbsoluteFolder(const std::string& folder) {
  namespace fs = std::filesystem;
  const bool rooted = !folder.empty() && (folder[0] == '/' || folder[0] == '\\' ||
                                          (folder.size() > 1 && folder[1] == ':'));
  if (rooted) return folder;
  std::error_code ec;
  const fs::path whole = fs::absolute(folder.empty() ? fs::path(".") : fs::path(folder), ec);
  if (ec) return folder;
  std::string text = (whole / "").lexically_normal().string();
  return text.empty() ? folder : text;
}

// The image shown from now on, and where the next save says it is.
void UseImage(Document& doc, const std::string& folder, const std::string& name) {
  doc.state.fMei_MapImage = name;
  doc.state.fMei_MapFolder = AbsoluteFolder(folder);
  doc.files.panel2 = name;
  doc.files.panel6 = doc.state.fMei_MapFolder;
}

// The project's image: the image folder of the settings first, then the
// folder the project remembers, then the project's own folder.
std::optional<std::string> FoundImageFolder(const Document& doc, const std::string& projectFolder) {
  const std::string& name = doc.state.fMei_MapImage;
  for (const std::string* folder : {&doc.settings.MAP_FD, &doc.state.fMei_MapFolder}) {
    if (!folder->empty() && IsFile(JoinPath(*folder, name))) return *folder;
  }
  // A project named without a folder lies in the working folder.
  if (IsFile(JoinPath(projectFolder, name))) return projectFolder;
  return std::nullopt;
}

SaveOutcome Saved(const SaveNotes& notes) {
  SaveOutcome out;
  if (notes.wroteUtf8) out.notice = std::string(kSavedAsUtf8Notice);
  return out;
}

}  // namespace

FileChooserRequest NewDrawingChooser(const Document& doc) {
  return {false,
          "イメージデータを開きます",
          doc.settings.MAP_FD,
          "jpg",
          {{"JPEG(*.jpg)", "*.jpg *.jpeg"},
           {"GIF(*.gif)", "*.gif"},
           {"BMP(*.bmp)", "*.bmp"},
           {"PNG(*.png)", "*.png"},
           {"TIFF(*.tif)", "*.tif *.tiff"},
           {"PDF(*.pdf)", "*.pdf"},
           {"図面(*.jpg *.gif *.bmp *.png *.tif *.pdf)", "*.jpg *.jpeg *.gif *.bmp *.png *.tif *.tiff *.pdf"}},
          ""};
}

FileChooserRequest OpenProjectChooser(const Document& doc) {
  return {false, "図面を開きます", doc.settings.PRJ_FD, "ini", {{"Init(*.ini)", "*.ini"}}, ""};
}

FileChooserRequest SaveProjectChooser(const Document& doc) {
  return {true, "名前を付けて図面保存", doc.settings.PRJ_FD, "ini", {{"(*.ini)", "*.ini"}}, ""};
}

FileChooserRequest CsvChooser(const Document& doc) {
  return {true, "ＣＳＶファイル保存", doc.settings.PRJ_FD, "csv", {{"(*.csv)", "*.csv"}}, ""};
}

FileChooserRequest MissingImageChooser(const Document& doc) {
  FileChooserRequest r = NewDrawingChooser(doc);
  r.title = std::string(kMissingImageTitle);
  // Where the image was last; a folder that is gone leaves the image folder.
  std::error_code ec;
  if (!doc.state.fMei_MapFolder.empty() && std::filesystem::is_directory(doc.state.fMei_MapFolder, ec)) {
    r.folder = doc.state.fMei_MapFolder;
  }
  r.fileName = doc.state.fMei_MapImage;
  return r;
}

void StartNewDrawing(Document& doc, MeasureSession& s, const std::string& imagePath, int page) {
  ClearDrawing(doc, s);
  const SplitPathResult parts = SplitPath(imagePath);
  UseImage(doc, parts.folder, parts.fileName);
  doc.state.fMei_MapPage = page;
  // The new drawing has no project file yet: Save waits for a Save As.
  doc.files.projectFolder.clear();
  doc.files.projectFileName.clear();
  doc.files.panel1.clear();
  EnableNewDrawingCommands(s);
  doc.view.sngZoom = 1.0f;
  doc.view.sngZoomPrev = 1.0f;
  SelectTool(s, Tool::Measure);
  StartClean(doc);
}

OpenOutcome OpenProject(Document& doc, MeasureSession& s, const std::string& path, ImageChooser* chooser) {
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
  bool chosen = false;
  if (!doc.state.fMei_MapImage.empty()) {
    if (const std::optional<std::string> folder = FoundImageFolder(doc, parts.folder)) {
      UseImage(doc, *folder, doc.state.fMei_MapImage);
      out.imagePath = JoinPath(*folder, doc.state.fMei_MapImage);
    } else if (chooser == nullptr) {
      out.imagePath = JoinPath(doc.settings.MAP_FD, doc.state.fMei_MapImage);
    } else if (const std::optional<std::string> answer = chooser->Choose(MissingImageChooser(doc))) {
      const SplitPathResult image = SplitPath(*answer);
      UseImage(doc, image.folder, image.fileName);
      out.imagePath = *answer;
      chosen = true;
    }
    // A cancel leaves the objects on an empty map, the project's names as read.
  }
  MenuState& m = s.menu;
  m.mnuFileSavePrjEnabled = m.mnuFileSaveAsPrjEnabled = m.mnuFileSaveAsImgEnabled = m.mnuFileSaveCsvEnabled = true;
  StartClean(doc);
  // The project on disk still names the image that was not found.
  if (chosen) MarkChanged(doc);
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
