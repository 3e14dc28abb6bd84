#pragma once
// The command line's register reads and writes, on the chip found at start. A failed transfer
// is presented with the driver's reason and ends the run, as every board failure does here.
#include <cstdint>

// The byte at a register address, 0 to 255.
int ReadChip(int32_t registerAddress);
// Writes the data (above 255 as 255) and returns what was written.
int32_t WriteChip(int32_t registerAddress, int32_t data);
