#pragma once
// save and recall: the same .sav bytes, the same checks and the same messages as the save and
// recall windows. A recall's file is checked before the board starts, so a file that cannot be
// recalled sends nothing.
#include "cli/CliRequest.h"

// On the started board.
CliAnswer RunSave(const CliRequest& request);
// Checks the file, starts the board, writes the file's registers.
CliAnswer RunRecall(const CliRequest& request);
