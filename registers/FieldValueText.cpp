#include "registers/FieldValueText.h"

#include "registers/NumberText.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>

namespace GeneralStuff {

namespace {

constexpr const char* On = "on";
constexpr const char* Off = "off";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string Trimmed(const std::string& text) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && IsBlank(text[begin])) ++begin;
    while (end > begin && IsBlank(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// The length of the decimal number at the start of the text (an optional sign, digits with an
// optional point); 0 when it does not begin with one.
size_t NumberLength(const std::string& text) {
    size_t i = text.empty() || (text[0] != '+' && text[0] != '-') ? 0 : 1;
    size_t digits = 0;
    for (bool point = false; i < text.size(); ++i) {
        if (std::isdigit(static_cast<unsigned char>(text[i]))) {
            ++digits;
        } else if (text[i] == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    return digits == 0 ? 0 : i;
}

// A decimal number's magnitude as its digits alone: no sign, no leading zeros before the point,
// no trailing zeros after it, no point without a fraction; "0" for zero.
std::string Magnitude(const std::string& number) {
    std::string digits = number.substr(number.find_first_not_of("+-"));
    if (digits.find('.') != std::string::npos) {
        digits.erase(digits.find_last_not_of('0') + 1);
        if (digits.back() == '.') digits.pop_back();
    }
    digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size()));
    if (digits.empty() || digits[0] == '.') digits.insert(0, "0");
    return digits;
}

// -1, 0 or 1 as the magnitude a is below, at or above b.
int CompareMagnitudes(const std::string& a, const std::string& b) {
    const size_t aWhole = std::min(a.find('.'), a.size());
    const size_t bWhole = std::min(b.find('.'), b.size());
    if (aWhole != bWhole) return aWhole < bWhole ? -1 : 1;
    const int order = a.compare(b);
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

// Every digit of the double: a double's fraction never has more than 1074 of them.
std::string ExactDigits(double value) {
    char buffer[1500];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::fixed, 1100);
    return Magnitude(std::string(buffer, written.ptr));
}

// The number of a decimal text. A text that no double holds exactly (more digits than a double
// keeps) gives the double next to the nearest one, on the text's side of it, so that a range or
// step check answers for the text as written and never accepts its rounding.
double DecimalValue(const std::string& number) {
    const double nearest = ParseNumber(number);
    const bool negative = number[0] == '-';
    const int side = CompareMagnitudes(Magnitude(number), ExactDigits(nearest));
    if (side == 0 || !std::isfinite(nearest)) return nearest;
    return std::nextafter(nearest, (side > 0) != negative ? HUGE_VAL : -HUGE_VAL);
}

// The unit texts a value may carry, lower case.
bool IsUnitOf(const Chip::Field& field, const std::string& unit) {
    const std::string wanted = Lower(field.unit);
    if (unit.empty() || unit == wanted) return true;
    return wanted == Lower(Chip::FieldUnit::Celsius) && unit == "c";
}

std::string Example(const Chip::Field& field) {
    if (field.encoding == Chip::Encoding::Flag) return "on or off";
    const std::string unit = field.unit;
    if (unit.empty()) return "a whole number, as 3";
    const std::string number = field.encoding == Chip::Encoding::ConversionRate ? "16"
                               : field.step == 1                                ? "90"
                                                                                : "95.25";
    const std::string shortUnit = unit == Chip::FieldUnit::Celsius ? "C" : unit;
    return "a number of " + unit + ", as " + number + " or " + number + shortUnit;
}

}  // namespace

std::string FieldValueText(const Chip::Field& field, double value) {
    if (field.encoding == Chip::Encoding::Flag) return value != 0 ? On : Off;
    return DecimalText(static_cast<float>(value));
}

std::optional<double> ParseFieldValue(const Chip::Field& field, const std::string& text, std::string& refusal) {
    const std::string value = Trimmed(text);
    if (field.encoding == Chip::Encoding::Flag) {
        const std::string word = Lower(value);
        if (word == On || word == Off) return word == On ? 1.0 : 0.0;
    } else if (const size_t length = NumberLength(value); length > 0) {
        if (IsUnitOf(field, Lower(Trimmed(value.substr(length))))) return DecimalValue(value.substr(0, length));
    }
    refusal = std::string(field.name) + " takes " + Example(field);
    return std::nullopt;
}

}  // namespace GeneralStuff
