// The logging window: starting and stopping, the file it writes, and its refusals.
#include "state/GeneralStuff.h"
#include "files/LogFile.h"
#include "windows/frmLogging.h"
#include "support/BoardFailureTrap.h"
#include "support/ScriptedPrompts.h"
#include "widgets/UpDownSpinner.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace GeneralStuff;

namespace {

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// One tick of the monitoring cycle at which the log is due.
void LogTick() {
    if (!LoggingActive) return;
    AppendLogLine();
    ++LogLineCount;
}

class LoggingWindowTest : public ::testing::Test {
protected:
    LoggingWindowTest() {
        SetStatusTextHandler([this](const QString& t) { status << t; });
        form.chooseLogFile = [this] { ++dialogs; return chosen; };
        prompts.warning = [this](const QString& t) { warnings << t; };
        chosen = dir.filePath("log.csv");
    }
    ~LoggingWindowTest() override { SetStatusTextHandler(nullptr); }

    BoardFixtureState board;
    QTemporaryDir dir;
    frmLogging form;
    QString chosen;
    int dialogs = 0;
    QStringList status;
    ScriptedPrompts prompts;
    QStringList warnings;
};

}  // namespace

TEST_F(LoggingWindowTest, LoadShowsTheState) {
    EXPECT_EQ(form.windowTitle(), "Data Logging");
    EXPECT_EQ(form.Frame1->title(), "Select Channels to Log to File");
    EXPECT_EQ(form.txtLogInt->text(), "100");
    EXPECT_EQ(form.cmdLogData->text(), "Start Logging");
    EXPECT_TRUE(form.chkLog[0]->isChecked());
    EXPECT_TRUE(form.chkLog[1]->isChecked());
    EXPECT_EQ(form.UpDown1->Minimum(), 10);
    EXPECT_EQ(form.UpDown1->Maximum(), 10000);
    EXPECT_EQ(form.findChild<QCheckBox*>("chkLog_1"), form.chkLog[1]);

    LoggingActive = true;
    LogChannel = {false, true, true};
    LogInterval = 250;
    frmLogging again;
    EXPECT_EQ(again.cmdLogData->text(), "Click to stop logging...");
    EXPECT_FALSE(again.chkLog[0]->isChecked());
    EXPECT_EQ(again.txtLogInt->text(), "250");
}

TEST_F(LoggingWindowTest, TwoRunsAppendTwoBlocksWithTimesFromZero) {
    Temperature = {25.0f, 25.75f, 0.0f};
    form.chkLog[0]->setChecked(false);
    form.txtLogInt->setText("250");
    QTest::mouseClick(form.cmdLogData, Qt::LeftButton);
    EXPECT_TRUE(LoggingActive);
    EXPECT_EQ(LogFileName, chosen);
    EXPECT_EQ(LogInterval, 250);
    EXPECT_EQ(form.cmdLogData->text(), "Click to stop logging...");
    EXPECT_EQ(status, QStringList{"Logging Enabled"});
    for (int i = 0; i < 6; ++i) LogTick();

    const QByteArray afterFirstRun = ReadAll(chosen);
    form.cmdLogData_Click();
    EXPECT_FALSE(LoggingActive);
    EXPECT_EQ(form.cmdLogData->text(), "Start Logging");
    EXPECT_EQ(status.last(), "Ready");
    LogTick();
    EXPECT_EQ(ReadAll(chosen), afterFirstRun);  // stopping writes nothing

    form.chkLog[0]->setChecked(true);
    form.txtLogInt->setText("100");
    form.cmdLogData_Click();
    LogTick();
    LogTick();
    form.cmdLogData_Click();

    const QByteArray expected =
        "\r\nKTS9320B/3 Log File\r\n\r\nTime ,Remote(\xB0""C) ,\r\n"
        "0, 25.75,\r\n.25, 25.75,\r\n.5, 25.75,\r\n.75, 25.75,\r\n1, 25.75,\r\n1.25, 25.75,\r\n"
        "\r\nKTS9320B/3 Log File\r\n\r\nTime ,Local(\xB0""C) ,Remote(\xB0""C) ,\r\n"
        "0, 25, 25.75,\r\n.1, 25, 25.75,\r\n";
    EXPECT_EQ(ReadAll(chosen), expected);
}

