#include "registers/FieldValueText.h"

#include "registers/NumberText.h"

#include <cctype>

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
        if (IsUnitOf(field, Lower(Trimmed(value.substr(length))))) return ParseNumber(value.substr(0, length));
    }
    refusal = std::string(field.name) + " takes " + Example(field);
    return std::nullopt;
}

}  // namespace GeneralStuff
