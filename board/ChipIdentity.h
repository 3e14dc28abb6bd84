#pragma once
// Whether the chip at an address is ours: its manufacturer id register answers with our id.
#include "board/ChipOnBoard.h"

namespace USBStuff {

enum class Identity {
    Ours,
    Other,   // something answered with another id, or the bus gave an empty byte
    Unread,  // the read failed
};

// Why a chip whose identity is Other is not taken.
inline constexpr const char* OtherChipReason = "the chip's id does not answer at its address";

// The register that holds a chip's manufacturer id, and whether an id read from it is ours.
int32_t ChipIdRegister();
bool IsOurChipId(int32_t id);

// Reads the chip's manufacturer id; the read's outcome, failed or not, is left in `read`.
Identity CheckIdentity(const ChipOnBoard& chip, ChipTransfer& read);

}  // namespace USBStuff