TEST_F(LoggingWindowTest, NoChannelTickedWarnsAndDoesNotStart) {
    form.chkLog[0]->setChecked(false);
    form.chkLog[1]->setChecked(false);
    form.cmdLogData_Click();
    EXPECT_EQ(warnings, QStringList{"At least one item must be selected for logging"});
    EXPECT_FALSE(LoggingActive);
    EXPECT_FALSE(LogChannel[0] || LogChannel[1]);
    EXPECT_FALSE(QFile::exists(chosen));
    EXPECT_TRUE(status.isEmpty());
    EXPECT_EQ(form.cmdLogData->text(), "Start Logging");
}

TEST_F(LoggingWindowTest, CancelledDialogChangesNothingElse) {
    chosen.clear();
    LogFileName = "old.csv";
    form.chkLog[0]->setChecked(false);
    form.txtLogInt->setText("500");
    form.cmdLogData_Click();
    EXPECT_EQ(dialogs, 1);
    EXPECT_FALSE(LoggingActive);
    EXPECT_TRUE(LogFileName.isEmpty());
    EXPECT_TRUE(LogChannel[0]);
    EXPECT_EQ(LogInterval, 100);
    EXPECT_TRUE(warnings.isEmpty());
    EXPECT_TRUE(status.isEmpty());
    EXPECT_EQ(form.cmdLogData->text(), "Start Logging");
}

TEST_F(LoggingWindowTest, TitleBlockThatCannotBeWrittenSaysSoAndDoesNotStart) {
    chosen = dir.filePath("missing/log.csv");
    form.cmdLogData_Click();
    ASSERT_EQ(warnings.size(), 1);
    EXPECT_TRUE(warnings[0].contains("Could not write to " + QDir::toNativeSeparators(chosen)));
    EXPECT_FALSE(LoggingActive);
    EXPECT_EQ(form.cmdLogData->text(), "Start Logging");
    EXPECT_TRUE(status.isEmpty());
}

TEST_F(LoggingWindowTest, WriteFailureWhileLoggingPutsTheButtonBack) {
    chosen = dir.filePath("run/log.csv");
    QDir(dir.path()).mkdir("run");
    form.cmdLogData_Click();
    LogTick();
    QDir(dir.path()).rename("run", "gone");
    LogTick();
    EXPECT_FALSE(LoggingActive);
    EXPECT_EQ(form.cmdLogData->text(), "Start Logging");
    EXPECT_EQ(status.last(), "Logging stopped - could not write to " + QDir::toNativeSeparators(chosen));
    EXPECT_EQ(ReadAll(dir.filePath("gone/log.csv")),
              "\r\nKTS9320B/3 Log File\r\n\r\nTime ,Local(\xB0""C) ,Remote(\xB0""C) ,\r\n0, 0, 0,\r\n");
}

TEST_F(LoggingWindowTest, IntervalTextIsReadAsWholeMilliseconds) {
    const std::pair<const char*, int32_t> cases[] = {
        {"abc", 0}, {"12.5", 12}, {"13.5 ms", 14}, {"1e20", INT32_MAX}, {"-1e20", INT32_MIN}};
    for (const auto& [text, interval] : cases) {
        form.txtLogInt->setText(text);
        form.cmdLogData_Click();
        EXPECT_EQ(LogInterval, interval) << text;
        form.cmdLogData_Click();
    }
}

TEST_F(LoggingWindowTest, ClosingTheWindowKeepsLogging) {
    form.show();
    form.cmdLogData_Click();
    QTest::mouseClick(form.cmdClose, Qt::LeftButton);
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(LoggingActive);
}
