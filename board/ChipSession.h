#pragma once
// One chip kept on line through glitches, for the runs that must not end on a failed transfer
// (monitor --keep-going, serve). A failed transfer marks the chip lost; reconnect attempts then
// follow (firmware, connect, the id at the chip's address), each pause twice the one before,
// up to 5 s. Times are seconds on the caller's own clock, so the session never sleeps and never
// ends the process: the caller decides when to wait, and what a long loss means.
// Not thread-safe: callers that share one session serialise its use.
#include "board/ChipOnBoard.h"

#include <cstdint>
#include <string>

namespace USBStuff {

class ChipSession {
public:
    // What a call changed: nothing, the chip was lost, or it answers again.
    enum class Change { None, Lost, Back };

    // The pause before the first attempt, and the longest pause.
    static constexpr double FirstPause = 0.25;
    static constexpr double LongestPause = 5.0;

    // A chip the start found: connected.
    explicit ChipSession(int32_t address) : address_(address) {}

    int32_t Address() const { return address_; }
    bool Connected() const { return connected_; }
    // The chip on the driver in use, for the reads and writes of a connected session.
    ChipOnBoard Chip() const;

    // A transfer of the chip failed at the moment: Lost the first time, with its reason kept.
    Change Failed(const ChipTransfer& failed, double now);
    // While lost: when the loss began, and when the next reconnect attempt is due.
    double LostSince() const { return lostSince_; }
    double NextAttempt() const { return nextAttempt_; }
    // Why the chip was lost, or why the last attempt failed: "connect: ..." names the step.
    const std::string& Reason() const { return reason_; }

    // While lost, once the next attempt is due: one attempt. Back when the chip answers; else
    // None, and the next attempt waits longer. Does nothing while connected or before it is due.
    Change Reconnect(double now);

private:
    bool Attempt();
    void Retry(double now);

    int32_t address_;
    bool connected_ = true;
    double lostSince_ = 0;
    double nextAttempt_ = 0;
    double pause_ = FirstPause;
    std::string reason_;
};

}  // namespace USBStuff
