#include "cli/text/HexByte.h"

#include <cstdio>

std::string HexByte(int value) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", static_cast<unsigned>(value) & 0xFFu);
    return text;
}
