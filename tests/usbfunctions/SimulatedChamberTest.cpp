// The simulated chamber: its air and the channels' lags in closed form, the readings' errors
// and noise, the setpoint shared through the board's state, the loose cable in time, and the
// instruments' driver that reaches it through the board.
#include "usbfunctions/SimulatedBoardLibrary.h"

#include "ChamberModel.h"
#include "board/LibraryDriver.h"
#include "instruments/Instruments.h"

#include <cmath>

using namespace SimTest;

namespace {

constexpr int16_t kChamber = 223;

UsbSim::ChamberState Chamber(double startAir, double setpoint, double ratePerMinute) {
    UsbSim::ChamberState c{};
    c.active = UsbSim::ChamberState::kActive;
    c.startAir = startAir;
    c.setpoint = setpoint;
    c.ratePerSecond = ratePerMinute / 60.0;
    return c;
}

int32_t ChamberRead(SimulatedBoardLibrary& board, int what) {
    uint8_t buffer[4] = {};
    EXPECT_EQ(board.Request(kChamber, what, 0, 1, 4, buffer), 0) << board.LastError();
    return int32_t(uint32_t(buffer[0]) | uint32_t(buffer[1]) << 8 | uint32_t(buffer[2]) << 16 | uint32_t(buffer[3]) << 24);
}

int16_t SetSetpoint(SimulatedBoardLibrary& board, int millidegrees) {
    uint8_t scratch = 0;
    return board.Request(kChamber, 1, millidegrees, 0, 0, &scratch);
}

// A real board's driver: it knows register requests alone.
class RegisterOnlyBoard : public USBStuff::BoardDriver {
public:
    int16_t LoadFirmWare(const char*) override { return 0; }
    int16_t VendorIORequest(int16_t request, int32_t, int32_t, int16_t, int16_t, uint8_t*) override {
        return request == kChamber ? -3 : 0;
    }
};

}  // namespace

TEST(SimulatedChamber, ModelInClosedForm) {
    struct Case { double start, setpoint, rate, channelStart, lag, seconds, air, channel; };
    const double e1 = std::exp(-1.0);
    for (const Case& c : {
             Case{25, 85, 5, 25, 0, 60, 30, 30},                // a minute up at 5 °C/min, no lag
             Case{25, 85, 5, 25, 0, 1e4, 85, 85},               // holds the setpoint once there
             Case{25, -15, 5, 25, 0, 120, 15, 15},              // down as fast as up
             Case{25, 85, 5, 25, 60, 1e4, 85, 85},              // the lag settles too
             Case{50, 50, 5, 30, 20, 20, 50, 50 - 20 * e1},     // a lag alone: one time constant
             Case{25, 85, 6, 25, 10, 300, 55, 54 + std::exp(-30.0)}}) {  // a lag trails a ramp by rate × lag
        const UsbSim::ChamberState chamber = Chamber(c.start, c.setpoint, c.rate);
        EXPECT_NEAR(UsbSim::AirAfter(chamber, c.seconds), c.air, 1e-9) << c.seconds;
        EXPECT_NEAR(UsbSim::LaggedAfter(chamber, c.channelStart, c.lag, c.seconds), c.channel, 1e-9) << c.lag;
    }
}

TEST(SimulatedChamber, NoiseHasItsSpreadAndIsTheSameForOneConversion) {
    for (const double spread : {0.0, 0.5, 2.0}) {
        double sum = 0, squares = 0;
        const int n = 20000;
        for (int i = 0; i < n; ++i) {
            const double x = UsbSim::NoiseAt(int64_t(i) * 15625000, 1, spread);
            sum += x;
            squares += x * x;
        }
        const double mean = sum / n;
        EXPECT_NEAR(mean, 0.0, 0.05 * spread + 1e-12);
        EXPECT_NEAR(std::sqrt(squares / n - mean * mean), spread, 0.03 * spread + 1e-12);
    }
    EXPECT_EQ(UsbSim::NoiseAt(123456789, 0, 1.0), UsbSim::NoiseAt(123456789, 0, 1.0));
    EXPECT_NE(UsbSim::NoiseAt(123456789, 0, 1.0), UsbSim::NoiseAt(123456789, 1, 1.0));
}

// A fast chamber without lags: the channels read the setpoint with their errors and the offset.
TEST(SimulatedChamber, ChannelsReadTheAirWithTheirErrors) {
    struct Case { const char* localError; const char* remoteError; int offsetHigh, offsetLow, setpoint; int local; double remote; };
    for (const Case& c : {Case{"0 0", "0 0", 0, 0, 60000, 60, 60.0},
                          Case{"1 0", "-1.5 0", 0, 0, 60000, 61, 58.5},
                          Case{"0 0.02", "0.5 -0.01", 0, 0, 75000, 76, 75.0},  // gains: +1 and -0.5 at 75 °C
                          Case{"0 0", "-1.5 0", 0x01, 0x80, 60000, 60, 60.0}}) {  // the offset register takes it back
        SimulatedBoardLibrary board({{"KTS_SIM_CHAMBER_RATE", "60000"}, {"KTS_SIM_LOCAL_LAG", "0"},
                                     {"KTS_SIM_REMOTE_LAG", "0"}, {"KTS_SIM_LOCAL_ERROR", c.localError},
                                     {"KTS_SIM_REMOTE_ERROR", c.remoteError}});
        board.StartUp();
        board.Write(0x0A, 10);
        board.Write(0x11, c.offsetHigh);
        board.Write(0x12, c.offsetLow);
        ASSERT_EQ(SetSetpoint(board, c.setpoint), 0);
        Sleep(100);
        EXPECT_EQ(ChamberRead(board, 2), c.setpoint);
        EXPECT_EQ(board.Read(0x00), c.local) << c.localError;
        EXPECT_EQ(board.Remote(), c.remote) << c.remoteError;
    }
}

