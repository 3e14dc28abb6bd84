#include "board/ChipOnBoard.h"

#include "protocol/BoardProtocol.h"

#include <algorithm>
#include <array>

namespace USBStuff {

using namespace BoardProtocol;

ChipTransfer ChipOnBoard::Failed() const {
    ChipTransfer failed;
    if (driver_) failed.reason = driver_->LastError();
    return failed;
}

ChipTransfer ChipOnBoard::Read(int32_t registerAddress) const {
    if (!driver_) return Failed();
    std::array<uint8_t, 65> buffer{};
    if (driver_->VendorIORequest(kRegisterAccess, address_, registerAddress, kDirectionIn, kReadLength, buffer.data()) != 0)
        return Failed();
    ChipTransfer read;
    read.ok = true;
    read.value = buffer[0];
    return read;
}

ChipTransfer ChipOnBoard::Write(int32_t registerAddress, int32_t data) const {
    if (!driver_) return Failed();
    data = std::min(data, 255);
    uint8_t scratch = 0;
    if (driver_->VendorIORequest(kRegisterAccess, address_, WriteIndex(registerAddress, data), kDirectionOut, 0,
                                 &scratch) != 0)
        return Failed();
    ChipTransfer written;
    written.ok = true;
    written.value = data;
    return written;
}

}  // namespace USBStuff
