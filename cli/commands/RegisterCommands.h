#pragma once
// The commands on single registers and the whole map: scan, temps, read, write and dump. Each
// runs on the started board and gives its answer as text or JSON.
#include "cli/CliRequest.h"

CliAnswer RunScan(const CliRequest& request);
CliAnswer RunTemps(const CliRequest& request);
CliAnswer RunRead(const CliRequest& request);
CliAnswer RunWrite(const CliRequest& request);
CliAnswer RunDump(const CliRequest& request);
