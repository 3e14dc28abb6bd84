#pragma once
// mark: a line of the user's in a run's events file, beside the monitor's own events.
#include "cli/CliRequest.h"

// Needs no board. Status 1, with the reason, when the file cannot be written.
CliAnswer RunMark(const CliRequest& request);
