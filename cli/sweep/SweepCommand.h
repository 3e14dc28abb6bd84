#pragma once
// sweep: steps the chamber through the plan's setpoints, records the chip against the
// reference at each, and tells which steps settled and passed; with fit-offset, the remote
// offset that best removes the remote error, and with write-offset, that offset written and
// checked at one more step. The plan, the outputs and a resume are checked before anything is
// sent to the chip or the chamber.
#include "cli/CliRequest.h"

CliAnswer RunSweep(const CliRequest& request);
