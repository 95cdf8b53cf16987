#pragma once

// What the core needs from the platform, as small interfaces the shell
// implements and tests replace with fakes.

#include <memory>

#include "model/records.h"

namespace planimo {

struct TextSize {
  float width = 0;   // view millimetres
  float height = 0;
};

// Size of a label's caption in its font (at its current point size), in
// view millimetres.
class TextMeasurer {
 public:
  virtual ~TextMeasurer() = default;
  virtual TextSize Measure(const TextRecord& label) const = 0;
};

struct LocalTime {
  int hour = 0, minute = 0, second = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual LocalTime Now() const = 0;
};

// Deterministic stand-ins: every character is 0.6 em wide, the line 1.2 em
// high (1 pt = 0.3528 mm). Used until the shell installs font metrics.
class ApproxTextMeasurer : public TextMeasurer {
 public:
  TextSize Measure(const TextRecord& label) const override;
};

class SystemClock : public Clock {
 public:
  LocalTime Now() const override;
};

// Sets Width and Height of a label from its caption and font (auto-size).
void AutoSize(TextRecord& label, const TextMeasurer& measurer);

}  // namespace planimo
