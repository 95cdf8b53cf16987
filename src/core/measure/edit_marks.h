#pragma once

// Which entries of the edit popup's value submenus carry the check mark:
// the unit and the number of decimals the selected value label shows.

#include <optional>

#include "model/document.h"

namespace planimo {

struct ValueMarks {
  std::optional<int> distanceUnit;  // "単位変換（距離・寸法）": a distance or route label
  std::optional<int> areaUnit;      // "単位変換（面積）": an area label
  std::optional<int> decimals;      // "小数点"
};

// Nothing is marked for a selection that is no value label (a comment, a
// position, a leader line, the default sample) or whose tag does not read.
ValueMarks SelectedValueMarks(const Document& doc);

}  // namespace planimo
