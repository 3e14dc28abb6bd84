// The monitor on the scripted clock: line k at the start + k × interval however long each
// reading takes, across midnight too, and every way a run ends leaves whole lines behind.
#include "CliRunner.h"

#include "chip/ChipFields.h"
#include "support/FileSizeLimit.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <csignal>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <regex>
#include <sstream>

namespace {

class Monitor : public ::testing::Test {
protected:
    Monitor() { cli.ChipReads(30, 40, 0x40, 0x90); }
    // The readings (five reads each: the local temperature, the remote one's high, low and high
    // byte again, and the status) take these times, the last one for every reading after; the
    // start's reads of the id and the configuration take no time.
    void ReadingsTake(std::vector<double> seconds) {
        cli.driver.onRequest = [this, seconds, reads = size_t(0)](const DriverRequest& r) mutable {
            if (r.request != 222 || r.index == 0xFE || r.index == 0x03) return;
            cli.clock.Sleep(seconds[std::min(reads++ / 5, seconds.size() - 1)] / 5);
        };
    }
    CliAnswer Run(QStringList arguments) { return cli.Run(QStringList{"monitor", "--output", file} + arguments); }
    std::vector<std::string> Lines() const {
        std::ifstream in(file.toStdString());
        std::stringstream text;
        text << in.rdbuf();
        std::vector<std::string> lines;
        for (std::string line; std::getline(text, line);) lines.push_back(line);
        EXPECT_TRUE(text.str().empty() || text.str().back() == '\n') << "a line was cut: " << text.str();
        return lines;
    }
    std::vector<std::string> ElapsedColumn() const {
        std::vector<std::string> column;
        const auto lines = Lines();
        for (size_t i = 1; i < lines.size(); ++i) column.push_back(lines[i].substr(30, lines[i].find(',', 30) - 30));
        return column;
    }

