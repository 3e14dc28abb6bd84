// The chamber profile: linear between its points, holding the first before and the last after,
// and a file that is no profile refused with the line that is wrong.
#include "TemperatureProfile.h"

#include <gtest/gtest.h>

using UsbSim::TemperatureProfile;

TEST(TemperatureProfile, RunsLinearlyBetweenPointsAndHoldsTheEnds) {
    const std::string text = "# a chamber run\n10 20 30\n\n20 40 20\n  50\t40 -10.5\r\n";
    std::string error;
    const auto profile = TemperatureProfile::Parse(text, error);
    ASSERT_TRUE(profile) << error;
    struct Case { double seconds, local, remote; };
    const Case cases[] = {{0, 20, 30},  {10, 20, 30},   {15, 30, 25}, {20, 40, 20},
                          {35, 40, 4.75}, {50, 40, -10.5}, {1e6, 40, -10.5}};
    for (const Case& c : cases) {
        EXPECT_DOUBLE_EQ(profile->Local(c.seconds), c.local) << c.seconds;
        EXPECT_DOUBLE_EQ(profile->Remote(c.seconds), c.remote) << c.seconds;
    }
}

TEST(TemperatureProfile, RefusesATextThatIsNoProfileNamingTheLine) {
    const std::pair<const char*, const char*> cases[] = {
        {"0 20 30\n10 25", "line 2: expected SECONDS LOCAL_C REMOTE_C, found '10 25'"},
        {"0 20 30 40", "line 1: expected"},
        {"0 2O 30", "line 1: expected"},
        {"0 20 30\n# pause\n0 25 35", "line 3: the time 0 is not after the line before"},
        {"10 20 30\n5 25 35", "line 2: the time 5 is not after"},
        {"-1 20 30", "line 1: the time -1 is before the start"},
        {"", "no line SECONDS LOCAL_C REMOTE_C in it"},
        {"# only a comment\n", "no line"},
    };
    for (const auto& [text, reason] : cases) {
        std::string error;
        EXPECT_FALSE(TemperatureProfile::Parse(text, error)) << text;
        EXPECT_EQ(error.rfind(reason, 0), 0u) << text << " gave: " << error;
    }
}
