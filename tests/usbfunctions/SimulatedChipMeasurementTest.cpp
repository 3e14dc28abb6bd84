// What the simulated chip measures and reports: temperature codes in both ranges, the remote
// offset, the alarm status with its latching and THERM hysteresis, the open diode, standby
// with one-shot conversions, and the conversion rate.
#include "usbfunctions/SimulatedBoardLibrary.h"

#include <memory>

using namespace SimTest;

namespace {

constexpr int kFastestRate = 10;  // 64 conversions per second
constexpr int kSettleMs = 50;     // several conversions at the fastest rate

// Starts a board with fixed temperatures converting at the fastest rate.
void StartFast(SimulatedBoardLibrary& board) {
    board.StartUp();
    board.Write(0x0A, kFastestRate);
}

// A board whose local and remote temperatures stay at the given degrees.
std::unique_ptr<SimulatedBoardLibrary> FixedBoard(const char* local, const char* remote) {
    return std::make_unique<SimulatedBoardLibrary>(
        SimulatedBoardLibrary::Settings{{"KTS_SIM_LOCAL_TEMP", local}, {"KTS_SIM_REMOTE_TEMP", remote}});
}

}  // namespace

TEST(SimulatedChipMeasurement, RangeBitSelectsTheCoding) {
    struct Case { const char* local; const char* remote; int local0, remoteHigh0, remoteLow0, local1, remoteHigh1, remoteLow1; };
    for (const Case& c : {Case{"-10", "-10.25", 0, 0, 0x00, 54, 53, 0xC0},
                          Case{"150", "200.5", 127, 127, 0x00, 214, 255, 0x00},
                          Case{"25", "25.25", 25, 25, 0x40, 89, 89, 0x40}}) {
        auto boardPtr = FixedBoard(c.local, c.remote);
    SimulatedBoardLibrary& board = *boardPtr;
        StartFast(board);
        EXPECT_EQ(board.Read(0x00), c.local0) << c.local;
        EXPECT_EQ(board.Read(0x01), c.remoteHigh0) << c.remote;
        EXPECT_EQ(board.Read(0x10), c.remoteLow0) << c.remote;
        board.Write(0x09, 0x04);
        Sleep(kSettleMs);
        EXPECT_EQ(board.Read(0x00), c.local1) << c.local;
        EXPECT_EQ(board.Read(0x01), c.remoteHigh1) << c.remote;
        EXPECT_EQ(board.Read(0x10), c.remoteLow1) << c.remote;
    }
}

TEST(SimulatedChipMeasurement, RemoteOffsetIsAddedToTheRemoteReading) {
    auto boardPtr = FixedBoard("20", "10");
    SimulatedBoardLibrary& board = *boardPtr;
    StartFast(board);
    auto setOffset = [&](int high, int low) {
        board.Write(0x11, high);
        board.Write(0x12, low);
        Sleep(kSettleMs);
    };
    setOffset(0x02, 0x40);  // +2.25
    EXPECT_EQ(board.Remote(), 12.25);
    setOffset(0xFF, 0xC0);  // -0.25
    EXPECT_EQ(board.Remote(), 9.75);
    setOffset(0xF5, 0x80);  // -10.5 takes the reading below 0, the default range's floor
    EXPECT_EQ(board.Remote(), 0.0);
    board.Write(0x09, 0x04);
    Sleep(kSettleMs);
    EXPECT_EQ(board.Remote(), 63.5) << "-0.5 degrees, excess-64";
    EXPECT_EQ(board.Read(0x00), 84) << "the local reading takes no offset";
}

TEST(SimulatedChipMeasurement, LimitAlarmsFollowTheLimits) {
    auto boardPtr = FixedBoard("30", "40.5");
    SimulatedBoardLibrary& board = *boardPtr;
    StartFast(board);
    EXPECT_EQ(board.Alarms(), 0);
    // Each limit crossed, then restored: the first status read still shows the latched bit.
    struct Case { int reg, crossing, restore, bit; };
    for (const Case& c : {Case{0x0B, 29, 85, 0x40}, Case{0x0C, 31, 0, 0x20}, Case{0x0D, 40, 85, 0x10},
                          Case{0x0E, 41, 0, 0x08}}) {
        board.Write(c.reg, c.crossing);
        EXPECT_EQ(board.Alarms(), c.bit) << c.reg;
        board.Write(c.reg, c.restore);
        board.Alarms();
        EXPECT_EQ(board.Alarms(), 0) << c.reg;
    }
    // The remote limits compare all ten bits.
    board.Write(0x0D, 40);
    board.Write(0x13, 0x80);  // 40.5: not above
    board.Alarms();
    EXPECT_EQ(board.Alarms(), 0);
    board.Write(0x13, 0x40);  // 40.25
    EXPECT_EQ(board.Alarms(), 0x10);
    board.Write(0x0D, 85);
    board.Write(0x0E, 40);
    board.Write(0x14, 0xC0);  // low limit 40.75
    EXPECT_EQ(board.Alarms(), 0x08);
}

