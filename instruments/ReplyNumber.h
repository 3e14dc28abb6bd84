#pragma once
// The temperature in an instrument's reply or a command's output. Read the same way in every
// locale; "nan", "inf" and numbers beyond a double are none.
#include <optional>
#include <string>

namespace Instruments {

// The number the reply starts with, blanks and a unit after it allowed: "+2.53E+01", " 25.3 C".
std::optional<double> LeadingNumber(const std::string& reply);
// The first number anywhere in the text: "T = -40.5 C" gives -40.5.
std::optional<double> FirstNumber(const std::string& text);

}  // namespace Instruments
