#pragma once
// The program's text forms of numbers. A point is always the decimal separator.
#include <string>

namespace GeneralStuff {

// Blank or "-", then the shortest decimal form of the magnitude (".25", not "0.25").
// A float keeps at most 7 significant digits, a double at most 15.
std::string NumberText(float x);
std::string NumberText(double x);
std::string NumberText(int x);
// The same without the leading blank.
std::string TrimmedNumberText(float x);
std::string TrimmedNumberText(double x);
std::string TrimmedNumberText(int x);
// The trimmed text with a zero before a bare point, as scripts and JSON read numbers:
// "0.25", "-0.25", "85".
std::string DecimalText(float x);

// Rounds the variable to 3 decimals (the caller sees it) and gives it with two decimals
// for quarter-degree values: 25 -> "25.00", 25.5 -> "25.50", 25.25 -> "25.25".
std::string TwoDecimalText(float& x);

// Upper-case hex without leading zeros; a negative value as its 32-bit two's complement.
std::string HexText(double v);
// A byte's two hex digits, "0A" or "0a"; only the low eight bits count.
enum class HexCase { Upper, Lower };
std::string HexByteText(int32_t value, HexCase letters = HexCase::Upper);

// The number at the start of a text; "&H" reads hexadecimal. Never fails: any text gives a
// number, which may be too large for the caller (check with FitsInt32) or not finite.
double ParseNumber(const std::string& text);

}  // namespace GeneralStuff
