#include "support/ScriptedDriver.h"

#include "protocol/BoardProtocol.h"
#include "registers/RegMapStuff.h"

using namespace BoardProtocol;

ScriptedDriver::ScriptedDriver() { FillChipDefaults(chips[0x4C]); }

int16_t ScriptedDriver::LoadFirmWare(const char* path) {
    firmwarePaths.emplace_back(path);
    return firmwareResult;
}

int16_t ScriptedDriver::VendorIORequest(int16_t request, int32_t value, int32_t index,
                                        int16_t direction, int16_t length, uint8_t* buffer) {
    DriverRequest r{request, value, index, direction, length};
    log.push_back(r);
    if (onRequest) onRequest(r);
    if (failAfter >= 0 && static_cast<int>(log.size()) > failAfter) return 1;
    switch (request) {
    case kConnect:
        if (connectRefusals > 0) {
            --connectRefusals;
            return 1;
        }
        return 0;
    case kStatusRead:
        buffer[0] = static_cast<uint8_t>(statusByte);
        return statusResult;
    case kRegisterAccess: {
        auto chip = chips.find(value);
        if (direction == kDirectionIn) {
            if (chip == chips.end()) {
                buffer[0] = static_cast<uint8_t>(unansweredByte);
                return 0;
            }
            auto reg = chip->second.find(index);
            buffer[0] = static_cast<uint8_t>(reg == chip->second.end() ? 0 : reg->second);
            return 0;
        }
        if (chip != chips.end()) {
            // Like the chip: the registers read at 0x03..0x08 are written at 0x09..0x0E.
            int reg = WrittenRegister(index);
            if (reg >= 0x09 && reg <= 0x0E) reg -= 6;
            chip->second[reg] = WrittenData(index);
        }
        return 0;
    }
    default:
        return 1;
    }
}

std::vector<DriverRequest> ScriptedDriver::RegisterTraffic() const {
    std::vector<DriverRequest> out;
    for (const auto& r : log)
        if (r.request == kRegisterAccess) out.push_back(r);
    return out;
}

std::vector<std::pair<int, int>> ScriptedDriver::Writes() const {
    std::vector<std::pair<int, int>> out;
    for (const auto& r : log)
        if (r.request == kRegisterAccess && r.direction == kDirectionOut)
            out.emplace_back(WrittenRegister(r.index), WrittenData(r.index));
    return out;
}

std::vector<int> ScriptedDriver::Reads() const {
    std::vector<int> out;
    for (const auto& r : log)
        if (r.request == kRegisterAccess && r.direction == kDirectionIn) out.push_back(r.index);
    return out;
}

void FillChipDefaults(std::map<int, int>& chip) {
    RegMapStuff::BuildRegTable();
    for (const RegMapStuff::RegEntry& entry : RegMapStuff::RegTable) chip[entry.ReadAddr] = entry.DefaultVal;
}
