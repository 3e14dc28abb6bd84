#include "cli/serve/ChipSearch.h"

#include "board/BoardStart.h"
#include "board/ChipOnBoard.h"
#include "board/ChipSession.h"
#include "board/USBStuff.h"
#include "chip/ChipRegisters.h"

#include <algorithm>

namespace {

std::string DriverReason() {
    return USBStuff::Driver() ? USBStuff::Driver()->LastError() : std::string("no driver library");
}

}  // namespace

void ChipSearch::Fail(const char* step, const std::string& why) {
    step_ = step;
    reason_ = std::string(step) + ": " + (why.empty() ? "no reason given" : why);
}

std::optional<int32_t> ChipSearch::Search() {
    if (USBStuff::DownloadFirmware() < 0) {
        Fail("firmware", DriverReason());
        return std::nullopt;
    }
    if (USBStuff::ConnectRequest() != 0) {
        Fail("connect", DriverReason());
        return std::nullopt;
    }
    for (const int32_t address : USBStuff::CandidateAddresses(std::nullopt)) {
        const USBStuff::ChipTransfer id = USBStuff::ChipOnBoard(USBStuff::Driver(), address).Read(Chip::Reg::ManufacturerId.read);
        if (!id) {
            Fail("transfer", id.reason);
            return std::nullopt;
        }
        if (id.value == Chip::ManufacturerId) return address;
    }
    Fail("no chip", "no chip's id answers at any address searched");
    return std::nullopt;
}

std::optional<int32_t> ChipSearch::Attempt(double now) {
    if (!Due(now)) return std::nullopt;
    const auto found = Search();
    if (!found) {
        nextAttempt_ = now + pause_;
        pause_ = std::min(pause_ * 2, USBStuff::ChipSession::LongestPause);
    }
    return found;
}
