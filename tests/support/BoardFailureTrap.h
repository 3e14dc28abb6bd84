#pragma once
// Makes the board failure path throw instead of ending the test process, and records what
// it showed.
#include "support/ScriptedDriver.h"

#include <memory>
#include <string>
#include <vector>

struct BoardFailure {
    std::string message;
};

// Installs the scripted driver, the failure hooks and a fresh register model: the chip at
// 0x4C with its defaults, DeviceAddress 0x4C, the table built, the run-time state reset.
class BoardFixtureState {
public:
    BoardFixtureState();
    ~BoardFixtureState();
    ScriptedDriver driver;
    std::vector<std::string> messages;   // every failure message shown
    int windowsClosed = 0;                // how often the close-all step ran
};
