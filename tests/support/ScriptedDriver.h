#pragma once
// A fake driver library for tests: answers from a register map per chip address and
// records every request.
#include "board/BoardDriver.h"

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

struct DriverRequest {
    int16_t request = 0;
    int32_t value = 0;
    int32_t index = 0;
    int16_t direction = 0;
    int16_t length = 0;
    bool operator==(const DriverRequest& o) const {
        return request == o.request && value == o.value && index == o.index &&
               direction == o.direction && length == o.length;
    }
};

class ScriptedDriver : public USBStuff::BoardDriver {
public:
    ScriptedDriver();

    int16_t LoadFirmWare(const char* path) override;
    int16_t VendorIORequest(int16_t request, int32_t value, int32_t index,
                            int16_t direction, int16_t length, uint8_t* buffer) override;

    // Registers of the chip at an address (the chip at 0x4C answers by default).
    std::map<int, int>& Chip(int address = 0x4C) { return chips[address]; }
    // Register reads (request 222 direction 1) and writes (direction 0) only.
    std::vector<DriverRequest> RegisterTraffic() const;
    // Writes as (register, data) pairs, in order.
    std::vector<std::pair<int, int>> Writes() const;
    // Read register addresses, in order.
    std::vector<int> Reads() const;
    void ClearLog() { log.clear(); }

    std::map<int, std::map<int, int>> chips;   // address -> register -> byte
    std::vector<DriverRequest> log;            // every request, in order
    std::vector<std::string> firmwarePaths;    // every LoadFirmWare path
    int16_t firmwareResult = 0;
    int connectRefusals = 0;                    // connect requests refused before one succeeds
    int failAfter = -1;                         // requests answered before every one fails
    int statusByte = 0;                         // what request 220 delivers
    int16_t statusResult = 0;
    int unansweredByte = 0xFF;                  // a read where no chip answers
    // Called for every request before it is answered; may change the answer.
    std::function<void(const DriverRequest&)> onRequest;
};

// Every register of the chip table at its power-on default, at its read address.
void FillChipDefaults(std::map<int, int>& chip);
