#include "cli/DurationArgument.h"

#include <cmath>
#include <cstdlib>
#include <locale>
#include <sstream>

namespace {

struct Unit {
    const char* name;
    int64_t ms;
};
constexpr Unit Units[] = {{"ms", 1}, {"s", 1000}, {"min", 60000}, {"h", 3600000}};

// A plain decimal number, read the same in every locale: digits with at most one point.
std::optional<double> DecimalNumber(const std::string& text) {
    if (text.empty() || text.find_first_not_of("0123456789.") != std::string::npos) return std::nullopt;
    std::istringstream in(text);
    in.imbue(std::locale::classic());
    double value = 0;
    if (!(in >> value) || in.peek() != std::char_traits<char>::eof()) return std::nullopt;
    return value;
}

}  // namespace

std::optional<int64_t> ParseDurationMs(const std::string& text, int64_t bareUnitMs, int64_t longestMs) {
    const size_t unitStart = text.find_first_not_of("0123456789.");
    const std::string unit = unitStart == std::string::npos ? "" : text.substr(unitStart);
    int64_t unitMs = bareUnitMs;
    if (!unit.empty()) {
        unitMs = 0;
        for (const Unit& u : Units)
            if (unit == u.name) unitMs = u.ms;
        if (unitMs == 0) return std::nullopt;
    }
    const auto number = DecimalNumber(text.substr(0, unitStart));
    if (!number) return std::nullopt;
    const double ms = *number * static_cast<double>(unitMs);
    if (!std::isfinite(ms) || ms > static_cast<double>(longestMs)) return std::nullopt;
    return std::llround(ms);
}
