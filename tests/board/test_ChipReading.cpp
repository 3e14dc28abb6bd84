// The remote temperature is two bytes read one after the other, while the chip converts on its
// own schedule: a reading must be a value the chip held, never a mix of two conversions.
#include "support/ScriptedDriver.h"

#include "board/ChipReading.h"
#include "chip/ChipRegisters.h"
#include "registers/RegMapStuff.h"

#include <gtest/gtest.h>

using namespace USBStuff;

namespace {

constexpr int High = Chip::Reg::RemoteTempHigh.read;
constexpr int Low = Chip::Reg::RemoteTempLow.read;

struct Remote {
    int high;
    int low;
};

// A chip whose remote value moves to the next of `values` just before each remote byte read
// numbered in `convertBefore` (counted from 1).
struct ConvertingChip {
    ScriptedDriver driver;
    std::vector<Remote> values;
    std::vector<int> convertBefore;
    int remoteReads = 0;
    size_t shown = 0;

    ConvertingChip(std::vector<Remote> v, std::vector<int> before) : values(std::move(v)), convertBefore(std::move(before)) {
        Show();
        driver.onRequest = [this](const DriverRequest& r) {
            if (r.index != High && r.index != Low) return;
            ++remoteReads;
            for (int k : convertBefore)
                if (k == remoteReads && shown + 1 < values.size()) {
                    ++shown;
                    Show();
                }
        };
    }
    void Show() {
        driver.Chip()[High] = values[shown].high;
        driver.Chip()[Low] = values[shown].low;
    }
};

}  // namespace

TEST(ChipReading, ASettledRemoteReadingIsAValueTheChipHeld) {
    RegMapStuff::SetShadowFromConfiguration(0);
    struct Case {
        const char* what;
        std::vector<Remote> values;
        std::vector<int> convertBefore;
        float settled;
        int mostRemoteReads;
    };
    const Case cases[] = {
        {"no conversion", {{25, 0x40}}, {}, 25.25f, 3},
        {"rising, between the first two reads", {{3, 0xC0}, {4, 0x00}}, {2}, 4.0f, 5},
        {"rising, before the last read", {{65, 0xC0}, {66, 0x00}}, {3}, 66.0f, 5},
        {"falling, between the first two reads", {{4, 0x00}, {3, 0xC0}}, {2}, 3.75f, 5},
        {"converting all through: a few tries", {{1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}, {6, 0}, {7, 0}, {8, 0}, {9, 0}, {10, 0}},
         {2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, 0, 9},
    };
    for (const Case& c : cases) {
        ConvertingChip chip(c.values, c.convertBefore);
        ChipTransfer failed;
        const auto t = TryTemperatures(ChipOnBoard(&chip.driver, 0x4C), RemoteBytes::Settled, failed);
        ASSERT_TRUE(t) << c.what;
        EXPECT_LE(chip.remoteReads, c.mostRemoteReads) << c.what;
        if (c.settled != 0) {
            EXPECT_EQ(t->remote, c.settled) << c.what;
        }
    }
}
