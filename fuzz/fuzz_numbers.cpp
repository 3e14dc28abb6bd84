// The number parser and the number texts. The input is read as a text (parsed as it stands
// and as hexadecimal) and its first bytes as a float, a double and a 32-bit integer whose
// texts must read back.
#include "FuzzCheck.h"
#include "registers/NumberText.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

using namespace GeneralStuff;

namespace {

template <typename T>
T Leading(const uint8_t* data, size_t size) {
    T value{};
    std::memcpy(&value, data, std::min(size, sizeof value));
    return value;
}

// double to float as the hardware rounds it, without the undefined cast of an out-of-range value.
float ToFloat(double d) {
    const double beyond = 340282356779733661637539395458142568448.0;  // largest float + half a step
    if (std::fabs(d) >= beyond) return d < 0 ? -INFINITY : INFINITY;
    return static_cast<float>(d);
}

template <typename T>
int ShortestDigits(T x) {
    char buffer[64];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::scientific).ptr;
    int digits = 0;
    for (const char* p = buffer; p != end && *p != 'e'; ++p) digits += (*p >= '0' && *p <= '9');
    return digits;
}

// A finite value whose shortest form fits the text's digits reads back exactly; one that
// needs more reads back within half a unit of the last digit kept (or as infinity where
// that rounding goes past the largest value).
template <typename T>
void CheckReadsBack(T x, int maxDigits) {
    if (!std::isfinite(x)) return;
    const std::string text = NumberText(x);
    FUZZ_CHECK(text[0] == ' ' || text[0] == '-');
    FUZZ_CHECK(text.substr(1) == TrimmedNumberText(std::fabs(x)) || x == 0);
    const double back = ParseNumber(text);
    if (ShortestDigits(x) <= maxDigits) {
        FUZZ_CHECK((sizeof(T) == sizeof(float) ? ToFloat(back) : back) == x);
    } else {
        const double halfUnit = 0.5 * std::pow(10.0, 1 - maxDigits) + 1e-15;  // and the read's rounding
        if (std::isinf(back)) {
            FUZZ_CHECK(std::fabs(x) * (1 + halfUnit) >= std::numeric_limits<T>::max() && (back < 0) == (x < 0));
        } else {
            FUZZ_CHECK(std::fabs(back - x) <= halfUnit * std::fabs(x) + std::numeric_limits<double>::denorm_min());
        }
    }
}

// Three decimals, the text with two or three of them (two for quarter degrees), reading back
// as the variable. Beyond a thousand degrees a float no longer holds three decimals exactly.
void CheckTwoDecimals(float x) {
    float variable = x;
    const std::string text = TwoDecimalText(variable);
    if (!std::isfinite(x) || std::fabs(x) >= 1000) return;
    // Half a thousandth, and the float step the rounded value may land on.
    FUZZ_CHECK(std::fabs(double(variable) - x) <= 0.0005 + std::fabs(x) * 1.2e-7);
    const size_t point = text.find('.');
    FUZZ_CHECK(point != std::string::npos);
    const size_t decimals = text.size() - point - 1;
    FUZZ_CHECK(decimals == 2 || decimals == 3);
    if (std::floor(variable * 4) == variable * 4) FUZZ_CHECK(decimals == 2);
    FUZZ_CHECK(ToFloat(ParseNumber(text)) == variable);
}

// At most eight upper-case digits; eight digits, zero-padded, read back as the 32-bit value.
void CheckHex(int32_t i, double d) {
    for (const std::string& text : {HexText(i), HexText(d)}) {
        FUZZ_CHECK(!text.empty() && text.size() <= 8);
        for (char c : text) FUZZ_CHECK((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'));
    }
    const std::string padded = std::string(8 - HexText(i).size(), '0') + HexText(i);
    FUZZ_CHECK(ParseNumber("&H" + padded) == i);
}

// A plain decimal text (only digits, sign, point, exponent) reads as the C library reads it.
void CheckAgainstLibrary(const std::string& text) {
    if (text.empty() || text.size() > 200) return;
    if (text.find_first_not_of("0123456789.eE+-") != std::string::npos) return;
    char* end = nullptr;
    const double expected = std::strtod(text.c_str(), &end);
    if (end != text.c_str() + text.size()) return;
    FUZZ_CHECK(ParseNumber(text) == expected);
}

// Up to eight hexadecimal digits (blanks between them do not count) give a 32-bit
// two's-complement value.
void CheckHexInput(const std::string& text) {
    const double value = ParseNumber("&H" + text);
    std::string compact;
    for (char c : text) {
        if (c != ' ' && c != '\t' && c != '\n') compact += c;
    }
    size_t digits = 0;
    while (digits < compact.size() && std::isxdigit(static_cast<unsigned char>(compact[digits]))) ++digits;
    if (digits <= 8) FUZZ_CHECK(value >= -2147483648.0 && value <= 2147483647.0 && value == std::floor(value));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    ParseNumber(text);
    CheckAgainstLibrary(text);
    CheckHexInput(text);

    const float f = Leading<float>(data, size);
    const double d = Leading<double>(data, size);
    CheckReadsBack(f, 7);
    CheckReadsBack(d, 15);
    CheckTwoDecimals(f);
    CheckHex(Leading<int32_t>(data, size), d);
    return 0;
}
