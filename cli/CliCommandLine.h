#pragma once
// The command-line program's command line: kts9320b-cli [options] COMMAND [ARGS].
#include "cli/CliRequest.h"

#include <QStringList>
#include <variant>

// Reads the arguments (the program's name first). Gives the request, or the answer that ends
// the run at once: the help or the version (status 0), or a refusal on standard error with
// status 2. Every argument is checked here, so nothing reaches the board from a bad line.
std::variant<CliRequest, CliAnswer> ParseCliArguments(const QStringList& arguments);
