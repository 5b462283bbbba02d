// Feeds every file of the given folders to one format's decoder, as its fuzz target would:
// `fuzz_seeds <format> <folder>...`. Missing folders are skipped.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "tests/fuzz/FuzzDecoders.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: fuzz_seeds <format> <folder>...\n");
    return 2;
  }
  const fuzz::Decoder decode = fuzz::FindDecoder(argv[1]);
  size_t count = 0;
  for (int i = 2; i < argc; ++i) {
    if (!std::filesystem::is_directory(argv[i])) continue;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(argv[i])) {
      if (!entry.is_regular_file()) continue;
      std::ifstream in(entry.path(), std::ios::binary);
      const std::vector<uint8_t> data{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
      decode(data);
      ++count;
    }
  }
  std::printf("%s: %zu files decoded without fault\n", argv[1], count);
  return 0;
}
