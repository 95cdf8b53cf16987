#pragma once

// The takeoff list as a table: a header, then one line per object with its
// number, kind, item, value, unit, comment and deduction mark.

#include <string>

#include "model/document.h"

namespace planimo {

// Tab-separated, LF after every line, for the clipboard: pasted into a
// spreadsheet every field lands in its own column, so a tab or line break
// inside a comment becomes a blank.
std::string TakeoffClipboardText(const Document& doc);

// The same table as the other CSV tables write theirs: comma-separated,
// text fields quoted with an inner quote doubled, numbers plain, CR LF
// after every line.
std::string TakeoffCsvText(const Document& doc);

}  // namespace planimo
