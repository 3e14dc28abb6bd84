#pragma once
// One chip on the opened board, at its bus address. Its reads and writes return their outcome
// instead of ending the process, so a caller can report, retry or carry on through a glitch.
#include "board/BoardDriver.h"
#include "board/BoardError.h"

#include <cstdint>
#include <string>

namespace USBStuff {

// A transfer's outcome: the byte read (or written) on success; else the board's error code
// and the driver's own words for why, where it has any.
struct ChipTransfer {
    bool ok = false;
    int32_t value = 0;
    BoardError::Code error = BoardError::CommunicationsInterrupted;
    std::string reason;
    explicit operator bool() const { return ok; }
};

class ChipOnBoard {
public:
    ChipOnBoard(BoardDriver* driver, int32_t address) : driver_(driver), address_(address) {}

    int32_t Address() const { return address_; }
    // One register read; the value is 0 to 255.
    ChipTransfer Read(int32_t registerAddress) const;
    // One register write; data above 255 is sent, and reported, as 255.
    ChipTransfer Write(int32_t registerAddress, int32_t data) const;

private:
    ChipTransfer Failed() const;

    BoardDriver* driver_;  // not owned; null fails every transfer
    int32_t address_;
};

}  // namespace USBStuff
