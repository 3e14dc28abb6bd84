// set where the writes are cut short, and where the range changes under limits the user did
// not name: what it says, its exit status and the writes it tries.
#include "CliRunner.h"

#include <gtest/gtest.h>

namespace {

const std::string Failed = "kts9320b-cli: transfer: Communications Interrupted - Check USB connections\n";

// The write of that register fails; the board answers again after it, or never.
std::function<void(ScriptedDriver&)> FailWriteOf(int reg, bool answersAfter) {
    return [reg, answersAfter](ScriptedDriver& d) {
        d.onRequest = [&d, reg, answersAfter](const DriverRequest& r) {
            if (r.direction == 0 && (r.index & 0xFF) == reg) d.failAfter = static_cast<int>(d.log.size()) - 1;
            else if (answersAfter) d.failAfter = -1;
        };
    };
}

// Every write lands; the board answers nothing after the remote limit's second byte.
void FailAfterWrites(ScriptedDriver& d) {
    d.onRequest = [&d](const DriverRequest& r) {
        if (r.direction == 0 && (r.index & 0xFF) == 0x13) d.failAfter = static_cast<int>(d.log.size());
    };
}

// Extended range, local-low at -10 °C.
void Extended(ScriptedDriver& d) { d.Chip(0x4C)[0x03] = 0x04, d.Chip(0x4C)[0x06] = 54; }

TEST(FieldWrites, CutShortOrAcrossARangeChange) {
    const struct {
        QStringList arguments;
        std::function<void(ScriptedDriver&)> setup;
        int status;
        std::string out, err;
        std::vector<std::pair<int, int>> writes;  // every write tried, a failed one last
    } cases[] = {
        {{"set", "local-high=90", "remote-high=90.25", "remote-low=10"}, FailWriteOf(0x13, true), 1, "",
         Failed + "kts9320b-cli: written: local-high=90\nkts9320b-cli: half written: remote-high=90.25: its first "
                  "byte landed, its second did not; the chip now holds 90.75\nkts9320b-cli: not written: remote-low=10\n",
         {{0x0B, 90}, {0x0D, 90}, {0x13, 0x40}}},
        {{"set", "remote-high=90.25", "local-high=90"}, FailWriteOf(0x13, false), 1, "",
         Failed + "kts9320b-cli: half written: remote-high=90.25: its first byte landed, its second did not; the chip "
                  "cannot be read to tell what it now holds\nkts9320b-cli: not written: local-high=90\n",
         {{0x0D, 90}, {0x13, 0x40}}},
        {{"set", "remote-high=90.25", "local-high=90", "standby=on"}, FailWriteOf(0x0B, true), 1, "",
         Failed + "kts9320b-cli: written: remote-high=90.25\nkts9320b-cli: not written: local-high=90, standby=on\n",
         {{0x0D, 90}, {0x13, 0x40}, {0x0B, 90}}},
        {{"set", "local-high=90", "remote-high=90.25"}, FailAfterWrites, 1, "",
         Failed + "kts9320b-cli: written: local-high=90, remote-high=90.25\nkts9320b-cli: the chip could not be read "
                  "back to check them\n",
         {{0x0B, 90}, {0x0D, 90}, {0x13, 0x40}}},
        // The limits not named keep their degrees: 85.75 is code 149 and .75 in the extended range.
        {{"set", "extended-range=on", "local-high=90", "local-low=1", "local-therm=95", "remote-low=2"}, {}, 0,
         "extended-range=on\nlocal-high=90\nlocal-low=1\nlocal-therm=95\nremote-low=2\n# remote-high=85.75 kept: "
         "re-coded for the extended range\n# remote-therm=85 kept: re-coded for the extended range\n", "",
         {{0x09, 0x04}, {0x0B, 154}, {0x0C, 65}, {0x20, 159}, {0x0E, 66}, {0x14, 0}, {0x0D, 149}, {0x13, 0xC0}, {0x19, 149}}},
        {{"set", "extended-range=off"}, Extended, 2, "",
         "kts9320b-cli: local-low is -10 \u00B0C, which the default range cannot hold: set it as well, or keep every "
         "limit's code with --keep-codes.\n", {}},
    };
    for (const auto& c : cases) {
        CliRunner cli;
        cli.driver.Chip(0x4C)[0x13] = 0xC0;  // remote-high at 85.75
        if (c.setup) c.setup(cli.driver);
        const CliAnswer answer = cli.Run(c.arguments);
        const std::string line = c.arguments.join(' ').toStdString();
        EXPECT_EQ(answer.status, c.status) << line;
        EXPECT_EQ(answer.out, c.out) << line;
        EXPECT_EQ(answer.err, c.err) << line;
        EXPECT_EQ(cli.driver.Writes(), c.writes) << line;
    }
}

}  // namespace
