#pragma once
// The command-line program's start: the windows program's connection sequence without a
// splash to pace it, and its failure path, which names the step that failed on standard error
// and ends with status 1.
#include "board/BoardChoice.h"
#include "board/USBStuff.h"

#include <string>

// Firmware download; the connect request at once and again every 200 ms for as long as the
// windows program waits in all; then the chip: at the chosen address alone, or the search.
// With findChip false (scan) it stops after the connect. Every failure ends in the failure path.
void StartBoard(const USBStuff::BoardChoice& choice, bool findChip);

// True once the board accepted the connect request within the windows program's patience.
bool PatientConnect();

// The step the program is in, for the failure message: "driver", "firmware", "connect",
// "no chip", "transfer".
void SetFailureStep(const char* step);
// "kts9320b-cli: connect: Initial Connection Failed - Check USB connections"
std::string FailureText(const std::string& message);
// The failure path of this program: the text on standard error, then the end with status 1.
USBStuff::FailureHooks CliFailureHooks();
