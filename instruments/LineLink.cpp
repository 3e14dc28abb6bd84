#include "instruments/LineLink.h"

#include <charconv>

namespace Instruments {

namespace {

// The whole text as a positive number, or 0.
int64_t PositiveNumber(const std::string& text) {
    int64_t value = 0;
    const auto parsed = std::from_chars(text.data(), text.data() + text.size(), value);
    if (parsed.ec != std::errc() || parsed.ptr != text.data() + text.size() || value <= 0) return 0;
    return value;
}

// "[::1]" names the host "::1": the brackets only keep its colons apart from the port's.
std::string HostOf(const std::string& text) {
    if (text.size() > 2 && text.front() == '[' && text.back() == ']') return text.substr(1, text.size() - 2);
    return text;
}

}  // namespace

std::unique_ptr<LineLink> MakeLineLink(const std::string& address, int32_t timeoutMs, std::string& refusal) {
    const size_t kindEnd = address.find(':');
    const size_t numberStart = address.rfind(':') + 1;
    if (kindEnd != std::string::npos && numberStart > kindEnd + 2) {
        const std::string kind = address.substr(0, kindEnd);
        const std::string place = address.substr(kindEnd + 1, numberStart - kindEnd - 2);
        const int64_t number = PositiveNumber(address.substr(numberStart));
        if (kind == "tcp" && number > 0 && number <= 65535)
            return MakeTcpLineLink(HostOf(place), static_cast<uint16_t>(number), timeoutMs, refusal);
        if (kind == "serial" && number > 0 && number <= INT32_MAX)
            return MakeSerialLineLink(place, static_cast<int32_t>(number), timeoutMs, refusal);
    }
    refusal = "the address \"" + address + "\" is neither \"tcp:HOST:PORT\" nor \"serial:DEVICE:BAUD\"";
    return nullptr;
}

}  // namespace Instruments
