#pragma once

// Replacing files so that a failed write never leaves a half-written one:
// every file goes to a temporary file beside it first, each write, the flush
// and the close are checked, and only when all of them are complete are they
// renamed over the old files.

#include <optional>
#include <span>
#include <string>

#include "model/error_numbers.h"

namespace planimo {

struct FileWrite {
  std::string path;
  std::string bytes;
};

// The file's bytes: CP932 when every character has a CP932 form, otherwise
// UTF-8 with a byte-order mark, so that no text is lost. (Also UTF-8 with the
// mark when the CP932 bytes would read as valid UTF-8, which readers take
// for UTF-8.)
std::string EncodeFileText(std::string_view utf8);

// Writes every file of `files` or none. With `keepBackups`, an existing file
// is first kept under the same name with ".bak" added, and the ".bak" files
// of the set are always those of one save. A read-only target is not
// replaced; a link is followed to the file it names. Temporaries an earlier
// write of the same files left behind (a killed program) are removed. On
// failure the old files are as they were and the report names the cause and
// the file.
std::optional<ErrorReport> WriteFilesAtomically(std::span<const FileWrite> files, bool keepBackups);

}  // namespace planimo
