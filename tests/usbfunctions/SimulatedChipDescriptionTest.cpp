// The simulated chip against the chip's description, register by register: each powers on at
// its value, each write address lands at its read address, and a write anywhere else (a
// read-only register, a register written elsewhere, an unknown address) changes nothing.
#include "chip/RegisterDescriptions.h"
#include "usbfunctions/SimulatedBoardLibrary.h"

#include <map>

using namespace SimTest;

namespace {

// Every described register as read now; the busy bit depends on when the read falls.
std::map<int, int> DescribedRegisters(SimulatedBoardLibrary& board) {
    std::map<int, int> values;
    for (const Chip::RegisterDescription& reg : Chip::Registers) {
        const int busy = reg.address.read == Chip::Reg::Status.read ? Chip::StatusBit::Busy : 0;
        values[reg.address.read] = board.Read(reg.address.read) & ~busy;
    }
    return values;
}

}  // namespace

TEST(SimulatedChipDescription, EveryRegisterAsDescribed) {
    // Both temperatures at 0 °C, so the first conversion leaves the measured registers at 0.
    SimulatedBoardLibrary board({{"KTS_SIM_LOCAL_TEMP", "0"}, {"KTS_SIM_REMOTE_TEMP", "0"}});
    board.StartUp();
    const std::map<int, int> powerOn = DescribedRegisters(board);
    for (const Chip::RegisterDescription& reg : Chip::Registers)
        EXPECT_EQ(powerOn.at(reg.address.read), reg.powerOn) << reg.name << " at power-on";

    for (int address = 0; address < 256; ++address) {
        if (Chip::FindRegisterByWriteAddress(address) || address == Chip::Reg::OneShotWrite) continue;
        board.Write(address, 0xA5);
        EXPECT_EQ(DescribedRegisters(board), powerOn) << "a write at " << address << " changed a register";
    }

    for (const Chip::RegisterDescription& reg : Chip::Registers) {
        if (reg.ReadOnly()) continue;
        const int data = reg.powerOn ^ 0x5A;
        board.Write(reg.address.write, data);
        EXPECT_EQ(board.Read(reg.address.read), data) << reg.name << " written at " << reg.address.write;
    }
}
