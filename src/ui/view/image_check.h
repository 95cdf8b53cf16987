#pragma once

// Completeness checks on image file bytes. A JPEG or BMP cut short (an
// interrupted copy, a full disk) still decodes into a half-grey picture
// without any decoder error, so the file structure is checked before the
// picture is trusted.

#include <cstddef>
#include <cstdint>
#include <span>

namespace planimo {

// True when the JPEG stream runs from SOI through its marker segments and
// entropy-coded data to an EOI marker. Bytes after EOI are allowed.
bool JpegIsComplete(std::span<const std::uint8_t> file);

// True when the file holds at least the pixel data its header promises
// (uncompressed rows, or the declared image size of a compressed bitmap).
// Headers it cannot judge pass.
bool BmpIsComplete(std::span<const std::uint8_t> file);

}  // namespace planimo
