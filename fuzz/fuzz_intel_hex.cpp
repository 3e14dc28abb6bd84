// The firmware image check on any bytes. The answer does not depend on the line ends, and
// nothing may follow the end-of-file record of an image it takes.
#include "FuzzCheck.h"
#include "usbfunctions/IntelHexCheck.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const bool wellFormed = UsbSim::IsWellFormedIntelHex(text);

    std::string crlf;
    for (char c : text) {
        if (c == '\n') crlf += '\r';
        crlf += c;
    }
    FUZZ_CHECK(UsbSim::IsWellFormedIntelHex(crlf) == wellFormed);
    if (wellFormed) FUZZ_CHECK(!UsbSim::IsWellFormedIntelHex(text + "\n:00000001FF\n"));
    return 0;
}
