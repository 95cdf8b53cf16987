#pragma once

// Splitting a chosen file path into its folder and its file name.

#include <string>
#include <string_view>

namespace planimo {

struct SplitPathResult {
  std::string folder;    // up to and including the last separator; may be empty
  std::string fileName;  // everything after it
};

// "\" and "/" both separate, so Windows and Linux paths split alike.
SplitPathResult SplitPath(std::string_view path);

}  // namespace planimo
