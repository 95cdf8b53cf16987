#include "view/memory_budget.h"

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <limits>
#include <string>

namespace planimo {

namespace {

constexpr std::uint64_t kUnknown = std::numeric_limits<std::uint64_t>::max();

// "MemAvailable:   23677 kB" of /proc/meminfo, in bytes.
std::uint64_t SystemAvailable() {
  std::ifstream in("/proc/meminfo");
  std::string key;
  std::uint64_t kb = 0;
  std::string unit;
  while (in >> key >> kb >> unit) {
    if (key == "MemAvailable:") return kb * 1024;
  }
  return kUnknown;
}

std::uint64_t HalfPhysical() {
  const long pages = sysconf(_SC_PHYS_PAGES);
  const long pageSize = sysconf(_SC_PAGE_SIZE);
  if (pages <= 0 || pageSize <= 0) return kUnknown;
  return static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(pageSize) / 2;
}

// The process's virtual size, from the first field of /proc/self/statm.
std::uint64_t VirtualSize() {
  std::ifstream in("/proc/self/statm");
  std::uint64_t pages = 0;
  if (!(in >> pages)) return 0;
  return pages * static_cast<std::uint64_t>(sysconf(_SC_PAGE_SIZE));
}

std::uint64_t LimitLeft(int resource) {
  rlimit r{};
  if (getrlimit(resource, &r) != 0 || r.rlim_cur == RLIM_INFINITY) return kUnknown;
  const std::uint64_t used = VirtualSize();
  return r.rlim_cur > used ? r.rlim_cur - used : 0;
}

std::uint64_t ReadNumber(const char* path) {
  std::ifstream in(path);
  std::string text;
  if (!(in >> text) || text == "max") return kUnknown;
  try {
    return std::stoull(text);
  } catch (...) {
    return kUnknown;
  }
}

std::uint64_t Left(const char* limitPath, const char* usagePath) {
  const std::uint64_t max = ReadNumber(limitPath);
  if (max == kUnknown) return kUnknown;
  const std::uint64_t used = ReadNumber(usagePath);
  if (used == kUnknown) return max;
  return max > used ? max - used : 0;
}

// The memory limit of the control group the process runs in (version 2,
// else version 1, whose "no limit" is a number near 2^63).
std::uint64_t GroupLeft() {
  return std::min(Left("/sys/fs/cgroup/memory.max", "/sys/fs/cgroup/memory.current"),
                  Left("/sys/fs/cgroup/memory/memory.limit_in_bytes", "/sys/fs/cgroup/memory/memory.usage_in_bytes"));
}

}  // namespace

std::uint64_t MemoryAvailableForPicture() {
  const std::uint64_t least =
      std::min({SystemAvailable(), HalfPhysical(), LimitLeft(RLIMIT_AS), LimitLeft(RLIMIT_DATA), GroupLeft()});
  return least == kUnknown ? std::uint64_t{2} << 30 : least;
}

}  // namespace planimo
