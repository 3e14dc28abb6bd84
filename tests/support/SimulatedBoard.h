#pragma once
// The built simulated board, loaded through the program's own driver access from a private
// copy, so that each test starts with a board that has never run and a chip of its own, under
// its own settings.
#include "board/LibraryDriver.h"

#include <vector>
#include <memory>
#include <string>
#include <utility>

class SimulatedBoard {
public:
    using Settings = std::vector<std::pair<std::string, std::string>>;
    // Loads the board, downloads the firmware, connects, and makes it the program's driver
    // with the chip at 0x4C as DeviceAddress.
    explicit SimulatedBoard(Settings settings = {});
    ~SimulatedBoard();

    USBStuff::LibraryDriver& Driver() { return *driver_; }

private:
    std::string folder_;
    std::unique_ptr<USBStuff::LibraryDriver> driver_;
};
