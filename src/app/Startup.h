#pragma once

namespace kov::app {

// True when Qt can open a window here; otherwise `reason` says why in one line.
bool displayAvailable(const char** reason);

// Runs the program: the main window, and the document named on the command line.
int runProgram(int argc, char** argv);

} // namespace kov::app
