#pragma once

// How much memory the machine can give a decoded picture right now.

#include <cstdint>

namespace planimo {

// The least of: the memory the system reports available, half the physical
// memory, what the process's address-space and data limits leave, and what
// its control group's memory limit leaves. A picture larger than this is not
// attempted: the machine would swap itself to a halt or the allocation fail
// midway.
std::uint64_t MemoryAvailableForPicture();

}  // namespace planimo
