#pragma once
// Starting a desktop program (the file manager's opener) from the host's process without
// waiting for it and without leaving a child behind: it runs as a grandchild that the system
// adopts, in a session of its own, its standard streams on /dev/null. [main-thread]
#include <string>
#include <vector>

namespace graphics {

// Runs the program (looked up on $PATH unless the name holds a slash) with the arguments,
// through no shell. True once the program has been executed; false when it is not found or
// not executable, or the system refuses a process.
bool StartDetached(const char* program, const std::vector<std::string>& arguments);

}  // namespace graphics
