#pragma once

// Reading numbers out of the options dialog's boxes and writing the project's
// calibration values into them.

#include <cstdint>
#include <optional>
#include <string_view>

#include "geometry/options_dialog.h"

namespace planimo {

// A box's text as a Single: empty when the text is not a number or the
// number does not fit a Single.
std::optional<float> ReadSingle(std::string_view text);

// The whole-number part (floor) of a box as an Integer: non-numeric text reads
// as 0; empty when the number does not fit an Integer.
std::optional<std::int16_t> ReadInteger(std::string_view text);

// txtHosei(0..3) from GE_sngHosei, (4..7) from GE_dblHosei.
void FillTiltBoxes(const ProjectState& s, OptionsForm& f);
// Every txtXY box from the reference points, lengths and true lengths.
void FillKnownDistanceBoxes(const ProjectState& s, OptionsForm& f);
// lblPara(0..7) from the eight lat/long coefficients.
void FillParaLabels(const ProjectState& s, OptionsForm& f);
// Correspondence points and the degree/minute/second groups.
void FillLatLongBoxes(const ProjectState& s, OptionsForm& f);

}  // namespace planimo
