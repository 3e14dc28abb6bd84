// The sweep on the scripted board and clock, with a chamber and a reference of the test's own:
// a bad plan sends nothing, steps settle or time out, the offset is written and checked, and
// every way a sweep ends leaves the chamber at its safe setpoint and the finished steps behind.
#include "CliRunner.h"

#include "chip/ChipFields.h"
#include "cli/sweep/SweepInstruments.h"
#include "registers/FieldCodes.h"

#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace {

// The chamber's air, the chip in it and what the instruments were asked.
struct Lab {
    double air = 25;
    double remoteError = 0;
    double referenceWobble = 0;  // added and taken away at alternate readings
    bool readingsFail = false;   // the chamber and the reference stop answering
    std::optional<double> stopAt;  // a stop signal when this setpoint is asked for
    std::vector<double> setpoints;
    int referenceReads = 0;
};

class FakeChamber : public Instruments::Chamber {
public:
    explicit FakeChamber(Lab& lab) : lab_(lab) {}
    std::string Name() const override { return "fake"; }
    std::string SetSetpoint(double celsius) override {
        lab_.setpoints.push_back(celsius);
        if (lab_.stopAt == celsius) std::raise(SIGINT);
        lab_.air = celsius;
        return {};
    }
    Instruments::Reading ReadTemperature() override {
        if (lab_.readingsFail) return {std::nullopt, "fake: no answer"};
        return {lab_.air, {}};
    }

private:
    Lab& lab_;
};

class FakeReference : public Instruments::Thermometer {
public:
    explicit FakeReference(Lab& lab) : lab_(lab) {}
    std::string Name() const override { return "fake reference"; }
    Instruments::Reading Read() override {
        if (lab_.readingsFail) return {std::nullopt, "fake reference: no answer"};
        const double sign = lab_.referenceReads++ % 2 ? 1 : -1;
        return {lab_.air + sign * lab_.referenceWobble, {}};
    }

private:
    Lab& lab_;
};

const char* const BasePlan = R"([chamber]
driver = "sim"
safe = 25

[steps]
setpoints = [30, 50, 70]
window = 0.2
stable-for = "3s"
record = "2s"
timeout = "20s"
interval = "1s"

[pass]
local = 1.0
remote = 1.0
)";

class Sweep : public ::testing::Test {
protected:
    Sweep() {
        SetSweepInstrumentMaker([this](const SweepPlan&) {
            return SweepInstruments{std::make_unique<FakeChamber>(lab), std::make_unique<FakeReference>(lab), {}};
        });
        cli.driver.onRequest = chipFollowsAir;
    }
    ~Sweep() override { SetSweepInstrumentMaker({}); }

    // The chip reads the air, the remote channel with its error and the offset it holds.
    std::function<void(const DriverRequest&)> chipFollowsAir = [this](const DriverRequest& r) {
            if (r.request != 222 || r.direction != 1 || r.index != Chip::Reg::LocalTemp.read) return;
            auto& chip = cli.driver.Chip(0x4C);
            const Chip::Field& offset = *Chip::FindField("remote-offset");
            const double remote = lab.air + lab.remoteError +
                                  GeneralStuff::FieldValue(offset, {chip[offset.high.read], chip[offset.low.read]}, false);
            const auto bytes = GeneralStuff::FieldBytesFor(*Chip::FindField("remote-high"), remote, false);
            cli.ChipReads(static_cast<int>(lab.air), bytes.high, bytes.low, 0);
    };

    void WritePlan(const std::string& text) { std::ofstream(plan.toStdString()) << text; }
    CliAnswer Run(QStringList options = {}) {
        return cli.Run(QStringList{"sweep", plan, "--output", run, "--events", events} + options);
    }
    static std::vector<std::string> Lines(const QString& file) {
        std::ifstream in(file.toStdString());
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }
    std::string Text(const QString& file) const {
        std::ostringstream text;
        text << std::ifstream(file.toStdString()).rdbuf();
        return text.str();
    }
    std::vector<std::string> StepRows() const {
        auto lines = Lines(steps);
        return lines.size() > 2 ? std::vector<std::string>(lines.begin() + 2, lines.end()) : std::vector<std::string>{};
    }

    CliRunner cli;
    Lab lab;
    QTemporaryDir folder;
    QString plan = folder.filePath("plan.toml");
    QString run = folder.filePath("run.csv");
    QString steps = folder.filePath("run.steps.csv");
    QString events = folder.filePath("events.jsonl");
};

