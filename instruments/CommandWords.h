#pragma once
// A command's text split into the program and its arguments as a POSIX shell splits plain words
// and quotes, with nothing else of a shell: no variables, globs, pipes or redirections.
#include <optional>
#include <string>
#include <vector>

namespace Instruments {

// 'single quotes' keep every character; "double quotes" and bare words take a backslash before
// the next character. None for a quote left open or a trailing backslash.
std::optional<std::vector<std::string>> CommandWords(const std::string& command);

}  // namespace Instruments
