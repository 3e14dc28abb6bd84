// The command-line program's board failure path: whatever step fails, the failure comes back
// to the caller as the answer, with the text standard error shows, and the process goes on.
#include "support/BoardFailureTrap.h"

#include "cli/CliStart.h"

#include <gtest/gtest.h>
#include <functional>

namespace {

struct Case {
    const char* step;
    std::function<void()> fail;
    std::string err;
};

TEST(BoardFailureAnswer, EveryFailureIsTheAnswerOfItsRun) {
    USBStuff::ChipTransfer broken;
    broken.reason = "i2c-dev: Remote I/O error";
    const Case cases[] = {
        {"driver", [] { USBStuff::ReportFailure("the driver library could not be loaded"); },
         "kts9320b-cli: driver: the driver library could not be loaded\n"},
        {"firmware", [] { USBStuff::ReportBoardError(USBStuff::BoardError::FirmwareDownload); },
         "kts9320b-cli: firmware: Firmware failed to download - Check USB connections\n"},
        {"transfer", [&broken] { USBStuff::ReportBoardFailure(broken); },
         "kts9320b-cli: transfer: Communications Interrupted - Check USB connections\ni2c-dev: Remote I/O error\n"},
    };
    BoardFixtureState board;
    USBStuff::SetFailureHooks(CliFailureHooks());
    for (const Case& c : cases) {
        USBStuff::ResetFailureState();
        SetFailureStep(c.step);
        const CliAnswer answer = AnswerOrBoardFailure([&c]() -> CliAnswer {
            c.fail();
            return {ExitSuccess, "not reached\n", {}};
        });
        EXPECT_EQ(answer.status, ExitBoardFailure) << c.step;
        EXPECT_EQ(answer.out, "") << c.step;
        EXPECT_EQ(answer.err, c.err) << c.step;
    }
}

}  // namespace
