#pragma once

// One place for the CAD and GIS outputs, so the window's "書き出し" commands
// and the command line write, and refuse, alike.

#include <QString>
#include <optional>
#include <string_view>

#include "io/project_flow.h"
#include "model/document.h"
#include "model/error_numbers.h"

namespace planimo {

enum class ExportFormat { Dxf, GeoJson, GeoPackage, WorldFile };

struct ExportOutcome {
  std::string_view handler;  // named in the "ｴﾗｰ" box
  std::optional<ErrorReport> error;
};

// Writes `format` to `out`. For the world file `out` is the image it goes
// with: the drawing's image `imagePath` itself or the place of a copy.
ExportOutcome ExportDrawing(const Document& doc, ExportFormat format, const QString& out,
                            const QString& imagePath);

// Why `format` cannot be written for this drawing, before anything is
// asked: no longitude/latitude calibration for the GIS outputs; no image,
// or a PDF page, for the world file. ExportDrawing refuses the same.
std::optional<ErrorReport> ExportRefusal(const Document& doc, ExportFormat format,
                                         const QString& imagePath);

// The handler a format's failures are reported under.
std::string_view ExportHandler(ExportFormat format);

// Whether the window offers the command: GeoJSON, GeoPackage and the world
// file need the longitude/latitude calibration.
bool ExportOffered(const Document& doc, ExportFormat format);

// The save chooser of each format; the world file's offers the image's own
// name in its folder.
FileChooserRequest ExportChooser(const Document& doc, ExportFormat format,
                                 const QString& imagePath);

// A report as the error box words it, one line per line.
QString ErrorLines(std::string_view handler, const ErrorReport& r);

}  // namespace planimo