    CliRunner cli;
    QTemporaryDir folder;
    QString file = folder.filePath("chamber.csv");
};

TEST_F(Monitor, LinesStayOnTheirSlotsHoweverLongAReadingTakes) {
    struct Case {
        const char* interval;
        std::vector<double> readingSeconds;
        double startTimeOfDay;
        QStringList limit;
        std::vector<std::string> elapsed;
    };
    const Case cases[] = {
        {"1000", {0.3}, 1000, {"--count", "4"}, {"0.000", "1.000", "2.000", "3.000"}},
        {"1000", {0.3}, 86399.5, {"--count", "3"}, {"0.000", "1.000", "2.000"}},  // across midnight
        {"1000", {0.3}, 1000, {"--duration", "3"}, {"0.000", "1.000", "2.000"}},
        // A slot missed by more than a tenth of an interval is given up: the next reading comes
        // at the next slot in the future, never sooner than an interval after the one before.
        {"1000", {3.5, 0.1}, 1000, {"--count", "4"}, {"0.000", "4.000", "5.000", "6.000"}},
        {"1000", {1.2}, 1000, {"--count", "3"}, {"0.000", "2.000", "4.000"}},
        {"1000", {1.05, 0.1}, 1000, {"--count", "3"}, {"0.000", "1.050", "2.000"}},
        // The duration in whole milliseconds: slot k is taken while k × interval < duration.
        {"300", {0.01}, 1000, {"--duration", "0.9"}, {"0.000", "0.300", "0.600"}},
        {"200", {0.01}, 1000, {"--duration", "0.6"}, {"0.000", "0.200", "0.400"}},
        {"300", {0.01}, 1000, {"--duration", "0.9004"}, {"0.000", "0.300", "0.600"}},
        {"300", {0.01}, 1000, {"--duration", "0.9006"}, {"0.000", "0.300", "0.600", "0.900"}},
        {"0", {0.01}, 1000, {"--count", "3"}, {"0.000", "0.010", "0.020"}},
        {"250", {0.01}, 1000, {"--duration", "1"}, {"0.000", "0.250", "0.500", "0.750"}},
    };
    for (const Case& c : cases) {
        QFile::remove(file);
        ReadingsTake(c.readingSeconds);
        cli.clock.now = c.startTimeOfDay;
        const CliAnswer answer = Run(QStringList{"--interval", c.interval} + c.limit);
        EXPECT_EQ(answer.status, 0) << answer.err;
        EXPECT_EQ(ElapsedColumn(), c.elapsed) << c.interval << " ms, first reading " << c.readingSeconds[0] << " s";
    }
}

TEST_F(Monitor, AStallWhileWaitingGivesUpTheSlotsItMissed) {
    ReadingsTake({0.001});
    cli.clock.afterSleep = [this, stalled = false]() mutable {  // kill -STOP at 1.2 s, kill -CONT 1.6 s later
        if (!stalled && cli.clock.now >= 1001.2) stalled = (cli.clock.now += 1.6) > 0;
    };
    ASSERT_EQ(Run({"--interval", "500", "--duration", "4"}).status, 0);
    EXPECT_EQ(ElapsedColumn(), (std::vector<std::string>{"0.000", "0.500", "1.000", "3.000", "3.500"}));
}

TEST_F(Monitor, AReadingTakenAcrossARangeChangeIsNotWritten) {
    // A conversion every half second (2 Hz) leaves the codes of the range in force when it began;
    // none is made in standby, until `awake`. The temperatures stay 30 and 40.25 °C and the local
    // high limit 85 °C, whose code changes with the range at once, as set writes it.
    struct Case {
        std::vector<double> switches;  // when the range is switched, in seconds after the start
        double awake;
        std::vector<std::string> elapsed;
    };
    const Case cases[] = {
        // Seen at 0.75: the conversion begun at 0.5 is of the old range, the one from 1.0 of the new.
        {{0.6}, 0, {"0.000", "0.250", "0.500", "1.750", "2.000", "2.250"}},
        // Switched back before the first change has settled: the wait starts again.
        {{0.3, 1.3}, 0, {"0.000", "0.250", "2.500", "2.750", "3.000", "3.250"}},
        // Seen in standby: the wait starts once the chip converts again.
        {{0.3}, 0.9, {"0.000", "0.250", "2.000", "2.250", "2.500", "2.750"}},
    };
    for (const Case& c : cases) {
        const auto shift = [&c](double t) {  // 64 while the range is the extended one
            return 64 * (std::count_if(c.switches.begin(), c.switches.end(), [t](double at) { return at <= t; }) % 2);
        };
        cli.driver.onRequest = [&](const DriverRequest&) {
            const double t = cli.clock.now - 1000;
            const double begun = t < c.awake ? -1 : c.awake + std::floor(2 * (t - c.awake)) / 2 - 0.5;
            auto& chip = cli.driver.Chip(0x4C);
            chip[Chip::Reg::ConversionRate.read] = 5;
            chip[Chip::Reg::Configuration.read] =
                (shift(t) ? Chip::ConfigBit::ExtendedRange : 0) | (t < c.awake ? Chip::ConfigBit::Standby : 0);
            chip[Chip::Reg::LocalHigh.read] = 85 + shift(t);
            chip[Chip::Reg::LocalTemp.read] = 30 + shift(begun);
            chip[Chip::Reg::RemoteTempHigh.read] = 40 + shift(begun);
        };
        QFile::remove(file);
        cli.clock.now = 1000;
        ASSERT_EQ(Run({"--interval", "250", "--count", "6", "--limits"}).status, 0);
        EXPECT_EQ(ElapsedColumn(), c.elapsed);
        for (const std::string& line : Lines())
            EXPECT_TRUE(line[0] == 't' || line.find(",30,40.25,144,RemHi,85,") != std::string::npos) << line;
    }
}

TEST_F(Monitor, AHangUpOrAQuitStopsTheRunAsCtrlCDoes) {
    for (const int number : {SIGHUP, SIGQUIT}) {  // a dropped ssh session hangs up
        cli.driver.onRequest = [number](const DriverRequest& r) {
            if (r.request == 222 && r.index == Chip::Reg::Status.read) std::raise(number);
        };
        EXPECT_EQ(Run({"--interval", "0"}).status, 0) << number;
    }
}

TEST_F(Monitor, TheFirstReadingStartsALineOfItsOwnWithTheHeaderOnlyInAnEmptyFile) {
    const std::pair<QByteArray, std::string> cases[] = {
        {"", "time,elapsed_s,local_C,remote_C,status,alarms"}, {"earlier", "earlier"}, {"earlier\n", "earlier"}};
    for (const auto& [before, firstLine] : cases) {
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate) && out.write(before) == before.size());
        out.close();
        ASSERT_EQ(Run({"--count", "1"}).status, 0);
        const auto lines = Lines();
        ASSERT_EQ(lines.size(), 2u) << before.constData();
        EXPECT_EQ(lines[0], firstLine);
        EXPECT_EQ(lines[1].find("0.000,30,40.25"), 30u) << lines[1];
    }
}

