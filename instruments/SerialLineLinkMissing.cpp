#include "instruments/LineLink.h"

namespace Instruments {

std::unique_ptr<LineLink> MakeSerialLineLink(const std::string&, int32_t, int32_t, std::string& refusal) {
    refusal = "serial lines are not part of this build";
    return nullptr;
}

}  // namespace Instruments
