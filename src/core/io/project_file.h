#pragma once

// The project file: an INI file of the project values, in a fixed order of
// sections and keys, naming the three object files beside it.

#include <optional>
#include <string>
#include <string_view>

#include "io/ini_file.h"
#include "model/document.h"
#include "model/error_numbers.h"

namespace planimo {

// What the project file says wrote it ("バージョン情報").
inline constexpr std::string_view kProgramVersion = "1.6.0";
inline constexpr std::string_view kProductName = "Planimo";

struct ObjectFileNames {
  std::string text;   // "<name>_Text.Bin"
  std::string line;   // "<name>_Line.Bin"
  std::string shape;  // "<name>_Shape.Bin"
};

// The object file names of a project file name: its last four characters
// (".ini") give way to the suffixes. Nothing for a name shorter than that.
std::optional<ObjectFileNames> ObjectFileNamesFor(std::string_view projectFileName);

// Puts every project value into `ini` in writing order; keys it does not
// write (an empty image name) keep what the file held.
void PutProjectValues(IniDocument& ini, const ProjectState& s, const ObjectFileNames& names);

// Reads the project values of `ini` into `s`. A Boolean that does not
// convert ends the read with error 13, an Integer past its range with error
// 6; the values read before stay.
std::optional<ErrorReport> GetProjectValues(const IniDocument& ini, ProjectState& s);

// What a save that succeeded has to tell the user.
struct SaveNotes {
  // Some file holds a character with no Shift-JIS form and went out as
  // UTF-8, which readers expecting Shift-JIS cannot read.
  bool wroteUtf8 = false;
};

// Writes the project file `fileName` and its three object files into
// `folder`, with the coordinates at 100 % whatever the zoom, all four files
// or none; the previous set is kept as ".bak" copies. `notes`, when given,
// is filled on success.
std::optional<ErrorReport> SaveProject(const Document& doc, const std::string& folder, const std::string& fileName,
                                       SaveNotes* notes = nullptr);

// What a successful read found wrong in an object file (the records before
// the damage were kept).
struct LoadReport {
  std::optional<ErrorReport> error;    // the project could not be read; nothing changed
  std::optional<ErrorReport> warning;  // it was read, but an object file is damaged or no file
};

// Reads the project at `path` into `doc`: the project values over the
// defaults, then the object files from the project's own folder, or from
// PRJ_FD when they are not there. On an error `doc` is left as it was.
LoadReport LoadProject(Document& doc, const std::string& path);

}  // namespace planimo
