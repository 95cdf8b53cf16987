#pragma once

// The bitmap export: the composed drawing written as a 24-bit Windows
// bitmap of the displayed surface's pixel size, strip by strip.

#include <QString>

#include "model/document.h"
#include "model/error_numbers.h"
#include "print/composition.h"

namespace planimo {

// Number 0 in the report means the file is written. Nothing changes in the
// document or the view.
ErrorReport ExportBitmap(const QString& path, const Surface& surface, const Document& doc);

}  // namespace planimo
