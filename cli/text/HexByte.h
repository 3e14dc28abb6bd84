#pragma once
// A byte as the command line shows it.
#include <string>

// "0x55"
std::string HexByte(int value);
