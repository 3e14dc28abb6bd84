#include "chart/ChartStatistics.h"
#include "chart/TracePoints.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <random>
#include <string>
#include <tuple>

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

// Statistics of random views over random data with repeated times, gaps in time and missing
// values, while points arrive and give way, against a walk over every point in the view.
TEST(TracePoints, StatisticsOfAnyViewEqualAWalkOverItsPoints) {
    struct Case {
        int capacity;
        int appended;
        int repeatPerMille;
        int gapPerMille;
    } const cases[] = {{1'000'000, 5'000, 20, 5}, {3'001, 40'000, 300, 10}, {200'000, 300'000, 0, 1}, {50, 700, 500, 100}};
    std::mt19937 random(18);
    std::normal_distribution<double> noise(0, 3);
    for (const Case& c : cases) {
        TracePoints points(c.capacity);
        double key = 50'000;
        for (int i = 0; i < c.appended; ++i) {
            const int roll = static_cast<int>(random() % 1000);
            key += roll < c.repeatPerMille ? 0 : roll < c.repeatPerMille + c.gapPerMille ? 40 : 0.05;
            points.Append(key, random() % 500 == 0 ? std::nan("") : 25 + noise(random));
        }
        const double first = points.At(0).key;
        const double span = points.At(points.Size() - 1).key - first;
        for (int view = 0; view < 60; ++view) {
            double from = first - 1 + (span + 2) * (random() % 10'000) / 10'000;
            double to = first - 1 + (span + 2) * (random() % 10'000) / 10'000;
            if (view == 0) std::tie(from, to) = std::make_pair(first, first + span);   // the whole run
            if (from > to) std::swap(from, to);
            PointStatistics want;
            double sum = 0;
            double squares = 0;
            for (int pass = 0; pass < 2; ++pass) {
                for (int i = 0; i < points.Size(); ++i) {
                    const TracePoint& p = points.At(i);
                    if (p.key < from || p.key > to || std::isnan(p.value)) continue;
                    if (pass == 1) {
                        squares += (p.value - want.mean) * (p.value - want.mean);
                        continue;
                    }
                    want.min = want.count == 0 ? p.value : std::min(want.min, p.value);
                    want.max = want.count == 0 ? p.value : std::max(want.max, p.value);
                    sum += p.value;
                    ++want.count;
                }
                if (want.count > 0) want.mean = sum / static_cast<double>(want.count);
            }
            const PointStatistics got = StatisticsBetween(points, from, to);
            const std::string where = std::to_string(c.appended) + " points, view " + std::to_string(view);
            ASSERT_EQ(got.count, want.count) << where;
            if (want.count == 0) continue;
            EXPECT_EQ(got.min, want.min) << where;
            EXPECT_EQ(got.max, want.max) << where;
            EXPECT_NEAR(got.mean, want.mean, 1e-9) << where;
            EXPECT_NEAR(got.deviation, std::sqrt(squares / static_cast<double>(want.count)), 1e-9) << where;
        }
    }
}

// Points are kept compactly: the values as floats; the keys that clocks and files give (whole
// tenths of a millisecond) exactly, other keys to the nearest tick, and keys beyond a block's
// reach (a gap of days within it, a huge key) whole.
TEST(TracePoints, KeysComeBackExactlyAndValuesAsFloats) {
    const struct {
        const char* name;
        std::function<double(int)> key;
        bool ticked;   // kept to the tick rather than exactly
    } cases[] = {
        {"clock times, 50 ms", [](int i) { return (36'000'000 + 50 * i) / 1000.0; }, false},
        {"elapsed times read from text", [](int i) { return std::stod(std::to_string(i) + ".1"); }, false},
        {"a gap of six days in a block", [](int i) { return i * 0.25 + (i >= 300 ? 6 * 86400 : 0); }, false},
        {"keys too large for ticks", [](int i) { return 2e11 + i * 0.5; }, false},
        {"thirds of a second", [](int i) { return i / 3.0; }, true},
    };
    for (const auto& c : cases) {
        TracePoints points(100'000);
        for (int i = 0; i < 1000; ++i) points.Append(c.key(i), 25 + i * 0.1);
        for (int i = 0; i < 1000; ++i) {
            const double want = c.ticked ? std::llround(c.key(i) * 1e4) / 1e4 : c.key(i);
            ASSERT_EQ(points.At(i).key, want) << c.name << ", point " << i;
            ASSERT_EQ(points.At(i).value, static_cast<double>(static_cast<float>(25 + i * 0.1))) << c.name;
            ASSERT_EQ(points.LowerBound(want), i) << c.name << ", point " << i;
        }
    }
    // A day at 50 ms in about 9 bytes a point, levels included.
    TracePoints day(2'000'000);
    for (int i = 0; i < 1'728'000; ++i) day.Append(i * 50 / 1000.0, i % 100);
    EXPECT_LT(day.Bytes(), 9.5 * day.Size());
}
