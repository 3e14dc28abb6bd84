// The reader of finished runs: a table of files against the points read, and one of bad files
// against the line and the words of their message.
#include "files/RunFileReader.h"
#include "files/LogLines.h"
#include "files/Windows1252.h"
#include "state/GeneralStuff.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cmath>
#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace {

const QByteArray MonitorHeader = "time,elapsed_s,local_C,remote_C,status,alarms\n";
const QByteArray LimitsHeader = "time,elapsed_s,local_C,remote_C,status,alarms,local_high_C,local_low_C,"
                                "local_therm_C,remote_high_C,remote_low_C,remote_therm_C\n";
// The windows program's own log as it writes it: Windows-1252, CR LF, two runs.
QByteArray TwoRunLog() {
    QByteArray log;
    for (const QString& block : {QStringLiteral("Time ,Local(°C) ,Remote(°C) ,\r\n0, 25, 25.5,\r\n.1, 25, 25.75,\r\n"),
                                 QStringLiteral("Time ,Remote(°C) ,\r\n0,-10.5,\r\n.25, 7,\r\n.5, 8,\r\n")})
        log += "\r\nKTS9320B/3 Log File\r\n\r\n" + GeneralStuff::ToWindows1252(block);
    return log;
}

RunFileReader Read(const QByteArray& bytes, int piece = 0) {
    RunFileReader reader;
    // Fed whole, or in pieces as a growing file gives them.
    for (qsizetype at = 0; piece > 0 && at < bytes.size(); at += piece)
        reader.Feed(QByteArrayView(bytes).sliced(at, std::min<qsizetype>(piece, bytes.size() - at)), false);
    if (piece == 0) reader.Feed(bytes, true);
    reader.Feed({}, true);
    reader.Finish();
    return reader;
}

// A run as text: "names | time:value/value status ... | limits".
std::string Points(const FinishedRun& run) {
    QStringList out{run.traceNames.join('/') + (run.elapsedAxis ? " elapsed" : " " + run.date.toString(Qt::ISODate))};
    for (std::size_t i = 0; i < run.Rows(); ++i) {
        QString row = QString::number(run.times[i], 'f', 3) + ":";
        for (const auto& trace : run.values) row += (std::isnan(trace[i]) ? "-" : QString::number(trace[i])) + "/";
        if (!run.status.empty()) row += QString::number(run.status[i]);
        out << row;
    }
    if (run.limits) out << QStringLiteral("limits %1..%2").arg((*run.limits)[0]).arg((*run.limits)[5]);
    return out.join(" | ").toStdString();
}

}  // namespace

