// morvo-cli paint: painting a scene headless with the program's paint tools.
#pragma once

#include <string>
#include <vector>

// Runs "morvo-cli paint SCENE.mvo -o OUT.mvo [--size WxH] [--view VIEW] ACTION..." with the
// arguments after the command name. Returns the exit status; failures print one line.
int runPaint(const std::vector<std::string> &args);
