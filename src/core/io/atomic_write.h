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

// The same bytes, and whether they are UTF-8 because some character has no
// CP932 form: such a file no longer opens where Shift-JIS is expected.
struct EncodedFileText {
  std::string bytes;
  bool beyondCp932 = false;
};
EncodedFileText EncodeFileTextNoting(std::string_view utf8);

// Writes every file of `files` or none. With `keepBackups`, an existing file
// is first kept under the same name with ".bak" added, and the ".bak" files
// of the set are always those of one save. A read-only target is not
// replaced; a link is followed to the file it names. Temporaries an earlier
// write of the same files left behind (a killed program) are removed. On
// failure the old files are as they were and the report names the cause and
// the file.
std::optional<ErrorReport> WriteFilesAtomically(std::span<const FileWrite> files, bool keepBackups);

}  // namespace planimo

namespace planimo {

// An output written piece by piece (a bitmap strip by strip, a PDF by the
// print engine) under a temporary name beside the file it replaces, and put
// in its place only once whole.
struct Replacement {
  std::string shown;   // the path as the user gave it, for messages
  std::string target;  // the file it finally names, a link followed
  std::string temp;    // the temporary file beside the target
};

// Refuses a target that exists but is not a regular file (a folder, a
// device, a pipe) or that the user may not write, then creates the
// temporary file, new and empty, with the old file's permissions. With `fd`
// the temporary file stays open for writing and its descriptor goes there;
// without, it is closed again for a writer that opens it by name.
std::optional<ErrorReport> BeginReplacement(const std::string& path, Replacement& r, int* fd = nullptr);

// Renames the finished temporary file over the target; on failure removes
// it and leaves the old file as it was.
std::optional<ErrorReport> CommitReplacement(const Replacement& r);

// Removes the temporary file; the target stays as it was.
void AbandonReplacement(const Replacement& r);

// Why a write to the temporary file failed when the writer itself could
// not say: one more write of some bytes at its end, whose error names the
// cause (a full disk, a file size limit); a generic access error when it
// succeeds. The temporary file is to be abandoned afterwards.
ErrorReport WriteFailureCause(const Replacement& r);

}  // namespace planimo
