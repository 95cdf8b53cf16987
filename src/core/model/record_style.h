#pragma once

// The look a kept line or label takes from the line and label defaults:
// colours, line style and width, font; never its place or its text.

#include "model/records.h"

namespace planimo {

void CopyStyle(const LineRecord& from, LineRecord& to);
void CopyStyle(const TextRecord& from, TextRecord& to);

}  // namespace planimo
