#pragma once
// Rounding to a whole number with halves to the even neighbour, in double precision.
#include <cmath>

namespace GeneralStuff {

// Does not depend on the floating-point rounding mode: x - floor(x) is exact for every
// finite double, so the tie test sees the true fraction. NaN and infinities pass through.
inline double RoundHalfEven(double x) {
    if (!std::isfinite(x)) return x;
    const double below = std::floor(x);
    const double fraction = x - below;
    if (fraction < 0.5) return below;
    if (fraction > 0.5) return below + 1.0;
    return std::fmod(below, 2.0) == 0.0 ? below : below + 1.0;
}

}  // namespace GeneralStuff
