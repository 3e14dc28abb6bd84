#pragma once
// The search for the chip when serve was given no address, run at scrapes until it finds one:
// firmware, one connect request, then the id at every candidate address. It never waits and
// never ends the process; a failed attempt waits for the next one, each pause twice the one
// before, up to 5 s, so a board that is not there costs the scrapes almost nothing.
#include <cstdint>
#include <optional>
#include <string>

class ChipSearch {
public:
    // Once the attempt is due: one attempt, the chip's address when it answers. Before then, none.
    std::optional<int32_t> Attempt(double now);
    // The step the last attempt failed at ("firmware", "connect", "transfer", "no chip"), and
    // why in one line ("connect: ...").
    const std::string& Step() const { return step_; }
    const std::string& Reason() const { return reason_; }
    bool Due(double now) const { return now >= nextAttempt_; }

private:
    std::optional<int32_t> Search();
    void Fail(const char* step, const std::string& why);

    double nextAttempt_ = 0;
    double pause_ = 0.25;
    std::string step_;
    std::string reason_;
};
