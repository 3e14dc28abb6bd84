#include "board/SystemErrorText.h"

#include <windows.h>

namespace USBStuff {

std::string SystemErrorText(unsigned long code) {
    char text[512] = {};
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text, sizeof text,
                   nullptr);
    std::string reason = text;
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' || reason.back() == ' ')) reason.pop_back();
    return reason.empty() ? "system error " + std::to_string(code) : reason;
}

}  // namespace USBStuff
