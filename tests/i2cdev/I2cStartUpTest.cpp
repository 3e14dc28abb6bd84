// The program's start-up and monitoring through the i2c-dev driver library, on a scripted
// adapter with a KTS9320B register file on it; and the refusals that end in its failure path.
#include "i2cdev/ScriptedBus.h"
#include "support/BoardFailureTrap.h"
#include "support/ScriptedClock.h"

#include "I2cBoard.h"
#include "app/ConnectBoard.h"
#include "app/Main.h"
#include "app/frmMain.h"
#include "app/frmSplash.h"
#include "board/USBStuff.h"
#include "state/Clock.h"
#include "state/GeneralStuff.h"

#include <gtest/gtest.h>

namespace {

// The library's two functions, called in-process as the program calls the loaded library.
class InProcessLibrary : public USBStuff::BoardDriver {
public:
    InProcessLibrary(ScriptedBus& bus, const std::string& node) : board_(bus, {node, false, ""}) {}
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
        ScriptedDevice& chip = bus.Chip("/dev/i2c-1", 0x4C);
        FillChipDefaults(chip.registers);
        chip.registers[0x00] = 30;    // local
        chip.registers[0x01] = 41;    // remote, whole degrees
        chip.registers[0x10] = 0x40;  // remote, quarter degrees
    }
    ~OnAnI2cAdapter() override { GeneralStuff::SetClock(nullptr); }
    void Use(InProcessLibrary& library) { USBStuff::SetDriver(&library); }

    BoardFixtureState state;
    ScriptedClock clock;
    ScriptedBus bus;
};

TEST_F(OnAnI2cAdapter, StartsFindsTheChipAndMonitorsItUntilItFallsSilent) {
    bus.adapters["/dev/i2c-0"];  // an adapter without the chip comes first
    InProcessLibrary library(bus, "");
    Use(library);
    frmMain* main = StartUp();
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(USBStuff::DeviceAddress, 0x4C);
    clock.now += 1.0;
    main->Cycle().tmrMaster_Timer();
    EXPECT_FLOAT_EQ(GeneralStuff::Temperature[0], 30.0f);
    EXPECT_FLOAT_EQ(GeneralStuff::Temperature[1], 41.25f);

    bus.Chip("/dev/i2c-1", 0x4C).answersLeft = 0;
    clock.now += 1.0;
    EXPECT_THROW(main->Cycle().tmrMaster_Timer(), BoardFailure);
    ASSERT_FALSE(state.messages.empty());
    EXPECT_EQ(state.messages.back(), "Communications Interrupted - Check USB connections");
    main->CloseEverything();
}

TEST_F(OnAnI2cAdapter, RefusalsEndInTheProgramsFailurePath) {
    struct Case { const char* name; std::string node; std::function<void(ScriptedBus&)> setup; std::string message; };
    const Case cases[] = {
        {"no adapter", "", [](ScriptedBus& b) { b.adapters.clear(); }, "Initial Connection Failed - Check USB connections"},
        {"permission denied", "/dev/i2c-1", [](ScriptedBus& b) { b.adapters["/dev/i2c-1"].openError = -EACCES; },
         "Initial Connection Failed - Check USB connections"},
        {"held by a kernel driver", "/dev/i2c-1", [](ScriptedBus& b) { b.Chip("/dev/i2c-1", 0x4C).heldByDriver = true; },
         "Communications Interrupted - Check USB connections"},
    };
    for (const Case& c : cases) {
        ScriptedBus caseBus = bus;
        c.setup(caseBus);
        InProcessLibrary library(caseBus, c.node);
        Use(library);
        USBStuff::ResetFailureState();
        frmSplash splash;
        testing::internal::CaptureStderr();
        EXPECT_THROW(GeneralStuff::ConnectBoard(splash, [](const QString&) {}), BoardFailure) << c.name;
        testing::internal::GetCapturedStderr();
        ASSERT_FALSE(state.messages.empty());
        EXPECT_EQ(state.messages.back(), c.message) << c.name;
        EXPECT_EQ(USBStuff::DeviceAddress, 0) << c.name;
        for (const SentTransfer& t : caseBus.sent) EXPECT_TRUE(t.read && t.reg == 0xFE) << c.name;
    }
}

}  // namespace
