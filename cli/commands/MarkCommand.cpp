#include "cli/commands/MarkCommand.h"

#include "files/EventMark.h"

CliAnswer RunMark(const CliRequest& request) {
    const std::string failure = AppendEventMark(request.file, request.text);
    if (failure.empty()) return {};
    return {ExitBoardFailure, {}, std::string(CliName) + ": could not add the mark to " + failure + "\n"};
}
