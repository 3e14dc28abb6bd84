// set and apply where the writes are cut short, and where the range changes under limits the
// user did not name: what each says, its exit status and what it writes.
#include "CliRunner.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <functional>

namespace {

using Writes = std::vector<std::pair<int, int>>;
const std::string Failed = "kts9320b-cli: transfer: Communications Interrupted - Check USB connections\n";

// The write of that register fails; the board answers again after it, or never.
std::function<void(ScriptedDriver&)> FailWriteOf(int reg, bool answersAfter) {
    return [reg, answersAfter](ScriptedDriver& d) {
        d.Chip(0x4C)[0x13] = 0xC0;  // remote-high holds 85.75 before the set
        d.onRequest = [&d, reg, answersAfter](const DriverRequest& r) {
            if (r.request == 222 && r.direction == 0 && (r.index & 0xFF) == reg) {
                d.failAfter = static_cast<int>(d.log.size()) - 1;
            } else if (answersAfter) {
                d.failAfter = -1;
            }
        };
    };
}

void ExtendedRangeWithLocalLow(ScriptedDriver& d, int code) {
    d.Chip(0x4C)[0x03] = 0x04;
    d.Chip(0x4C)[0x06] = code;
}

struct Case {
    QStringList arguments;
    std::function<void(ScriptedDriver&)> setup;
    int status;
    std::string out;
    std::string err;
    Writes writes;  // every write tried, the failed one last
};

TEST(FieldWrites, CutShortOrAcrossARangeChange) {
    const Case cases[] = {
        {{"set", "local-high=90", "remote-high=90.25", "remote-low=10"}, FailWriteOf(0x13, true), 1, "",
         Failed + "kts9320b-cli: written: local-high=90\n"
                  "kts9320b-cli: half written: remote-high=90.25: its first byte landed, its second did not; "
                  "the chip now holds 90.75\n"
                  "kts9320b-cli: not written: remote-low=10\n",
         {{0x0B, 90}, {0x0D, 90}, {0x13, 0x40}}},
        {{"set", "remote-high=90.25", "local-high=90"}, FailWriteOf(0x13, false), 1, "",
         Failed + "kts9320b-cli: half written: remote-high=90.25: its first byte landed, its second did not; "
                  "the chip cannot be read to tell what it now holds\n"
                  "kts9320b-cli: not written: local-high=90\n",
         {{0x0D, 90}, {0x13, 0x40}}},
        {{"set", "remote-high=90.25", "local-high=90", "standby=on"}, FailWriteOf(0x0B, true), 1, "",
         Failed + "kts9320b-cli: written: remote-high=90.25\nkts9320b-cli: not written: local-high=90, standby=on\n",
         {{0x0D, 90}, {0x13, 0x40}, {0x0B, 90}}},
        // Into the extended range every limit not named keeps its degrees: 85 is code 149 there.
        {{"set", "extended-range=on", "local-high=90", "remote-low=-20.75"}, {}, 0,
         "extended-range=on\nlocal-high=90\nremote-low=-20.75\n"
         "# local-low=0 kept: re-coded for the extended range\n"
         "# local-therm=85 kept: re-coded for the extended range\n"
         "# remote-high=85.75 kept: re-coded for the extended range\n"
         "# remote-therm=85 kept: re-coded for the extended range\n",
         "",
         {{0x09, 0x04}, {0x0B, 154}, {0x0E, 43}, {0x14, 0x40}, {0x0C, 64}, {0x20, 149}, {0x0D, 149}, {0x13, 0xC0}, {0x19, 149}},
         },
        {{"--json", "set", "extended-range=on", "local-high=90", "local-low=1", "local-therm=95", "remote-high=90",
          "remote-low=2"}, {}, 0,
         "{\"extended-range\":true,\"local-high\":90,\"local-low\":1,\"local-therm\":95,\"remote-high\":90,"
         "\"remote-low\":2,\"re-coded\":{\"remote-therm\":85}}\n",
         "",
         {{0x09, 0x04}, {0x0B, 154}, {0x0C, 65}, {0x20, 159}, {0x0D, 154}, {0x13, 0}, {0x0E, 66}, {0x14, 0}, {0x19, 149}}},
        // Out of it, a limit below 0 °C has no code: nothing is written.
        {{"set", "extended-range=off"}, [](ScriptedDriver& d) { ExtendedRangeWithLocalLow(d, 54); }, 2, "",
         "kts9320b-cli: local-low is -10 \u00B0C, which the default range cannot hold: set it as well, or keep "
         "every limit's code with --keep-codes.\n",
         {}},
        {{"set", "extended-range=off", "local-low=0", "remote-low=0"}, [](ScriptedDriver& d) { ExtendedRangeWithLocalLow(d, 54); },
         0,
         "extended-range=off\nlocal-low=0\nremote-low=0\n"
         "# local-high=21 kept: re-coded for the default range\n"
         "# local-therm=21 kept: re-coded for the default range\n"
         "# remote-high=21.75 kept: re-coded for the default range\n"
         "# remote-therm=21 kept: re-coded for the default range\n",
         "",
         {{0x09, 0x00}, {0x0C, 0}, {0x0E, 0}, {0x14, 0}, {0x0B, 21}, {0x20, 21}, {0x0D, 21}, {0x13, 0xC0}, {0x19, 21}}},
        {{"set", "--keep-codes", "extended-range=off"}, [](ScriptedDriver& d) { ExtendedRangeWithLocalLow(d, 54); }, 0,
         "extended-range=off\n", "", {{0x09, 0x00}}},
    };
    for (const Case& c : cases) {
        CliRunner cli;
        cli.driver.Chip(0x4C)[0x13] = 0xC0;
        if (c.setup) c.setup(cli.driver);
        const CliAnswer answer = cli.Run(c.arguments);
        const std::string line = c.arguments.join(' ').toStdString();
        EXPECT_EQ(answer.status, c.status) << line;
        EXPECT_EQ(answer.out, c.out) << line;
        EXPECT_EQ(answer.err, c.err) << line;
        EXPECT_EQ(cli.driver.Writes(), c.writes) << line;
    }
}

TEST(FieldWrites, ApplyTakesAByteOrderMark) {
    QTemporaryDir folder;
    QFile file(folder.filePath("chamber.txt"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("\xEF\xBB\xBFlocal-high=90\n");
    file.close();
    CliRunner cli;
    const CliAnswer answer = cli.Run({"apply", file.fileName()});
    EXPECT_EQ(answer.status, 0) << answer.err;
    EXPECT_EQ(answer.out, "local-high=90\n");
}

}  // namespace
