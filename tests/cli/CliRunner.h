#pragma once
// Runs the command-line program's command line in the test process, on the scripted driver
// and clock: as the program does, but with the board failure path ending in status 1 here.
#include "support/BoardFailureTrap.h"
#include "support/ScriptedClock.h"

#include "cli/CliCommandLine.h"
#include "cli/CliRun.h"
#include "cli/CliStart.h"
#include "state/Clock.h"

#include <QStringList>

class CliRunner {
public:
    CliRunner() {
        GeneralStuff::SetClock(&clock);
        driver.chips.clear();
        driver.Chip(0x4C);
        FillChipDefaults(driver.Chip(0x4C));
    }
    ~CliRunner() { GeneralStuff::SetClock(nullptr); }

    CliAnswer Run(const QStringList& arguments) {
        const auto parsed = ParseCliArguments(QStringList{CliName} + arguments);
        if (const auto* answer = std::get_if<CliAnswer>(&parsed)) return *answer;
        try {
            return RunRequest(std::get<CliRequest>(parsed));
        } catch (const BoardFailure& failure) {
            return {ExitBoardFailure, {}, FailureText(failure.message) + "\n"};
        }
    }

    // The chip's temperature registers (local, remote high byte, remote low byte) and status.
    void ChipReads(int local, int remoteHigh, int remoteLow, int status) {
        auto& chip = driver.Chip(0x4C);
        chip[0x00] = local;
        chip[0x01] = remoteHigh;
        chip[0x10] = remoteLow;
        chip[0x02] = status;
    }

    BoardFixtureState state;
    ScriptedDriver& driver = state.driver;
    ScriptedClock clock;
};
