// The i2c-dev driver library on scripted adapters: the chip search, the request encoding,
// refusals, a chip that falls silent, transient faults, and what the user is told.
#include "i2cdev/ScriptedBus.h"

#include "I2cBoard.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

constexpr int16_t kStatusRead = 220;
constexpr int16_t kConnect = 221;
constexpr int16_t kRegister = 222;
const std::string kBus1 = "/dev/i2c-1";

int Count(const std::string& text, const std::string& part) {
    int count = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

class I2cLink : public ::testing::Test {
protected:
    std::unique_ptr<I2cDev::I2cBoard> Board(const std::string& node = kBus1, bool force = false) {
        return std::make_unique<I2cDev::I2cBoard>(bus, I2cDev::I2cSettings{node, force, ""});
    }
    void AddChip(const std::string& node, int address = 0x4C) { bus.Chip(node, address).registers[0xFE] = 0x41; }
    static int16_t Connect(I2cDev::I2cBoard& board) {
        uint8_t scratch = 0;
        return board.VendorIORequest(kConnect, 48, 51, 0, 0, &scratch);
    }
    static int16_t Read(I2cDev::I2cBoard& board, int address, int reg, uint8_t& byte) {
        uint8_t buffer[65] = {};
        const int16_t result = board.VendorIORequest(kRegister, address, reg, 1, 1, buffer);
        byte = buffer[0];
        return result;
    }
    ScriptedBus bus;
};

TEST_F(I2cLink, TheSearchFindsTheChipAmongSilentAddresses) {
    AddChip(kBus1);
    bus.Chip(kBus1, 0x30).registers[0xFE] = 0x12;  // some other device
    auto board = Board();
    ASSERT_EQ(Connect(*board), 0);
    int found = 0;
    for (int address = 24; address <= 78; ++address) {
        uint8_t id = 0;
        ASSERT_EQ(Read(*board, address, 0xFE, id), 0) << address;
        if (address != 0x30 && address != 0x4C) {
            EXPECT_EQ(id, 0xFF) << address;
        }
        if (id == 0x41 && !found) found = address;
    }
    EXPECT_EQ(found, 0x4C);
}

TEST_F(I2cLink, TheAutomaticChoiceTakesTheLowestAdapterWithTheChip) {
    struct Case { const char* name; std::vector<std::string> withChip; std::string refused, noByteData, expected; };
    const Case cases[] = {
        {"lowest number, not lowest name", {"/dev/i2c-10", "/dev/i2c-2"}, "", "", "/dev/i2c-2"},
        {"a node without permission is passed", {"/dev/i2c-3"}, "/dev/i2c-0", "", "/dev/i2c-3"},
        {"an adapter without byte data is passed", {"/dev/i2c-1", "/dev/i2c-4"}, "", "/dev/i2c-1", "/dev/i2c-4"},
    };
    for (const Case& c : cases) {
        bus = ScriptedBus();
        bus.Chip("/dev/i2c-0", 0x30).registers[0xFE] = 0x12;
        for (const auto& node : c.withChip) AddChip(node);
        if (!c.refused.empty()) bus.adapters[c.refused].openError = -EACCES;
        if (!c.noByteData.empty()) bus.adapters[c.noByteData].funcs = I2C_FUNC_I2C;
        auto board = Board("");
        ASSERT_EQ(Connect(*board), 0) << c.name;
        uint8_t id = 0;
        EXPECT_EQ(Read(*board, 0x4C, 0xFE, id), 0) << c.name;
        EXPECT_EQ(bus.sent.back().node, c.expected) << c.name;
        EXPECT_GT(bus.adapters[c.expected].timeout, 0u) << c.name;  // a hung adapter gives up
    }
}

TEST_F(I2cLink, RequestsBecomeByteDataTransfers) {
    struct Case { int16_t request; int32_t index; int16_t direction; SentTransfer expected; int delivered; };
    const Case cases[] = {
        {kRegister, 0x120B, 0, {kBus1, 0x4C, 0x0B, false, 0x12}, -1},
        {kRegister, 0xFF0B, 0, {kBus1, 0x4C, 0x0B, false, 0xFF}, -1},
        {kRegister, 0x00FE, 1, {kBus1, 0x4C, 0xFE, true, 0}, 0x41},
        {kStatusRead, 2, 1, {kBus1, 0x4C, 0x02, true, 0}, 0x24},
    };
    AddChip(kBus1);
    bus.Chip(kBus1, 0x4C).registers[0x02] = 0x24;
    auto board = Board();
    ASSERT_EQ(Connect(*board), 0);
    for (const Case& c : cases) {
        uint8_t buffer[65] = {};
        EXPECT_EQ(board->VendorIORequest(c.request, 0x4C, c.index, c.direction, c.direction, buffer), 0) << c.index;
        ASSERT_FALSE(bus.sent.empty());
        EXPECT_EQ(bus.sent.back(), c.expected) << c.index;
        if (c.delivered >= 0) {
            EXPECT_EQ(buffer[0], c.delivered) << c.index;
        }
    }
    EXPECT_EQ(bus.Chip(kBus1, 0x4C).registers[0x0B], 0xFF);
    EXPECT_EQ(bus.sent.size(), 4u);
}

TEST_F(I2cLink, RefusesWithoutSendingAnything) {
    struct Case { const char* name; int16_t request; int32_t value, index; int16_t direction, length; bool buffer; };
    const Case cases[] = {
        {"address below 3", kRegister, 0x02, 0xFE, 1, 1, true},
        {"address above 0x77", kRegister, 0x78, 0xFE, 1, 1, true},
        {"negative address", kRegister, -1, 0x120B, 0, 0, true},
        {"read into no buffer", kRegister, 0x4C, 0xFE, 1, 1, false},
        {"status into no buffer", kStatusRead, 0x4C, 2, 1, 1, false},
        {"read of length 0", kRegister, 0x4C, 0xFE, 1, 0, true},
        {"unknown request", 223, 0x4C, 0xFE, 1, 1, true},
        {"unknown direction", kRegister, 0x4C, 0xFE, 2, 1, true},
        {"connect with other fields", kConnect, 0, 0, 0, 0, true},
    };
    AddChip(kBus1);
    auto board = Board();
    uint8_t buffer[65] = {};
    EXPECT_NE(board->VendorIORequest(kRegister, 0x4C, 0xFE, 1, 1, buffer), 0) << "before the connect";
    ASSERT_EQ(Connect(*board), 0);
    for (const Case& c : cases)
        EXPECT_NE(board->VendorIORequest(c.request, c.value, c.index, c.direction, c.length, c.buffer ? buffer : nullptr), 0)
            << c.name;
    EXPECT_TRUE(bus.sent.empty());
    EXPECT_EQ(board->LoadFirmWare("/nowhere/KTS9330FW.Hex"), 0);
    EXPECT_TRUE(bus.sent.empty());
}

TEST_F(I2cLink, AChipThatHasAnsweredNeverReadsAsAbsent) {
    struct Case { const char* name; int address; std::deque<int> faults; bool ok; int byte; };
    const Case cases[] = {
        {"nobody there", 0x30, {}, true, 0xFF},
        {"nobody there, said as an I/O error", 0x30, {-EIO}, true, 0xFF},
        {"a timeout is no missing acknowledge", 0x30, {-ETIMEDOUT}, false, 0},
        {"arbitration lost once", 0x4C, {-EAGAIN}, true, 0x41},
        {"arbitration lost twice", 0x4C, {-EAGAIN, -EAGAIN}, false, 0},
        {"the chip falls silent", 0x4C, {-ENXIO}, false, 0},
        {"the chip's line breaks", 0x4C, {-EIO}, false, 0},
    };
    for (const Case& c : cases) {
        bus = ScriptedBus();
        AddChip(kBus1);
        auto board = Board();
        ASSERT_EQ(Connect(*board), 0);
        uint8_t byte = 0;
        ASSERT_EQ(Read(*board, 0x4C, 0xFE, byte), 0);  // the chip has answered once
        bus.adapters[kBus1].faults = c.faults;
        const int16_t result = Read(*board, c.address, 0xFE, byte);
        EXPECT_EQ(result == 0, c.ok) << c.name;
        if (c.ok) {
            EXPECT_EQ(byte, c.byte) << c.name;
        }
    }
    // Falling silent for good: every later read fails too.
    auto board = Board();
    ASSERT_EQ(Connect(*board), 0);
    bus.Chip(kBus1, 0x4C).answersLeft = 1;
    uint8_t byte = 0;
    EXPECT_EQ(Read(*board, 0x4C, 0x00, byte), 0);
    EXPECT_NE(Read(*board, 0x4C, 0x00, byte), 0);
    EXPECT_NE(Read(*board, 0x4C, 0xFE, byte), 0);
}

TEST_F(I2cLink, EachRefusedConnectSaysWhyOnceNamingTheNode) {
    struct Case { const char* name; std::string setting; std::function<void(ScriptedBus&)> setup; std::string said; };
    const Case cases[] = {
        {"no such node", "/dev/i2c-7", [](ScriptedBus&) {},
         "i2c-dev: /dev/i2c-7: no such adapter node (list the adapters with 'i2cdetect -l'"},
        {"permission denied", kBus1, [](ScriptedBus& b) { b.adapters[kBus1].openError = -EACCES; },
         "i2c-dev: /dev/i2c-1: permission denied; join the group that owns the node (see 'ls -l /dev/i2c-1', "
         "then 'sudo usermod -aG GROUP $USER' and log in again) or grant access with a udev rule"},
        {"no byte data", kBus1, [](ScriptedBus& b) { b.adapters[kBus1].funcs = I2C_FUNC_I2C; },
         "i2c-dev: /dev/i2c-1: this adapter cannot do SMBus byte-data transfers"},
        {"no adapter", "", [](ScriptedBus&) {}, "i2c-dev: no I2C adapter found: /dev holds no i2c-N node"},
        {"no chip on any adapter", "", [](ScriptedBus& b) { b.adapters["/dev/i2c-0"]; },
         "i2c-dev: no I2C adapter found with a KTS9320B on it (searched /dev/i2c-0)"},
    };
    for (const Case& c : cases) {
        bus = ScriptedBus();
        c.setup(bus);
        auto board = Board(c.setting);
        testing::internal::CaptureStderr();
        EXPECT_NE(Connect(*board), 0) << c.name;
        EXPECT_NE(Connect(*board), 0) << c.name;
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(Count(said, c.said), 1) << c.name << ": " << said;
        EXPECT_EQ(Count(said, "\n"), 1) << c.name << ": " << said;
    }
}

TEST_F(I2cLink, AnAddressAKernelDriverHoldsIsAFailureWithTheWayOut) {
    AddChip(kBus1);
    bus.Chip(kBus1, 0x4C).heldByDriver = true;
    auto board = Board();
    ASSERT_EQ(Connect(*board), 0);
    uint8_t byte = 0;
    testing::internal::CaptureStderr();
    EXPECT_NE(Read(*board, 0x4C, 0xFE, byte), 0);
    EXPECT_NE(Read(*board, 0x4C, 0xFE, byte), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "i2c-dev: /dev/i2c-1: address 0x4C is held by a kernel driver; unbind it with "
              "'echo 1-004c | sudo tee /sys/bus/i2c/devices/1-004c/driver/unbind' "
              "(or set KTS_I2C_FORCE=1, see the README)\n");
    EXPECT_TRUE(bus.sent.empty());

    auto forced = Board(kBus1, true);
    ASSERT_EQ(Connect(*forced), 0);
    EXPECT_EQ(Read(*forced, 0x4C, 0xFE, byte), 0);
    EXPECT_EQ(byte, 0x41);
}

}  // namespace