TEST(RunFileReader, ReadsEveryFormatTheProgramsWrite) {
    const struct {
        const char* name;
        QByteArray bytes;
        std::vector<std::string> runs;
    } cases[] = {
        {"monitor, hex status", MonitorHeader + "2026-12-07T23:59:59.500+01:00,0.000,30,40.25,0x00,\n"
                                                "2026-12-08T00:00:00.000+01:00,0.500,30.5,41,0x50,local-high remote-high\n",
         {"Local/Remote1 2026-12-07 | 86399.500:30/40.25/0 | 86400.000:30.5/41/80"}},
        {"monitor with limits, integer status, CR LF, no last line end",
         LimitsHeader + "2026-12-07T10:00:00.000+00:00,0.000,25,26,0,,85,0,85,85.25,-0.5,100\r\n"
                        "2026-12-07T10:00:01.000+00:00,1.000,25,26,2,remote-therm,80,0,85,85.25,-0.5,99",
         {"Local/Remote1 2026-12-07 | 36000.000:25/26/0 | 36001.000:25/26/2 | limits 80..99"}},
        {"chart export, an empty field", "Time,Local (°C),Remote1 (°C)\r\n2024-05-01T14:05:09.350,25,\r\n"
                                         "2024-05-01T14:05:09.400,-10.125,99.75\r\n",
         {"Local/Remote1 2024-05-01 | 50709.350:25/-/ | 50709.400:-10.125/99.75/"}},
        {"end of summer time", MonitorHeader + "2026-10-25T02:59:57+02:00,0,20,21,0,\n2026-10-25T02:00:02+01:00,5,22,23,0,\n",
         {"Local/Remote1 2026-10-25 | 10797.000:20/21/0 | 10802.000:22/23/0"}},
        {"start of summer time", MonitorHeader + "2026-03-29T01:59:58+01:00,0,20,21,0,\n2026-03-29T03:00:01+02:00,3,22,23,0,\n",
         {"Local/Remote1 2026-03-29 | 7198.000:20/21/0 | 7201.000:22/23/0"}},
        {"Z, then -05:00 past midnight", MonitorHeader + "2026-12-07T23:59:59Z,0,20,21,0,\n2026-12-07T19:00:01-05:00,2,22,23,0,\n",
         {"Local/Remote1 2026-12-07 | 86399.000:20/21/0 | 86401.000:22/23/0"}},
        {"no offset: a clock set back keeps the time before; widest temperatures",
         "Time,Local (°C)\n2024-05-01T02:59:57,-300\n2024-05-01T02:00:02,1000\n", {"Local 2024-05-01 | 10797.000:-300/ | 10797.000:1000/"}},
        {"log, two runs", TwoRunLog(),
         {"Local/Remote1 elapsed | 0.000:25/25.5/ | 0.100:25/25.75/",
          "Remote1 elapsed | 0.000:-10.5/ | 0.250:7/ | 0.500:8/"}},
    };
    for (const auto& c : cases) {
        for (const int piece : {0, 1, 7}) {
            const RunFileReader reader = Read(c.bytes, piece);
            EXPECT_TRUE(reader.Problem().IsEmpty()) << c.name << ": " << reader.Message("f").toStdString();
            std::vector<std::string> runs;
            for (const FinishedRun& run : reader.Runs()) runs.push_back(Points(run));
            EXPECT_EQ(runs, c.runs) << c.name << " in pieces of " << piece;
        }
    }
}

TEST(RunFileReader, BadFilesNameTheLineAndWhatWasExpected) {
    const struct {
        QByteArray bytes;
        qsizetype line;
        const char* words;
    } cases[] = {
        {"", 0, "holds no readings"},
        {MonitorHeader, 0, "holds no readings"},
        {"\n\nname,value\n", 3, "expected the header of a monitor CSV"},
        {"time,local_C\n", 1, "column \"remote_C\""},
        {MonitorHeader + "2026-12-07T10:00:00.000+00:00,0.000,25,26,0\n", 2, "expected 6 fields"},
        {MonitorHeader + "yesterday,0.000,25,26,0,\n", 2, "expected a time"},
        {MonitorHeader + "2026-12-07T10:00:00.000+00:00,0.000,hot,26,0,\n", 2, "temperature in column \"local_C\""},
        {MonitorHeader + "2026-12-07T10:00:00.000+00:00,0.000,25,26,0x1FF,\n", 2, "status from 0 to 255"},
        {LimitsHeader + "2026-12-07T10:00:00.000+00:00,0,25,26,0,,85,0,,85,0,85\n", 2, "limit in column \"local_therm_C\""},
        {"Time,Local (°C)\n2024-05-01T14:05:09.350,x\n", 2, "number or nothing in column \"Local\""},
        {"\r\nKTS9320B/3 Log File\r\n\r\nTime ,Local(\xB0" "C) ,\r\n0, 25\r\n", 5, "each followed by a comma"},
        {"\r\nKTS9320B/3 Log File\r\n\r\nTime ,Inside(\xB0" "C) ,\r\n", 4, "\"Local(°C) \" or"},
        {MonitorHeader + "2026-12-07T10:00:00Z,0,1e308,26,0,\n", 2, "temperature from -300 to 1000 °C in column \"local_C\", found \"1e308\""},
        {LimitsHeader + "2026-12-07T10:00:00Z,0,25,26,0,,85,0,85,1e308,0,85\n", 2, "limit from -300 to 1000 °C in column \"remote_high_C\""},
        {"Time,Local (°C)\n2024-05-01T14:05:09.350,1000.5\n", 2, "number from -300 to 1000 °C or nothing in column \"Local\""},
        {"\r\nKTS9320B/3 Log File\r\n\r\nTime ,Local(\xB0" "C) ,\r\n.1,-300.25,\r\n", 5, "temperature from -300 to 1000 °C for Local"},
        {MonitorHeader + QByteArray(5000, '1') + "\n", 2, "at most 4096 bytes"},
        {MonitorHeader + QByteArray(5000, '1'), 2, "at most 4096 bytes"},
    };
    for (const auto& c : cases) {
        const RunFileReader reader = Read(c.bytes);
        EXPECT_EQ(reader.Problem().line, c.line) << c.words;
        EXPECT_TRUE(reader.Message("run.csv").contains(QString::fromUtf8(c.words))) << reader.Message("run.csv").toStdString();
    }
}

