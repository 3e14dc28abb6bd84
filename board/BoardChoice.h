#pragma once
// What the user chose with --driver, --bus and --address, the options both programs share:
// which driver library is loaded, which adapter it is told to use and where the chip is.
#include "protocol/BoardProtocol.h"

#include <cstdint>
#include <optional>
#include <string>

namespace USBStuff {

struct BoardChoice {
    std::string libraryPath;         // absolute; empty for the library in the program's folder
    std::string bus;                 // the i2c-dev library's adapter; empty for its own choice
    std::optional<int32_t> address;  // the chip's address; none to search for it
};

// The 7-bit addresses --address takes: the rest are reserved on the bus.
constexpr int32_t FirstBusAddress = BoardProtocol::kFirstBusAddress;
constexpr int32_t LastBusAddress = BoardProtocol::kLastBusAddress;

// The driver names --driver knows: the simulated board and the i2c-dev library.
inline constexpr const char* SimulatedDriverName = "sim";
inline constexpr const char* I2cDevDriverName = "i2c-dev";

// The library a driver name stands for, as the build and the package lay them out around the
// program's folder; empty for a name that is neither. The first file that exists is taken.
std::string NamedDriverLibrary(const std::string& name, const std::string& programFolder);

// Loads the chosen library (or the one in the program's folder) and makes it the driver that
// every request goes to; hands the bus to the i2c-dev library first, which reads it when it is
// loaded. A library that cannot be loaded goes to the failure path.
void LoadDriverLibrary(const BoardChoice& choice, const std::string& programFolder);
// The choice the library was loaded with; an empty choice before.
const BoardChoice& ChosenBoard();

// The /dev/i2c-N node this process holds open (the i2c-dev library's adapter once it has
// connected); empty when it holds none.
std::string OpenI2cAdapter();

// Names the board in use: "Simulated board", "i2c-dev /dev/i2c-1, 4Ch", or for any other
// library its file and the chip's address.
std::string BoardDescription(const std::string& programFolder, int32_t deviceAddress);

}  // namespace USBStuff
