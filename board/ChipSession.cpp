#include "board/ChipSession.h"

#include "board/USBStuff.h"
#include "board/ChipIdentity.h"

#include <algorithm>

namespace USBStuff {

namespace {

std::string StepReason(const char* step, const std::string& why) {
    return std::string(step) + ": " + (why.empty() ? "no reason given" : why);
}

std::string DriverReason() { return Driver() ? Driver()->LastError() : std::string("no driver library"); }

}  // namespace

ChipOnBoard ChipSession::Chip() const { return ChipOnBoard(Driver(), address_); }

ChipSession::Change ChipSession::Failed(const ChipTransfer& failed, double now) {
    reason_ = StepReason("transfer", failed.reason);
    if (!connected_) return Change::None;
    connected_ = false;
    lostSince_ = now;
    pause_ = FirstPause;
    nextAttempt_ = now;  // a loose contact may answer again at once
    return Change::Lost;
}

bool ChipSession::Attempt() {
    if (DownloadFirmware() < 0) {
        reason_ = StepReason("firmware", DriverReason());
        return false;
    }
    if (ConnectRequest() != 0) {
        reason_ = StepReason("connect", DriverReason());
        return false;
    }
    ChipTransfer id;
    switch (CheckIdentity(Chip(), id)) {
    case Identity::Ours:
        return true;
    case Identity::Other:
        reason_ = StepReason("no chip", OtherChipReason);
        return false;
    case Identity::Unread:
        break;
    }
    reason_ = StepReason("transfer", id.reason);
    return false;
}

void ChipSession::Retry(double now) {
    nextAttempt_ = now + pause_;
    pause_ = std::min(pause_ * 2, LongestPause);
}

ChipSession::Change ChipSession::Reconnect(double now) {
    if (connected_ || now < nextAttempt_) return Change::None;
    if (!Attempt()) {
        Retry(now);
        return Change::None;
    }
    connected_ = true;
    reason_.clear();
    return Change::Back;
}

}  // namespace USBStuff
