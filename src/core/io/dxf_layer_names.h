#pragma once

// Layer names a DXF R12 file can carry: CAD programs of that release read at
// most 31 bytes of a name, so a takeoff item's long layer name is cut short.

#include <cstddef>
#include <string>
#include <vector>

namespace planimo {

inline constexpr std::size_t kDxfLayerNameBytes = 31;

// `names` (distinct, in their CP932 form as the file holds them) fitted to
// the limit, in the same order. A name that fits stays as it is; a longer
// one is cut after its last whole character (a double-byte character or a
// "\U+XXXX" escape is never split), and one that would then be the same as
// another name ends in "-2", "-3"... instead, so every layer stays its own.
std::vector<std::string> FitDxfLayerNames(const std::vector<std::string>& names);

}  // namespace planimo
