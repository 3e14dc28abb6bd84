#pragma once
// How a chamber controller holds a temperature in its 16-bit holding registers.
#include "instruments/InstrumentSettings.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace Instruments {

// How many registers one value takes: two for a float, one for an int16.
int ModbusWords(ModbusFormat format);
// The registers for a value, high word first unless swapped; an int16 holds value × scale,
// rounded. None, with the reason, for a value the format cannot hold.
std::optional<std::vector<uint16_t>> EncodeModbusValue(double celsius, ModbusFormat format, double scale,
                                                       std::string& refusal);
// The value the registers hold; none for a float that is no number or infinite.
std::optional<double> DecodeModbusValue(const std::vector<uint16_t>& words, ModbusFormat format, double scale);

}  // namespace Instruments
