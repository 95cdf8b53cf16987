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

// `name` inside `folder`: no separator is added after one that ends it, and
// an empty folder leaves the name alone.
std::string JoinPath(std::string_view folder, std::string_view name);

}  // namespace planimo
