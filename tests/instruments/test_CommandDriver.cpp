// Chambers and references driven by external programs, run without a shell.
#include "LabProcess.h"
#include "instruments/DriverMakers.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Instruments;

TEST(CommandDriver, ReadsTheFirstNumberPrintedOrSaysWhyNot) {
    const struct {
        std::string read;
        std::optional<double> celsius;
        std::string failure;
    } cases[] = {
        {"sh -c 'echo \"T = -40.5 C\"'", -40.5, ""},
        {"echo ERR", std::nullopt, "command: the reply \"ERR\" is no temperature"},
        {"sh -c 'echo 25; echo jammed >&2; exit 3'", std::nullopt, "command: \"sh -c 'echo 25; echo jammed >&2; exit 3'\" failed with status 3: jammed"},
        {"sleep 5", std::nullopt, "command: \"sleep 5\": no answer within 0.5 s"},
        {"/nonexistent/reader", std::nullopt, "command: cannot start \"/nonexistent/reader\": "},
    };
    for (const auto& c : cases) {
        std::string refusal;
        auto reference = MakeCommandThermometer(Settings(Driver::Command, "", c.read, 500), refusal);
        ASSERT_TRUE(reference) << refusal;
        const Reading reading = reference->Read();
        EXPECT_EQ(reading.celsius, c.celsius) << c.read;
        EXPECT_EQ(reading.failure.substr(0, c.failure.size()), c.failure);
    }
}

TEST(CommandDriver, TheSetpointIsOneArgumentInItsShortestForm) {
    QTemporaryDir folder;
    const std::string file = folder.filePath("setpoint").toStdString();
    InstrumentSettings settings = Settings(Driver::Command, "", "cat '" + file + "'");
    settings.set = "sh -c 'printf \"%s|\" \"$@\" > \"$0\"' '" + file + "' '{setpoint} °C' {setpoint}";
    std::string refusal;
    auto chamber = MakeCommandChamber(settings, refusal);
    ASSERT_TRUE(chamber) << refusal;
    for (double setpoint : {12.5, -40.0}) {
        EXPECT_EQ(chamber->SetSetpoint(setpoint), "");
        EXPECT_EQ(chamber->ReadTemperature().celsius, setpoint);
    }
    QFile written(QString::fromStdString(file));
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll().toStdString(), "-40 °C|-40|");
}
