#pragma once
// A time span typed on the command line: a number with its unit ("100ms", "2s", "1.5s", "5min",
// "8h"), or a bare number in the option's own unit, as the option took it before units came.
#include <cstdint>
#include <optional>
#include <string>

// The span in whole milliseconds (a fraction of one rounded to the nearest), or none for a text
// that is not a number of zero or more, with a unit or none, or that lies past the longest span.
// bareUnitMs: what a bare number counts (1 for milliseconds, 1000 for seconds).
std::optional<int64_t> ParseDurationMs(const std::string& text, int64_t bareUnitMs, int64_t longestMs);
