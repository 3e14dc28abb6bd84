// The alarm command runs through the system's shell beside the readings; its exit status comes
// back as an event once it has ended, never by waiting for it.
#include "cli/monitor/AlarmCommand.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

TEST(AlarmCommand, ItsExitStatusComesBackOnceWithTheFlagItRanFor) {
    for (const int status : {0, 3, 42}) {
        AlarmCommand command("exit " + std::to_string(status));
        MonitorEvent raised;
        raised.flag = "LocHi";
        command.Start(raised);
        EXPECT_TRUE(command.Running());
        std::optional<MonitorEvent> ended;
        const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (!(ended = command.Ended()) && std::chrono::steady_clock::now() < limit)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        ASSERT_TRUE(ended) << status;
        EXPECT_EQ(ended->kind, "command-ended");
        EXPECT_EQ(ended->flag, "LocHi");
        EXPECT_EQ(ended->exitStatus, status);
        EXPECT_FALSE(command.Running() || command.Ended()) << "reported once";
    }
}

}  // namespace
