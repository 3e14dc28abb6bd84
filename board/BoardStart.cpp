#include "board/BoardStart.h"

#include "board/USBStuff.h"
#include "board/ChipIdentity.h"

namespace USBStuff {

bool ChipAnswersAt(int32_t address) {
    return IsOurChipId(ReadRegister(address, ChipIdRegister()));
}

std::vector<int32_t> CandidateAddresses(const std::optional<int32_t>& chosen) {
    if (chosen) return {*chosen};
    std::vector<int32_t> all;
    for (int32_t address = FirstCandidateAddress; address <= LastCandidateAddress; ++address) all.push_back(address);
    return all;
}

int32_t FindChip(const std::optional<int32_t>& chosen) {
    for (const int32_t address : CandidateAddresses(chosen)) {
        if (ChipAnswersAt(address)) return address;
    }
    return 0;
}

}  // namespace USBStuff
