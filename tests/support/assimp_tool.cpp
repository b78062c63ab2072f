#include "tests/support/assimp_tool.h"

#include <cstdio>
#include <regex>

bool assimpInstalled() { return !runCommand("command -v assimp").empty(); }

std::string runCommand(const std::string &command) {
  std::string out;
  FILE *pipe = popen((command + " 2>&1").c_str(), "r");
  if (!pipe)
    return out;
  char buffer[4096];
  for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
    out.append(buffer, n);
  pclose(pipe);
  return out;
}

std::vector<std::pair<int, int>> assimpMeshCounts(const std::string &info) {
  static const std::regex kMesh(R"(\d+ \([^)]*\): \[(\d+) / \d+ / (\d+) \|)");
  std::vector<std::pair<int, int>> counts;
  for (std::sregex_iterator it(info.begin(), info.end(), kMesh), end; it != end; ++it)
    counts.emplace_back(std::stoi((*it)[1]), std::stoi((*it)[2]));
  return counts;
}
