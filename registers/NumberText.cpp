#include "registers/NumberText.h"

#include <charconv>
#include <cmath>
#include <cstdint>

#include "registers/RoundHalfEven.h"

namespace GeneralStuff {

namespace {

// A magnitude as significant digits d1 d2 d3 ... meaning d1.d2d3... x 10^exponent.
struct DecimalDigits {
    std::string digits;
    int exponent = 0;
};

DecimalDigits FromScientific(const char* first, const char* last) {
    DecimalDigits result;
    const char* p = first;
    for (; p != last && *p != 'e'; ++p) {
        if (*p != '.') result.digits += *p;
    }
    if (p != last) ++p;
    if (p != last && *p == '+') ++p;
    std::from_chars(p, last, result.exponent);
    return result;
}

// The shortest digits that give the value back, or the value rounded to maxDigits
// significant digits when the shortest form needs more.
template <typename T>
DecimalDigits SignificantDigits(T magnitude, int maxDigits) {
    char buffer[64];
    auto written = std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific);
    DecimalDigits result = FromScientific(buffer, written.ptr);
    if (static_cast<int>(result.digits.size()) > maxDigits) {
        written = std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific,
                                maxDigits - 1);
        result = FromScientific(buffer, written.ptr);
    }
    while (result.digits.size() > 1 && result.digits.back() == '0') result.digits.pop_back();
    return result;
}

std::string PlainLayout(const DecimalDigits& d) {
    const int count = static_cast<int>(d.digits.size());
    if (d.exponent < 0) return "." + std::string(-d.exponent - 1, '0') + d.digits;
    if (d.exponent >= count - 1) return d.digits + std::string(d.exponent - (count - 1), '0');
    return d.digits.substr(0, d.exponent + 1) + "." + d.digits.substr(d.exponent + 1);
}

std::string ExponentLayout(const DecimalDigits& d) {
    std::string text = d.digits.substr(0, 1);
    if (d.digits.size() > 1) text += "." + d.digits.substr(1);
    const int power = d.exponent < 0 ? -d.exponent : d.exponent;
    text += d.exponent < 0 ? "E-" : "E+";
    if (power < 10) text += '0';
    return text + std::to_string(power);
}

// Values this program shows (temperatures, intervals, times of day) always get the plain
// layout; far larger or smaller magnitudes fall back to an exponent form that ParseNumber reads.
template <typename T>
std::string TrimmedText(T x, int maxDigits) {
    if (std::isnan(x)) return "NaN";
    if (std::isinf(x)) return x < 0 ? "-Inf" : "Inf";
    if (x == 0) return "0";  // also -0
    const DecimalDigits d = SignificantDigits(std::fabs(x), maxDigits);
    const bool plain = d.exponent >= -5 && d.exponent < maxDigits;
    return (x < 0 ? "-" : "") + (plain ? PlainLayout(d) : ExponentLayout(d));
}

std::string WithSignPlace(std::string trimmed) {
    if (!trimmed.empty() && trimmed[0] == '-') return trimmed;
    return " " + trimmed;
}

constexpr int FloatDigits = 7;
constexpr int DoubleDigits = 15;

// The float nearest to a whole number of thousandths. float(n / 1000.0) is correctly rounded
// here: n / 1000 is never close enough to a float midpoint for the double step to matter.
float Thousandths(double n) {
    return static_cast<float>(n / 1000.0);
}

}  // namespace

std::string TrimmedNumberText(float x) { return TrimmedText(x, FloatDigits); }
std::string TrimmedNumberText(double x) { return TrimmedText(x, DoubleDigits); }
std::string TrimmedNumberText(int x) { return std::to_string(x); }

std::string DecimalText(float x) {
    std::string text = TrimmedNumberText(x);
    const size_t point = text[0] == '-' ? 1 : 0;
    if (point < text.size() && text[point] == '.') text.insert(point, "0");
    return text;
}

std::string NumberText(float x) { return WithSignPlace(TrimmedNumberText(x)); }
std::string NumberText(double x) { return WithSignPlace(TrimmedNumberText(x)); }
std::string NumberText(int x) { return WithSignPlace(TrimmedNumberText(x)); }

std::string TwoDecimalText(float& x) {
    if (!std::isfinite(x)) return TrimmedNumberText(x);
    // A float of magnitude 2^23 or more is whole already; below that x * 1000 is exact in double.
    if (std::fabs(x) < 8388608.0f) x = Thousandths(RoundHalfEven(static_cast<double>(x) * 1000.0));
    const std::string whole = TrimmedNumberText(x);
    const float fraction = x - std::floor(x);
    const std::string decimals = TrimmedNumberText(RoundHalfEven(static_cast<double>(fraction) * 1000.0) / 1000.0);
    if (decimals == "0") return whole + ".00";
    if (decimals.size() == 2) return whole + "0";
    return whole;
}

std::string HexText(double v) {
    // Values outside the 32-bit range wrap modulo 2^32; values beyond 64 bits (and NaN,
    // infinities) have no sensible 32-bit form and give "0".
    const double whole = RoundHalfEven(v);
    if (!std::isfinite(whole) || std::fabs(whole) >= 9223372036854775808.0) return "0";
    const auto bits = static_cast<uint32_t>(static_cast<uint64_t>(static_cast<int64_t>(whole)));
    char buffer[16];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, bits, 16);
    std::string text(buffer, written.ptr);
    for (char& c : text) {
        if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

std::string HexByteText(int32_t value, HexCase letters) {
    std::string text = HexText(value & 0xFF);
    if (text.size() < 2) text.insert(0, 1, '0');
    if (letters == HexCase::Lower)
        for (char& c : text)
            if (c >= 'A' && c <= 'F') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

}  // namespace GeneralStuff
