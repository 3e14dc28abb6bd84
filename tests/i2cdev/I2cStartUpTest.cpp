// The program's start-up and monitoring through the i2c-dev driver library on a scripted
// adapter holding a KTS9320B register file, until the chip falls silent.
#include "i2cdev/ScriptedBus.h"
#include "support/BoardFailureTrap.h"
#include "support/ScriptedClock.h"

#include "I2cBoard.h"
#include "app/Main.h"
#include "app/frmMain.h"
#include "board/USBStuff.h"
#include "state/Clock.h"
#include "state/GeneralStuff.h"

#include <gtest/gtest.h>

namespace {

// The library's two functions called in-process, as the program calls the loaded library.
class InProcessLibrary : public USBStuff::BoardDriver {
public:
    InProcessLibrary(ScriptedBus& bus, const std::string& node) : board_(bus, {node, false, ""}) {
        USBStuff::SetDriver(this);
    }
    int16_t LoadFirmWare(const char* path) override { return board_.LoadFirmWare(path); }
    int16_t VendorIORequest(int16_t request, int32_t value, int32_t index, int16_t direction, int16_t length,
                            uint8_t* buffer) override {
        return board_.VendorIORequest(request, value, index, direction, length, buffer);
    }

private:
    I2cDev::I2cBoard board_;
};

class OnAnI2cAdapter : public ::testing::Test {
protected:
    OnAnI2cAdapter() {
        clock.step = 0.02;
        GeneralStuff::SetClock(&clock);
        USBStuff::DeviceAddress = 0;
        bus.adapters["/dev/i2c-0"];  // an adapter without the chip comes first
        FillChipDefaults(chip.registers);
        chip.registers[0x00] = 30;    // local
        chip.registers[0x01] = 41;    // remote, whole degrees
        chip.registers[0x10] = 0x40;  // remote, quarter degrees
    }
    ~OnAnI2cAdapter() override { GeneralStuff::SetClock(nullptr); }

    BoardFixtureState state;
    ScriptedClock clock;
    ScriptedBus bus;
    ScriptedDevice& chip = bus.Chip("/dev/i2c-1", 0x4C);
};

TEST_F(OnAnI2cAdapter, StartsFindsTheChipAndMonitorsItUntilItFallsSilent) {
    InProcessLibrary library(bus, "");
    frmMain* main = StartUp();
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(USBStuff::DeviceAddress, 0x4C);
    clock.now += 1.0;
    main->Cycle().tmrMaster_Timer();
    EXPECT_FLOAT_EQ(GeneralStuff::Temperature[0], 30.0f);
    EXPECT_FLOAT_EQ(GeneralStuff::Temperature[1], 41.25f);

    chip.answersLeft = 0;
    clock.now += 1.0;
    EXPECT_THROW(main->Cycle().tmrMaster_Timer(), BoardFailure);
    EXPECT_EQ(state.messages, std::vector<std::string>{"Communications Interrupted - Check USB connections"});
    main->CloseEverything();
}

}  // namespace