TEST_F(Sweep, BadPlanIsRefusedWithItsLineAndSendsNothing) {
    struct Case {
        const char* from;
        const char* to;
        const char* refusal;
    };
    const Case cases[] = {
        {"window = 0.2", "windw = 0.2", ":7: there is no key 'windw' in [steps]"},
        {"window = 0.2", "window = -1", ":7: window takes a number above 0"},
        {"stable-for = \"3s\"", "stable-for = \"3 weeks\"", ":8: stable-for takes a time"},
        {"interval = \"1s\"", "interval = [1]", ":11: interval takes a time"},
        {"setpoints = [30, 50, 70]", "setpoints = [30, \"hot\"]", ":6: each setpoint takes a number"},
        {"setpoints = [30, 50, 70]", "setpoints = [30]\nfrom = 0", "not both"},
        {"setpoints = [30, 50, 70]", "from = 0\nto = 100\nstep = 0.01", "more than 1000 steps"},
        {"driver = \"sim\"", "driver = \"ftp\"", ":2: driver is sim, scpi, modbus or command"},
        {"driver = \"sim\"", "driver = \"scpi\"\nunit = 1", ":3: there is no key 'unit' in [chamber]"},
        {"driver = \"sim\"", "driver = \"command\"\nset = \"heat\"\nread = \"t\"", "set must hold {setpoint}"},
        {"driver = \"sim\"", "driver = \"modbus\"\naddress = \"h:502\"", "driver needs setpoint-register"},
        {"local = 1.0", "local = \"one\"", ":14: local takes a number"},
        {"[pass]", "[passes]", ":13: there is no table [passes]"},
        {"[pass]", "[chip]\napply = \"missing.conf\"\n[pass]", "missing.conf"},
        {"[pass]", "[chip]\naddress = 0x80\n[pass]", ":14: address takes a whole number"},
        {"[pass]", "[pass", ":13:"},
    };
    for (const Case& c : cases) {
        std::string text = BasePlan;
        text.replace(text.find(c.from), std::string(c.from).size(), c.to);
        WritePlan(text);
        cli.driver.log.clear();
        const CliAnswer answer = Run();
        EXPECT_EQ(answer.status, ExitUsage) << c.to;
        EXPECT_NE(answer.err.find(plan.toStdString() + ":"), std::string::npos) << answer.err;
        EXPECT_NE(answer.err.find(c.refusal), std::string::npos) << answer.err;
        EXPECT_TRUE(cli.driver.log.empty()) << c.to << ": the board was started";
        EXPECT_TRUE(lab.setpoints.empty()) << c.to << ": the chamber was set";
    }
}

TEST_F(Sweep, StepsThatSettleAndMatchTheReferencePass) {
    WritePlan(BasePlan);
    const CliAnswer answer = Run();
    EXPECT_EQ(answer.status, ExitSuccess) << answer.err;
    EXPECT_EQ(lab.setpoints, (std::vector<double>{30, 50, 70, 25}));
    // Stable once the readings reach back 3 s (the first reading of a later step comes a second
    // after its setpoint); then 2 s of readings, one a second.
    EXPECT_EQ(StepRows(), (std::vector<std::string>{
                              "1,30.000,yes,3.0,30.000,30.000,0.000,0.000,30.000,0.000,0.000,yes",
                              "2,50.000,yes,4.0,50.000,50.000,0.000,0.000,50.000,0.000,0.000,yes",
                              "3,70.000,yes,4.0,70.000,70.000,0.000,0.000,70.000,0.000,0.000,yes"}));
    const auto lines = Lines(run);
    ASSERT_EQ(lines.size(), 1u + 3 * 6);
    EXPECT_NE(lines[4].find(",1,30.000,30.000,30.000,settling"), std::string::npos) << lines[4];
    EXPECT_NE(lines[5].find(",1,30.000,30.000,30.000,recording"), std::string::npos) << lines[5];
    EXPECT_NE(answer.out.find("   3      70.000      yes"), std::string::npos) << answer.out;
    EXPECT_NE(Text(events).find("finished; the chamber left at 25"), std::string::npos);
}

TEST_F(Sweep, StepThatNeverSettlesIsRecordedUnsettledAndFails) {
    lab.referenceWobble = 0.5;
    WritePlan(BasePlan);
    const CliAnswer answer = Run();
    EXPECT_EQ(answer.status, ExitStepFailed);
    const auto rows = StepRows();
    ASSERT_EQ(rows.size(), 3u);
    for (const std::string& row : rows) EXPECT_NE(row.find(",no,20.0,"), std::string::npos) << row;
    EXPECT_NE(Text(events).find("step-unsettled"), std::string::npos);
    EXPECT_EQ(lab.setpoints.back(), 25);
}

