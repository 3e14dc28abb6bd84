#include "files/JsonString.h"

#include <cstdio>

std::string JsonString(const std::string& utf8) {
    std::string text = "\"";
    for (const char c : utf8) {
        switch (c) {
        case '"': text += "\\\""; break;
        case '\\': text += "\\\\"; break;
        case '\n': text += "\\n"; break;
        case '\r': text += "\\r"; break;
        case '\t': text += "\\t"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
                text += escaped;
            } else {
                text += c;
            }
        }
    }
    return text + "\"";
}
