#include "io/ini_file.h"

#include <cstddef>
#include <filesystem>
#include <optional>

#include "io/atomic_write.h"
#include "io/regular_file.h"
#include "io/text_codec.h"

namespace planimo {
namespace {

namespace fs = std::filesystem;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

bool IsQuoted(std::string_view s) { return s.size() >= 2 && s.front() == '"' && s.back() == '"'; }

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Japanese names compare as they are; UTF-8 bytes of non-ASCII characters
// are never in A-Z, so folding byte by byte touches only ASCII letters.
bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

enum class LineKind { Other, Comment, Section, Key };

struct LineView {
  LineKind kind = LineKind::Other;
  std::string_view name;   // section or key name, trimmed
  std::string_view value;  // trimmed, quotes dropped
};

LineView Classify(std::string_view line) {
  const std::string_view t = Trim(line);
  if (t.empty()) return {};
  if (t.front() == ';') return {LineKind::Comment, {}, {}};
  if (t.front() == '[') {
    // Text after "]" is ignored; a header without "]" runs to the line end.
    const std::string_view inner = t.substr(1);
    return {LineKind::Section, Trim(inner.substr(0, inner.find(']'))), {}};
  }
  const std::size_t eq = t.find('=');
  if (eq == std::string_view::npos) return {};
  std::string_view value = Trim(t.substr(eq + 1));
  if (IsQuoted(value)) value = value.substr(1, value.size() - 2);
  return {LineKind::Key, Trim(t.substr(0, eq)), value};
}

// Lines [begin, end) of the first section called `section`, begin being its
// header; empty when there is none.
struct SectionRange {
  std::size_t header = 0;
  std::size_t end = 0;
};

std::optional<SectionRange> FindSection(const IniDocument& doc, std::string_view section) {
  for (std::size_t i = 0; i < doc.lines.size(); ++i) {
    const LineView v = Classify(doc.lines[i]);
    if (v.kind != LineKind::Section || !SameName(v.name, section)) continue;
    std::size_t end = i + 1;
    while (end < doc.lines.size() && Classify(doc.lines[end]).kind != LineKind::Section) ++end;
    return SectionRange{i, end};
  }
  return std::nullopt;
}

std::optional<std::size_t> FindKey(const IniDocument& doc, const SectionRange& range, std::string_view key) {
  for (std::size_t i = range.header + 1; i < range.end; ++i) {
    const LineView v = Classify(doc.lines[i]);
    if (v.kind == LineKind::Key && SameName(v.name, key)) return i;
  }
  return std::nullopt;
}

bool HasLineBreak(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

// The value as it goes into the file: quoted when the reader would otherwise
// trim its blanks or drop its quotes.
std::string StoredValue(std::string_view value) {
  const bool needsQuotes = IsBlank(value.front()) || IsBlank(value.back()) || IsQuoted(value);
  if (needsQuotes) return "\"" + std::string(value) + "\"";
  return std::string(value);
}

}  // namespace

IniDocument ParseIni(std::string_view text) {
  IniDocument doc;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    doc.lines.emplace_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) doc.lines.emplace_back(text.substr(start));
  return doc;
}

std::string FormatIni(const IniDocument& doc) {
  std::string text;
  for (const std::string& line : doc.lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

std::string GetValue(const IniDocument& doc, std::string_view section, std::string_view key) {
  section = Trim(section);
  key = Trim(key);
  if (key.empty()) return {};
  const std::optional<SectionRange> range = FindSection(doc, section);
  if (!range) return {};
  const std::optional<std::size_t> line = FindKey(doc, *range, key);
  if (!line) return {};
  return std::string(Classify(doc.lines[*line]).value);
}

bool PutValueAfter(IniDocument& doc, std::string_view section, std::string_view afterKey, std::string_view key,
                   std::string_view value) {
  const std::optional<SectionRange> before = FindSection(doc, Trim(section));
  const bool existed = before && FindKey(doc, *before, Trim(key));
  if (!PutValue(doc, section, key, value)) return false;
  if (existed) return true;
  const std::optional<SectionRange> range = FindSection(doc, Trim(section));
  const std::optional<std::size_t> line = FindKey(doc, *range, Trim(key));
  const std::optional<std::size_t> after = FindKey(doc, *range, Trim(afterKey));
  if (line && after && *after + 1 < *line) {
    std::string moved = std::move(doc.lines[*line]);
    doc.lines.erase(doc.lines.begin() + static_cast<std::ptrdiff_t>(*line));
    doc.lines.insert(doc.lines.begin() + static_cast<std::ptrdiff_t>(*after + 1), std::move(moved));
  }
  return true;
}

bool RemoveValue(IniDocument& doc, std::string_view section, std::string_view key) {
  bool removed = false;
  for (;;) {
    const std::optional<SectionRange> range = FindSection(doc, Trim(section));
    if (!range) return removed;
    const std::optional<std::size_t> line = FindKey(doc, *range, Trim(key));
    if (!line) return removed;
    doc.lines.erase(doc.lines.begin() + static_cast<std::ptrdiff_t>(*line));
    removed = true;
  }
}

bool PutValue(IniDocument& doc, std::string_view section, std::string_view key, std::string_view value) {
  section = Trim(section);
  key = Trim(key);
  if (key.empty() || value.empty()) return false;
  if (HasLineBreak(section) || HasLineBreak(key) || HasLineBreak(value)) return false;
  if (section.find(']') != std::string_view::npos) return false;
  if (key.find('=') != std::string_view::npos || key.front() == '[' || key.front() == ';') return false;

  const std::string stored = StoredValue(value);
  const std::optional<SectionRange> range = FindSection(doc, section);
  if (!range) {
    doc.lines.push_back("[" + std::string(section) + "]");
    doc.lines.push_back(std::string(key) + "=" + stored);
    return true;
  }
  if (const std::optional<std::size_t> line = FindKey(doc, *range, key)) {
    // Keep the key as the file spells it; only the value changes.
    const std::string fileKey(Classify(doc.lines[*line]).name);
    doc.lines[*line] = fileKey + "=" + stored;
    return true;
  }
  std::size_t insertAt = range->header + 1;
  for (std::size_t i = range->header + 1; i < range->end; ++i) {
    if (Classify(doc.lines[i]).kind == LineKind::Key) insertAt = i + 1;
  }
  doc.lines.insert(doc.lines.begin() + static_cast<std::ptrdiff_t>(insertAt), std::string(key) + "=" + stored);
  return true;
}

IniDocument ReadIniFile(const std::string& path) {
  return ReadIniFileForUpdate(path).value_or(IniDocument{});
}

bool IsOversizedIniFile(const std::string& path) {
  std::error_code ec;
  const std::uintmax_t size = fs::file_size(path, ec);
  return !ec && size > kIniFileLimit;
}

std::optional<IniDocument> ReadIniFileForUpdate(const std::string& path) {
  // A pipe or device would block the reader or never end.
  const OpenedFile file = OpenRegularFile(path);
  if (file.missing) return IniDocument{};
  if (!file.stream) return std::nullopt;
  std::istream& in = *file.stream;
  // One byte past the limit tells an oversized file, even one still growing.
  std::string bytes(kIniFileLimit + 1, '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (in.bad() || static_cast<std::uintmax_t>(in.gcount()) > kIniFileLimit) return std::nullopt;
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  return ParseIni(DecodeFileText(bytes));
}

bool WriteIniFile(const std::string& path, const IniDocument& doc) {
  const FileWrite file{path, EncodeFileText(FormatIni(doc))};
  return !WriteFilesAtomically(std::span<const FileWrite>(&file, 1), false);
}

std::string GetIni(std::string_view section, std::string_view key, const std::string& file) {
  return GetValue(ReadIniFile(file), section, key);
}

bool PutIni(std::string_view section, std::string_view key, std::string_view value, const std::string& file) {
  std::optional<IniDocument> doc = ReadIniFileForUpdate(file);
  if (!doc || !PutValue(*doc, section, key, value)) return false;
  return WriteIniFile(file, *doc);
}

}  // namespace planimo
