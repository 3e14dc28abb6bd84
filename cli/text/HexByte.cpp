#include "cli/text/HexByte.h"

#include "registers/NumberText.h"

std::string HexByte(int value) { return "0x" + GeneralStuff::HexByteText(value); }
