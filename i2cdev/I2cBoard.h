#pragma once
// The board's two driver operations over a kernel I2C/SMBus adapter: the connect request
// opens the adapter, register requests become SMBus byte-data transfers at the address given.
#include "I2cBus.h"
#include "I2cSettings.h"
#include "Kernel.h"
#include "protocol/CallTrace.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <set>
#include <string>

namespace I2cDev {

class I2cBoard {
public:
    // The settings are taken once, when the library is loaded.
    I2cBoard(Kernel& kernel, I2cSettings settings);

    // There is no firmware for an adapter: succeeds and sends nothing.
    int16_t LoadFirmWare(const char* path);
    int16_t VendorIORequest(int16_t request, int32_t value, int32_t index, int16_t direction,
                            int16_t length, uint8_t* buffer);

private:
    int16_t Answer(int16_t request, int32_t value, int32_t index, int16_t direction, int16_t length,
                   uint8_t* buffer);
    int16_t Connect();
    std::unique_ptr<I2cBus> OpenNamedAdapter(std::string& reason);
    std::unique_ptr<I2cBus> FindAdapter(std::string& reason);
    // Searches for the chip's id; notes the addresses kernel drivers hold.
    bool ChipAnswersOn(I2cBus& bus, std::set<int>& held);
    int16_t Read(int address, int32_t index, uint8_t* buffer);
    // Follows the program's search for the chip by its id; when it ends without the chip and
    // addresses were passed over as held, says which and how to release them.
    void NoteSearch(int address, uint8_t id);
    int16_t Write(int address, int32_t index);
    // One traced transfer; notes the addresses that answer.
    int Transfer(I2cBus& bus, bool read, int address, uint8_t reg, uint8_t& byte);
    // Why a transfer with an address that has answered failed: the node, address, register
    // and the kernel's error.
    std::string TransferFailure(int address, uint8_t reg, const char* what, int result) const;
    // The reason DriverLastError gives, also written to standard error (each text once per run)
    // unless the program shows the reasons itself.
    void Say(const std::string& text);

    std::mutex mutex_;  // the program is single-threaded, but a library must not assume it
    Kernel& kernel_;
    I2cSettings settings_;
    BoardProtocol::CallTrace trace_;
    std::unique_ptr<I2cBus> bus_;
    std::set<int> answered_;  // addresses that have answered on the open adapter
    std::set<int> held_;      // never-answered addresses a kernel driver holds, read as empty
    bool chipFound_ = false;  // some address has given the chip's id
    std::set<std::string> said_;
};

}  // namespace I2cDev
