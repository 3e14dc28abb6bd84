#pragma once
// The board's five failures, by name, and the message the user reads for each.
#include <cstdint>
#include <string>

namespace USBStuff {

namespace BoardError {
enum Code : int16_t {
    FirmwareDownload = 0,       // the firmware download failed
    SmbusEnable = 1,            // never raised
    InitialConnection = 2,      // the board does not answer the connect request, or no chip is found
    CommunicationsInterrupted = 3,  // a register read or write failed
    DeviceNotFound = 4,         // never raised
};
}  // namespace BoardError

// The message for a code; an unknown code reads as an interrupted transfer.
std::string BoardErrorMessage(int16_t code);

}  // namespace USBStuff
