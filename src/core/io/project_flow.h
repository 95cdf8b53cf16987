#pragma once

// The File menu's flows over the Document and the measurement session:
// a new drawing from an image, opening and saving projects, the CSV
// exports, and the question about unsaved work. The shell shows the
// choosers, the busy cursor and the error box; everything else is here.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "io/csv_export.h"
#include "measure/tool_state.h"
#include "model/document.h"
#include "model/error_numbers.h"

namespace planimo {

// What a file chooser must show; the shell turns it into its dialog.
struct FileChooserRequest {
  bool save = false;
  std::string title;
  std::string folder;         // initial folder
  std::string defaultSuffix;  // added to a name typed without one
  // Filters as "description|pattern" pairs, e.g. {"JPEG(*.jpg)", "*.jpg"}.
  std::vector<std::pair<std::string, std::string>> filters;
  std::string fileName;  // offered in the name field; may be empty
};

FileChooserRequest NewDrawingChooser(const Document& doc);
FileChooserRequest OpenProjectChooser(const Document& doc);
FileChooserRequest SaveProjectChooser(const Document& doc);
FileChooserRequest CsvChooser(const Document& doc);

// Asks for a project's image when none of the places it is looked in holds
// it: the chooser opens in the folder the project remembers, with the name
// it remembers.
inline constexpr std::string_view kMissingImageTitle = "図面の画像が見つかりません。場所を指定してください。";
FileChooserRequest MissingImageChooser(const Document& doc);

// The platform's file chooser as the Open flow uses it; nothing is a cancel.
class ImageChooser {
 public:
  virtual ~ImageChooser() = default;
  virtual std::optional<std::string> Choose(const FileChooserRequest& request) = 0;
};

// Handlers named in the "ｴﾗｰ" boxes of the flows.
inline constexpr std::string_view kNewDrawingHandler = "mnuFileOpenMap_Click";
inline constexpr std::string_view kOpenProjectHandler = "mnuFileOpenPrj_Click";
inline constexpr std::string_view kSaveProjectHandler = "mnuFileSavePrj_Click";
inline constexpr std::string_view kSaveAsProjectHandler = "mnuFileSaveAsPrj_Click";

// Asked before work since the last save or open would be thrown away.
inline constexpr std::string_view kUnsavedQuestion = "図面が変更されています。保存しますか？";

// "新しい図面の作成", once the chosen image is shown: the drawing starts
// empty at 100 % with the measuring tool; the project values carry over.
// `page` is the page shown of a file of several pages (from 1).
void StartNewDrawing(Document& doc, MeasureSession& s, const std::string& imagePath, int page = 1);

struct OpenOutcome {
  std::optional<ErrorReport> error;    // nothing was opened; the drawing is as it was
  std::optional<ErrorReport> warning;  // opened, but an object file was damaged
  std::string imagePath;               // the drawing's image, to be shown
};

// "図面を開く" with the chosen project file. The image is looked for in
// MAP_FD, then in the folder the project remembers, then beside the project;
// when it is in none of them `chooser` asks for it, and the answer is what
// the next save stores. Without a chooser, or after a cancel, the objects
// open on an empty map: `imagePath` is then the image in MAP_FD (which does
// not exist), respectively empty.
OpenOutcome OpenProject(Document& doc, MeasureSession& s, const std::string& path,
                        ImageChooser* chooser = nullptr);

// Said after a save that had to write a file as UTF-8.
inline constexpr std::string_view kSavedAsUtf8Notice =
    "この図面は Shift-JIS で表せない文字を含むため UTF-8 で保存しました。";

struct SaveOutcome {
  std::optional<ErrorReport> error;   // nothing was saved; the old files are as they were
  std::optional<std::string> notice;  // saved; what the user should know about the files
};

// "図面の上書き保存": saves under the remembered name.
SaveOutcome SaveCurrentProject(Document& doc, MeasureSession& s);

// "名前を付けて図面の保存": saves under `path` and remembers it once the
// save succeeded.
SaveOutcome SaveProjectAs(Document& doc, MeasureSession& s, const std::string& path);

}  // namespace planimo
