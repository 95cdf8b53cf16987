#include "io/dxf_layer_names.h"

#include <set>
#include <string_view>

namespace planimo {

namespace {

bool IsHex(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

// The length in bytes of the character `name` holds at `i`.
std::size_t CharacterBytes(std::string_view name, std::size_t i) {
  const auto c = static_cast<unsigned char>(name[i]);
  if ((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC)) return i + 1 < name.size() ? 2 : 1;
  constexpr std::size_t kEscape = 7;  // "\U+20AC"
  if (c == '\\' && name.substr(i, 3) == "\\U+" && i + kEscape <= name.size()) {
    bool hex = true;
    for (std::size_t j = i + 3; j < i + kEscape; ++j) hex = hex && IsHex(name[j]);
    if (hex) return kEscape;
  }
  return 1;
}

// The longest run of whole characters from the start of `name` within
// `limit` bytes.
std::string Cut(std::string_view name, std::size_t limit) {
  std::size_t end = 0;
  while (end < name.size()) {
    const std::size_t n = CharacterBytes(name, end);
    if (end + n > limit) break;
    end += n;
  }
  return std::string(name.substr(0, end));
}

}  // namespace

std::vector<std::string> FitDxfLayerNames(const std::vector<std::string>& names) {
  // The names that fit keep them, whichever comes first.
  std::set<std::string> taken;
  for (const std::string& n : names) {
    if (n.size() <= kDxfLayerNameBytes) taken.insert(n);
  }
  std::vector<std::string> out;
  out.reserve(names.size());
  for (const std::string& n : names) {
    if (n.size() <= kDxfLayerNameBytes) {
      out.push_back(n);
      continue;
    }
    std::string fitted = Cut(n, kDxfLayerNameBytes);
    for (int k = 2; taken.count(fitted) != 0; ++k) {
      const std::string number = "-" + std::to_string(k);
      fitted = Cut(n, kDxfLayerNameBytes - number.size()) + number;
    }
    taken.insert(fitted);
    out.push_back(std::move(fitted));
  }
  return out;
}

}  // namespace planimo
