// Running Open Asset Import Library's command-line tool ("assimp", Debian's assimp-utils) from
// interoperability tests.
#pragma once

#include <string>
#include <utility>
#include <vector>

// Whether the tool is installed; tests that need it skip without it.
bool assimpInstalled();
// Runs a shell command and returns what it printed, standard error included.
std::string runCommand(const std::string &command);
// Per mesh, vertices and faces as "assimp info" lists them ("0 (name): [8 / 0 / 12 | ...").
std::vector<std::pair<int, int>> assimpMeshCounts(const std::string &info);
