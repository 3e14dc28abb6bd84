#pragma once
// Switches the master timer off for the life of the object and back to what it was on every
// way out, so no monitoring tick interleaves with the register traffic of a save or recall.
#include "state/GeneralStuff.h"

class MasterTimerPause {
public:
    MasterTimerPause() : wasEnabled_(GeneralStuff::MasterTimerEnabled()) { GeneralStuff::SetMasterTimerEnabled(false); }
    ~MasterTimerPause() {
        if (wasEnabled_) GeneralStuff::SetMasterTimerEnabled(true);
    }
    MasterTimerPause(const MasterTimerPause&) = delete;
    MasterTimerPause& operator=(const MasterTimerPause&) = delete;

private:
    const bool wasEnabled_;
};
