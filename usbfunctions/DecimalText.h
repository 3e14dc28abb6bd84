#pragma once
// Decimal numbers in the settings and the profile, read with a point whatever the locale the
// loading program set.
#include <optional>
#include <string_view>

namespace UsbSim {

// The finite number that is the whole text, blanks around it allowed.
std::optional<double> ParseDecimal(std::string_view text);

}  // namespace UsbSim
