#include "registers/RegMapStuff.h"

#include "registers/ChipRegisters.h"

namespace RegMapStuff {

std::array<RegEntry, RegCount> RegTable;
bool ExtendedRange = false;
bool Standby = false;

namespace {

struct RegRow {
    const char* name;
    int32_t readAddr;
    int32_t writeAddr;
    const char* bitNames;
    int16_t defaultVal;
    bool readOnly;
};

constexpr const char* PlainByte = "7:6:5:4:3:2:1:0";
constexpr const char* TenBitHigh = "9:8:7:6:5:4:3:2";
constexpr const char* TenBitLow = "1:0:-:-:-:-:-:-";

constexpr RegRow Rows[RegCount] = {
    {"Local Temp Value", 0x00, 0, PlainByte, 0, true},
    {"Remote Temp High Byte", 0x01, 0, TenBitHigh, 0, true},
    {"Status", 0x02, 0, "Bsy:LocHi:LocLo:RemHi:RemLo:OPEN:RTHRM:LTHRM", 0, true},
    {"Configuration", 0x03, 0x09, "Msk:STBY:AL/TH:-:-:TRNG:-:-", 0, false},
    {"Conversion Rate", 0x04, 0x0A, PlainByte, 0x08, false},
    {"Local Temp High Limit", 0x05, 0x0B, PlainByte, 0x55, false},
    {"Local Temp Low Limit", 0x06, 0x0C, PlainByte, 0, false},
    {"Remote High Limit,High Byte", 0x07, 0x0D, TenBitHigh, 0x55, false},
    {"Remote Low Limit,High Byte", 0x08, 0x0E, TenBitHigh, 0, false},
    {"Remote Temp Low Byte", 0x10, 0, TenBitLow, 0, true},
    {"Remote Offset High Byte", 0x11, 0x11, TenBitHigh, 0, false},
    {"Remote Offset Low Byte", 0x12, 0x12, TenBitLow, 0, false},
    {"Remote High Limit,Low Byte", 0x13, 0x13, TenBitLow, 0, false},
    {"Remote Low Limit,Low Byte", 0x14, 0x14, TenBitLow, 0, false},
    {"Remote Therm Limit", 0x19, 0x19, PlainByte, 0x55, false},
    {"Local Therm Limit", 0x20, 0x20, PlainByte, 0x55, false},
    {"Therm Hysteresis", 0x21, 0x21, PlainByte, 0x0A, false},
    {"Consecutive Alert", 0x22, 0x22, PlainByte, 0x01, false},
    {"Manufacturer ID", 0xFE, 0, PlainByte, 0x41, true},
    {"Revision Code", 0xFF, 0, PlainByte, 0, true},
};

}  // namespace

void BuildRegTable() {
    for (int i = 0; i < RegCount; ++i) {
        const RegRow& row = Rows[i];
        RegEntry& entry = RegTable[i];
        entry.WriteAddr = row.writeAddr;
        entry.ReadAddr = row.readAddr;
        entry.Name = row.name;
        entry.BitNames = row.bitNames;
        entry.DefaultVal = row.defaultVal;
        entry.ReadOnly = row.readOnly;
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
    if (address == Chip::Reg::OneShotWrite) return true;
    for (const RegRow& row : Rows) {
        if (!row.readOnly && row.writeAddr == address) return true;
    }
    return false;
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
