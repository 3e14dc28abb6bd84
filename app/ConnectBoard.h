#pragma once
// The connection sequence run while the splash window shows: firmware download, the pause
// for the board to enumerate, the connect request and the search for the chip.
#include <QString>
#include <functional>

class frmSplash;

namespace GeneralStuff {

// Returns only once the chip has been found (USBStuff::DeviceAddress set); every failure
// ends in the board failure path.
void ConnectBoard(frmSplash& splash, const std::function<void(const QString&)>& setStatusText);

constexpr int FirstCandidateAddress = 24;
constexpr int LastCandidateAddress = 78;
constexpr int ConnectAttempts = 20;

}  // namespace GeneralStuff
