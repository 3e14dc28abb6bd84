// The simulated chip's register file: power-on contents, the write addresses that reach
// each register, and the writes that must change nothing.
#include "usbfunctions/SimulatedBoardLibrary.h"

#include <vector>

using namespace SimTest;

namespace {

struct Writable {
    int writeAddr;
    int readAddr;
    int powerOn;
};

const std::vector<Writable> kWritable = {
    {0x09, 0x03, 0x00}, {0x0A, 0x04, 0x08}, {0x0B, 0x05, 85}, {0x0C, 0x06, 0},  {0x0D, 0x07, 85},
    {0x0E, 0x08, 0},    {0x11, 0x11, 0},    {0x12, 0x12, 0},  {0x13, 0x13, 0},  {0x14, 0x14, 0},
    {0x19, 0x19, 85},   {0x20, 0x20, 85},   {0x21, 0x21, 10}, {0x22, 0x22, 1},
};

}  // namespace

TEST(SimulatedChipRegisters, PowerOnContents) {
    SimulatedBoardLibrary board({{"KTS_SIM_LOCAL_TEMP", "25"}, {"KTS_SIM_REMOTE_TEMP", "30.75"}});
    board.StartUp();
    for (const Writable& r : kWritable) EXPECT_EQ(board.Read(r.readAddr), r.powerOn) << r.readAddr;
    EXPECT_EQ(board.Read(0xFE), 0x41);
    EXPECT_EQ(board.Read(0xFF), 0x00);
    EXPECT_EQ(board.Read(0x00), 25) << "a first reading is there from the start";
    EXPECT_EQ(board.Read(0x01), 30);
    EXPECT_EQ(board.Read(0x10), 0xC0);
    EXPECT_EQ(board.Alarms(), 0);
}

TEST(SimulatedChipRegisters, EveryWritableRegisterReadsBackAtItsReadAddress) {
    SimulatedBoardLibrary board;
    board.StartUp();
    for (int pattern : {0x5A, 0xA5, 0x00, 0xFF}) {
        for (const Writable& r : kWritable) board.Write(r.writeAddr, pattern ^ r.readAddr);
        for (const Writable& r : kWritable) EXPECT_EQ(board.Read(r.readAddr), pattern ^ r.readAddr) << r.readAddr;
    }
}

TEST(SimulatedChipRegisters, WritesToReadOnlyAndUnknownAddressesChangeNothing) {
    SimulatedBoardLibrary board({{"KTS_SIM_LOCAL_TEMP", "25"}});
    board.StartUp();
    // The read addresses of registers written elsewhere are not write addresses.
    for (int address = 0x03; address <= 0x08; ++address) board.Write(address, 0x77);
    for (const Writable& r : kWritable) EXPECT_EQ(board.Read(r.readAddr), r.powerOn) << r.readAddr;

    for (int address : {0x00, 0x01, 0x02, 0x10, 0xFE, 0xFF, 0x15, 0x30, 0x80}) board.Write(address, 0x33);
    EXPECT_EQ(board.Read(0x00), 25);
    EXPECT_EQ(board.Read(0xFE), 0x41);
    EXPECT_EQ(board.Read(0xFF), 0x00);
    for (int address : {0x0F, 0x15, 0x30, 0x80}) EXPECT_EQ(board.Read(address), 0) << address;
}

TEST(SimulatedChipRegisters, WriteTakesRegisterFromLowByteAndDataFromSecondByte) {
    SimulatedBoardLibrary board;
    board.StartUp();
    uint8_t scratch = 0;
    ASSERT_EQ(board.Request(kRegister, kChip, 0xFF0B, 0, 0, &scratch), 0);
    EXPECT_EQ(board.Read(0x05), 0xFF);
    ASSERT_EQ(board.Request(kRegister, kChip, 0x120B, 0, 0, &scratch), 0);
    EXPECT_EQ(board.Read(0x05), 0x12);
}
