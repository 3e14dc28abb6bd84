#include "board/ChipIdentity.h"

#include "chip/ChipRegisters.h"

namespace USBStuff {

int32_t ChipIdRegister() { return Chip::Reg::ManufacturerId.read; }

bool IsOurChipId(int32_t id) { return id == Chip::ManufacturerId; }

Identity CheckIdentity(const ChipOnBoard& chip, ChipTransfer& read) {
    read = chip.Read(ChipIdRegister());
    if (!read) return Identity::Unread;
    return IsOurChipId(read.value) ? Identity::Ours : Identity::Other;
}

}  // namespace USBStuff
