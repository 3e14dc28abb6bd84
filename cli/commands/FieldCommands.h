#pragma once
// The commands on the chip's fields: get, set and apply. Values are in the fields' units
// (°C, Hz, on/off) and every value is checked before anything is written.
#include "cli/CliRequest.h"

// On the started board: each field asked for, or every field, as FIELD=VALUE lines or one
// JSON object.
CliAnswer RunGet(const CliRequest& request);
// Starts the board, checks the settings in the range mode the chip will be in, writes them,
// reads them back and shows them as get does. A read-back that differs is status 1.
CliAnswer RunSet(const CliRequest& request);
// The same with the settings of a file, read and checked before the board is started; with
// check, the chip is compared with the file and nothing is written.
CliAnswer RunApply(const CliRequest& request);
