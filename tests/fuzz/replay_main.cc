// SPDX-License-Identifier: GPL-3.0-or-later
// Replays files through a fuzz target without libFuzzer, so that any
// compiler can run the corpus and the reproductions as a test. Arguments
// are files or folders (every file in them, in name order).
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz_input.h"

namespace {

void Replay(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)),
                          std::istreambuf_iterator<char>());
  std::fprintf(stderr, "%s (%zu bytes)\n", path.string().c_str(),
               bytes.size());
  LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()),
                         bytes.size());
}

}  // namespace

int main(int argc, char** argv) {
  size_t count = 0;
  for (int i = 1; i < argc; ++i) {
    const std::filesystem::path path = argv[i];
    if (!std::filesystem::is_directory(path)) {
      Replay(path);
      ++count;
      continue;
    }
    std::vector<std::filesystem::path> files;
    for (const auto& entry :
         std::filesystem::recursive_directory_iterator(path)) {
      if (entry.is_regular_file()) files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    for (const auto& file : files) Replay(file);
    count += files.size();
  }
  std::printf("replayed %zu inputs\n", count);
  return count > 0 ? 0 : 1;
}
