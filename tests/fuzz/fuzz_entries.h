#pragma once

// Entry functions of the fuzz harnesses: each takes any bytes, runs them
// through a reader, writes what was read, reads that again and aborts when
// the second reading differs. libFuzzer drives them (scripts/fuzz.sh); CTest
// replays the saved inputs through them with a plain main.

#include <cstddef>
#include <cstdint>

namespace planimo {

// The INI layer: parse, read and store values, format, encode, parse again.
int FuzzIniLayer(const std::uint8_t* data, std::size_t size);

// The object files: the first byte picks the file kind, the rest is its text.
int FuzzObjectFiles(const std::uint8_t* data, std::size_t size);

}  // namespace planimo
