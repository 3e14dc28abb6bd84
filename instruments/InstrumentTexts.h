#pragma once
// What the drivers send and what their failures say, in one form for every driver: numbers
// always with a point, never in the locale's form.
#include <cstdint>
#include <string>

namespace Instruments {

// The shortest decimal text that gives the setpoint back: "25", "-40", "12.5", "0.3".
std::string SetpointText(double celsius);
// The command with every "{setpoint}" replaced by the setpoint's text.
std::string WithSetpoint(const std::string& command, double celsius);
// "no answer within 2 s", "no answer within 0.5 s".
std::string NoAnswerWithin(int32_t timeoutMs);
// "the reply \"ERR\" is no temperature"
std::string NoTemperatureIn(const std::string& reply);

}  // namespace Instruments
