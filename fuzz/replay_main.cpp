// Runs a fuzz target over files and folders of inputs, for builds without libFuzzer. A folder
// that is missing or holds no inputs fails the run: a replay that replays nothing proves nothing.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

namespace {

void replayFile(const std::filesystem::path &path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                             std::istreambuf_iterator<char>());
  LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
}

// Replays every file below the folder; returns how many there were.
int replayFolder(const std::filesystem::path &folder) {
  int count = 0;
  for (const auto &entry : std::filesystem::recursive_directory_iterator(folder)) {
    if (entry.is_regular_file()) {
      replayFile(entry.path());
      ++count;
    }
  }
  return count;
}

} // namespace

int main(int argc, char **argv) {
  int count = 0;
  for (int i = 1; i < argc; ++i) {
    const std::filesystem::path arg(argv[i]);
    std::error_code ec;
    if (std::filesystem::is_directory(arg, ec)) {
      const int inFolder = replayFolder(arg);
      if (inFolder == 0) {
        std::fprintf(stderr, "no inputs in %s\n", argv[i]);
        return 1;
      }
      count += inFolder;
    } else if (std::filesystem::is_regular_file(arg, ec)) {
      replayFile(arg);
      ++count;
    } else {
      std::fprintf(stderr, "no such file or folder: %s\n", argv[i]);
      return 1;
    }
  }
  // The empty input always runs too: every reader must cope with it.
  LLVMFuzzerTestOneInput(nullptr, 0);
  std::printf("replayed %d inputs\n", count);
  return 0;
}
