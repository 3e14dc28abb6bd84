#pragma once
// monitor: one reading per interval, each written whole to the output as it is taken, until
// the duration or the count is reached, or Ctrl+C or SIGTERM ends it after the line in hand.
#include "cli/CliRequest.h"

class LineOutput;

// The stop signals must be installed (InstallStopSignals) before the board starts.
CliAnswer RunMonitor(const CliRequest& request, LineOutput& output);
