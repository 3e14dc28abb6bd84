// The alarm command runs through the system's shell beside the readings; its exit status comes
// back as an event once it has ended, never by waiting for it.
#include "cli/monitor/AlarmCommand.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

std::optional<MonitorEvent> EndedWithin(AlarmCommand& command, std::chrono::seconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        if (auto ended = command.Ended()) return ended;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return std::nullopt;
}

TEST(AlarmCommand, ItsExitStatusComesBackWithTheFlagItRanFor) {
    for (const int status : {0, 3, 42}) {
        AlarmCommand command("exit " + std::to_string(status));
        MonitorEvent raised;
        raised.kind = "alarm-raised";
        raised.flag = "LocHi";
        command.Start(raised);
        EXPECT_TRUE(command.Running());
        const auto ended = EndedWithin(command, std::chrono::seconds(20));
        ASSERT_TRUE(ended) << status;
        EXPECT_EQ(ended->kind, "command-ended");
        EXPECT_EQ(ended->flag, "LocHi");
        EXPECT_EQ(ended->exitStatus, status);
        EXPECT_FALSE(command.Running());
        EXPECT_FALSE(command.Ended()) << "reported once";
    }
}

}  // namespace
