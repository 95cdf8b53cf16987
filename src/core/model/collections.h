#pragma once

// The ordered, 0-based collections of kept records and the working objects of
// a measurement in progress. Element 0 of every collection always exists.
//
// Two disciplines: most collections end with one invisible spare that the
// next kept object fills before a new spare is appended; lblMoji and
// lblKeiIdoS instead start with a hidden template at index 0 and grow at the
// end.

#include <array>
#include <cstdint>
#include <vector>

#include "model/records.h"

namespace planimo {

// No collection grows past this index (16-bit element indices).
constexpr int kMaxIndex = 32767;

struct Collections {
  Collections();

  std::vector<TextRecord> lblKyori;      // value label of distance object k
  std::vector<LineRecord> lineDsSave;    // dimension line of distance object k
  std::vector<LineRecord> lineHojoSave;  // extension lines 2k, 2k+1
  std::vector<ShapeRecord> shpSnpo;      // end markers 2k, 2k+1
  std::vector<TextRecord> lblKeiroS;     // route labels, linked by Tag
  std::vector<TextRecord> lblMensekiS;   // area labels, linked by Tag
  std::vector<LineRecord> linePS;        // route and area segments, Tag = label's
  std::vector<LineRecord> lineHikidashi; // leader lines
  std::vector<TextRecord> lblMoji;       // comment texts; 0 is the template
  std::vector<TextRecord> lblKeiIdoS;    // position labels; 0 is the template
};

// Single working objects; never stored.
struct WorkingObjects {
  WorkingObjects();

  LineRecord lineDistance;              // live measurement line
  TextRecord lblDistance;               // live value label
  std::array<LineRecord, 4> lineHojo;   // live extension lines
  ShapeRecord shpCircle;                // live circle of the radius measurement
  std::vector<LineRecord> lineMenseki;  // live segments of an open path; 0 always exists
  TextRecord lblMenseki;                // live area label
  TextRecord lblKeiro;                  // live route label
  ShapeRecord shpSnap;                  // marker on a vertex the pointer snaps to
  TextRecord lblKeiIdo;                 // live position label
  LineRecord lineCheck;                 // calibration check line
  std::array<ShapeRecord, 2> shpCheck;  // its end markers
  LineRecord lineHintX, lineHintY;      // axis guides while Space is held
  ShapeRecord shpZoom;                  // marker of the range zoom modes
  LineRecord linDefault;                // style sample for new lines
  TextRecord lblDefault;                // style sample for new labels
};

// The highest index of a collection (the spare's, or the last element's).
template <class R>
std::int16_t UBound(const std::vector<R>& c) {
  return static_cast<std::int16_t>(c.size() - 1);
}

// Loads element UBound + 1 as an invisible copy of the design element (lines:
// solid, 1 pixel). Refused (false, nothing changed) past index kMaxIndex.
bool AppendSpare(std::vector<LineRecord>& c);
bool AppendSpare(std::vector<ShapeRecord>& c);
bool AppendSpare(std::vector<TextRecord>& c);

// Closes the gap at i; a collection of one element keeps it, hidden.
template <class R>
void RemoveAt(std::vector<R>& c, int i);

// Hides element 0 and unloads the rest.
template <class R>
void ClearCollection(std::vector<R>& c);

// Removes distance object k: its label, dimension line, two extension lines
// and two markers.
void RemoveDistanceObject(Collections& objects, int k);

// Removes route or area label i of `labels` and every linePS segment that
// carries its Tag.
void RemoveTagged(Collections& objects, std::vector<TextRecord>& labels, int i);

// Unloads the live path segments 1.., hides segment 0 and the live labels.
void ClearWorkingPath(WorkingObjects& live);

}  // namespace planimo
