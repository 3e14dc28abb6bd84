#pragma once
// One run of an external program, without a shell (its words as CommandWords splits them); the
// run may take at most the timeout.
#include <cstdint>
#include <string>

namespace Instruments {

// Empty on success, with what the program printed on its standard output; the reason on
// failure (it could not start, it ran too long, it crashed or ended with a status not 0).
std::string RunCommand(const std::string& command, int32_t timeoutMs, std::string& output);

}  // namespace Instruments
