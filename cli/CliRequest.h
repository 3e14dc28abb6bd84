#pragma once
// One run of the command-line program as its command line asks for it: the command, its
// arguments and options, checked and turned into numbers before the board is touched.
#include "board/BoardChoice.h"
#include "chip/ChipFields.h"
#include "cli/RegisterTarget.h"

#include <QString>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

enum class CliCommand { Scan, Temps, Read, Write, Dump, Monitor, Watch, Save, Recall, Get, Set, Apply, Serve, Sweep, Mark };

// A field and the value a user gives it, with where it was given, for a refusal:
// "local-high=95.25" on the command line, "chamber.txt:3" in a file.
struct FieldSetting {
    const Chip::Field* field = nullptr;
    double value = 0;
    std::string where;
};

struct MonitorSettings {
    int32_t intervalMs = 1000;        // 0: as fast as the board answers
    std::optional<double> durationS;  // none: no time limit
    std::optional<int64_t> count;     // none: no count limit
    QString output = QStringLiteral("-");  // "-": standard output
    bool limits = false;              // the six limit columns
    bool keepGoing = false;           // a failed reading loses the board for a while, no more
    std::optional<double> maxGapS;    // keep-going: the longest gap in the readings; none: no limit
    QString events;                   // the events file; empty: none (watch: standard output)
    QString onAlarm;                  // the command run at each raised and cleared alarm
};

struct ServeSettings {
    QString listen = QStringLiteral("127.0.0.1:9320");  // loopback unless the user says otherwise
    int32_t minIntervalMs = 500;     // scrapes within this of the last reading share it
    std::vector<int32_t> addresses;  // every --address; none: the chip the search finds
};

struct SweepSettings {
    bool fitOffset = false;    // the remote offset that best removes the remote error
    bool writeOffset = false;  // and written, with a step more to check it
    bool resume = false;       // continues at the first unfinished step of the same plan
};

struct CliRequest {
    CliCommand command = CliCommand::Temps;
    USBStuff::BoardChoice board;
    bool json = false;
    std::vector<RegisterTarget> registers;  // read: each; write: the one written
    int32_t value = 0;                      // write
    bool raw = false;                       // dump: the 16 x 16 grid as well
    MonitorSettings monitor;  // sweep: its output and its events
    ServeSettings serve;
    SweepSettings sweep;
    std::vector<const Chip::Field*> fields;  // get: each; none: every field
    std::vector<FieldSetting> settings;      // set
    bool keepCodes = false;  // set, apply: a change of range leaves the other limits' codes, not their degrees
    bool failOnAlarm = false;                // temps
    bool check = false;  // apply: compare the chip with the file, write nothing
    QString file;     // save, recall, apply; sweep: the plan; mark: the events file
    QString comment;  // save
    std::string text;  // mark
    bool onlyChanged = true;  // save: only registers that differ from their defaults
};

// What a command leaves for the program to print, and its exit status.
struct CliAnswer {
    int status = 0;
    std::string out;  // standard output, UTF-8
    std::string err;  // standard error
};

// Exit status: success, a board or chip failure, a usage error or bad input (files included),
// an alarm flag set where the user asked to fail on one, a sweep's step that did not settle
// or pass.
constexpr int ExitSuccess = 0;
constexpr int ExitBoardFailure = 1;
constexpr int ExitUsage = 2;
constexpr int ExitAlarm = 3;
constexpr int ExitStepFailed = 4;

// The program's name on the command line and in its package.
inline constexpr const char* CliName = "kts9320b-cli";