// The lines the windows program logs read back to the times and temperatures logged.
TEST(RunFileReader, TheProgramsOwnLogReadsBack) {
    using namespace GeneralStuff;
    LogChannel = {true, true, false};
    LogInterval = 250;
    QString text = LogStartBlock();
    const float temperatures[][2] = {{25, 25.5f}, {-5, 26.75f}, {127, -0.25f}};
    for (LogLineCount = 0; LogLineCount < 3; ++LogLineCount) {
        Temperature = {temperatures[LogLineCount][0], temperatures[LogLineCount][1], 0};
        text += LogLine() + LogLineEnd;
    }
    const RunFileReader reader = Read(ToWindows1252(text));
    ASSERT_EQ(reader.Runs().size(), 1u);
    EXPECT_EQ(Points(reader.Runs()[0]), "Local/Remote1 elapsed | 0.000:25/25.5/ | 0.250:-5/26.75/ | 0.500:127/-0.25/");
}

// A run logged by the built command-line program on the simulated board, with its limit columns
// and integer status, reads back to the readings, elapsed times and limits it wrote.
TEST(RunFileReader, TheCommandLineMonitorFileReadsBack) {
    QTemporaryDir work;
    const QString csv = work.filePath("run.csv");
    QProcess cli;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("KTS_SIM_LOCAL_TEMP", "90");
    environment.insert("KTS_SIM_REMOTE_TEMP", "40.25");
    cli.setProcessEnvironment(environment);
    cli.start(KTS_CLI_PROGRAM, {"monitor", "--limits", "--interval", "5ms", "--count", "40", "--output", csv});
    ASSERT_TRUE(cli.waitForFinished(30000));
    ASSERT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
    QFile file(csv);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();

    const RunFileReader reader = Read(bytes);
    ASSERT_TRUE(reader.Problem().IsEmpty()) << reader.Message("run.csv").toStdString();
    ASSERT_EQ(reader.Runs().size(), 1u);
    const FinishedRun& run = reader.Runs()[0];
    ASSERT_EQ(run.Rows(), 40u);
    const QList<QByteArray> lines = bytes.trimmed().split('\n').mid(1);
    for (std::size_t i = 0; i < run.Rows(); ++i) {
        const QList<QByteArray> fields = lines[static_cast<qsizetype>(i)].split(',');
        // The clock times and the elapsed times are each written to the millisecond.
        EXPECT_NEAR(run.times[i] - run.times[0], fields[1].toDouble(), 0.002) << "row " << i;
        EXPECT_EQ(run.values[0][i], 90);
        EXPECT_EQ(run.values[1][i], 40.25);
        EXPECT_EQ(run.status[i], fields[4].toInt()) << "row " << i;
    }
    EXPECT_EQ(run.status[0] & 0x40, 0x40);  // the local high alarm at 90 °C, the limit being 85
    EXPECT_EQ(run.limits, (std::array<double, 6>{85, 0, 85, 85, 0, 85}));
}

