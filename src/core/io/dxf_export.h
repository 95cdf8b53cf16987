#pragma once

// The kept objects as a CAD drawing (DXF R12, ASCII) at true size: lines,
// end markers, route and area outlines, leader lines and texts at their
// places, one layer per kind, colours as the nearest colour index.

#include <optional>
#include <string>

#include "model/document.h"
#include "model/error_numbers.h"

namespace planimo {

// The handler named in a failed export's "ｴﾗｰ" box.
inline constexpr std::string_view kDxfHandler = "mnuFileExportDxf_Click";

// The file's bytes. Texts are CP932 (the code page the header names);
// a character CP932 lacks is written as its \U+XXXX escape.
std::string DxfText(const Document& doc);

// Writes the drawing to `path`, replacing the file only once it is complete.
std::optional<ErrorReport> WriteDxf(const Document& doc, const std::string& path);

}  // namespace planimo
