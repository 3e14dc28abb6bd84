// Chambers and references driven by external programs, run without a shell.
#include "instruments/DriverMakers.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Instruments;

TEST(CommandDriver, ReadsTheFirstNumberPrintedOrSaysWhyNot) {
    const std::string failing = "sh -c 'echo 25; echo jammed >&2; exit 3'";
    const struct { std::string read; std::optional<double> celsius; std::string failure; } cases[] = {
        {"sh -c 'echo \"T = -40.5 C\"'", -40.5, ""},
        {"echo ERR", std::nullopt, "command: the reply \"ERR\" is no temperature"},
        {failing, std::nullopt, "command: \"" + failing + "\" failed with status 3: jammed"},
        {"sleep 5", std::nullopt, "command: \"sleep 5\": no answer within 0.5 s"},
        {"/nonexistent/reader", std::nullopt, "command: cannot start \"/nonexistent/reader\": "},
    };
    for (const auto& c : cases) {
        std::string refusal;
        auto reference = MakeCommandThermometer({Driver::Command, "", "", c.read, 1, -1, -1, {}, 1, 500}, refusal);
        ASSERT_TRUE(reference) << refusal;
        const Reading reading = reference->Read();
        EXPECT_EQ(reading.celsius, c.celsius) << c.read;
        EXPECT_EQ(reading.failure.substr(0, c.failure.size()), c.failure);
    }
}

TEST(CommandDriver, TheSetpointReachesTheProgramInsideItsArgument) {
    QTemporaryDir folder;
    const std::string file = folder.filePath("setpoint").toStdString();
    // Split into words, a setpoint between quotes would leave the file holding "at" alone.
    const std::string set = "sh -c 'echo \"$1\" > \"$0\"' '" + file + "' 'at {setpoint} °C'";
    std::string refusal;
    auto chamber = MakeCommandChamber({Driver::Command, "", set, "cat '" + file + "'"}, refusal);
    ASSERT_TRUE(chamber) << refusal;
    for (double setpoint : {12.5, -40.0}) {
        EXPECT_EQ(chamber->SetSetpoint(setpoint), "");
        EXPECT_EQ(chamber->ReadTemperature().celsius, setpoint);
    }
}
