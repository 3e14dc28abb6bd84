// The command-line program's answers, command line by command line: what it prints, where, and
// its exit status, on a scripted chip at 4Ch reading 30 °C local and 40.25 °C remote.
#include "CliRunner.h"

#include "registers/RegMapStuff.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <functional>
#include <regex>

namespace {

using Setup = std::function<void(ScriptedDriver&)>;

struct Case {
    QStringList arguments;
    int status;
    const char* out;  // regular expression for the whole of standard output
    const char* err;  // the same for standard error
    Setup setup = {};
};

void HotRemote(ScriptedDriver& d) {
    auto& chip = d.Chip(0x4C);
    chip[0x00] = 30;
    chip[0x01] = 40;
    chip[0x10] = 0x40;
    chip[0x02] = 0x90;  // busy and remote high
}

const char* const NoOutput = "";
const std::string Refused = "kts9320b-cli: .* Try 'kts9320b-cli --help'\\.\n";

TEST(CliCommands, AnswersAndExitStatus) {
    const Case cases[] = {
        {{"temps"}, 0, "local   30 °C\nremote  40.25 °C\nalarms  RemHi\n", NoOutput, HotRemote},
        {{"--json", "temps"}, 0, "\\{\"local_C\":30,\"remote_C\":40.25,\"status\":144,\"alarms\":\\[\"RemHi\"\\]\\}\n",
         NoOutput, HotRemote},
        {{"read", "STATUS", "0x05", "Remote Temp Low Byte", "18"}, 0,
         "Status  +0x02  0x90  144  Bsy RemHi\nLocal Temp High Limit +0x05  0x55   85  85 °C\n"
         "Remote Temp Low Byte +0x10  0x40   64  \\+.25 °C\nRemote Offset Low Byte +0x12  0x00    0  \\+0 °C\n",
         NoOutput, HotRemote},
        {{"read", "0x0f", "--json"}, 0, "\\{\"registers\":\\[\\{\"name\":\"Unknown\",\"address\":15,\"value\":0,\"hex\":\"0x00\"\\}\\]\\}\n",
         NoOutput},
        {{"write", "0x05", "90"}, 0, "wrote 0x5A \\(90\\) to Local Temp High Limit \\(0x0B\\)\n", NoOutput},
        {{"write", "configuration", "0x44"}, 0, "wrote 0x44 \\(68\\) to Configuration \\(0x09\\)\n", NoOutput},
        {{"write", "0x0f", "0"}, 0, "wrote 0x00 \\(0\\) to 0x0F\n", NoOutput},
        {{"scan"}, 0, "0x4C\n0x4D\n", NoOutput, [](ScriptedDriver& d) { FillChipDefaults(d.Chip(0x4D)); }},
        {{"--json", "scan"}, 0, "\\{\"addresses\":\\[76\\]\\}\n", NoOutput},
        {{"--address", "0x50", "scan"}, 0, "0x50\n", NoOutput, [](ScriptedDriver& d) { FillChipDefaults(d.Chip(0x50)); }},
        {{"dump", "--raw"}, 0, "Local Temp Value +0x00  0x1E   30  30 °C\n(.*\n){19}\n +0  1  2 .* f    0123456789abcdef\n"
                                "00: 1e 28 90 00 08 55 00 55 00 00 00 00 00 00 00 00    \\?\\(\\?\\.\\?U\\.U\\.{8}\n(.*\n){15}",
         NoOutput, HotRemote},
        {{"--address", "0x4d", "temps"}, 1, NoOutput,
         "kts9320b-cli: no chip: Initial Connection Failed - Check USB connections\n"},
        {{"scan"}, 1, NoOutput, "kts9320b-cli: no chip: .*\n", [](ScriptedDriver& d) { d.chips.clear(); }},
        {{"temps"}, 1, NoOutput, "kts9320b-cli: firmware: Firmware failed to download - Check USB connections\n",
         [](ScriptedDriver& d) { d.firmwareResult = -1; }},
        {{"temps"}, 1, NoOutput, "kts9320b-cli: connect: Initial Connection Failed - Check USB connections\n",
         [](ScriptedDriver& d) { d.connectRefusals = 29; }},
        {{"temps"}, 0, "local .*\n.*\n.*\n", NoOutput, [](ScriptedDriver& d) { d.connectRefusals = 28; }},
        {{"dump"}, 1, NoOutput, "kts9320b-cli: transfer: Communications Interrupted - Check USB connections\n",
         [](ScriptedDriver& d) { d.failAfter = 60; }},
        {{"write", "status", "1"}, 2, NoOutput, "kts9320b-cli: Status \\(0x02\\) is read-only\\. Try .*\n"},
        {{"write", "0x05", "256"}, 2, NoOutput, Refused.c_str()},
        {{"write", "0x05", "-1"}, 2, NoOutput, Refused.c_str()},
        {{"write", "0x05"}, 2, NoOutput, "kts9320b-cli: Usage: kts9320b-cli \\[options\\] write REG VALUE\\. Try .*\n"},
        {{"read", "0x100"}, 2, NoOutput, "kts9320b-cli: There is no register '0x100': .*\n"},
        {{"read", "12abc"}, 2, NoOutput, Refused.c_str()},
        {{"read"}, 2, NoOutput, Refused.c_str()},
        {{"temps", "now"}, 2, NoOutput, "kts9320b-cli: temps takes no arguments: 'now'\\. Try .*\n"},
        {{"frobnicate"}, 2, NoOutput, "kts9320b-cli: There is no command 'frobnicate'\\. Try .*\n"},
        {{}, 2, NoOutput, Refused.c_str()},
        {{"temps", "--interval", "5"}, 2, NoOutput, "kts9320b-cli: --interval does not apply to temps\\. Try .*\n"},
        {{"monitor", "--count", "0"}, 2, NoOutput, Refused.c_str()},
        {{"monitor", "--interval", "-5"}, 2, NoOutput, Refused.c_str()},
        {{"monitor", "--duration", "abc"}, 2, NoOutput, Refused.c_str()},
        {{"monitor", "--output", "/nonexistent/folder/log.csv"}, 2, NoOutput,
         "kts9320b-cli: could not open /nonexistent/folder/log.csv: No such file or directory\n"},
        // One file under two names is refused, however it is spelled.
        {{"monitor", "--output", "/tmp/kts-same.csv", "--events", "/tmp/./kts-same.csv"}, 2, NoOutput,
         "kts9320b-cli: --events '/tmp/\\./kts-same\\.csv' and --output '/tmp/kts-same\\.csv' name the same file\\. Try .*\n"},
        {{"monitor", "--output", "/tmp/../tmp/kts-same.csv", "--events", "/tmp/kts-same.csv"}, 2, NoOutput,
         "kts9320b-cli: --events .* name the same file\\. Try .*\n"},
        {{"--address", "0x78", "temps"}, 2, NoOutput, Refused.c_str()},
        {{"--driver", "/nonexistent/libUSBFunctions.so", "temps"}, 2, NoOutput, Refused.c_str()},
        {{"recall", "/nonexistent.sav"}, 2, NoOutput,
         "kts9320b-cli: Could not open /nonexistent.sav:\nNo such file or directory\n\nNo registers were written\\.\n"},
        {{"--version"}, 0, "kts9320b-cli 1\\.0\\.0\n", NoOutput},
    };
    for (const Case& c : cases) {
        CliRunner cli;
        HotRemote(cli.driver);
        if (c.setup) c.setup(cli.driver);
        const CliAnswer answer = cli.Run(c.arguments);
        const std::string line = c.arguments.join(' ').toStdString();
        EXPECT_EQ(answer.status, c.status) << line << "\n" << answer.err;
        EXPECT_TRUE(std::regex_match(answer.out, std::regex(c.out))) << line << "\nout: " << answer.out;
        EXPECT_TRUE(std::regex_match(answer.err, std::regex(c.err))) << line << "\nerr: " << answer.err;
        // A refused command line reaches nothing of the board.
        if (c.status == 2) {
            EXPECT_TRUE(cli.driver.log.empty() && cli.driver.firmwarePaths.empty()) << line;
        }
    }
}

TEST(CliCommands, WriteGoesThroughTheWriteAddressAndRefreshesTheShadow) {
    CliRunner cli;
    cli.Run({"write", "configuration", "0x04"});
    const auto writes = cli.driver.Writes();
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0], std::make_pair(0x09, 0x04));
    EXPECT_TRUE(RegMapStuff::ExtendedRange);
    // The range rule now applies: code 0x5E is 30 °C.
    cli.driver.Chip(0x4C)[0x00] = 0x5E;
    EXPECT_EQ(cli.Run({"temps"}).out.substr(0, 14), "local   30 \u00B0C");
}

