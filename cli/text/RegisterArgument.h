#pragma once
// A register as the user names it on the command line: a name from the register table in any
// case ("status", "Local Temp High Limit"), or an address, 0x.. or decimal, from 0 to 255.
#include "cli/RegisterTarget.h"

#include <string>

// The register a read goes to; none, with the refusal, for a text that names none.
std::optional<RegisterTarget> ReadTarget(const std::string& text, std::string& refusal);
// The register a write goes to, at its write address. A register of the table is written at
// its write address whether it is named by name, by read address or by write address; an
// address outside the table is written as given. A read-only register is refused.
std::optional<RegisterTarget> WriteTarget(const std::string& text, std::string& refusal);

// The register's name from the table; "Unknown" for an address outside it, as the register
// map window says.
std::string TargetName(const RegisterTarget& target);
// "Local Temp High Limit (0x05)"; "0x0F" for an address outside the table.
std::string TargetText(const RegisterTarget& target);
