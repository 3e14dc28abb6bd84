#include "registers/RegMapStuff.h"

#include "chip/RegisterDescriptions.h"

namespace RegMapStuff {

std::array<RegEntry, RegCount> RegTable;
bool ExtendedRange = false;
bool Standby = false;

void BuildRegTable() {
    for (int i = 0; i < RegCount; ++i) {
        const Chip::RegisterDescription& reg = Chip::Registers[i];
        RegEntry& entry = RegTable[i];
        entry.WriteAddr = reg.address.write;
        entry.ReadAddr = reg.address.read;
        entry.Name = reg.name;
        entry.BitNames = reg.bitLabels;
        entry.DefaultVal = static_cast<int16_t>(reg.powerOn);
        entry.ReadOnly = reg.ReadOnly();
        entry.Description = entry.Name;
    }
}

std::optional<int> FindByReadAddr(int32_t address) {
    for (int i = 0; i < RegCount; ++i) {
        if (RegTable[i].ReadAddr == address) return i;
    }
    return std::nullopt;
}

bool IsWriteAddress(int32_t address) {
    return address == Chip::Reg::OneShotWrite || Chip::FindRegisterByWriteAddress(address) != nullptr;
}

std::array<std::string, 8> SplitBitNames(const std::string& bitNames) {
    // A short text leaves the remaining labels empty; labels past the eighth are dropped.
    std::array<std::string, 8> labels;
    size_t start = 0;
    for (std::string& label : labels) {
        if (start > bitNames.size()) break;
        const size_t colon = bitNames.find(':', start);
        const size_t end = colon == std::string::npos ? bitNames.size() : colon;
        label = bitNames.substr(start, end - start);
        start = end + 1;
    }
    return labels;
}

void SetShadowFromConfiguration(int32_t configuration) {
    ExtendedRange = (configuration & Chip::ConfigBit::ExtendedRange) == Chip::ConfigBit::ExtendedRange;
    Standby = (configuration & Chip::ConfigBit::Standby) == Chip::ConfigBit::Standby;
}

}  // namespace RegMapStuff
