#pragma once

// Opening the files a project names for reading. Only a regular file is
// read: a FIFO named where a project or object file should be would make a
// plain open wait for a writer for ever, a device would read without end,
// and a folder or a looping link reads as nothing. Such a name is refused
// at once, with a report that says what it is.

#include <istream>
#include <memory>
#include <optional>
#include <string>

#include "model/error_numbers.h"

namespace planimo {

struct OpenedFile {
  std::unique_ptr<std::istream> stream;  // set when the file was opened
  bool missing = false;                  // nothing of that name
  std::optional<ErrorReport> error;      // why it exists and was not opened
};

// Opens `path` if it names a regular file (a link is followed), without
// ever waiting on a FIFO.
OpenedFile OpenRegularFile(const std::string& path);

// Why `path`, which exists, cannot be read as a file: a folder, a FIFO or
// device, a looping link, or the permissions.
ErrorReport NotReadableAsFile(const std::string& path);

}  // namespace planimo
