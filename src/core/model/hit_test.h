#pragma once

// Which kept label lies under a point of the map surface. Labels stack as the
// drawing composes them: distance labels at the bottom, then area labels,
// route labels, comment texts and position labels on top; inside one
// collection a later element lies over an earlier one. The top-most label
// under the point wins. The live label and the default sample are not part of
// this stack; the shell tests them itself.

#include <string>
#include <string_view>
#include <vector>

#include "model/collections.h"

namespace planimo {

// Kind spelt as SelectedObject.strKind spells it, and the element index; an
// empty kind means no label lies under the point.
struct LabelHit {
  std::string kind;
  int index = -1;
  explicit operator bool() const { return !kind.empty(); }
};

inline constexpr const char* kKindKyori = "lblkyori";
inline constexpr const char* kKindMensekiS = "lblMensekiS";
inline constexpr const char* kKindKeiroS = "lblKeiroS";
inline constexpr const char* kKindMoji = "lblMoji";
inline constexpr const char* kKindKeiIdoS = "lblKeiIdoS";
// Leader lines are selected on the map, not through a label.
inline constexpr const char* kKindLeader = "lineHikidashi";

// The label collection a kind names; null for any other kind.
std::vector<TextRecord>* LabelsOfKind(Collections& objects, std::string_view kind);
const std::vector<TextRecord>* LabelsOfKind(const Collections& objects, std::string_view kind);

// Which label collections take part; the shell leaves out those whose tool
// is not active.
struct LabelHitFilter {
  bool kyori = true;
  bool mensekiS = true;
  bool keiroS = true;
  bool moji = true;
  bool keiIdoS = true;
};

// Top-most visible label whose box [Left, Left + Width) x [Top, Top + Height)
// holds (x, y), in view millimetres. Invisible elements never hit, nor does
// the comment template at index 0. Index 0 of the position labels hits when
// visible: after a project is read back it holds the first stored position.
LabelHit HitLabel(const Collections& objects, float x, float y, const LabelHitFilter& filter = {});

}  // namespace planimo
