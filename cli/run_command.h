// morvo-cli run: runs named commands and operations on a scene through the program's command
// layer, as the window's menus, hot keys and operations menu do, and saves the result.
#pragma once

#include <string>
#include <vector>

extern const char *const kRunHelp;

// Runs "morvo-cli run" with the arguments after the command name; returns the exit status. A
// run that stops (an unknown name, a bad amount, a refused operation, a failed save) prints one
// line on standard error, returns 1 and writes no output file.
int runRun(const std::vector<std::string> &args);
