#pragma once

// What each takeoff item adds up to: how many objects it holds, the length
// of its distances and routes and the area of its areas, a deduction
// counting negative, all in the project's distance and area units.

#include <string>
#include <vector>

#include "model/document.h"

namespace planimo {

struct ItemTotal {
  int count = 0;
  double length = 0;  // in the project's distance unit
  double area = 0;    // in the project's area unit
};

struct TakeoffTotals {
  // [0] is what belongs to no item, [n] item n.
  std::vector<ItemTotal> items;
  int lengthUnit = 0, areaUnit = 0;  // the unit indices the totals are in
};

// Each value is read from its label's tag in the unit the label shows and
// converted as a unit change of the label converts it; a label whose tag
// does not read counts, but adds nothing.
TakeoffTotals ComputeTotals(const Document& doc);

// A total as the labels write values: the project's decimals and unit
// caption ("12.50m ").
std::string LengthTotalText(const Document& doc, double length);
std::string AreaTotalText(const Document& doc, double area);

}  // namespace planimo
