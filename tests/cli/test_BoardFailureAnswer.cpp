// The command-line program's board failure path: the failure comes back to the caller as the
// run's answer, with the text standard error shows, and the process goes on.
#include "support/BoardFailureTrap.h"

#include "cli/CliStart.h"

#include <gtest/gtest.h>

TEST(BoardFailureAnswer, EveryFailureIsTheAnswerOfItsRun) {
    BoardFixtureState board;
    USBStuff::SetFailureHooks(CliFailureHooks());
    const std::pair<std::string, std::string> cases[] = {  // the driver's reason, standard error
        {"", "kts9320b-cli: transfer: Communications Interrupted - Check USB connections\n"},
        {"Remote I/O error", "kts9320b-cli: transfer: Communications Interrupted - Check USB connections\nRemote I/O error\n"},
    };
    SetFailureStep("transfer");
    for (const auto& [reason, err] : cases) {
        USBStuff::ResetFailureState();
        const CliAnswer answer = AnswerOrBoardFailure([reason = reason]() -> CliAnswer {
            USBStuff::ReportBoardFailure({false, 0, USBStuff::BoardError::CommunicationsInterrupted, reason});
        });
        EXPECT_EQ(answer.status, ExitBoardFailure);
        EXPECT_EQ(answer.err, err);
    }
}
