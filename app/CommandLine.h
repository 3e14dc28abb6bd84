#pragma once
// The command line, answered on standard output before any window system is needed.
#include <optional>

// The program's name on the command line and in its package.
inline constexpr const char* CommandName = "kts9320b-eval";

// Answers --version and --help, and refuses anything else with one line on standard error and
// status 2. Returns the exit status when the program is to end there; nothing when it has no
// arguments and starts its windows.
std::optional<int> AnswerCommandLine(int argc, char** argv);
