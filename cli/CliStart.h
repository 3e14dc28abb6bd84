#pragma once
// The command-line program's start: the windows program's connection sequence without a
// splash to pace it, and its failure path, which names the step that failed on standard error;
// main alone ends the program, with status 1.
#include "board/BoardChoice.h"
#include "board/USBStuff.h"
#include "cli/CliRequest.h"

#include <functional>
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
// What standard error shows for a board failure: FailureText's line, and under it the driver's
// reason when it gives one.
std::string BoardFailureText(const std::string& message, const std::string& reason);
// The failure path of this program. Its last step does not end the process where the failure
// was met: it unwinds to AnswerOrBoardFailure with the failure's text.
USBStuff::FailureHooks CliFailureHooks();
// The run's answer; a board failure met on the way is the answer instead: its text on standard
// error, status 1.
CliAnswer AnswerOrBoardFailure(const std::function<CliAnswer()>& run);
