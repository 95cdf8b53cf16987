#pragma once

// A document with a fixed clock and fixed text metrics, and helpers that play
// mouse gestures on the map.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "geometry/units.h"
#include "measure/dispatcher.h"
#include "measure/tool_state.h"
#include "model/document.h"
#include "model/value_tag.h"

namespace planimo::test {

class FixedClock : public Clock {
 public:
  LocalTime Now() const override { return time; }
  LocalTime time{10, 15, 30};
};

// Every caption is 2 mm per byte wide and 4 mm high: easy to reason about.
class FixedMeasurer : public TextMeasurer {
 public:
  TextSize Measure(const TextRecord& label) const override {
    return {2.0f * static_cast<float>(label.Caption.size()), 4.0f};
  }
};

class ScriptedAsker : public InputAsker {
 public:
  std::optional<std::string> AskNumber(const std::string& prompt, const std::string& title,
                                       const std::string& unit, const std::string& initial) override {
    asked.push_back({prompt, title, unit, initial});
    return answer;
  }
  std::optional<std::string> answer;
  std::vector<std::vector<std::string>> asked;
};

// The value a label's tag stores, or -1 when the tag does not parse.
inline double TagValue(const TextRecord& label) {
  const std::optional<ValueTag> t = ParseValueTag(label.Tag);
  return t ? t->value : -1;
}

// How many shown outline segments carry `tag`.
inline int Tagged(const Collections& o, const std::string& tag) {
  int n = 0;
  for (const LineRecord& l : o.linePS) n += l.Visible && l.Tag == tag;
  return n;
}

struct MapFixture {
  MapFixture() {
    doc.clock = clock;
    doc.measurer = std::make_shared<FixedMeasurer>();
    doc.settings.units = BuiltinUnitTables();
    ResetProjectDefaults(doc);
    doc.state.GE_dblHosei = {0, 0, 0, 0};
  }
  MouseResult Down(float x, float y, int button = 1, bool shift = false, bool ctrl = false,
                   bool space = false) {
    return OnMapMouseDown(doc, s, {button, x, y, ctrl, shift, space});
  }
  MouseResult Up(float x, float y, int button = 1, bool shift = false, bool ctrl = false) {
    return OnMapMouseUp(doc, s, {button, x, y, ctrl, shift, false});
  }
  MouseResult Move(float x, float y, bool shift = false, int button = 0, bool ctrl = false,
                   bool space = false) {
    return OnMapMouseMove(doc, s, {button, x, y, ctrl, shift, space});
  }
  void Click(float x, float y, bool shift = false) {
    Down(x, y, 1, shift);
    Up(x, y, 1, shift);
  }
  // Click, move, click: one finished measurement.
  void Measure(float x1, float y1, float x2, float y2, bool shift = false) {
    Click(x1, y1);
    Move(x2, y2, shift);
    Click(x2, y2, shift);
  }
  int KeptDistances() const { return UBound(doc.objects.lblKyori); }

  std::shared_ptr<FixedClock> clock = std::make_shared<FixedClock>();
  Document doc;
  MeasureSession s;
};

}  // namespace planimo::test
