#include <charconv>
#include <cstdint>
#include <cmath>
#include <string>

#include "registers/NumberText.h"

namespace GeneralStuff {

namespace {

bool IsSkipped(char c) { return c == ' ' || c == '\t' || c == '\n'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// Up to four digits read as 16-bit and up to eight as 32-bit two's complement; leading zeros
// count, so "0FFFF" is 65535. Longer numbers give their plain magnitude, which the caller
// refuses when it lies outside the 32-bit range.
double ParseHexDigits(const std::string& text, size_t pos) {
    double magnitude = 0.0;
    int count = 0;
    for (; pos < text.size(); ++pos) {
        const int digit = HexValue(text[pos]);
        if (digit < 0) break;
        magnitude = magnitude * 16.0 + digit;
        ++count;
    }
    if (count <= 4 && magnitude >= 32768.0) return magnitude - 65536.0;
    if (count > 4 && count <= 8 && magnitude >= 2147483648.0) return magnitude - 4294967296.0;
    return magnitude;
}

// Exponents far past the double range only need to stay far past it; the limit is far above
// any digit count a text in memory can have, so counting digits never reaches it.
constexpr int64_t ExponentLimit = 1000000000000000;
// More significant digits than any double needs to be rounded correctly.
constexpr size_t MaxSignificantDigits = 800;

int64_t Saturated(int64_t value) {
    return value > ExponentLimit ? ExponentLimit : (value < -ExponentLimit ? -ExponentLimit : value);
}

// Significant digits d1 d2 ... meaning the whole number d1d2... x 10^scale.
struct Significand {
    std::string digits;
    int64_t scale = 0;
    bool droppedNonZero = false;

    void Add(char digit, bool afterPoint) {
        if (digits.empty() && digit == '0') {
            if (afterPoint) scale = Saturated(scale - 1);
        } else if (digits.size() < MaxSignificantDigits) {
            digits += digit;
            if (afterPoint) scale = Saturated(scale - 1);
        } else {
            droppedNonZero = droppedNonZero || digit != '0';
            if (!afterPoint) scale = Saturated(scale + 1);
        }
    }
    // A dropped non-zero tail still decides a rounding tie, so it leaves one digit behind.
    void Finish() {
        if (!droppedNonZero) return;
        digits += '1';
        scale = Saturated(scale - 1);
    }
};

double ToDouble(const Significand& s, int64_t exponent) {
    if (s.digits.empty()) return 0.0;
    const int64_t total = s.scale + exponent;
    const int64_t magnitudeExponent = total + static_cast<int64_t>(s.digits.size());
    if (magnitudeExponent > 400) return HUGE_VAL;
    if (magnitudeExponent < -400) return 0.0;
    const std::string canonical = s.digits + "e" + std::to_string(total);
    double value = 0.0;
    const auto result = std::from_chars(canonical.data(), canonical.data() + canonical.size(), value);
    if (result.ec == std::errc::result_out_of_range) return magnitudeExponent > 0 ? HUGE_VAL : 0.0;
    return value;
}

double ParseDecimal(const std::string& text) {
    size_t pos = 0;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';

    Significand significand;
    for (; pos < text.size() && IsDigit(text[pos]); ++pos) significand.Add(text[pos], false);
    if (pos < text.size() && text[pos] == '.') {
        for (++pos; pos < text.size() && IsDigit(text[pos]); ++pos) significand.Add(text[pos], true);
    }
    significand.Finish();

    int64_t exponent = 0;
    if (pos < text.size() && (text[pos] == 'E' || text[pos] == 'e' || text[pos] == 'D' || text[pos] == 'd')) {
        ++pos;
        bool exponentNegative = false;
        if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) exponentNegative = text[pos++] == '-';
        for (; pos < text.size() && IsDigit(text[pos]); ++pos) {
            exponent = Saturated(exponent * 10 + (text[pos] - '0'));
        }
        if (exponentNegative) exponent = -exponent;
    }
    const double value = ToDouble(significand, exponent);
    return negative && value != 0.0 ? -value : value;
}

}  // namespace

double ParseNumber(const std::string& text) {
    std::string compact;
    compact.reserve(text.size());
    for (char c : text) {
        if (!IsSkipped(c)) compact += c;
    }
    if (compact.size() >= 2 && compact[0] == '&' && (compact[1] == 'H' || compact[1] == 'h')) {
        return ParseHexDigits(compact, 2);
    }
    return ParseDecimal(compact);
}

}  // namespace GeneralStuff
