#include "chart/DenseColumns.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

const QRect Plot(10, 0, 100, 200);   // columns 10 to 109, rows 0 to 199

// Two points a column (at its quarter and three quarters), the values the function gives.
template <typename Rows>
QVector<QPointF> TwoPointsAColumn(Rows row) {
    QVector<QPointF> line;
    for (double x = Plot.left() + 0.25; x < Plot.left() + Plot.width(); x += 0.5) line.append({x, row(x)});
    return line;
}

// How many times the fills cover each pixel of a column.
std::vector<int> Covered(const DenseColumns& dense, int column) {
    std::vector<int> rows(Plot.height());
    for (const QRect& fill : dense.fills) {
        if (fill.left() <= column && column <= fill.right())
            for (int y = std::max(fill.top(), 0); y <= std::min(fill.bottom(), Plot.height() - 1); ++y) ++rows[y];
    }
    return rows;
}

}  // namespace

// A zig-zag fills each column once from its top to its bottom row, in a few wide rectangles where
// the columns agree, a single-sample spike included; a gentle or sparse line stays strokes.
TEST(DenseColumns, FillsTheColumnsALineZigZagsThroughAndStrokesTheRest) {
    const struct {
        const char* what;
        QVector<QPointF> line;
        int top, bottom;   // the rows each column's fill covers, none when top > bottom
        std::size_t mostFills;
    } cases[] = {
        {"over the whole height", TwoPointsAColumn([](double x) { return std::fmod(x, 1) < 0.5 ? 20.0 : 180.0; }), 20, 180, 3},
        {"with a spike", TwoPointsAColumn([](double x) { return x == 60.25 ? 5.0 : std::fmod(x, 1) < 0.5 ? 100.0 : 110.0; }), 100, 110, 12},
        {"a gentle slope", TwoPointsAColumn([](double x) { return 50 + x * 0.5; }), 1, 0, 0},
        {"one point in five columns", {{10.5, 20}, {15.5, 180}, {20.5, 20}, {25.5, 180}}, 1, 0, 0},
    };
    for (const auto& c : cases) {
        const DenseColumns dense = FindDenseColumns(c.line, Plot, 3);
        EXPECT_LE(dense.fills.size(), c.mostFills) << c.what;
        if (dense.fills.empty()) { EXPECT_EQ(dense.strokes.size(), c.line.size() - 1u) << c.what; }
        for (int column = Plot.left(); column < Plot.left() + Plot.width(); ++column) {
            const std::vector<int> rows = Covered(dense, column);
            for (int y = 0; y < Plot.height(); ++y) {
                ASSERT_LE(rows[y], 1) << c.what << " column " << column << " row " << y;
                if (std::abs(column - 60) > 1) { ASSERT_EQ(rows[y], c.top <= y && y <= c.bottom) << c.what << " column " << column << " row " << y; }
            }
        }
    }
    // The spike's column is covered from the spike down to the zig-zag's bottom row.
    const std::vector<int> spike = Covered(FindDenseColumns(cases[1].line, Plot, 3), 60);
    EXPECT_EQ(std::count(spike.begin(), spike.end(), 1), 110 - 5 + 1);
    // A steep climb, flat within each column: a column covers the joins to its neighbours half way.
    const auto climb = TwoPointsAColumn([](double x) { return 3 * (std::floor(x) - 10); });
    const std::vector<int> climbed = Covered(FindDenseColumns(climb, Plot, 3), 50);   // row 120, from 118.5 to 121.5
    EXPECT_EQ(std::find(climbed.begin(), climbed.end(), 1) - climbed.begin(), 118);
    EXPECT_EQ(std::count(climbed.begin(), climbed.end(), 1), 4);
}
