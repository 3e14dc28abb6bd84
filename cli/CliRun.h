#pragma once
// Runs a checked request on the board the driver library reaches: first what can be refused
// without the board (a file that cannot be opened), then the start, then the command.
#include "cli/CliRequest.h"

CliAnswer RunRequest(const CliRequest& request);
