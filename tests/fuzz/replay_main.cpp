// Replays saved fuzz inputs through the harnesses' entry functions:
//   fuzz_replay ini|objects FILE_OR_FOLDER...
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz_entries.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s ini|objects FILE_OR_FOLDER...\n", argv[0]);
    return 2;
  }
  const bool ini = std::strcmp(argv[1], "ini") == 0;
  std::vector<std::filesystem::path> inputs;
  for (int i = 2; i < argc; ++i) {
    if (std::filesystem::is_directory(argv[i])) {
      for (const auto& e : std::filesystem::directory_iterator(argv[i])) inputs.push_back(e.path());
    } else {
      inputs.emplace_back(argv[i]);
    }
  }
  for (const auto& p : inputs) {
    std::ifstream in(p, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    if (ini) {
      planimo::FuzzIniLayer(data, bytes.size());
    } else {
      planimo::FuzzObjectFiles(data, bytes.size());
    }
  }
  std::printf("%zu inputs replayed\n", inputs.size());
  return inputs.empty() ? 1 : 0;
}
