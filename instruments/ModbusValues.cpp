#include "instruments/ModbusValues.h"

#include "instruments/InstrumentTexts.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace Instruments {

namespace {

bool Swapped(ModbusFormat format) { return format == ModbusFormat::Float32Swapped; }

}  // namespace

int ModbusWords(ModbusFormat format) { return format == ModbusFormat::Int16 ? 1 : 2; }

std::optional<std::vector<uint16_t>> EncodeModbusValue(double celsius, ModbusFormat format, double scale,
                                                       std::string& refusal) {
    if (format == ModbusFormat::Int16) {
        // Halves to even, as every number the program rounds.
        const double held = std::nearbyint(celsius * scale);
        if (!(held >= INT16_MIN && held <= INT16_MAX)) {
            refusal = SetpointText(celsius) + " °C does not fit a 16-bit register at scale " + SetpointText(scale);
            return std::nullopt;
        }
        return std::vector<uint16_t>{static_cast<uint16_t>(static_cast<int16_t>(held))};
    }
    const auto value = static_cast<float>(celsius);
    if (!std::isfinite(value)) {
        refusal = SetpointText(celsius) + " °C does not fit a 32-bit float";
        return std::nullopt;
    }
    uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    const auto high = static_cast<uint16_t>(bits >> 16), low = static_cast<uint16_t>(bits & 0xFFFF);
    return Swapped(format) ? std::vector<uint16_t>{low, high} : std::vector<uint16_t>{high, low};
}

std::optional<double> DecodeModbusValue(const std::vector<uint16_t>& words, ModbusFormat format, double scale) {
    if (words.size() != static_cast<size_t>(ModbusWords(format))) return std::nullopt;
    if (format == ModbusFormat::Int16) return static_cast<int16_t>(words[0]) / scale;
    const uint32_t high = Swapped(format) ? words[1] : words[0], low = Swapped(format) ? words[0] : words[1];
    const uint32_t bits = high << 16 | low;
    float value = 0;
    std::memcpy(&value, &bits, sizeof value);
    if (!std::isfinite(value)) return std::nullopt;
    // The float's shortest text read as a double: 25.3 as the controller meant it, not 25.2999992.
    char buffer[32];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, value);
    double celsius = 0;
    std::from_chars(buffer, written.ptr, celsius);
    return celsius;
}

}  // namespace Instruments
