#pragma once

// A takeoff item ("品目"): a name the estimator groups measurements under
// (外壁, 床, 舗装) and the colour it is told apart by in the list.

#include <string>

#include "model/records.h"

namespace planimo {

struct TakeoffItem {
  std::string name;
  Colour colour = Rgb(0, 0, 0);
  bool operator==(const TakeoffItem&) const = default;
};

}  // namespace planimo
