#include "board/BoardError.h"

namespace USBStuff {

std::string BoardErrorMessage(int16_t code) {
    switch (code) {
    case BoardError::FirmwareDownload: return "Firmware failed to download - Check USB connections";
    case BoardError::SmbusEnable: return "SMBus enable error  - Check USB connections";
    case BoardError::InitialConnection: return "Initial Connection Failed - Check USB connections";
    case BoardError::CommunicationsInterrupted: return "Communications Interrupted - Check USB connections";
    case BoardError::DeviceNotFound: return "Device not found - Check USNB connections";
    default: return BoardErrorMessage(BoardError::CommunicationsInterrupted);
    }
}

}  // namespace USBStuff