TEST(CliCommands, SaveAndRecallCarryTheChangedRegisters) {
    QTemporaryDir folder;
    const QString file = folder.filePath("chamber.sav");
    CliRunner cli;
    cli.driver.Chip(0x4C)[0x05] = 90;
    EXPECT_EQ(cli.Run({"save", file}).out, "Saved 1 register to " + file.toStdString() + ".\n");
    cli.driver.ClearLog();
    EXPECT_EQ(cli.Run({"recall", file}).out, "1 register was written.\n");
    EXPECT_EQ(cli.driver.Writes(), (std::vector<std::pair<int, int>>{{0x0B, 90}}));

    // A line that does not read whole refuses the file, named by its line, before any write.
    QFile edited(file);
    ASSERT_TRUE(edited.open(QIODevice::WriteOnly) && edited.write("{\n0x0B\t0x55\n0x0B\t0xGG // Local High\n}\n") > 0);
    edited.close();
    cli.driver.ClearLog();
    const CliAnswer refused = cli.Run({"recall", file});
    EXPECT_EQ(refused.status, 2);
    EXPECT_NE(refused.err.find("was not recalled: line 3 does not read"), std::string::npos) << refused.err;
    EXPECT_TRUE(cli.driver.Writes().empty());
}

TEST(CliCommands, PatientConnectTriesEvery200msForTheWindowsProgramsWholeWait) {
    CliRunner cli;
    cli.driver.connectRefusals = 100;
    const double start = cli.clock.now;
    EXPECT_EQ(cli.Run({"temps"}).status, 1);
    int connects = 0;
    for (const auto& r : cli.driver.log) connects += r.request == 221;
    EXPECT_EQ(connects, 29);  // at 0, 0.2, ... 5.6 s; the windows program gives up at 5.7 s
    EXPECT_NEAR(cli.clock.now - start, 5.6, 1e-6);
}

}  // namespace
