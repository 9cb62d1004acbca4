// The command-line modes with the real registry, files and console.
#pragma once

#include "app/command_line.h"

namespace tavlin::app {

// Runs /export, /import or /? (or reports bad usage) and returns the exit code.
// Messages go to the standard output and error handles when the program has
// them (redirected to a file or a pipe: UTF-8), else to the console of the
// process that started it.
int RunCommandMode(const Command& command);

}  // namespace tavlin::app
