#pragma once
// The remote offset that best removes the remote channel's error over the recorded steps, and
// the slope of that error against temperature, which no offset can remove (it comes from the
// diode's ideality or from series resistance).
#include "cli/sweep/StepsFile.h"

#include <string>
#include <vector>

struct OffsetFit {
    double offset = 0;               // on the chip's grid and inside its range
    bool clamped = false;            // the best offset lay outside the range
    std::vector<double> residuals;   // per step: the remote error with that offset in force
    std::vector<bool> used;          // per step: false where the chip read the end of its range
    std::optional<double> slopePer100;  // °C of error per 100 °C; none below two temperatures
    double slopeSpread = 0;          // ± °C the slope alone makes over the steps' span
};

// The offset in force plus the mean of (reference − remote); grid and range from the chip's
// remote-offset field. A step whose remote reading lies at an end of what the chip measures in
// its range mode is left out: the chip reads no further, so its error there says nothing.
OffsetFit FitRemoteOffset(const std::vector<StepResult>& steps, double offsetInForce, bool extendedRange);

// The fit as the summary shows it: the offset, the residual per step, the slope, and a warning
// when the slope alone exceeds the remote tolerance.
std::string OffsetFitText(const OffsetFit& fit, const std::vector<StepResult>& steps, double offsetInForce,
                          double tolerance);
