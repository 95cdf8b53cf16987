#include "io/value_text.h"

#include <cmath>

#include "geometry/number_format.h"
#include "geometry/points.h"

namespace planimo {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

bool SameWord(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const char c = (a[i] >= 'A' && a[i] <= 'Z') ? static_cast<char>(a[i] - 'A' + 'a') : a[i];
    if (c != b[i]) return false;
  }
  return true;
}

// Rounds half to even (the current rounding mode is round-to-nearest).
std::optional<double> Rounded(std::string_view text, double lo, double hi) {
  const double r = std::nearbyint(LeadingNumber(text));
  if (!(r >= lo && r <= hi)) return std::nullopt;
  return r;
}

}  // namespace

std::string BooleanText(bool value) { return value ? "True" : "False"; }

std::optional<bool> FileBoolean(std::string_view text) {
  const std::string_view t = Trim(text);
  if (SameWord(t, "true")) return true;
  if (SameWord(t, "false")) return false;
  if (const std::optional<double> n = ParseNumber(t)) return *n != 0;
  return std::nullopt;
}

std::optional<std::int16_t> FileInteger(std::string_view text) {
  const std::optional<double> r = Rounded(text, -32768, 32767);
  if (!r) return std::nullopt;
  return static_cast<std::int16_t>(*r);
}

std::optional<std::int32_t> FileLong(std::string_view text) {
  const std::optional<double> r = Rounded(text, -2147483648.0, 2147483647.0);
  if (!r) return std::nullopt;
  return static_cast<std::int32_t>(*r);
}

std::optional<float> FileSingle(std::string_view text) {
  const float v = ToSingle(LeadingNumber(text));
  if (!std::isfinite(v)) return std::nullopt;
  return v;
}

double FileDouble(std::string_view text) { return LeadingNumber(text); }

}  // namespace planimo
