#include "cli/commands/ChipTransfers.h"

#include "board/USBStuff.h"

int ReadChip(int32_t registerAddress) {
    const USBStuff::ChipTransfer read = USBStuff::OpenedChip().Read(registerAddress);
    if (!read) USBStuff::ReportBoardFailure(read);
    return read.value;
}

int32_t WriteChip(int32_t registerAddress, int32_t data) {
    const USBStuff::ChipTransfer written = USBStuff::OpenedChip().Write(registerAddress, data);
    if (!written) USBStuff::ReportBoardFailure(written);
    USBStuff::AfterWrite(registerAddress);
    return written.value;
}
