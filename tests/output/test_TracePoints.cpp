#include "output/TracePoints.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

namespace {

ValueSpan BruteSpan(const TracePoints& points, int from, int to) {
    ValueSpan span{std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()};
    for (int i = from; i < to; ++i) span.Add(points.At(i).value);
    return span;
}

void ExpectSameSpan(const ValueSpan& got, const ValueSpan& want, const std::string& where) {
    EXPECT_EQ(got.IsEmpty(), want.IsEmpty()) << where;
    if (!want.IsEmpty()) {
        EXPECT_EQ(got.min, want.min) << where;
        EXPECT_EQ(got.max, want.max) << where;
    }
}

// Every column of the drawn envelope holds exactly the lowest and highest value of the points
// whose keys fall in it, and no column has more than two points.
void ExpectExactEnvelope(const TracePoints& points, double lower, double upper, int columns) {
    std::vector<TracePoint> drawn;
    points.Envelope(lower, upper, columns, drawn);
    const double width = (upper - lower) / columns;
    const double firstColumn = std::floor(lower / width);
    const int columnCount = static_cast<int>(std::floor(upper / width) - firstColumn) + 1;
    ASSERT_LE(drawn.size(), 2u * columnCount + 2);
    for (size_t i = 1; i < drawn.size(); ++i) ASSERT_LE(drawn[i - 1].key, drawn[i].key);
    auto inColumn = [&](int column, const TracePoint& point) {
        return (firstColumn + column) * width <= point.key && point.key < (firstColumn + column + 1) * width;
    };
    for (int column = 0; column < columnCount; ++column) {
        ValueSpan want{std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()};
        for (int i = 0; i < points.Size(); ++i) {
            if (inColumn(column, points.At(i))) want.Add(points.At(i).value);
        }
        ValueSpan got = want;
        got.min = std::numeric_limits<double>::infinity();
        got.max = -got.min;
        for (const TracePoint& point : drawn) {
            if (inColumn(column, point)) got.Add(point.value);
        }
        ExpectSameSpan(got, want, "column " + std::to_string(column) + " of " + std::to_string(columns));
    }
}

}  // namespace

// Random walks with repeated keys, gaps in time and the odd missing value, checked at every
// level (ranges from a few points to most of the trace) while points arrive and give way.
TEST(TracePoints, SpansAndColumnsAreExactWhilePointsArriveAndGiveWay) {
    struct Case {
        int capacity;
        int appended;
    } const cases[] = {{1'000'000, 3'000}, {5'003, 24'000}, {70'000, 150'000}, {17, 500}};
    std::mt19937 random(9320);
    for (const Case& c : cases) {
        TracePoints points(c.capacity);
        double key = 1000;
        double value = 25;
        for (int appended = 1; appended <= c.appended; ++appended) {
            const int roll = static_cast<int>(random() % 1000);
            key += roll < 20 ? 0 : roll < 25 ? 30 : 0.05;
            value += static_cast<int>(random() % 9) - 4;
            points.Append(key, roll == 999 ? std::nan("") : value);
            if (appended % (c.appended / 4) != 0) continue;

            const std::string where = "capacity " + std::to_string(c.capacity) + ", after " + std::to_string(appended);
            ASSERT_EQ(points.Size(), std::min(appended, c.capacity)) << where;
            // The levels add at most an eighth, and a part-filled bucket a level.
            constexpr int levels = TracePoints::CoarsestLevel - TracePoints::FinestLevel + 1;
            EXPECT_LE(points.Bytes(), points.Size() * sizeof(TracePoint) * 1.15 + levels * sizeof(ValueSpan)) << where;
            for (int trial = 0; trial < 40; ++trial) {
                const int from = static_cast<int>(random() % points.Size());
                const int to = from + static_cast<int>(random() % (points.Size() - from + 1));
                ExpectSameSpan(points.Span(from, to), BruteSpan(points, from, to), where);
            }
            ExpectSameSpan(points.Span(0, points.Size()), BruteSpan(points, 0, points.Size()), where);

            const double oldest = points.At(0).key;
            const double newest = points.At(points.Size() - 1).key;
            for (const int columns : {1, 7, 600}) {
                ExpectExactEnvelope(points, oldest, newest, columns);
                ExpectExactEnvelope(points, oldest + (newest - oldest) / 3, newest - (newest - oldest) / 5, columns);
            }
        }
    }
}

TEST(TracePoints, SettingALowerCapacityDropsTheOldestAtOnce) {
    TracePoints points(100);
    for (int i = 0; i < 100; ++i) points.Append(i, i);
    points.SetCapacity(30);
    ASSERT_EQ(points.Size(), 30);
    EXPECT_EQ(points.At(0).value, 70);
    EXPECT_EQ(points.Span(0, 30).min, 70);
    EXPECT_EQ(points.Span(0, 30).max, 99);
}
