#include "instruments/LineLink.h"

namespace Instruments {

std::unique_ptr<LineLink> MakeTcpLineLink(const std::string&, uint16_t, int32_t, std::string& refusal) {
    refusal = "SCPI over TCP is not part of this build";
    return nullptr;
}

}  // namespace Instruments
