#pragma once

// The text forms of the scalar values in the project and object files, and
// reading them back. A value that does not convert is nullopt: the caller
// decides whether that ends a read (object files) or fails it (project
// file).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace planimo {

// "True" or "False".
std::string BooleanText(bool value);

// "True"/"False" in any case, or a number: 0 is False, any other True.
// Surrounding blanks are ignored; anything else does not convert.
std::optional<bool> FileBoolean(std::string_view text);

// The leading number rounded half to even; nullopt past the 16-bit range.
std::optional<std::int16_t> FileInteger(std::string_view text);

// The leading number rounded half to even; nullopt past the 32-bit range.
std::optional<std::int32_t> FileLong(std::string_view text);

// The leading number as a Single; nullopt past the Single range.
std::optional<float> FileSingle(std::string_view text);

// The leading number (0 for empty or non-numeric text).
double FileDouble(std::string_view text);

}  // namespace planimo
