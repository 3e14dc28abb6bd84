#pragma once
// Whole numbers typed on a command line: "0x4c" or "0X4C" hexadecimal, "76" decimal. Unlike the
// text boxes' reading, nothing is skipped or guessed, so a typo is refused instead of read as
// another number.
#include <cstdint>
#include <optional>
#include <string>

namespace GeneralStuff {

// The number the whole text spells, or none: empty texts, signs, blanks, trailing characters
// and values above 2^31 - 1 give none.
std::optional<int32_t> ParseIntegerArgument(const std::string& text);

}  // namespace GeneralStuff