// A clock time reads as the double nearest the seconds it writes, as that text read as a number.
TEST(RunFileReader, ClockTimesReadAsTheNearestDouble) {
    const struct {
        const char* clock;
        const char* seconds;
    } cases[] = {{"10:00:01", "36001"},       {"14:05:09.350", "50709.35"}, {"00:00:00.3", "0.3"},
                 {"00:00:01.7", "1.7"},       {"00:00:00.0001", "0.0001"},  {"00:00:00.1234567891", "0.123456789"}};
    for (const auto& c : cases) {
        const RunFileReader reader = Read(MonitorHeader + "2026-12-07T" + c.clock + "+00:00,0,25,26,0,\n");
        ASSERT_EQ(reader.Runs().size(), 1u) << c.clock;
        EXPECT_EQ(reader.Runs()[0].times.at(0), std::stod(c.seconds)) << c.clock;
    }
}

// Rows let go once handed on leave the count, the last time and the alarm spans as they were,
// wherever the letting go falls (in an alarm, at its end, between alarms), and later rows still
// take at least the last time.
TEST(RunFileReader, RowsLetGoKeepTheirCountAndAlarmSpans) {
    const int status[] = {0, 0x10, 0x90, 0, 0x80, 0x02, 0x02, 0, 0x40};
    QByteArray bytes = MonitorHeader;
    for (int s = 0; s < 9; ++s) {
        const int second = s == 6 ? 3 : s;   // a clock set back
        bytes += QStringLiteral("2026-12-07T10:00:0%1.000+00:00,0,25,26,%2,\n").arg(second).arg(status[s]).toUtf8();
    }
    const QList<QByteArray> lines = bytes.split('\n');
    const FinishedRun whole = Read(bytes).Runs().at(0);
    for (int split = 0; split <= 9; ++split) {
        RunFileReader reader;
        for (int line = 0; line <= 9; ++line) {
            reader.Feed(lines[line] + '\n', false);
            if (line == split && !reader.Runs().empty()) reader.Runs()[0].LetGoOfRows();
        }
        const FinishedRun& run = reader.Runs().at(0);
        EXPECT_EQ(run.Rows(), 9u) << "let go after line " << split;
        EXPECT_EQ(run.LastTime(), whole.times.back()) << "let go after line " << split;
        EXPECT_EQ(run.AlarmSpans(), whole.AlarmSpans()) << "let go after line " << split;
        for (const int flag : {0x40, 0x10, 0x02}) EXPECT_EQ(run.FlagSpans(flag), whole.FlagSpans(flag)) << "flag " << flag;
    }
    // Each flag on its own: RemHi and RTHRM never merge into one span.
    EXPECT_EQ(whole.FlagSpans(0x10), (std::vector<std::pair<double, double>>{{36001, 36003}}));
    EXPECT_EQ(whole.FlagSpans(0x02), (std::vector<std::pair<double, double>>{{36005, 36007}}));
    EXPECT_TRUE(whole.FlagSpans(0x80).empty());   // the busy bit is no alarm
    EXPECT_EQ(whole.AlarmSpans(), (std::vector<std::pair<double, double>>{{36001, 36003}, {36005, 36007}, {36008, 36008}}));
}

#ifndef _WIN32
// A pipe is refused before it is opened: it would block the reading for good.
TEST(RunFileReader, APipeIsRefused) {
    QTemporaryDir work;
    const QString pipe = work.filePath("pipe.csv");
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    RunFileReader reader;
    ReadPosition position;
    EXPECT_TRUE(reader.ReadFile(pipe, position, false).endsWith("pipe.csv: It is a device, pipe or socket, not a regular file."));
}
#endif
