#pragma once
// Register codes to degrees and back. The range rule follows RegMapStuff::ExtendedRange, or the
// range mode given, for a caller that codes for the mode the chip is about to be put in.
#include <cstdint>

namespace GeneralStuff {

// Nearest integer, halves to the even integer. The argument must lie in the int32 range.
int32_t Nearest(double x);
// Largest integer not above x. The argument must lie in the int32 range.
int32_t Floor(double x);
// True when x is finite and Nearest(x) lies in the signed 32-bit range.
bool FitsInt32(double x);
// True when x is finite and Nearest(x) lies in the signed 16-bit range.
bool FitsInt16(double x);

float TempFromCode(int32_t code);                    // 8-bit temperature or limit
float TempFromCodes(int32_t high, int32_t low);      // 10-bit temperature or limit
float TempFromCode(int32_t code, bool extendedRange);
float TempFromCodes(int32_t high, int32_t low, bool extendedRange);
float FractionFromCode(int32_t low);                 // the quarter degrees a 10-bit low byte holds
float OffsetFromCodes(int32_t high, int32_t low);    // 10-bit two's-complement offset

struct CodePair {
    int32_t high = 0;
    int32_t low = 0;
};

int32_t CodeFromTemp(double t);
CodePair CodesFromTemp(double t);
int32_t CodeFromTemp(double t, bool extendedRange);
CodePair CodesFromTemp(double t, bool extendedRange);
CodePair CodesFromOffset(double t);

}  // namespace GeneralStuff
