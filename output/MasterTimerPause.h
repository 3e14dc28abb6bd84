#pragma once
// Switches the master timer off for the life of the object and on again on every way out,
// so no monitoring tick interleaves with the register traffic of a save or recall.
#include "state/GeneralStuff.h"

class MasterTimerPause {
public:
    MasterTimerPause() { GeneralStuff::SetMasterTimerEnabled(false); }
    ~MasterTimerPause() { GeneralStuff::SetMasterTimerEnabled(true); }
    MasterTimerPause(const MasterTimerPause&) = delete;
    MasterTimerPause& operator=(const MasterTimerPause&) = delete;
};
