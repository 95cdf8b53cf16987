#include "model/value_tag.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <vector>

#include "geometry/number_format.h"

namespace planimo {

namespace {

constexpr int kSecondsPerDay = 24 * 60 * 60;
constexpr std::size_t kTimeChars = 6;     // "hhnnss"
constexpr std::size_t kFixedChars = 11;   // "uud:" + "_hhnnss"

bool AllDigits(std::string_view s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int Digits(std::string_view s) {
  int n = 0;
  for (char c : s) n = n * 10 + (c - '0');
  return n;
}

void AppendTwo(std::string& out, int n) {
  out += static_cast<char>('0' + n / 10 % 10);
  out += static_cast<char>('0' + n % 10);
}

std::optional<LocalTime> ParseTime(std::string_view s) {
  if (s.size() != kTimeChars || !AllDigits(s)) return std::nullopt;
  LocalTime t{Digits(s.substr(0, 2)), Digits(s.substr(2, 2)), Digits(s.substr(4, 2))};
  if (t.hour > 23 || t.minute > 59 || t.second > 59) return std::nullopt;
  return t;
}

int SecondOfDay(const LocalTime& t) { return (t.hour * 60 + t.minute) * 60 + t.second; }

LocalTime FromSecondOfDay(int s) { return {s / 3600, s / 60 % 60, s % 60}; }

}  // namespace

std::string FormatTagValue(double value) {
  return std::isfinite(value) ? DoubleText(value) : "0";
}

std::string BuildValueTag(int unit, int decimals, double value, const LocalTime& time) {
  std::string out;
  out.reserve(32);
  AppendTwo(out, std::clamp(unit, 0, 99));
  out += static_cast<char>('0' + std::clamp(decimals, 0, 9));
  out += ':';
  out += FormatTagValue(value);
  out += '_';
  AppendTwo(out, time.hour);
  AppendTwo(out, time.minute);
  AppendTwo(out, time.second);
  return out;
}

std::string BuildValueTag(const ValueTag& tag) {
  return BuildValueTag(tag.unit, tag.decimals, tag.value, tag.time);
}

std::optional<ValueTag> ParseValueTag(std::string_view tag) {
  if (tag.size() < kFixedChars + 1) return std::nullopt;
  const std::size_t value_len = tag.size() - kFixedChars;
  if (tag[3] != ':' || tag[4 + value_len] != '_') return std::nullopt;
  const std::string_view unit = tag.substr(0, 2);
  const std::string_view decimals = tag.substr(2, 1);
  if (!AllDigits(unit) || !AllDigits(decimals)) return std::nullopt;

  ValueTag out;
  out.unit = static_cast<std::int16_t>(Digits(unit));
  out.decimals = static_cast<std::int16_t>(Digits(decimals));
  if (out.unit > 13 || out.decimals > 8) return std::nullopt;

  // Older writers left the leading blank (and a "+") of the classic
  // conversion in place; both read as the number that follows.
  std::string_view v = tag.substr(4, value_len);
  while (!v.empty() && v.front() == ' ') v.remove_prefix(1);
  if (!v.empty() && v.front() == '+') v.remove_prefix(1);
  const char* end = v.data() + v.size();
  const auto [ptr, ec] = std::from_chars(v.data(), end, out.value);
  if (ec != std::errc() || ptr != end || !std::isfinite(out.value)) return std::nullopt;

  const std::optional<LocalTime> time = ParseTime(tag.substr(tag.size() - kTimeChars));
  if (!time) return std::nullopt;
  out.time = *time;
  return out;
}

std::string UniqueValueTag(const std::string& tag, const Collections& objects) {
  const std::optional<ValueTag> parsed = ParseValueTag(tag);
  if (!parsed) return tag;
  // Only tags with the same unit, decimals and value text can collide; note
  // the seconds they occupy, then step past them.
  const std::string_view prefix = std::string_view(tag).substr(0, tag.size() - kTimeChars);
  std::vector<bool> taken(kSecondsPerDay, false);
  auto note = [&](const std::vector<TextRecord>& labels) {
    for (const TextRecord& l : labels) {
      if (l.Tag.size() != tag.size() || !l.Tag.starts_with(prefix)) continue;
      if (const auto t = ParseTime(std::string_view(l.Tag).substr(prefix.size()))) taken[SecondOfDay(*t)] = true;
    }
  };
  note(objects.lblKeiroS);
  note(objects.lblMensekiS);

  const int start = SecondOfDay(parsed->time);
  for (int step = 0; step < kSecondsPerDay; ++step) {
    const int s = (start + step) % kSecondsPerDay;
    if (taken[s]) continue;
    if (step == 0) return tag;
    std::string out(prefix);
    const LocalTime t = FromSecondOfDay(s);
    AppendTwo(out, t.hour);
    AppendTwo(out, t.minute);
    AppendTwo(out, t.second);
    return out;
  }
  return tag;  // every second of the day is taken: nothing left to choose
}

std::string KeepCreationTime(const std::string& tag, const std::string& created) {
  if (!ParseValueTag(tag) || !ParseValueTag(created)) return tag;
  return tag.substr(0, tag.size() - kTimeChars) + created.substr(created.size() - kTimeChars);
}

}  // namespace planimo
