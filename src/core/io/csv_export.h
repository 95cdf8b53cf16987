#pragma once

// The CSV tables of kept measurements: distances, routes, areas and
// positions, read back from the labels on the drawing, and the takeoff list
// of every measurement with its item.

#include <optional>
#include <string>
#include <string_view>

#include "model/document.h"
#include "model/error_numbers.h"

namespace planimo {

enum class CsvKind { Distances, Routes, Areas, Positions, Items };

// "distances", "routes", "areas", "positions", "items" (the command line's names).
std::optional<CsvKind> CsvKindNamed(std::string_view name);

// The handler named in a failed export's "ｴﾗｰ" box ("mnuFileSaveCsvSen" ...).
std::string_view CsvHandlerName(CsvKind kind);

// The table as text (UTF-8, CR LF after every line). Text fields are
// quoted, with an inner double quote doubled, so a comment with a quote or a
// comma stays in its column.
std::string CsvText(const Document& doc, CsvKind kind);

// Writes the table to `path` (CP932, or UTF-8 with a byte-order mark when
// the text needs it), replacing the file only once it is complete.
std::optional<ErrorReport> WriteCsv(const Document& doc, CsvKind kind, const std::string& path);

}  // namespace planimo
