#pragma once

// The tag text of every value label: unit index, decimals index, the value in
// that unit and the local time of creation, e.g. "022:12.5_101530". The time
// part is also the link between a route or area label and its outline
// segments, so it must be unique among those labels.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "model/collections.h"
#include "model/platform.h"

namespace planimo {

struct ValueTag {
  std::int16_t unit = 0;      // 0..13, index into the unit tables
  std::int16_t decimals = 0;  // 0..8, index into the number patterns
  double value = 0;           // in the unit above
  LocalTime time;             // of creation, hh:nn:ss
};

// The value as the classic number-to-text conversion writes it, without its
// leading blank: up to 15 significant digits, "12.5", "0.001", "-3",
// "1234567.891"; the exponent form ("1.5E+20", "1E-05") only for magnitudes
// of 1E15 and above or below 1E-4. A value that is not finite is written as
// "0", which is also what the classic reader would make of any other text.
std::string FormatTagValue(double value);

// "uu" "d" ":" value "_" "hhnnss". Unit and decimals are clamped to their
// digit counts (0..99, 0..9) so the layout never shifts.
std::string BuildValueTag(const ValueTag& tag);
std::string BuildValueTag(int unit, int decimals, double value, const LocalTime& time);

// Reads a tag back: unit from the first two characters, decimals from the
// third, value from the fifth on (length - 11 characters), time from the last
// six. Returns nothing for a tag that is too short, lacks its ":" or "_",
// holds a unit above 13 or decimals above 8, or whose parts are not numbers.
std::optional<ValueTag> ParseValueTag(std::string_view tag);

// Makes a new route or area tag distinct from every tag already present in
// lblKeiroS and lblMensekiS by advancing its time part one second at a time
// (23:59:59 wraps to 00:00:00). A tag that does not parse is returned as is.
std::string UniqueValueTag(const std::string& tag, const Collections& objects);

// `tag` with the time part of `created`: a measurement corrected later is
// still the one created then. `tag` as is when either does not parse.
std::string KeepCreationTime(const std::string& tag, const std::string& created);

}  // namespace planimo
