// get, set and apply by field, and temps --fail-on-alarm, on a scripted chip at 4Ch: what each
// prints, its exit status and the register writes it makes.
#include "CliRunner.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <functional>

namespace {

using Writes = std::vector<std::pair<int, int>>;

struct Case {
    QStringList arguments;
    int status;
    std::string out;
    std::string err;
    Writes writes;
    std::function<void(ScriptedDriver&)> setup = {};
};

void Chip(ScriptedDriver& d, int reg, int value) { d.Chip(0x4C)[reg] = value; }

TEST(FieldCommands, AnswersStatusAndWrites) {
    const Case cases[] = {
        {{"set", "--keep-codes", "local-high=-10", "remote-high=95.25C", "extended-range=on"}, 0,
         "local-high=-10\nremote-high=95.25\nextended-range=on\n", "", {{0x09, 0x04}, {0x0B, 54}, {0x0D, 159}, {0x13, 0x40}}},
        {{"set", "standby=on", "conversion-rate=1Hz"}, 0, "standby=on\nconversion-rate=1\n", "", {{0x09, 0xC4}, {0x0A, 0xF4}},
         [](ScriptedDriver& d) { Chip(d, 0x03, 0x84), Chip(d, 0x04, 0xF8); }},
        {{"set", "local-high=-10"}, 0, "local-high=-10\n", "", {{0x0B, 54}}, [](ScriptedDriver& d) { Chip(d, 0x03, 0x04); }},
        {{"set", "local-high=-10"}, 2, "", "kts9320b-cli: local-high=-10: local-high takes 0 to 255 \u00B0C in the default range "
                                          "(-64 to 191 \u00B0C in the extended range).\n", {}},
        {{"set", "local-high=90"}, 1, "local-high=80\n", "kts9320b-cli: local-high reads back 80, not 90\n", {{0x0B, 90}},
         [](ScriptedDriver& d) { d.onRequest = [&d](const DriverRequest& r) { if (r.index == 0x05) Chip(d, 0x05, 80); }; }},
        {{"--json", "get", "remote-offset", "standby", "conversion-rate"}, 0,
         "{\"remote-offset\":-0.25,\"standby\":true,\"conversion-rate\":0.0625}\n", "", {},
         [](ScriptedDriver& d) { Chip(d, 0x11, 0xFF), Chip(d, 0x12, 0xC0), Chip(d, 0x03, 0x40), Chip(d, 0x04, 0x00); }},
        {{"temps", "--fail-on-alarm"}, 3, "local   0 \u00B0C\nremote  0 \u00B0C\nalarms  LocHi\n", "", {}, [](ScriptedDriver& d) { Chip(d, 2, 0x40); }},
        {{"temps", "--fail-on-alarm"}, 0, "local   0 \u00B0C\nremote  0 \u00B0C\nalarms  none\n", "", {}, [](ScriptedDriver& d) { Chip(d, 2, 0x80); }},
    };
    for (const Case& c : cases) {
        CliRunner cli;
        if (c.setup) c.setup(cli.driver);
        const CliAnswer answer = cli.Run(c.arguments);
        const std::string line = c.arguments.join(' ').toStdString();
        EXPECT_EQ(answer.status, c.status) << line;
        EXPECT_EQ(answer.out, c.out) << line;
        EXPECT_EQ(answer.err, c.err) << line;
        EXPECT_EQ(cli.driver.Writes(), c.writes) << line;
    }
}

TEST(FieldCommands, OneBadPairReachesNothingOfTheBoard) {
    for (const char* pairs : {"local-high=90 remote-high=95.3", "local-high=90 local-high=91", "local-high=90C conversion-rate=3Hz"}) {
        CliRunner cli;
        EXPECT_EQ(cli.Run(QStringList{"set"} + QString(pairs).split(' ')).status, 2) << pairs;
        EXPECT_TRUE(cli.driver.log.empty() && cli.driver.firmwarePaths.empty()) << pairs;
    }
}

TEST(FieldCommands, GetIntoAFileThenApplyIsARoundTrip) {
    QTemporaryDir folder;
    const QString path = folder.filePath("chamber.txt");
    CliRunner cli;
    cli.Run({"set", "extended-range=on", "remote-low=-20.75", "remote-offset=1.5", "mask-alert=on", "consecutive-alert=3"});
    const std::string settings = cli.Run({"get"}).out;
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(("\xEF\xBB\xBF# chamber, run 7\n\n" + settings).c_str());  // as an editor on Windows may
    file.close();

    FillChipDefaults(cli.driver.Chip(0x4C));
    const CliAnswer applied = cli.Run({"apply", path});
    EXPECT_EQ(applied.status, 0) << applied.err;
    EXPECT_EQ(applied.out, settings);
    EXPECT_EQ(cli.Run({"get"}).out, settings);

    // One bad line refuses the whole file, naming the line, and writes nothing.
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write("local-high=70.5  # not a whole degree\n");
    file.close();
    cli.driver.ClearLog();
    const CliAnswer refused = cli.Run({"apply", path});
    EXPECT_EQ(refused.status, 2);
    EXPECT_EQ(refused.err.rfind("kts9320b-cli: " + path.toStdString() + ":17: local-high=70.5: ", 0), 0u) << refused.err;
    EXPECT_TRUE(cli.driver.log.empty());
}

TEST(FieldCommands, CheckComparesInTheFieldsUnitsAndWritesNothing) {
    QTemporaryDir folder;
    QFile file(folder.filePath("chamber.txt"));
    CliRunner cli;
    cli.Run({"set", "remote-offset=1.5", "mask-alert=on"});
    const std::tuple<std::string, int, std::string> cases[] = {
        {cli.Run({"get"}).out, 0, ""},
        {"conversion-rate=16Hz\nlocal-high=85C\nremote-offset = 1.50 \u00B0C\n", 0, ""},
        {"conversion-rate=8 Hz\nlocal-high=85\nremote-offset=1.25\nmask-alert=off\n", 1,
         "conversion-rate: file 8, chip 16\nremote-offset: file 1.25, chip 1.5\nmask-alert: file off, chip on\n"},
        {"local-high=70.5\n", 2, ""},
    };
    for (const auto& [settings, status, out] : cases) {
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(settings.c_str());
        file.close();
        cli.driver.ClearLog();
        const CliAnswer answer = cli.Run({"apply", "--check", file.fileName()});
        EXPECT_EQ(answer.status, status) << settings << answer.err;
        EXPECT_EQ(answer.out, out) << settings;
        EXPECT_TRUE(cli.driver.Writes().empty()) << settings;
    }
}

}  // namespace
