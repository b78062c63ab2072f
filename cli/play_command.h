// morvo-cli play: plays a tutorial script headlessly through the program's own player.
#pragma once

#include <string>
#include <vector>

extern const char *const kPlayHelp;

// Runs "morvo-cli play" with the arguments after the command name; returns the exit status.
int runPlay(const std::vector<std::string> &args);
