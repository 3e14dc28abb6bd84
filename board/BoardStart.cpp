#include "board/BoardStart.h"

#include "board/USBStuff.h"
#include "registers/ChipRegisters.h"

namespace USBStuff {

bool ChipAnswersAt(int32_t address) {
    return ReadRegister(address, Chip::Reg::ManufacturerId.read) == Chip::ManufacturerId;
}

int32_t FindChip() {
    for (int32_t address = FirstCandidateAddress; address <= LastCandidateAddress; ++address) {
        if (ChipAnswersAt(address)) return address;
    }
    return 0;
}

}  // namespace USBStuff
