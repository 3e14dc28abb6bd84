// Gaps in the readings break the trace's line; the reading interval is the run's typical one.
#include "chart/TraceGaps.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {
// The keys as drawn, "-" for a break.
std::string Drawn(const std::vector<TracePoint>& points) {
    std::string text;
    for (const TracePoint& point : points) text += std::isnan(point.value) ? "- " : std::to_string(static_cast<int>(point.key)) + " ";
    return text;
}
}  // namespace

TEST(TraceGaps, ALongGapBreaksTheLineAndNothingElseDoes) {
    const struct {
        const char* what;
        std::vector<double> keys;
        double longest;
        double columnWidth;
        std::string drawn;
    } cases[] = {
        {"even readings", {0, 1, 2, 3}, 3, 0.1, "0 1 2 3 "},
        {"a gap of exactly three intervals", {0, 1, 4, 5}, 3, 0.1, "0 1 4 5 "},
        {"a board lost for a while", {0, 1, 9, 10}, 3, 0.1, "0 1 - 9 10 "},
        {"two gaps", {0, 10, 11, 30}, 3, 0.1, "0 - 10 11 - 30 "},
        {"a gap within one pixel column", {0, 1, 9, 10}, 3, 100, "0 1 9 10 "},
        {"no interval known yet", {0, 1, 9}, 0, 0.1, "0 1 9 "},
    };
    for (const auto& c : cases) {
        std::vector<TracePoint> points;
        for (const double key : c.keys) points.push_back({key, 25});
        BreakAtGaps(points, c.longest, c.columnWidth);
        EXPECT_EQ(Drawn(points), c.drawn) << c.what;
    }
}

TEST(TraceGaps, TheIntervalIsTheMedianOfTheWholeRun) {
    ReadingInterval interval;
    EXPECT_EQ(interval.Typical(), 0);
    // Quick readings, then many more slower ones than the sample holds: the later pace wins.
    for (int i = 0; i < 1000; ++i) interval.Add(0.05);
    for (int i = 0; i < 10000; ++i) interval.Add(i % 100 == 0 ? 30.0 : 1.0);
    interval.Add(-5);   // a clock set back is no spacing
    EXPECT_EQ(interval.Typical(), 1.0);
}
