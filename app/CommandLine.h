#pragma once
// The command line, answered on standard output before any window system is needed.
#include "app/CommandName.h"
#include "board/BoardChoice.h"

#include <QStringList>
#include <optional>

// Answers --version and --help, takes the board options (--driver, --bus, --address) into
// the choice, the files of --open FILE... into openFiles and the run's events file named with
// --events (beside one --open FILE) into eventsFile, and refuses anything else with one
// line on standard error and status 2. Returns the exit status when the program is to end
// there; nothing when it starts its windows.
std::optional<int> AnswerCommandLine(int argc, char** argv, USBStuff::BoardChoice& choice, QStringList& openFiles,
                                     QString& eventsFile);
