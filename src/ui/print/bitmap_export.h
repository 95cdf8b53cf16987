#pragma once

// The bitmap export: the composed drawing written as a 24-bit Windows
// bitmap of the displayed surface's pixel size, strip by strip.

#include <QString>

#include "model/document.h"
#include "model/error_numbers.h"
#include "print/composition.h"

namespace planimo {

// Pixels composed at a time: enough rows that walking the objects once per
// strip costs little, few enough to stay in a small part of memory.
constexpr qint64 kExportStripPixels = 4'000'000;

// Number 0 in the report means the file is written. Nothing changes in the
// document or the view.
ErrorReport ExportBitmap(const QString& path, const Surface& surface, const Document& doc,
                         qint64 stripPixels = kExportStripPixels);

}  // namespace planimo
