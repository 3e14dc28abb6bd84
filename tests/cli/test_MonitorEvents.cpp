// A long run on the scripted clock: a board that stops answering for a while costs the
// readings of that while and nothing more, and the events tell when alarms and losses began
// and ended.
#include "CliRunner.h"

#include "cli/DurationArgument.h"

#include <QTemporaryDir>
#include <fstream>
#include <gtest/gtest.h>
#include <regex>

namespace {

std::vector<std::string> FileLines(const QString& name) {
    std::ifstream in(name.toStdString());
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// "started", "alarm-raised LocHi", ... from the events file.
std::vector<std::string> Kinds(const QString& events) {
    std::vector<std::string> kinds;
    const std::regex kindAndFlag(R"x("event":"([a-z-]+)","flag":(?:"(\w+)"|null))x");
    for (const std::string& line : FileLines(events)) {
        std::smatch m;
        if (!std::regex_search(line, m, kindAndFlag)) return {"unreadable: " + line};
        kinds.push_back(m[1].str() + (m[2].matched ? " " + m[2].str() : ""));
    }
    return kinds;
}

class MonitorEvents : public ::testing::Test {
protected:
    MonitorEvents() { cli.ChipReads(30, 40, 0x40, 0); }
    // The board answers nothing from `from` to `to`, in seconds after the start; the times
    // of the connect requests after the start are kept.
    void BoardAwayBetween(double from, double to) {
        cli.driver.onRequest = [this, from, to](const DriverRequest& r) {
            const double t = cli.clock.now - 1000;
            cli.driver.failAfter = t >= from && t < to ? 0 : -1;
            if (r.request == 221 && t > 0) connects.push_back(t);
        };
    }
    CliAnswer Run(QStringList arguments) {
        return cli.Run(QStringList{"monitor", "--output", readings, "--events", events} + arguments);
    }
    std::vector<std::string> ElapsedColumn() const {
        std::vector<std::string> column;
        const auto lines = FileLines(readings);
        for (size_t i = 1; i < lines.size(); ++i) column.push_back(lines[i].substr(30, lines[i].find(',', 30) - 30));
        return column;
    }

    CliRunner cli;
    QTemporaryDir folder;
    QString readings = folder.filePath("chamber.csv");
    QString events = folder.filePath("chamber.events");
    std::vector<double> connects;
};

TEST_F(MonitorEvents, KeepGoingTakesUpTheScheduleAtTheNextSlotOnceTheBoardIsBack) {
    struct Case {
        const char* interval;
        double awayFrom, awayTo;
        std::vector<std::string> elapsed;
        std::vector<double> reconnects;  // each pause twice the one before, up to 5 s
    };
    const Case cases[] = {
        {"1s", 2.5, 4.2, {"0.000", "1.000", "2.000", "5.000", "6.000"}, {3, 3.25, 3.75, 4.75}},
        {"200ms", 0.5, 0.7, {"0.000", "0.200", "0.400", "1.000", "1.200"}, {0.6, 0.85}},
        {"1s", 0.5, 20, {"0.000", "24.000", "25.000", "26.000", "27.000"},
         {1, 1.25, 1.75, 2.75, 4.75, 8.75, 13.75, 18.75, 23.75}},
    };
    for (const Case& c : cases) {
        QFile::remove(readings);
        QFile::remove(events);
        connects.clear();
        cli.clock.now = 1000;
        BoardAwayBetween(c.awayFrom, c.awayTo);
        testing::internal::CaptureStderr();
        const CliAnswer answer = Run({"--interval", c.interval, "--count", "5", "--keep-going"});
        const std::string told = testing::internal::GetCapturedStderr();
        EXPECT_TRUE(std::regex_match(told, std::regex("kts9320b-cli: [-0-9T:.]+[+-]\\d\\d:\\d\\d: the board is lost: .+\n"
                                                      "kts9320b-cli: [-0-9T:.]+[+-]\\d\\d:\\d\\d: the board is back\n")))
            << told;
        EXPECT_EQ(answer.status, 0) << answer.err;
        EXPECT_EQ(ElapsedColumn(), c.elapsed) << c.interval << " away from " << c.awayFrom;
        ASSERT_EQ(connects.size(), c.reconnects.size()) << c.interval << " away from " << c.awayFrom;
        for (size_t i = 0; i < connects.size(); ++i) EXPECT_NEAR(connects[i], c.reconnects[i], 0.01) << i;
        EXPECT_EQ(Kinds(events), (std::vector<std::string>{"started", "board-lost", "board-back", "ended"}));
    }
}

TEST_F(MonitorEvents, AGapLongerThanMaxGapEndsTheRunWithStatus1) {
    BoardAwayBetween(2.5, 1e9);
    const CliAnswer answer = Run({"--keep-going", "--max-gap", "10s"});
    EXPECT_EQ(answer.status, 1);
    EXPECT_EQ(answer.err.rfind("kts9320b-cli: the board did not answer for longer than --max-gap: connect: ", 0), 0u)
        << answer.err;
    EXPECT_NEAR(cli.clock.now - 1000, 12, 0.06) << "the gap began with the last reading, at 2 s";
    EXPECT_EQ(ElapsedColumn(), (std::vector<std::string>{"0.000", "1.000", "2.000"}));
    EXPECT_EQ(Kinds(events), (std::vector<std::string>{"started", "board-lost", "ended"}));
}

TEST_F(MonitorEvents, AlarmsAreRaisedAndClearedFlagByFlagAndTheirCommandRunsOnceAtATime) {
    // The Status register at each reading; 0x80 is the busy bit, no alarm.
    const std::vector<int> statuses = {0x00, 0x80, 0x50, 0x10, 0x90, 0x00, 0x01};
    const std::vector<std::string> kinds = {"started", "alarm-raised LocHi", "alarm-raised RemHi",
                                            "alarm-cleared LocHi", "alarm-cleared RemHi", "alarm-raised LTHRM"};
    struct Case {
        const char* command;
        std::string ran;  // what the command left in its file
        const char* exitStatus;
    };
    const QString ran = folder.filePath("ran");
    const Case cases[] = {
        // The readings come at once on this clock, so every later alarm finds the first command running.
        {"sleep 1; echo \"$KTS_EVENT $KTS_FLAG $KTS_LOCAL_C $KTS_REMOTE_C\" >>\"$RAN\"",
         "alarm-raised LocHi 30 40.25", "\"exit_status\":0"},
        {"sleep 1; echo \"$KTS_TIME\" >>\"$RAN\"; exit 3", "", "\"exit_status\":3"},
        {"sleep 1; kill -TERM $$", "", "\"exit_status\":143"},
    };
    for (const Case& c : cases) {
        QFile::remove(events);
        QFile::remove(ran);
        cli.driver.onRequest = [this, &statuses, k = size_t(0)](const DriverRequest& r) mutable {
            if (r.request == 222 && r.direction == 1 && r.index == 0x02)
                cli.driver.Chip(0x4C)[0x02] = statuses[std::min(k++, statuses.size() - 1)];
        };
        qputenv("RAN", ran.toUtf8());
        const CliAnswer answer = Run({"--interval", "0", "--count", "7", "--on-alarm", c.command});
        EXPECT_EQ(answer.status, 0) << answer.err;
        std::vector<std::string> expected = kinds;
        expected.insert(expected.end(), {"command-ended LocHi", "ended"});
        EXPECT_EQ(Kinds(events), expected) << c.command;
        const auto lines = FileLines(events);
        ASSERT_EQ(lines.size(), expected.size());
        EXPECT_NE(lines[6].find(c.exitStatus), std::string::npos) << lines[6];
        EXPECT_TRUE(std::regex_match(lines[1], std::regex(R"(\{"time":"[^"]+","event":"alarm-raised","flag":"LocHi",)"
                                                          R"("local_C":30,"remote_C":40.25\})")))
            << lines[1];
        const auto written = FileLines(ran);
        if (c.ran.empty()) continue;
        EXPECT_EQ(written, std::vector<std::string>{c.ran}) << c.command;
    }
}

TEST(DurationArgument, ATimeTakesItsUnitAndABareNumberTheOptionsOwn) {
    struct Case {
        const char* text;
        int64_t bareUnitMs;
        std::optional<int64_t> ms;
    };
    const Case cases[] = {
        {"100ms", 1000, 100}, {"2s", 1, 2000}, {"1.5s", 1, 1500}, {"5min", 1, 300000}, {"8h", 1, 28800000},
        {"250", 1, 250}, {"0.9004", 1000, 900}, {"0.9006", 1000, 901}, {"0", 1, 0}, {"24h", 1, 86400000},
        {"24.001h", 1, std::nullopt}, {"5 s", 1, std::nullopt}, {"5sec", 1, std::nullopt}, {"-5s", 1, std::nullopt},
        {"s", 1, std::nullopt}, {"", 1, std::nullopt}, {"1.2.3s", 1, std::nullopt}, {"1e3", 1, std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(ParseDurationMs(c.text, c.bareUnitMs, 86400000), c.ms) << c.text;
}

}  // namespace
