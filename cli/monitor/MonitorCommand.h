#pragma once
// monitor and watch: one reading per interval until the duration or the count is reached, or
// a stop signal ends it after the line in hand. Each reading is written whole to the readings'
// output as it is taken (monitor); each event to the events' output. With keep-going, a failed
// reading loses the board for a while instead of ending the run, and the loss and the return
// are told on standard error too.
#include "cli/CliRequest.h"

class LineOutput;

struct MonitorOutputs {
    LineOutput* readings = nullptr;  // none: watch
    LineOutput* events = nullptr;    // none: no events file
    bool eventsAsJson = true;        // else text lines
};

// The stop signals must be installed (InstallStopSignals) before the board starts.
CliAnswer RunMonitor(const CliRequest& request, const MonitorOutputs& outputs);
