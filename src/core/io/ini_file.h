#pragma once

// INI files with the private-profile rules of the settings and project files:
// "[section]" lines, "key=value" lines, ";" comment lines. Names compare
// without regard to ASCII case, names and values are trimmed of blanks and
// tabs, a value's surrounding double quotes are dropped, and the first
// section and the first key of a name win. Writing replaces an existing key
// in place, appends a missing key at the end of its section and a missing
// section at the end of the file, and keeps every other line as it was.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace planimo {

// The lines of one INI file, decoded to UTF-8, without their line ends.
struct IniDocument {
  std::vector<std::string> lines;
};

// Splits text at CR LF, LF or a lone CR.
IniDocument ParseIni(std::string_view utf8Text);

// The document as text with CR LF after every line.
std::string FormatIni(const IniDocument& doc);

// The value of `key` in `section`, whole: a folder, an image name or an
// object file name cut short would name another place or nothing (so the
// drawing would open without its objects); empty when either is missing.
std::string GetValue(const IniDocument& doc, std::string_view section, std::string_view key);

// Stores `value` under `key` in `section`. Writes nothing and returns false
// for an empty key or value, and for names or values the file could not
// hold: a line break anywhere, "=" in the key, "]" in the section, a key
// starting with "[" or ";". A value with surrounding blanks or quotes is
// written in quotes so it reads back unchanged.
bool PutValue(IniDocument& doc, std::string_view section, std::string_view key, std::string_view value);

// PutValue, except that a key not yet in the section goes right after
// `afterKey` when that is there (at the section's end otherwise).
bool PutValueAfter(IniDocument& doc, std::string_view section, std::string_view afterKey, std::string_view key,
                   std::string_view value);

// Removes every line of `key` in `section`; false when there was none.
bool RemoveValue(IniDocument& doc, std::string_view section, std::string_view key);

// A settings or project file holds a few kilobytes. A file past this size is
// not one: as lines it would take tens of times its size in memory (a file
// of empty lines fills gigabytes), so it reads as unreadable.
inline constexpr std::uintmax_t kIniFileLimit = std::uintmax_t{1} << 20;

// Whether `path` names a regular file past kIniFileLimit.
bool IsOversizedIniFile(const std::string& path);

// The file's lines; a missing, unreadable or oversized file reads as empty.
IniDocument ReadIniFile(const std::string& path);

// The file's lines for a read-modify-write: a missing file is empty, but a
// file that exists and cannot be read (or is not a regular file, or is
// oversized) gives nothing, so that it is not overwritten with less than it
// held.
std::optional<IniDocument> ReadIniFileForUpdate(const std::string& path);

// Replaces the file with `doc`: CP932 when every character has a CP932 form,
// otherwise UTF-8 with a byte-order mark, so nothing is lost. The text goes to
// a temporary file beside it that is then renamed over it, so a failed write
// leaves the old file whole. A read-only file is not replaced. Returns false
// on failure.
bool WriteIniFile(const std::string& path, const IniDocument& doc);

// One value from the file (read on every call).
std::string GetIni(std::string_view section, std::string_view key, const std::string& file);

// One value into the file (read, changed and written back on every call).
// False when nothing was written.
bool PutIni(std::string_view section, std::string_view key, std::string_view value, const std::string& file);

}  // namespace planimo
