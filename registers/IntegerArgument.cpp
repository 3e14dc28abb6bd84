#include "registers/IntegerArgument.h"

#include <charconv>

namespace GeneralStuff {

std::optional<int32_t> ParseIntegerArgument(const std::string& text) {
    int base = 10;
    size_t start = 0;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        start = 2;
    }
    const char* first = text.data() + start;
    const char* last = text.data() + text.size();
    // from_chars takes a leading minus; a command-line number never has one.
    if (first == last || *first == '-' || *first == '+') return std::nullopt;
    int32_t value = 0;
    const auto [end, error] = std::from_chars(first, last, value, base);
    if (error != std::errc() || end != last) return std::nullopt;
    return value;
}

}  // namespace GeneralStuff
