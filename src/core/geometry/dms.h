#pragma once

// Geographic values as the user reads and types them: degrees, minutes and
// seconds, against the arc-seconds every computation uses.

#include <optional>
#include <string>

#include "model/project_state.h"

namespace planimo {

struct DmsText {
  DmsRecord dms;
  std::string text;  // "ddd-mm-ss.ssss"
};

// Splits arc-seconds into whole degrees and minutes (floor, so a negative
// value gives a negative degree count) and the remaining seconds, and formats
// them "0##-0#-0#.###0". The seconds are rounded only in the text, so a value
// just short of a minute can read 60.0000. Empty when the value is not finite
// or its degrees do not fit the record.
std::optional<DmsText> SecondsToDms(double seconds);

// Degrees, minutes and seconds to arc-seconds.
double DmsToSeconds(std::int16_t deg, std::int16_t min, float sec);

}  // namespace planimo
