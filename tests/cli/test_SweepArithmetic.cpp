// The sweep's two judgements: when a channel counts as stable, and the remote offset and slope
// fitted from the recorded steps.
#include "cli/sweep/OffsetFit.h"
#include "cli/sweep/StabilityWindow.h"

#include <gtest/gtest.h>

namespace {

TEST(SweepStability, ChannelsStableOnlyWithinTheirToleranceForTheWholeSpan) {
    struct Case {
        const char* what;
        double resolution;              // the channel's step; 0 for the reference
        std::vector<double> readings;  // one a second, a span of 3 s, a window of 0.2 °C
        bool stable;
    };
    const Case cases[] = {
        {"steady", 0, {30, 30, 30, 30}, true},
        {"too short a span", 0, {30, 30, 30}, false},
        {"within the window", 0, {30, 30.2, 29.8, 30}, true},
        {"one reading past it", 0, {30, 30, 30, 30.5}, false},
        {"past it before the span", 0, {35, 30, 30, 30, 30}, true},
        {"the local channel flickers a whole degree", 1.0, {30, 31, 30, 31}, true},
        {"the local channel moves two", 1.0, {30, 31, 32, 32}, false},
        {"the remote channel moves a quarter either way", 0.25, {30, 30.25, 30.5, 30.25}, true},
        {"the remote channel moves three quarters", 0.25, {30, 30.75, 30, 30.75}, false},
    };
    for (const Case& c : cases) {
        StabilityWindow window(3, ChannelTolerance(0.2, c.resolution));
        for (size_t i = 0; i < c.readings.size(); ++i) window.Add(100 + static_cast<double>(i), c.readings[i]);
        EXPECT_EQ(window.Stable(), c.stable) << c.what;
        window.Clear();
        EXPECT_FALSE(window.Stable()) << c.what << ": a gap makes it show stability afresh";
    }
}

StepResult Step(double reference, double remote) {
    StepResult s;
    s.reference = reference;
    s.remote = remote;
    return s;
}

TEST(SweepOffsetFit, OffsetOnTheChipsGridAndInItsRange) {
    struct Case {
        std::vector<StepResult> steps;
        double inForce;
        double offset;
        bool clamped;
        std::optional<double> slopePer100;
        bool extendedRange = true;
    };
    const Case cases[] = {
        {{Step(0, -1.5), Step(50, 48.5), Step(100, 98.5)}, 0, 1.5, false, 0.0},
        {{Step(0, -1.5), Step(100, 98.5)}, 0.5, 2.0, false, 0.0},  // the offset in force adds
        {{Step(25, 23.7)}, 0, 1.25, false, std::nullopt},            // 1.3 to the quarter below
        {{Step(25, 23.625)}, 0, 1.5, false, std::nullopt},           // 1.375: halves to the even step
        {{Step(25, 23.875)}, 0, 1.0, false, std::nullopt},           // 1.125: halves to the even step
        {{Step(200, 0)}, 0, 127.75, true, std::nullopt},
        {{Step(0, 150)}, 0, -128, true, std::nullopt},
        // The default range reads nothing below 0 °C: the step at 0 says nothing of the error.
        {{Step(0, 0), Step(25, 23.5), Step(50, 48.5)}, 0, 1.5, false, 0.0, false},
        // An error of 0.02 °C per °C: 2 °C per 100 °C, which no offset removes.
        {{Step(0, 0), Step(50, 51), Step(100, 102)}, 0, -1.0, false, 2.0},
    };
    for (const Case& c : cases) {
        const OffsetFit fit = FitRemoteOffset(c.steps, c.inForce, c.extendedRange);
        EXPECT_DOUBLE_EQ(fit.offset, c.offset);
        EXPECT_EQ(fit.clamped, c.clamped) << c.offset;
        ASSERT_EQ(fit.slopePer100.has_value(), c.slopePer100.has_value()) << c.offset;
        if (c.slopePer100) {
            EXPECT_NEAR(*fit.slopePer100, *c.slopePer100, 1e-9) << c.offset;
        }
        for (size_t i = 0; i < c.steps.size(); ++i)
            EXPECT_DOUBLE_EQ(fit.residuals[i], c.steps[i].RemoteError() + c.offset - c.inForce);
    }
}

TEST(SweepOffsetFit, SaysWhenTheSlopeAloneExceedsTheTolerance) {
    const std::vector<StepResult> steps{Step(0, 0), Step(50, 51), Step(100, 102)};  // ±1 °C over the span
    const OffsetFit fit = FitRemoteOffset(steps, 0, true);
    EXPECT_NE(OffsetFitText(fit, steps, 0, 0.5).find("no offset can correct it"), std::string::npos);
    EXPECT_EQ(OffsetFitText(fit, steps, 0, 1.5).find("no offset can correct it"), std::string::npos);
}

}  // namespace