// The air starts where the chip stands and moves at the rate; a second program on the same
// state file sees the same setpoint and the same air.
TEST(SimulatedChamber, SetpointIsSharedThroughTheBoardsState) {
    SimulatedBoardLibrary first({{"KTS_SIM_LOCAL_TEMP", "30"}, {"KTS_SIM_CHAMBER_RATE", "600"}});
    first.StartUp();
    EXPECT_EQ(ChamberRead(first, 1), 30000);  // before any setpoint the chamber holds its air
    ASSERT_EQ(SetSetpoint(first, 40000), 0);
    EXPECT_EQ(SetSetpoint(first, 900000), -3);

    setenv("KTS_SIM_STATE", (first.Folder() / "chip.state").c_str(), 1);
    SimulatedBoardLibrary second({{"KTS_SIM_POWER_CYCLE", "0"}, {"KTS_SIM_STATE", (first.Folder() / "chip.state").string()}});
    second.StartUp();
    EXPECT_EQ(ChamberRead(second, 1), 40000);
    const int32_t air = ChamberRead(second, 2);
    EXPECT_GT(air, 30000);
    EXPECT_LT(air, 40000);
    EXPECT_NEAR(ChamberRead(first, 2), air, 200);  // 10 °C/s: both read within a few ms
    Sleep(1100);
    EXPECT_EQ(ChamberRead(first, 2), 40000);
    EXPECT_EQ(ChamberRead(second, 2), 40000);
}

// KTS_SIM_FAIL_AT counts from the board's power-on, which the state file keeps: a second
// program that was told nothing meets the same failure.
TEST(SimulatedChamber, LooseCableInTimeIsMetByEveryProgram) {
    SimulatedBoardLibrary first({{"KTS_SIM_FAIL_AT", "0.4"}, {"KTS_SIM_FAIL_FOR", "400"}});
    first.StartUp();
    SimulatedBoardLibrary second({{"KTS_SIM_POWER_CYCLE", "0"}, {"KTS_SIM_STATE", (first.Folder() / "chip.state").string()}});
    second.StartUp();
    uint8_t byte = 0;
    EXPECT_EQ(second.Request(kRegister, kChip, 0xFE, 1, 1, &byte), 0);
    auto fails = [](SimulatedBoardLibrary& board) {
        uint8_t b = 0;
        return board.Request(kRegister, kChip, 0xFE, 1, 1, &b) == -4;
    };
    ASSERT_GE(MillisecondsUntil([&] { return fails(second); }, 1000), 0);
    EXPECT_TRUE(fails(first));
    EXPECT_NE(first.LastError().find("after power-on"), std::string::npos) << first.LastError();
    EXPECT_LT(first.LoadFirmWare(FirmwarePath()), 0);
    EXPECT_GE(MillisecondsUntil([&] { return !fails(second); }, 1000), 0);
}

TEST(SimulatedChamber, DriverReachesTheChamberThroughTheBoard) {
    SimulatedBoardLibrary board({{"KTS_SIM_CHAMBER_RATE", "600"}, {"KTS_SIM_LOCAL_TEMP", "20"}});
    std::string error;
    auto driver = USBStuff::LibraryDriver::Open((board.Folder() / "libUSBFunctions.so").string(), error);
    ASSERT_TRUE(driver) << error;
    ASSERT_EQ(driver->LoadFirmWare(FirmwarePath().c_str()), 0);
    uint8_t scratch = 0;
    ASSERT_EQ(driver->VendorIORequest(kConnect, 48, 51, 0, 0, &scratch), 0);

    Instruments::InstrumentSettings sim;
    std::string refusal;
    auto chamber = Instruments::MakeChamber(sim, driver.get(), refusal);
    ASSERT_TRUE(chamber) << refusal;
    auto reference = Instruments::MakeThermometer(sim, *chamber, driver.get(), refusal);
    ASSERT_TRUE(reference) << refusal;
    EXPECT_EQ(chamber->ReadTemperature().celsius, 20.0);
    EXPECT_EQ(chamber->SetSetpoint(25.5), "");
    EXPECT_NE(chamber->SetSetpoint(1e6), "");
    EXPECT_GE(MillisecondsUntil([&] { return reference->Read().celsius == 25.5; }, 2000), 0);

    RegisterOnlyBoard realBoard;
    EXPECT_FALSE(Instruments::MakeChamber(sim, &realBoard, refusal));
    EXPECT_NE(refusal.find("only on the simulated board"), std::string::npos) << refusal;
    EXPECT_FALSE(Instruments::MakeChamber(sim, nullptr, refusal));
}
