#include "io/takeoff_section.h"

#include <charconv>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "takeoff/takeoff_edit.h"
#include "takeoff/takeoff_rows.h"

namespace planimo {

namespace {

constexpr std::string_view kCountKey = "品目数";
constexpr std::string_view kNameKey = "品目";
constexpr std::string_view kColourKey = "色";
constexpr std::string_view kDeductionMark = ",控除";

struct Member {
  const char* key;
  std::vector<TextRecord> Collections::*labels;
  RowKind kind;
};

constexpr Member kMembers[] = {
    {"lblKyori", &Collections::lblKyori, RowKind::Distance},
    {"lblKeiroS", &Collections::lblKeiroS, RowKind::Route},
    {"lblMensekiS", &Collections::lblMensekiS, RowKind::Area},
    {"lblKeiIdoS", &Collections::lblKeiIdoS, RowKind::Position},
    {"lblMoji", &Collections::lblMoji, RowKind::Comment},
};

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

bool SameAscii(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

bool IsSectionLine(std::string_view line) {
  line = Trim(line);
  return line.size() >= 2 && line.front() == '[' && line.find(']') != std::string_view::npos;
}

bool IsOurSection(std::string_view line) {
  line = Trim(line);
  return IsSectionLine(line) && Trim(line.substr(1, line.find(']') - 1)) == kTakeoffSection;
}

std::optional<int> Number(std::string_view s) {
  int v = 0;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
  return v;
}

// A name with surrounding blanks or quotes goes in quotes, as the reader
// drops one pair of them.
std::string ValueOf(const std::string& name) {
  const bool quote = !name.empty() && (name.front() == ' ' || name.back() == ' ' || name.front() == '"');
  return quote ? "\"" + name + "\"" : name;
}

// The lines of every "[品目]" section, so that a rewrite leaves only one.
void RemoveSection(IniDocument& ini) {
  std::vector<std::string> kept;
  kept.reserve(ini.lines.size());
  bool inside = false;
  for (std::string& line : ini.lines) {
    if (IsSectionLine(line)) inside = IsOurSection(line);
    if (!inside) kept.push_back(std::move(line));
  }
  ini.lines = std::move(kept);
}

}  // namespace

void PutTakeoffSection(IniDocument& ini, const ProjectState& s, const Collections& objects) {
  RemoveSection(ini);
  std::vector<std::string> lines;
  for (const Member& m : kMembers) {
    const std::vector<TextRecord>& labels = objects.*m.labels;
    for (std::size_t i = 0; i < labels.size(); ++i) {
      const TextRecord& l = labels[i];
      if (l.Item == 0 && !l.Deduction) continue;
      lines.push_back(std::string(m.key) + "(" + std::to_string(i) + ")=" + std::to_string(l.Item) +
                      (l.Deduction ? std::string(kDeductionMark) : std::string()));
    }
  }
  if (s.takeoffItems.empty() && lines.empty()) return;
  ini.lines.push_back("[" + std::string(kTakeoffSection) + "]");
  ini.lines.push_back(std::string(kCountKey) + "=" + std::to_string(s.takeoffItems.size()));
  for (std::size_t n = 0; n < s.takeoffItems.size(); ++n) {
    const TakeoffItem& it = s.takeoffItems[n];
    const std::string number = std::to_string(n + 1);
    ini.lines.push_back(std::string(kNameKey) + number + "=" + ValueOf(it.name));
    ini.lines.push_back(std::string(kColourKey) + number + "=" + std::to_string(it.colour));
  }
  for (std::string& line : lines) ini.lines.push_back(std::move(line));
}

void GetTakeoffSection(const IniDocument& ini, ProjectState& s, Collections& objects) {
  s.takeoffItems.clear();
  std::vector<std::pair<std::string_view, std::string_view>> values;
  bool inside = false, seen = false;
  for (const std::string& line : ini.lines) {
    if (IsSectionLine(line)) {
      // The first section of a name wins.
      inside = !seen && IsOurSection(line);
      seen = seen || inside;
      continue;
    }
    const std::string_view t = Trim(line);
    const std::size_t eq = t.find('=');
    if (!inside || t.empty() || t.front() == ';' || eq == std::string_view::npos) continue;
    std::string_view value = Trim(t.substr(eq + 1));
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
    values.emplace_back(Trim(t.substr(0, eq)), value);
  }
  // The first key of a name wins: items are read in number order once the
  // count is known.
  int count = 0;
  for (const auto& [key, value] : values) {
    if (key == kCountKey) {
      count = std::max(0, std::min(Number(value).value_or(0), kMaxTakeoffItems));
      break;
    }
  }
  std::vector<std::optional<TakeoffItem>> items(static_cast<std::size_t>(count));
  std::vector<bool> coloured(items.size());
  for (const auto& [key, value] : values) {
    const bool name = key.starts_with(kNameKey) && key != kCountKey;
    const bool colour = key.starts_with(kColourKey);
    if (name || colour) {
      const std::optional<int> n = Number(key.substr(name ? kNameKey.size() : kColourKey.size()));
      if (!n || *n < 1 || *n > count) continue;
      std::optional<TakeoffItem>& it = items[static_cast<std::size_t>(*n - 1)];
      if (!it) it.emplace();
      if (name && it->name.empty()) it->name = std::string(value);
      if (colour && !coloured[static_cast<std::size_t>(*n - 1)]) {
        const std::optional<int> c = Number(value);
        if (c && *c >= 0 && *c <= 0xFFFFFF) it->colour = static_cast<Colour>(*c);
        coloured[static_cast<std::size_t>(*n - 1)] = true;
      }
    }
  }
  // An item without a name still holds its members; it shows its number.
  for (std::size_t n = 0; n < items.size(); ++n) {
    TakeoffItem it = items[n].value_or(TakeoffItem{});
    if (it.name.empty()) it.name = std::to_string(n + 1);
    s.takeoffItems.push_back(std::move(it));
  }
  for (const auto& [key, rawValue] : values) {
    const std::size_t open = key.find('(');
    if (open == std::string_view::npos || !key.ends_with(")")) continue;
    const std::string_view collection = key.substr(0, open);
    const std::optional<int> index = Number(key.substr(open + 1, key.size() - open - 2));
    std::string_view value = rawValue;
    const bool deduction = value.ends_with(kDeductionMark);
    if (deduction) value.remove_suffix(kDeductionMark.size());
    const std::optional<int> item = Number(Trim(value));
    if (!index || !item || *item < 0 || *item > count) continue;
    for (const Member& m : kMembers) {
      std::vector<TextRecord>& labels = objects.*m.labels;
      // A spare or a template is no object: an item on it would pass to the
      // next object kept in it.
      const KeptRange kept = KeptIndices(objects, m.kind);
      if (!SameAscii(collection, m.key) || *index < static_cast<int>(kept.first) ||
          *index >= static_cast<int>(kept.end)) {
        continue;
      }
      TextRecord& l = labels[static_cast<std::size_t>(*index)];
      l.Item = static_cast<std::int16_t>(*item);
      // Only an area counts against its item.
      l.Deduction = deduction && m.labels == &Collections::lblMensekiS;
    }
  }
}

}  // namespace planimo