TEST_F(Sweep, FittedOffsetIsWrittenAndCheckedAtTheStepNearest25) {
    lab.remoteError = -1.5;
    WritePlan(BasePlan);
    const CliAnswer answer = Run({"--fit-offset", "--write-offset"});
    EXPECT_EQ(answer.status, ExitStepFailed) << answer.err;
    auto& chip = cli.driver.Chip(0x4C);
    const Chip::Field& offset = *Chip::FindField("remote-offset");
    EXPECT_EQ(GeneralStuff::FieldValue(offset, {chip[offset.high.read], chip[offset.low.read]}, false), 1.5);
    EXPECT_NE(answer.out.find("remote-offset: 1.50 \u00B0C"), std::string::npos) << answer.out;
    EXPECT_NE(answer.out.find("remote error at 30.000 \u00B0C: -1.500 \u00B0C before, +0.000 \u00B0C after"),
              std::string::npos) << answer.out;
    const auto rows = StepRows();
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[3], "4,30.000,yes,4.0,30.000,30.000,0.000,0.000,30.000,0.000,0.000,yes");
    EXPECT_EQ(lab.setpoints, (std::vector<double>{30, 50, 70, 30, 25}));
}

TEST_F(Sweep, ReadingsLostWhileRecordingAreMadeUpByRecordingLonger) {
    WritePlan(BasePlan);
    int localReads = 0;
    std::optional<double> lostAt;
    // The board stops answering at step 1's first recorded reading (4 s) for 2.5 s; the
    // reconnect's pauses bring it back at 7.75 s, and the readings take up their slots at 8 s.
    cli.driver.onRequest = [&](const DriverRequest& r) {
        if (r.request == 222 && r.direction == 1 && r.index == Chip::Reg::LocalTemp.read && ++localReads == 5) {
            lostAt = cli.clock.now;
            cli.driver.failAfter = static_cast<int>(cli.driver.log.size()) - 1;
        }
        if (lostAt && cli.clock.now > *lostAt + 2.5) cli.driver.failAfter = -1;
        chipFollowsAir(r);
    };
    const CliAnswer answer = Run();
    EXPECT_EQ(answer.status, ExitSuccess) << answer.err;
    EXPECT_NE(Text(events).find("step 1: 3 readings, a gap of 5.0 s made up by recording longer"), std::string::npos)
        << Text(events);
    EXPECT_EQ(StepRows().size(), 3u);
}

TEST_F(Sweep, StoppedSweepKeepsItsStepsAndResumesTheSamePlanOnly) {
    lab.stopAt = 50;
    WritePlan(BasePlan);
    CliAnswer answer = Run();
    EXPECT_EQ(answer.status, ExitStepFailed);
    EXPECT_NE(answer.err.find("1 of 3 steps finished"), std::string::npos) << answer.err;
    EXPECT_EQ(StepRows().size(), 1u);
    EXPECT_EQ(lab.setpoints.back(), 25);
    EXPECT_NE(Text(events).find("stopped by a signal; the chamber left at 25"), std::string::npos);

    lab.stopAt.reset();
    lab.setpoints.clear();
    EXPECT_EQ(Run().status, ExitUsage) << "a finished step is never overwritten without --resume";
    std::string other = BasePlan;
    WritePlan(other.replace(other.find("70"), 2, "80"));
    answer = Run({"--resume"});
    EXPECT_EQ(answer.status, ExitUsage);
    EXPECT_NE(answer.err.find("another plan"), std::string::npos) << answer.err;
    EXPECT_TRUE(lab.setpoints.empty());

    WritePlan(BasePlan);
    answer = Run({"--resume"});
    EXPECT_EQ(answer.status, ExitSuccess) << answer.err;
    EXPECT_EQ(lab.setpoints, (std::vector<double>{50, 70, 25}));
    const auto rows = StepRows();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[1].substr(0, 9), "2,50.000,");
    EXPECT_EQ(Lines(steps).front().rfind("# plan ", 0), 0u);
}

TEST_F(Sweep, FailurePastTheTimeoutEndsWithTheChamberAtSafe) {
    struct Case {
        const char* what;
        std::function<void()> breakIt;
        const char* message;
    };
    const Case cases[] = {
        {"the board", [this] { cli.driver.failAfter = 0; }, "the board did not answer"},
        {"the instruments", [this] { lab.readingsFail = true; }, "the chamber did not answer"},
    };
    WritePlan(BasePlan);
    for (const Case& c : cases) {
        cli.driver.failAfter = -1;
        lab = Lab();
        QFile::remove(steps);
        // Broken once step 2 has set the chamber.
        cli.driver.onRequest = [this, &c](const DriverRequest& r) {
            if (lab.setpoints.size() == 2 && cli.driver.failAfter < 0) {
                c.breakIt();
                if (cli.driver.failAfter == 0) cli.driver.failAfter = static_cast<int>(cli.driver.log.size()) - 1;
            }
            chipFollowsAir(r);
        };
        const CliAnswer answer = Run();
        EXPECT_EQ(answer.status, ExitBoardFailure) << c.what;
        EXPECT_NE(answer.err.find(c.message), std::string::npos) << answer.err;
        EXPECT_EQ(StepRows().size(), 1u) << c.what;
        EXPECT_EQ(lab.setpoints.back(), 25) << c.what;
        EXPECT_NE(Text(events).find("failed: " + std::string(c.message)), std::string::npos) << c.what;
    }
}

}  // namespace