TEST(SimulatedChipMeasurement, AlarmsSeenByAConversionLatchUntilRead) {
    auto boardPtr = FixedBoard("30", "40");
    SimulatedBoardLibrary& board = *boardPtr;
    StartFast(board);
    board.Write(0x0B, 20);
    Sleep(kSettleMs);
    board.Write(0x0B, 85);
    EXPECT_EQ(board.Alarms(), 0x40);
    EXPECT_EQ(board.Alarms(), 0);
}

TEST(SimulatedChipMeasurement, ThermBitsFollowTheLimitWithHysteresis) {
    auto boardPtr = FixedBoard("30", "40");
    SimulatedBoardLibrary& board = *boardPtr;
    StartFast(board);
    board.Write(0x20, 30);  // at the limit
    EXPECT_EQ(board.Alarms(), 0x01);
    board.Write(0x20, 35);  // below the limit, not below limit - hysteresis (25)
    EXPECT_EQ(board.Alarms(), 0x01);
    EXPECT_EQ(board.Alarms(), 0x01) << "the THERM bit is no latch: reading leaves it";
    board.Write(0x20, 41);  // 30 < 41 - 10
    EXPECT_EQ(board.Alarms(), 0);
    board.Write(0x20, 35);  // within the hysteresis band again: stays clear
    EXPECT_EQ(board.Alarms(), 0);

    board.Write(0x19, 40);
    EXPECT_EQ(board.Alarms(), 0x02);
    board.Write(0x21, 0);
    board.Write(0x19, 41);
    EXPECT_EQ(board.Alarms(), 0);
}

TEST(SimulatedChipMeasurement, OpenDiodeReadsTheTopOfTheRange) {
    SimulatedBoardLibrary board({{"KTS_SIM_DIODE_OPEN", "1"}, {"KTS_SIM_LOCAL_TEMP", "30"}});
    StartFast(board);
    EXPECT_EQ(board.Read(0x01), 0x7F);
    EXPECT_EQ(board.Read(0x10), 0x00);
    board.Write(0x19, 0xFF);  // keep the remote THERM bit out of the picture
    board.Write(0x0D, 0xFF);
    board.Alarms();
    EXPECT_EQ(board.Alarms(), 0x04);
    board.Write(0x09, 0x04);
    Sleep(kSettleMs);
    EXPECT_EQ(board.Read(0x01), 0xFF);
    EXPECT_EQ(board.Alarms() & 0x04, 0x04);
}

TEST(SimulatedChipMeasurement, UnfixedTemperaturesDriftNearBenchValues) {
    SimulatedBoardLibrary board;
    StartFast(board);
    for (int i = 0; i < 3; ++i) {
        EXPECT_GE(board.Read(0x00), 25);
        EXPECT_LE(board.Read(0x00), 35);
        EXPECT_GE(board.Remote(), 33);
        EXPECT_LE(board.Remote(), 47);
        EXPECT_EQ(board.Read(0x10) & 0x3F, 0);
        Sleep(20);
    }
}

TEST(SimulatedChipMeasurement, StandbyConvertsOnlyOnOneShot) {
    auto boardPtr = FixedBoard("30", "40");
    SimulatedBoardLibrary& board = *boardPtr;
    StartFast(board);
    board.Write(0x09, 0x40);
    board.Write(0x11, 1);
    Sleep(kSettleMs);
    EXPECT_EQ(board.Read(0x01), 40) << "no conversion in standby";
    EXPECT_EQ(board.Status() & 0x80, 0) << "idle in standby";

    board.Write(0x0F, 1);
    EXPECT_GE(MillisecondsUntil([&] { return board.Read(0x01) == 41; }, 100), 0);
    board.Write(0x11, 2);
    Sleep(kSettleMs);
    EXPECT_EQ(board.Read(0x01), 41) << "a one-shot gives one conversion only";

    board.Write(0x09, 0x00);
    EXPECT_GE(MillisecondsUntil([&] { return board.Read(0x01) == 42; }, 100), 0) << "running again";
}

TEST(SimulatedChipMeasurement, BusyWhileAConversionRuns) {
    auto boardPtr = FixedBoard("30", "40");
    SimulatedBoardLibrary& board = *boardPtr;
    StartFast(board);
    board.Write(0x09, 0x40);
    Sleep(10);
    bool seenBusy = false;
    for (int attempt = 0; attempt < 5 && !seenBusy; ++attempt) {
        board.Write(0x0F, 1);
        seenBusy = (board.Status() & 0x80) != 0;
        Sleep(10);
    }
    EXPECT_TRUE(seenBusy);
    EXPECT_EQ(board.Status() & 0x80, 0);
}

TEST(SimulatedChipMeasurement, ConversionRateSetsTheTimeBetweenReadings) {
    auto boardPtr = FixedBoard("30", "40");
    SimulatedBoardLibrary& board = *boardPtr;
    board.StartUp();
    board.Write(0x0A, 0);  // one conversion every 16 s: none during this test
    board.Write(0x11, 1);
    Sleep(100);
    EXPECT_EQ(board.Read(0x01), 40);

    board.Write(0x0A, 7);  // 8 per second
    EXPECT_GE(MillisecondsUntil([&] { return board.Read(0x01) == 41; }, 200), 0);
    board.Write(0x11, 2);
    const int interval = MillisecondsUntil([&] { return board.Read(0x01) == 42; }, 300);
    EXPECT_GE(interval, 80);
    EXPECT_LE(interval, 200);
}
