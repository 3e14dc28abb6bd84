#pragma once
// The chip's register table and the two shadow flags that follow its Configuration register.
#include "chip/RegisterDescriptions.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace RegMapStuff {

struct RegEntry {
    int32_t WriteAddr = 0;     // 0 for a read-only register
    int32_t ReadAddr = 0;      // the key of every lookup by address
    std::string Name;
    std::string Description;   // a copy of Name
    std::string BitNames;      // eight labels joined by ':', bit 7 first
    int16_t DefaultVal = 0;
    bool ReadOnly = false;
};

constexpr int RegCount = Chip::RegisterCount;
extern std::array<RegEntry, RegCount> RegTable;

// Fills RegTable from the chip's description, in its order.
void BuildRegTable();

// The first index whose ReadAddr equals the address; none for an address not in the table.
std::optional<int> FindByReadAddr(int32_t address);

// True for an address the chip takes writes at: a writable register's write address, or the
// one-shot register. Needs no table built.
bool IsWriteAddress(int32_t address);

// The eight labels of an entry's BitNames, bit 7 first.
std::array<std::string, 8> SplitBitNames(const std::string& bitNames);

// Shadow of the Configuration register, as last read from the chip.
extern bool ExtendedRange;   // bit 2, TRNG
extern bool Standby;         // bit 6, STBY

// Sets both flags from a Configuration register byte.
void SetShadowFromConfiguration(int32_t configuration);

}  // namespace RegMapStuff
