// SCPI chambers and references against a stand-in instrument on a loopback TCP port and on a
// pseudo-terminal pair, the test holding the other end.
#include "LabProcess.h"
#include "instruments/DriverMakers.h"

#include <gtest/gtest.h>

using namespace Instruments;

namespace {

const std::string Pval = ":SOUR:CLOOP1:PVAL?";

InstrumentSettings Scpi(const std::string& address, const std::string& read = Pval, int32_t timeoutMs = 2000,
                        const std::string& set = ":SOUR:CLOOP1:SPO {setpoint}") {
    return {Driver::Scpi, address, set, read, 1, -1, -1, ModbusFormat::Float32, 1, timeoutMs};
}

struct TcpInstrument {
    LabProcess server{{"scpi_instrument.py"}};
    std::string address = "tcp:127.0.0.1:" + server.NextLine().substr(std::string("listening ").size());
};

struct SerialInstrument {
    LabProcess socat{{"-d", "-d", "pty,raw,echo=0", "pty,raw,echo=0"}, "socat"};
    std::string ours = Pty(), theirs = Pty();
    LabProcess server{{"scpi_instrument.py", "--device", QString::fromStdString(theirs)}};
    std::string address = "serial:" + ours + ":9600";
    std::string started = server.NextLine();  // the device is open
    std::string Pty() {
        const std::string line = socat.NextLine(QProcess::StandardError);
        return line.substr(line.find("PTY is ") + 7);
    }
};

void CheckSetsAndReads(const std::string& address, LabProcess& server) {
    std::string refusal;
    auto chamber = MakeScpiChamber(Scpi(address), refusal);
    ASSERT_TRUE(chamber) << refusal;
    for (double setpoint : {25.0, -40.0, 12.5}) {
        EXPECT_EQ(chamber->SetSetpoint(setpoint), "");
        EXPECT_EQ(chamber->ReadTemperature().celsius, setpoint);
    }
    EXPECT_NE(server.Printed().find("SPO 25\n:SOUR:CLOOP1:PVAL?\n:SOUR:CLOOP1:SPO -40\n"), std::string::npos);
    chamber.reset();  // a serial line has one user at a time
    auto reference = MakeScpiThermometer(Scpi(address, "MEAS:TEMP?"), refusal);
    ASSERT_TRUE(reference) << refusal;
    EXPECT_EQ(reference->Read().celsius, 25.3);
}

}  // namespace

TEST(ScpiDriver, SetsAndReadsOverTcpAndASerialLine) {
    TcpInstrument tcp;
    CheckSetsAndReads(tcp.address, tcp.server);
    SerialInstrument serial;
    CheckSetsAndReads(serial.address, serial.server);
}

TEST(ScpiDriver, FailuresNameTheInstrumentAndTheReply) {
    TcpInstrument tcp;
    SerialInstrument serial;
    const std::string refused = "tcp:127.0.0.1:" + std::to_string(FreePort());
    const struct { std::string address, read, failure; } cases[] = {
        {tcp.address, "SLOW?", "scpi " + tcp.address + ": no answer within 0.5 s"},
        {serial.address, "SLOW?", "scpi " + serial.address + ": no answer within 0.5 s"},
        {tcp.address, "BAD?", "scpi " + tcp.address + ": the reply \"ERR\" is no temperature"},
        {refused, Pval, "scpi " + refused + ": cannot connect: Connection refused"},
        {"serial:/nonexistent/tty:9600", Pval, "scpi serial:/nonexistent/tty:9600: cannot open: "},
    };
    std::string refusal;
    for (const auto& c : cases) {
        auto reference = MakeScpiThermometer(Scpi(c.address, c.read, 500), refusal);
        ASSERT_TRUE(reference) << refusal;
        EXPECT_EQ(reference->Read().failure.substr(0, c.failure.size()), c.failure);
        if (c.read != "SLOW?") continue;
        // An answer that came too late is not taken for the next query's.
        QThread::msleep(700);
        EXPECT_FALSE(reference->Read()) << c.address;
    }
    // The instrument closes the link on this setpoint; the next call connects again.
    auto chamber = MakeScpiChamber(Scpi(tcp.address, Pval, 2000, "DROP {setpoint}"), refusal);
    EXPECT_EQ(chamber->SetSetpoint(30), "");
    QThread::msleep(200);
    EXPECT_EQ(chamber->ReadTemperature().celsius, 21.5);
}
