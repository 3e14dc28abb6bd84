// The register model's start-up step and the temperature reading, against the scripted chip;
// the program's clock.
#include "support/BoardFailureTrap.h"

#include "state/Clock.h"
#include "state/GeneralStuff.h"
#include "registers/RegMapStuff.h"

#include <gtest/gtest.h>
#include <QTest>
#include <QTime>
#include <cmath>
#include <ctime>

using namespace GeneralStuff;

namespace {

// The Configuration register decides the range in which the codes are read; the shadow must
// follow the chip from the start, without a write to it first.
TEST(TemperatureReading, StartUpTakesTheChipsRangeAndEveryReadingAppliesIt) {
    const struct {
        const char* name;
        int configuration, local, remoteHigh, remoteLow;
        float localDegrees, remoteDegrees;
    } cases[] = {
        {"default range", 0x00, 0x19, 0x19, 0x40, 25.0f, 25.25f},
        {"default range, top codes", 0x00, 0xFF, 0xFF, 0xC0, 255.0f, 255.75f},
        {"extended range", 0x04, 0x59, 0x35, 0xC0, 25.0f, -10.25f},
        {"extended range, bottom codes", 0x04, 0x00, 0x00, 0x3F, -64.0f, -64.0f},
        {"standby and extended range", 0x44, 0x40, 0x40, 0x80, 0.0f, 0.5f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        BoardFixtureState board;
        auto& chip = board.driver.Chip();
        chip[0x03] = c.configuration;
        chip[0x00] = c.local;
        chip[0x01] = c.remoteHigh;
        chip[0x10] = c.remoteLow;
        InitRegisterModel();
        EXPECT_EQ(RegMapStuff::ExtendedRange, (c.configuration & 0x04) != 0);
        EXPECT_EQ(RegMapStuff::Standby, (c.configuration & 0x40) != 0);
        board.driver.ClearLog();
        ReadTemperatures();
        EXPECT_EQ(board.driver.Reads(), (std::vector<int>{0x00, 0x10, 0x01}));
        EXPECT_FLOAT_EQ(Temperature[0], c.localDegrees);
        EXPECT_FLOAT_EQ(Temperature[1], c.remoteDegrees);
    }
}

}  // namespace

// The program's own clock reads the local time of day, in zones east and west of UTC by offsets
// that are not whole hours, once its once-a-second look at the zone has passed.
TEST(LocalClock, ReadsTheLocalTimeOfDay) {
    const QByteArray zone = qgetenv("TZ");
    for (const char* tz : {"IST-5:30", "NST3:30"}) {
        qputenv("TZ", tz);
        tzset();
        QTest::qSleep(1010);
        const double expected = QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
        const double got = GeneralStuff::CurrentClock().SecondsSinceMidnight();
        EXPECT_NEAR(std::remainder(got - expected, 86400), 0, 0.05) << tz;
    }
    zone.isNull() ? qunsetenv("TZ") : qputenv("TZ", zone);
    tzset();
}
