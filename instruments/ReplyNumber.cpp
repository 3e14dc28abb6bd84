#include "instruments/ReplyNumber.h"

#include <cctype>
#include <charconv>
#include <cmath>

namespace Instruments {

namespace {

bool IsDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

// Whether a number starts at `at`: a digit, or a sign and/or a point before one.
bool NumberStartsAt(const std::string& text, size_t at) {
    size_t i = at;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    if (i < text.size() && text[i] == '.') ++i;
    return i < text.size() && IsDigit(text[i]);
}

std::optional<double> NumberAt(const std::string& text, size_t at) {
    if (!NumberStartsAt(text, at)) return std::nullopt;
    if (text[at] == '+') ++at;  // from_chars takes a minus only
    double value = 0;
    const auto parsed = std::from_chars(text.data() + at, text.data() + text.size(), value);
    if (parsed.ec != std::errc() || !std::isfinite(value)) return std::nullopt;
    return value;
}

}  // namespace

std::optional<double> LeadingNumber(const std::string& reply) {
    size_t at = 0;
    while (at < reply.size() && std::isspace(static_cast<unsigned char>(reply[at]))) ++at;
    return NumberAt(reply, at);
}

std::optional<double> FirstNumber(const std::string& text) {
    for (size_t at = 0; at < text.size(); ++at) {
        // The first number decides: one beyond a double is no reading, not a cue to look further.
        if (NumberStartsAt(text, at)) return NumberAt(text, at);
    }
    return std::nullopt;
}

}  // namespace Instruments
