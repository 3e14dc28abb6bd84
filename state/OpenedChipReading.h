#pragma once
// A reading of the opened chip on the windows program's register path: a failed transfer goes
// to the board's failure path and ends the program, as a failed ReadRegister does.
#include "board/USBStuff.h"

namespace GeneralStuff {

template <typename ReadFunction>
auto ReadOpenedChip(ReadFunction read) {
    if (USBStuff::FailureReported() || !USBStuff::Driver())
        USBStuff::ReportBoardError(USBStuff::BoardError::CommunicationsInterrupted);
    USBStuff::ChipTransfer failed;
    auto value = read(USBStuff::OpenedChip(), failed);
    if (!value) USBStuff::ReportBoardFailure(failed);
    return *value;
}

}  // namespace GeneralStuff
