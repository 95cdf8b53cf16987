#include "model/platform.h"

#include <chrono>
#include <ctime>

namespace planimo {

namespace {

// Counts code points so that a Japanese caption is as wide as a Latin one of
// the same number of characters.
std::size_t CodePoints(const std::string& s) {
  std::size_t n = 0;
  for (unsigned char c : s) n += (c & 0xC0u) != 0x80u;
  return n;
}

}  // namespace

TextSize ApproxTextMeasurer::Measure(const TextRecord& label) const {
  const float em = label.FontSize * 0.3528f;
  return {static_cast<float>(CodePoints(label.Caption)) * em * 0.6f, em * 1.2f};
}

LocalTime SystemClock::Now() const {
  const std::time_t t = std::time(nullptr);
  std::tm tm{};
  localtime_r(&t, &tm);
  return {tm.tm_hour, tm.tm_min, tm.tm_sec};
}

void AutoSize(TextRecord& label, const TextMeasurer& measurer) {
  const TextSize size = measurer.Measure(label);
  label.Width = size.width;
  label.Height = size.height;
}

}  // namespace planimo
