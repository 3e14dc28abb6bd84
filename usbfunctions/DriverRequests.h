#pragma once
// The vendor requests the program sends through VendorIORequest, as every driver library in
// this project answers them.
#include <cstdint>

namespace DriverRequests {

constexpr int16_t kStatusRead = 220;
constexpr int16_t kConnect = 221;
constexpr int16_t kRegisterAccess = 222;
constexpr int32_t kConnectValue = 48;
constexpr int32_t kConnectIndex = 51;
constexpr int16_t kDirectionOut = 0;
constexpr int16_t kDirectionIn = 1;

}  // namespace DriverRequests
