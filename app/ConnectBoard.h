#pragma once
// The connection sequence run while the splash window shows: firmware download, the pause
// for the board to enumerate, the connect request and the search for the chip.
#include <QString>
#include <functional>

class frmSplash;

namespace GeneralStuff {

// Returns only once the chip has been found (USBStuff::DeviceAddress set); every failure
// ends in the board failure path. With an address chosen on the command line only that one
// is tried.
void ConnectBoard(frmSplash& splash, const std::function<void(const QString&)>& setStatusText);

}  // namespace GeneralStuff