TEST_F(Monitor, StoppedBeforeItsFirstReadingItLeavesAnEmptyFileEmpty) {
    cli.driver.connectRefusals = 3;
    cli.driver.onRequest = [raised = false](const DriverRequest& r) mutable {
        if (r.request == 221 && !raised) raised = std::raise(SIGTERM) == 0;  // a second one would end the tests
    };
    EXPECT_EQ(Run({}).status, 0);
    EXPECT_EQ(QFileInfo(file).size(), 0);
}

TEST_F(Monitor, LinesAreCsvWithLocalTimeOrJson) {
    ASSERT_EQ(Run({"--count", "1"}).status, 0);
    const auto lines = Lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "time,elapsed_s,local_C,remote_C,status,alarms");
    const std::string time = R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3}[+-]\d\d:\d\d)";
    EXPECT_TRUE(std::regex_match(lines[1], std::regex(time + ",0.000,30,40.25,144,RemHi"))) << lines[1];

    // Appended to: the header is not written again.
    ASSERT_EQ(Run({"--count", "1", "--json"}).status, 0);
    const auto appended = Lines();
    ASSERT_EQ(appended.size(), 3u);
    EXPECT_TRUE(std::regex_match(appended[2], std::regex("\\{\"time\":\"" + time +
                                                         "\",\"elapsed_s\":0.000,\"local_C\":30,\"remote_C\":40.25,"
                                                         "\"status\":144,\"alarms\":\\[\"RemHi\"\\]\\}")))
        << appended[2];
}

TEST_F(Monitor, CtrlCEndsAfterTheLineInHandWithStatus0) {
    int requests = 0;
    cli.driver.onRequest = [&](const DriverRequest& r) {
        if (r.request == 222 && ++requests == 54 + 14) std::raise(SIGINT);  // the start, then the 3rd reading
    };
    const CliAnswer answer = Run({"--interval", "0"});
    EXPECT_EQ(answer.status, 0) << answer.err;
    EXPECT_EQ(Lines().size(), 4u);
}

TEST_F(Monitor, ABoardFailureEndsWithStatus1AndKeepsEveryLineWhole) {
    cli.driver.failAfter = 69;  // the start takes 55 requests, each reading 6
    const CliAnswer answer = Run({"--interval", "0"});
    EXPECT_EQ(answer.status, 1);
    EXPECT_EQ(answer.err, "kts9320b-cli: transfer: Communications Interrupted - Check USB connections\n");
    EXPECT_EQ(Lines().size(), 3u);
}

TEST_F(Monitor, AFullDiskLeavesNoHalfLine) {
    ASSERT_EQ(Run({"--count", "1"}).status, 0);
    const auto size = QFileInfo(file).size();
    CliAnswer answer;
    {
        FileSizeLimit limit(size + 60);  // room for one more line and a half
        answer = Run({"--interval", "0", "--count", "5"});
    }
    EXPECT_EQ(answer.status, 2);
    EXPECT_EQ(answer.err.rfind("kts9320b-cli: the monitor stopped: could not write ", 0), 0u) << answer.err;
    EXPECT_EQ(Lines().size(), 3u);
}

}  // namespace
