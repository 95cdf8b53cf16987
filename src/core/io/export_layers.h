#pragma once

// How the kinds of kept object are told apart in CAD and GIS outputs: a
// layer per kind (and per item of a takeoff list, where there is one), and
// the CAD program's indexed colour nearest to a record's colour.

#include <string>
#include <string_view>

#include "model/records.h"

namespace planimo {

enum class ExportKind { Distance, Route, Area, Leader, Comment, Position };

// The layer of a kind, or of one item of that kind: "Distances",
// "Distances-Walls". Characters CAD programs do not allow in layer names
// (<>/\":;?*|=` and control characters) become "_".
std::string LayerName(ExportKind kind, std::string_view item = {});

// The AutoCAD colour index (1..255) nearest to `colour`. Black and white,
// and colours close to them, are 7, which CAD programs show as the
// contrasting colour of their background.
int NearestAci(Colour colour);

}  // namespace planimo
