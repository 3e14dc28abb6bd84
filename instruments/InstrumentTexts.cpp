#include "instruments/InstrumentTexts.h"

#include <charconv>

namespace Instruments {

std::string SetpointText(double celsius) {
    if (celsius == 0) celsius = 0;  // no "-0"
    // Fifteen significant digits drop what a step computed in binary adds (0.30000000000000004).
    char buffer[32];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, celsius, std::chars_format::general, 15);
    return std::string(buffer, written.ptr);
}

std::string WithSetpoint(const std::string& command, double celsius) {
    static const std::string placeholder = "{setpoint}";
    const std::string value = SetpointText(celsius);
    std::string text = command;
    for (size_t at = text.find(placeholder); at != std::string::npos; at = text.find(placeholder, at + value.size()))
        text.replace(at, placeholder.size(), value);
    return text;
}

std::string NoAnswerWithin(int32_t timeoutMs) { return "no answer within " + SetpointText(timeoutMs / 1000.0) + " s"; }

std::string NoTemperatureIn(const std::string& reply) { return "the reply \"" + reply + "\" is no temperature"; }

}  // namespace Instruments
