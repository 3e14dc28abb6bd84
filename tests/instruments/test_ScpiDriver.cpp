// SCPI chambers and references against a stand-in instrument on a loopback TCP port and on a
// pseudo-terminal pair, the test holding the other end.
#include "LabProcess.h"
#include "instruments/DriverMakers.h"

#include <gtest/gtest.h>

using namespace Instruments;

namespace {

const std::string Pval = ":SOUR:CLOOP1:PVAL?";

struct TcpInstrument {
    LabProcess server{Python(), {LabScript("scpi_instrument.py")}};
    std::string address = "tcp:127.0.0.1:" + server.NextLine().substr(std::string("listening ").size());
};

struct SerialInstrument {
    LabProcess socat{"socat", {"-d", "-d", "pty,raw,echo=0", "pty,raw,echo=0"}};
    std::string ours = Pty(), theirs = Pty();
    LabProcess server{Python(), {LabScript("scpi_instrument.py"), "--device", QString::fromStdString(theirs)}};
    std::string address = "serial:" + ours + ":9600";
    bool ready = !server.NextLine().empty();
    std::string Pty() {
        const std::string line = socat.NextLine(QProcess::StandardError);
        return line.substr(line.find("PTY is ") + 7);
    }
};

void CheckSetsAndReads(const std::string& address, LabProcess& server) {
    std::string refusal;
    auto chamber = MakeScpiChamber(Settings(Driver::Scpi, address, Pval), refusal);
    ASSERT_TRUE(chamber) << refusal;
    EXPECT_EQ(chamber->ReadTemperature().celsius, 21.5);
    for (double setpoint : {25.0, -40.0, 12.5}) {
        EXPECT_EQ(chamber->SetSetpoint(setpoint), "");
        EXPECT_EQ(chamber->ReadTemperature().celsius, setpoint);
    }
    EXPECT_NE(server.Printed().find("SPO 25\n:SOUR:CLOOP1:PVAL?\n:SOUR:CLOOP1:SPO -40\n"), std::string::npos);
    chamber.reset();  // a serial line has one user at a time
    auto reference = MakeScpiThermometer(Settings(Driver::Scpi, address, "MEAS:TEMP?"), refusal);
    ASSERT_TRUE(reference) << refusal;
    EXPECT_EQ(reference->Read().celsius, 25.3) << reference->Read().failure;
}

}  // namespace

TEST(ScpiDriver, SetsAndReadsOverTcp) {
    TcpInstrument instrument;
    CheckSetsAndReads(instrument.address, instrument.server);
}

TEST(ScpiDriver, SetsAndReadsOverASerialLine) {
    SerialInstrument instrument;
    ASSERT_TRUE(instrument.ready);
    CheckSetsAndReads(instrument.address, instrument.server);
}

TEST(ScpiDriver, ADroppedLinkReconnectsOnTheNextCall) {
    TcpInstrument instrument;
    std::string refusal;
    InstrumentSettings settings = Settings(Driver::Scpi, instrument.address, Pval);
    settings.set = "DROP {setpoint}";
    auto chamber = MakeScpiChamber(settings, refusal);
    ASSERT_TRUE(chamber) << refusal;
    EXPECT_EQ(chamber->SetSetpoint(30), "");
    QThread::msleep(200);
    EXPECT_EQ(chamber->ReadTemperature().celsius, 21.5) << chamber->ReadTemperature().failure;
}

TEST(ScpiDriver, FailuresNameTheInstrumentAndTheReply) {
    TcpInstrument tcp;
    SerialInstrument serial;
    ASSERT_TRUE(serial.ready);
    const std::string refused = "tcp:127.0.0.1:" + std::to_string(FreePort());
    const struct {
        std::string address, read, failure;
    } cases[] = {
        {tcp.address, "SLOW?", "scpi " + tcp.address + ": no answer within 0.5 s"},
        {serial.address, "SLOW?", "scpi " + serial.address + ": no answer within 0.5 s"},
        {tcp.address, "BAD?", "scpi " + tcp.address + ": the reply \"ERR\" is no temperature"},
        {serial.address, "BAD?", "scpi " + serial.address + ": the reply \"ERR\" is no temperature"},
        {refused, Pval, "scpi " + refused + ": cannot connect: Connection refused"},
        {"serial:/nonexistent/tty:9600", Pval, "scpi serial:/nonexistent/tty:9600: cannot open: "},
    };
    for (const auto& c : cases) {
        std::string refusal;
        auto reference = MakeScpiThermometer(Settings(Driver::Scpi, c.address, c.read, 500), refusal);
        ASSERT_TRUE(reference) << refusal;
        const Reading first = reference->Read();
        EXPECT_EQ(first.failure.substr(0, c.failure.size()), c.failure);
        if (c.read != "SLOW?") continue;
        // An answer that came too late is not taken for the next query's.
        QThread::msleep(700);
        EXPECT_FALSE(reference->Read()) << c.address;
    }
    std::string refusal;
    EXPECT_FALSE(MakeScpiThermometer(Settings(Driver::Scpi, "tcp:127.0.0.1", Pval), refusal));
    EXPECT_EQ(refusal, "the address \"tcp:127.0.0.1\" is neither \"tcp:HOST:PORT\" nor \"serial:DEVICE:BAUD\"");
}
