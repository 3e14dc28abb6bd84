// Alarm flags set together keep a strip each; only a flag's own close spans ever merge.
#include "chart/FlagStrips.h"

#include <gtest/gtest.h>

TEST(FlagStrips, EachFlagSetHasAStripOfItsOwn) {
    const std::vector<ChartFlag> flags = {
        {"LocHi", {{10, 20}}}, {"LocLo", {}}, {"RemHi", {{15, 30}}}, {"RTHRM", {{18, 19}, {25, 40}}}};
    const double third = 1.0 / 3;
    const struct {
        const char* what;
        std::vector<bool> shown;
        std::size_t maxSpans;
        std::vector<FlagStrip> strips;
    } cases[] = {
        {"overlapping flags, stacked",
         {true, true, true, true},
         10,
         {{0, 10, 20, 0, third}, {2, 15, 30, third, 2 * third}, {3, 18, 19, 2 * third, 1}, {3, 25, 40, 2 * third, 1}}},
        {"a hidden flag leaves its strip empty",
         {true, true, false, true},
         10,
         {{0, 10, 20, 0, third}, {3, 18, 19, 2 * third, 1}, {3, 25, 40, 2 * third, 1}}},
        {"too many spans merge within the flag alone",
         {true, true, true, true},
         1,
         {{0, 10, 20, 0, third}, {2, 15, 30, third, 2 * third}, {3, 18, 40, 2 * third, 1}}},
    };
    for (const auto& c : cases) EXPECT_EQ(LayOutFlagStrips(flags, c.shown, c.maxSpans), c.strips) << c.what;
}
