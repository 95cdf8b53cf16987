#pragma once

// The three object files of a project ("_Text.Bin", "_Line.Bin",
// "_Shape.Bin"): plain text, one property per line, records of a fixed
// number of lines, sections without separators. Every section but the
// comment and position ones ends at its collection's invisible spare; the
// comment section runs on into the position template, which ends it.

#include <istream>
#include <string>

#include "model/collections.h"

namespace planimo {

// The file texts (UTF-8, CR LF after every value), coordinates as the
// records hold them.
std::string FormatTextFile(const Collections& o);
std::string FormatLineFile(const Collections& o);
std::string FormatShapeFile(const Collections& o);

// How a read ended. The records read completely before a damage stay.
enum class ReadEnd {
  Complete,
  Cut,       // the file ended inside a record
  BadValue,  // a line did not convert
  LongLine,  // a line was longer than any value of a drawing (1 MiB)
  TooMany,   // a section held more records than its collection can
};

// Rebuild the collections of a file from its bytes. Each replaces the
// collections it reads (they need not be empty). After the text file the
// position collection has its hidden template back at index 0.
ReadEnd ReadTextObjects(std::istream& bytes, Collections& o);
ReadEnd ReadLineObjects(std::istream& bytes, Collections& o);
ReadEnd ReadShapeObjects(std::istream& bytes, Collections& o);

// Keeps the distance objects in step: as many labels, dimension lines and
// pairs of extension lines (the fewest of them count), one marker per
// extension line (missing markers are made on the line ends), each
// collection closed by its invisible spare.
void RepairDistanceLinks(Collections& o);

}  // namespace planimo
