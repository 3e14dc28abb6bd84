// The log file's lines byte for byte, the time column, and appending to the file.
#include "state/GeneralStuff.h"
#include "files/LogFile.h"
#include "files/LogLines.h"
#include "files/Windows1252.h"
#include "registers/NumberText.h"
#include "registers/RegMapStuff.h"
#include "registers/TemperatureCodes.h"
#include "support/BoardFailureTrap.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace GeneralStuff;

namespace {

QByteArray Bytes(const QString& text) { return ToWindows1252(text); }

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class LogLinesTest : public ::testing::Test {
protected:
    LogLinesTest() { SetStatusTextHandler([this](const QString& t) { status << t; }); }
    ~LogLinesTest() override { SetStatusTextHandler(nullptr); }
    BoardFixtureState board;
    QStringList status;
};

}  // namespace

TEST_F(LogLinesTest, HeaderNamesTheLoggedChannelsInWindows1252) {
    EXPECT_EQ(Bytes(LogHeader()), QByteArray("Time ,Local(\xB0""C) ,Remote(\xB0""C) ,"));
    LogChannel = {true, false, true};
    EXPECT_EQ(Bytes(LogHeader()), QByteArray("Time ,Local(\xB0""C) ,"));
    LogChannel = {false, true, false};
    EXPECT_EQ(Bytes(LogHeader()), QByteArray("Time ,Remote(\xB0""C) ,"));
    EXPECT_EQ(Bytes(LogStartBlock()), QByteArray("\r\nKTS9320B/3 Log File\r\n\r\nTime ,Remote(\xB0""C) ,\r\n"));
}

TEST_F(LogLinesTest, DataLinesCarryTimeAndSelectedTemperatures) {
    Temperature = {25.0f, 25.5f, 0.0f};
    EXPECT_EQ(LogLine(), "0, 25, 25.5,");
    Temperature[1] = 25.75f;
    LogLineCount = 1;
    EXPECT_EQ(LogLine(), ".1, 25, 25.75,");
    LogChannel = {false, true, true};
    LogLineCount = 3;
    EXPECT_EQ(LogLine(), ".3, 25.75,");

    RegMapStuff::ExtendedRange = true;
    LogChannel = {true, false, false};
    LogLineCount = 0;
    Temperature[0] = TempFromCode(59);
    EXPECT_EQ(LogLine(), "0,-5,");
    Temperature[0] = TempFromCode(69);
    EXPECT_EQ(LogLine(), "0, 5,");
}

TEST_F(LogLinesTest, TimeColumnCountsLinesTimesInterval) {
    const char* expected[] = {"0", ".25", ".5", ".75", "1", "1.25"};
    for (int n = 0; n < 6; ++n) EXPECT_EQ(LogTimeText(n, 250), expected[n]) << n;
    EXPECT_EQ(LogTimeText(3, 10), ".03");
    EXPECT_EQ(LogTimeText(1, -5), "-.005");
    EXPECT_EQ(LogTimeText(7, 1000), "7");
}

TEST_F(LogLinesTest, TimeColumnDoesNotOverflowAndKeepsTheTextBelowTheOverflow) {
    // Where the 32-bit product held, the text is the product / 1000 as a number text.
    for (int32_t count : {0, 1, 7, 999, 123457, 21474836}) {
        for (int32_t interval : {1, 10, 99, 100, 250, 1001, -100}) {
            const double product = static_cast<double>(count) * interval;
            if (!FitsInt32(product)) continue;
            EXPECT_EQ(LogTimeText(count, interval).toStdString(), TrimmedNumberText(product / 1000.0))
                << count << " x " << interval;
        }
    }
    EXPECT_EQ(LogTimeText(21474837, 100), "2147483.7");
    EXPECT_EQ(LogTimeText(INT32_MAX, INT32_MAX), "4611686014132420.609");
    EXPECT_EQ(LogTimeText(INT32_MIN, INT32_MAX), "-4611686016279904.256");
    EXPECT_EQ(LogTimeText(INT32_MIN, INT32_MIN), "4611686018427387.904");
}

TEST_F(LogLinesTest, AppendLogLineAddsOneCrLfLineToTheFile) {
    QTemporaryDir dir;
    LogFileName = dir.filePath("log.csv");
    ASSERT_TRUE(WriteLogStart());
    Temperature = {25.0f, 25.5f, 0.0f};
    LogLineCount = 0;
    ASSERT_TRUE(AppendLogLine());
    LogLineCount = 1;
    ASSERT_TRUE(AppendLogLine());
    EXPECT_EQ(ReadAll(LogFileName), QByteArray("\r\nKTS9320B/3 Log File\r\n\r\nTime ,Local(\xB0""C) ,Remote(\xB0"
                                               "C) ,\r\n0, 25, 25.5,\r\n.1, 25, 25.5,\r\n"));
}

TEST_F(LogLinesTest, LineThatCannotBeWrittenStopsLoggingAndKeepsTheFile) {
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("run");
    LogFileName = dir.filePath("run/log.csv");
    LoggingActive = true;
    ASSERT_TRUE(WriteLogStart());
    ASSERT_TRUE(AppendLogLine());
    const QByteArray before = ReadAll(LogFileName);
    // The folder goes away while logging runs.
    ASSERT_TRUE(QDir(dir.path()).rename("run", "moved"));
    QSignalSpy stopped(&LoggingEvents::Instance(), &LoggingEvents::loggingStopped);

    EXPECT_FALSE(AppendLogLine());
    EXPECT_FALSE(LoggingActive);
    EXPECT_EQ(stopped.count(), 1);
    ASSERT_EQ(status.size(), 1);
    EXPECT_EQ(status[0], "Logging stopped - could not write to " + QDir::toNativeSeparators(LogFileName));
    EXPECT_EQ(ReadAll(dir.filePath("moved/log.csv")), before);
}

TEST_F(LogLinesTest, FullDiskIsAWriteFailure) {
    if (!QFile::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    LogFileName = "/dev/full";
    QString error;
    EXPECT_FALSE(AppendToLogFile("0, 25,\r\n", &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(Windows1252, MapsTheCodePageAndReplacesTheRest) {
    EXPECT_EQ(ToWindows1252(QStringLiteral("a\u00B0\u00E9\u20AC\u2013\u4E2D\U0001F600")),
              QByteArray("a\xB0\xE9\x80\x96??"));
    EXPECT_EQ(ToWindows1252(QStringLiteral("\u0081")), QByteArray("?"));
}
