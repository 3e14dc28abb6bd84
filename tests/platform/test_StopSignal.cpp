// Ctrl+C (SIGINT) asks a run to stop; a run started afterwards starts without the request.
#include "cli/StopSignal.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <thread>

namespace {

bool StopRequestedWithin(std::chrono::seconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!StopRequested() && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return StopRequested();
}

TEST(StopSignals, CtrlCIsARequestToStopAndANewRunStartsWithoutIt) {
    InstallStopSignals();
    EXPECT_FALSE(StopRequested());
    std::raise(SIGINT);
    EXPECT_TRUE(StopRequestedWithin(std::chrono::seconds(5)));
    InstallStopSignals();
    EXPECT_FALSE(StopRequested());
}

}  // namespace
