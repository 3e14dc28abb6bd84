// The i2c-dev driver library on scripted adapters: the adapter choice and chip search, the
// request encoding and refusals, a chip that falls silent, and what the user is told.
#include "i2cdev/ScriptedBus.h"

#include "I2cBoard.h"
#include "LastError.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>

namespace {

const std::string kBus1 = "/dev/i2c-1";

class I2cLink : public ::testing::Test {
protected:
    std::unique_ptr<I2cDev::I2cBoard> Connected(const std::string& node = kBus1, bool force = false) {
        auto board = std::make_unique<I2cDev::I2cBoard>(bus, I2cDev::I2cSettings{node, force, ""});
        connectResult = board->VendorIORequest(221, 48, 51, 0, 0, buffer);
        return board;
    }
    int16_t Read(I2cDev::I2cBoard& board, int address, int reg = 0xFE) {
        buffer[0] = 0;
        return board.VendorIORequest(222, address, reg, 1, 1, buffer);
    }
    void AddChip(const std::string& node, int address = 0x4C) { bus.Chip(node, address).registers[0xFE] = 0x41; }
    ScriptedBus bus;
    uint8_t buffer[65] = {};
    int16_t connectResult = -1;
};

TEST_F(I2cLink, TakesTheLowestUsableAdapterAndFindsTheChipAmongSilentAddresses) {
    bus.adapters["/dev/i2c-0"].openError = -EACCES;
    AddChip("/dev/i2c-2");
    bus.adapters["/dev/i2c-2"].funcs = I2C_FUNC_I2C;  // no byte-data transfers
    AddChip("/dev/i2c-10");
    AddChip("/dev/i2c-3");
    bus.Chip("/dev/i2c-3", 0x30).registers[0xFE] = 0x12;
    auto board = Connected("");
    ASSERT_EQ(connectResult, 0);
    EXPECT_GT(bus.adapters["/dev/i2c-3"].timeout, 0u);  // a hung adapter gives up
    int found = 0;
    for (int address = 24; address <= 78; ++address) {
        ASSERT_EQ(Read(*board, address), 0) << address;
        if (address != 0x30 && address != 0x4C) { EXPECT_EQ(buffer[0], 0xFF) << address; }
        if (buffer[0] == 0x41 && !found) found = address;
    }
    EXPECT_EQ(found, 0x4C);
    EXPECT_EQ(bus.sent.back(), "/dev/i2c-3 4E FE read 00");
}

TEST_F(I2cLink, RequestsBecomeByteDataTransfersOrAreRefusedUnsent) {
    struct Case { int16_t request; int32_t value, index; int16_t direction, length; bool buffer; const char* sent; };
    const Case cases[] = {
        {222, 0x4C, 0x120B, 0, 0, true, "/dev/i2c-1 4C 0B write 12"},
        {222, 0x4C, 0xFF0B, 0, 0, true, "/dev/i2c-1 4C 0B write FF"},
        {222, 0x4C, 0x01FE, 1, 1, true, "/dev/i2c-1 4C FE read 00"},
        {220, 0x4C, 2, 1, 1, true, "/dev/i2c-1 4C 02 read 00"},
        {222, 0x02, 0xFE, 1, 1, true, nullptr},   // reserved addresses
        {222, 0x78, 0xFE, 1, 1, true, nullptr},
        {222, 0x4C, 0xFE, 1, 1, false, nullptr},  // no buffer to read into
        {222, 0x4C, 0xFE, 1, 0, true, nullptr},
        {223, 0x4C, 0xFE, 1, 1, true, nullptr},   // unknown request and direction
        {222, 0x4C, 0xFE, 2, 1, true, nullptr},
    };
    AddChip(kBus1);
    auto board = Connected();
    for (const Case& c : cases) {
        const std::size_t before = bus.sent.size();
        const int16_t result = board->VendorIORequest(c.request, c.value, c.index, c.direction, c.length,
                                                      c.buffer ? buffer : nullptr);
        EXPECT_EQ(result == 0, c.sent != nullptr) << c.request << " " << c.value << " " << c.index;
        EXPECT_EQ(bus.sent.size(), before + (c.sent ? 1 : 0)) << c.index;
        if (c.sent && bus.sent.size() > before) { EXPECT_EQ(bus.sent.back(), c.sent); }
    }
    EXPECT_EQ(bus.Chip(kBus1, 0x4C).registers[0x0B], 0xFF);
    EXPECT_EQ(board->LoadFirmWare("/nowhere/KTS9330FW.Hex"), 0);
    EXPECT_EQ(bus.sent.size(), 4u);
}

TEST_F(I2cLink, ADownloadOpensTheAdapterAfreshSoAnUnpluggedOneIsFoundAgain) {
    AddChip(kBus1);
    auto board = Connected("");
    ASSERT_EQ(Read(*board, 0x4C), 0);
    bus.adapters.erase(kBus1);  // unplugged, and plugged in again under another number
    AddChip("/dev/i2c-2");
    EXPECT_EQ(board->LoadFirmWare("/nowhere/KTS9330FW.Hex"), 0);
    EXPECT_EQ(board->VendorIORequest(221, 48, 51, 0, 0, buffer), 0);
    EXPECT_EQ(Read(*board, 0x4C), 0);
    EXPECT_EQ(buffer[0], 0x41);
}

TEST_F(I2cLink, AnAddressThatHasAnsweredNeverReadsAsAbsent) {
    struct Case { int address; std::deque<int> faults; bool ok; };
    const Case cases[] = {
        {0x30, {-EIO}, true},          // nobody there ever: reads 0xFF
        {0x30, {-ENODEV}, true},       // as the kernel's i2c-stub says it
        {0x30, {-EBUSY}, false},       // a busy bus is no missing acknowledge
        {0x30, {-ETIMEDOUT}, false},   // a timeout is no missing acknowledge
        {0x4C, {-EAGAIN}, true},       // arbitration lost once: tried again
        {0x4C, {-EAGAIN, -EAGAIN}, false},
        {0x4C, {-ENXIO}, false},       // the chip falls silent
        {0x4C, {-ENODEV}, false},
    };
    for (const Case& c : cases) {
        bus = ScriptedBus();
        AddChip(kBus1);
        auto board = Connected();
        ASSERT_EQ(Read(*board, 0x4C), 0);
        bus.adapters[kBus1].faults = c.faults;
        EXPECT_EQ(Read(*board, c.address) == 0, c.ok) << c.address << " " << c.faults.front();
        if (c.ok) { EXPECT_EQ(buffer[0], c.address == 0x4C ? 0x41 : 0xFF); }
    }
}

TEST_F(I2cLink, EachRefusalSaysWhyOnceNamingTheNode) {
    struct Case { std::string node; std::function<void(ScriptedBus&)> setup; std::string said; };
    const Case cases[] = {
        {"/dev/i2c-7", [](ScriptedBus&) {}, "i2c-dev: /dev/i2c-7: no such adapter node"},
        {kBus1, [](ScriptedBus& b) { b.adapters[kBus1].openError = -EACCES; },
         "i2c-dev: /dev/i2c-1: permission denied; join the group that owns the node (see 'ls -l /dev/i2c-1', "
         "then 'sudo usermod -aG GROUP $USER' and log in again) or grant access with a udev rule\n"},
        {kBus1, [](ScriptedBus& b) { b.adapters[kBus1].funcs = I2C_FUNC_I2C; },
         "i2c-dev: /dev/i2c-1: this adapter cannot do SMBus byte-data transfers"},
        {"", [](ScriptedBus&) {}, "i2c-dev: no I2C adapter found: /dev holds no i2c-N node"},
        {"", [](ScriptedBus& b) { b.adapters["/dev/i2c-0"]; }, "i2c-dev: no I2C adapter found with a KTS9320B on it"},
        {"Tiny USB", [](ScriptedBus& b) { b.adapters[kBus1]; }, "i2c-dev: no I2C adapter is named 'Tiny USB'"},
        {"Twin", [](ScriptedBus& b) {
             for (const std::string n : {"5", "6"}) b.files["/sys/class/i2c-dev/i2c-" + n + "/name"] = "Twin\n", b.adapters["/dev/i2c-" + n];
         },
         "i2c-dev: several I2C adapters are named 'Twin' (/dev/i2c-5, /dev/i2c-6); give the bus number instead\n"},
        {"", [](ScriptedBus& b) { b.Chip("/dev/i2c-0", 0x4C).heldByDriver = true; },
         "i2c-dev: no I2C adapter found with a KTS9320B on it (searched /dev/i2c-0); name the bus in KTS_I2C_BUS; "
         "a kernel driver holds 0x4C on /dev/i2c-0, so the search passed over it; if the chip is there, release it: "
         "'echo 0-004c | sudo tee /sys/bus/i2c/devices/0-004c/driver/unbind' (or set KTS_I2C_FORCE=1, see the README)\n"},
    };
    for (const Case& c : cases) {
        bus = ScriptedBus();
        c.setup(bus);
        testing::internal::CaptureStderr();
        auto board = Connected(c.node);
        const bool connected = connectResult == 0;
        for (int again = 0; again < 2; ++again)
            EXPECT_NE(connected ? Read(*board, 0x4C) : board->VendorIORequest(221, 48, 51, 0, 0, buffer), 0) << c.said;
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(said.find(c.said), 0u) << said;
        EXPECT_EQ("i2c-dev: " + std::string(I2cDev::LastError()) + "\n", said);  // what DriverLastError gives
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
        if (c.node == kBus1) { EXPECT_TRUE(bus.sent.empty()) << c.said; }
    }
    auto forced = Connected("/dev/i2c-0", true);  // the held address, forced
    bus.Chip("/dev/i2c-0", 0x4C).registers[0xFE] = 0x41;
    EXPECT_EQ(Read(*forced, 0x4C), 0);
    EXPECT_EQ(buffer[0], 0x41);
}

TEST_F(I2cLink, HeldAddressesAreNamedOnlyWhenTheSearchFindsNoChip) {
    AddChip(kBus1);
    bus.Chip(kBus1, 0x4C).heldByDriver = bus.Chip(kBus1, 0x48).heldByDriver = true;
    testing::internal::CaptureStderr();
    auto board = Connected();
    for (int address = 0x18; address <= 0x4E; ++address) ASSERT_EQ(Read(*board, address), 0) << address;
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "i2c-dev: /dev/i2c-1: no KTS9320B answered at 0x18..0x4E; kernel drivers hold 0x48, 0x4C on /dev/i2c-1, "
              "so the search passed over them; if the chip is there, release it: 'echo 1-0048 | sudo tee "
              "/sys/bus/i2c/devices/1-0048/driver/unbind'; 'echo 1-004c | sudo tee /sys/bus/i2c/devices/1-004c/driver/unbind'"
              " (or set KTS_I2C_FORCE=1, see the README)\n");
    // The chip found, then held by a driver bound later: refused when the node turns back to it.
    bus.Chip(kBus1, 0x4C).heldByDriver = false;
    auto found = Connected();
    ASSERT_EQ(Read(*found, 0x4C), 0);
    bus.Chip(kBus1, 0x4C).heldByDriver = true;
    testing::internal::CaptureStderr();
    EXPECT_EQ(Read(*found, 0x30), 0);
    EXPECT_NE(Read(*found, 0x4C), 0);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("the KTS9320B's address 0x4C is held"), std::string::npos);
}

// The reason DriverLastError gives is the failed request's own: why a chip fell silent, that the
// one address tried is held, and nothing stale after a request that went through.
TEST_F(I2cLink, TheReasonGivenIsTheLastRequestsOwn) {
    AddChip(kBus1);
    bus.Chip(kBus1, 0x48).heldByDriver = true;
    auto board = Connected();
    ASSERT_EQ(Read(*board, 0x48), 0);
    EXPECT_NE(std::string(I2cDev::LastError()).find("address 0x48 is held by a kernel driver"), std::string::npos);
    ASSERT_EQ(Read(*board, 0x4C), 0);
    EXPECT_STREQ(I2cDev::LastError(), "");
    bus.adapters[kBus1].faults = {-EIO};
    EXPECT_NE(Read(*board, 0x4C, 0x01), 0);
    EXPECT_STREQ(I2cDev::LastError(), "/dev/i2c-1: the chip at 0x4C did not answer reading register 0x01: Input/output error");
}

}  // namespace
