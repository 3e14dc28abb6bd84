// The save/recall window: the file it writes, what a recall writes to the chip, the master
// timer on every path, and the messages for files that fail.
#include "state/GeneralStuff.h"
#include "board/USBStuff.h"
#include "widgets/WrappingCheckBox.h"
#include "windows/frmSave.h"
#include "registers/RegMapStuff.h"
#include "support/BoardFailureTrap.h"
#include "support/ScriptedPrompts.h"

#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace GeneralStuff;

namespace {

using Writes = std::vector<std::pair<int, int>>;
const std::vector<bool> OffThenOn{false, true};

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

class SaveWindowTest : public ::testing::Test {
protected:
    SaveWindowTest() {
        SetMasterTimerHandler([this](bool on) { timer.push_back(on); });
        form.chooseSaveFile = [this] { ++dialogs; return chosen; };
        form.chooseRecallFile = [this] { ++dialogs; return chosen; };
        prompts.warning = [this](const QString& t) { warnings << t; };
        form.currentDateTime = [] { return QDateTime(QDate(2024, 5, 6), QTime(10, 11, 12)); };
        chosen = dir.filePath("config.sav");
    }
    ~SaveWindowTest() override { SetMasterTimerHandler(nullptr); }

    BoardFixtureState board;
    QTemporaryDir dir;
    frmSave form;
    QString chosen;
    int dialogs = 0;
    std::vector<bool> timer;
    ScriptedPrompts prompts;
    QStringList warnings;
};

}  // namespace

TEST_F(SaveWindowTest, ControlsCarryTheirCaptions) {
    EXPECT_EQ(form.windowTitle(), "Save/Recall Settings");
    EXPECT_EQ(form.Frame2->title(), "File I/O");
    EXPECT_EQ(form.cmdsave->text(), "Save  Current Configuration");
    EXPECT_EQ(form.cmdRecall->text(), "Recall Previous Configuration");
    EXPECT_EQ(form.chkNotDefaults->text(), "Only save registers that differ from their defaults ");
    EXPECT_TRUE(form.chkNotDefaults->isChecked());
    QTest::mouseClick(form.chkNotDefaults, Qt::LeftButton);
    EXPECT_FALSE(form.chkNotDefaults->isChecked());
    EXPECT_EQ(form.Label2->text(), "Add Comment");
    EXPECT_TRUE(form.txtComment->text().isEmpty());
    EXPECT_EQ(form.cmdClose->text(), "Close");
}

TEST_F(SaveWindowTest, SaveWritesTheChipStateWithTheTimerOff) {
    board.driver.Chip()[0x04] = 0x05;
    form.txtComment->setText("  after reset ");
    QTest::mouseClick(form.cmdsave, Qt::LeftButton);
    EXPECT_EQ(timer, OffThenOn);
    EXPECT_TRUE(board.driver.Writes().empty());
    EXPECT_TRUE(warnings.isEmpty());
    const QByteArray bytes = ReadAll(chosen);
    EXPECT_TRUE(bytes.startsWith("Corvantis Inc.\r\nKTS9320B Evaluation Software\r\n\r\nSaved: "));
    EXPECT_TRUE(bytes.contains(" at 10:11:12\r\n\r\nComment : after reset\r\n\r\n"));
    EXPECT_TRUE(bytes.endsWith("\r\nAddress\tData\tRegister\r\n{\r\n0x0A\t0x05\t // Conversion Rate\r\n}\r\n"));
}

// The file holds the chip as it was at the button press, whatever changes while the dialog is up.
TEST_F(SaveWindowTest, SaveReadsEveryRegisterBeforeItsDialogOpens) {
    const std::vector<int> writable = {0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x11,
                                       0x12, 0x13, 0x14, 0x19, 0x20, 0x21, 0x22};
    for (const bool onlyChanged : {true, false}) {
        SCOPED_TRACE(onlyChanged ? "only changed registers" : "every register");
        FillChipDefaults(board.driver.Chip());
        board.driver.Chip()[0x04] = 0x05;
        board.driver.ClearLog();
        form.chkNotDefaults->setChecked(onlyChanged);
        std::vector<int> readBeforeDialog;
        form.chooseSaveFile = [&] {
            readBeforeDialog = board.driver.Reads();
            board.driver.Chip()[0x04] = 0x07;
            return chosen;
        };
        QFile::remove(chosen);
        form.cmdsave_Click();
        EXPECT_EQ(readBeforeDialog, writable);
        EXPECT_EQ(board.driver.Reads(), writable);
        EXPECT_TRUE(ReadAll(chosen).contains("0x0A\t0x05\t // Conversion Rate\r\n"));
    }
}

TEST_F(SaveWindowTest, RecallWritesBackExactlyWhatWasSaved) {
    board.driver.Chip()[0x03] = 0x44;
    board.driver.Chip()[0x07] = 0x60;
    board.driver.Chip()[0x13] = 0xC0;
    form.chkNotDefaults->setChecked(false);
    form.txtComment->setText("{ a comment with a brace and an x }");
    form.cmdsave_Click();
    Writes saved;
    for (const RegMapStuff::RegEntry& e : RegMapStuff::RegTable)
        if (!e.ReadOnly) saved.emplace_back(e.WriteAddr, board.driver.Chip()[e.ReadAddr]);

    board.driver.ClearLog();
    timer.clear();
    FillChipDefaults(board.driver.Chip());
    form.cmdRecall_Click();
    EXPECT_EQ(board.driver.Writes(), saved);
    EXPECT_EQ(timer, OffThenOn);
    EXPECT_TRUE(warnings.isEmpty());
    EXPECT_TRUE(RegMapStuff::ExtendedRange && RegMapStuff::Standby);  // 0x44 went to address 9
}

TEST_F(SaveWindowTest, CancelledDialogsWriteNothing) {
    chosen.clear();
    form.cmdsave_Click();
    EXPECT_EQ(timer, OffThenOn);
    EXPECT_TRUE(QDir(dir.path()).isEmpty());

    timer.clear();
    board.driver.ClearLog();
    form.cmdRecall_Click();
    EXPECT_EQ(dialogs, 2);
    EXPECT_TRUE(timer.empty());
    EXPECT_TRUE(board.driver.log.empty());
    EXPECT_TRUE(warnings.isEmpty());
}

TEST_F(SaveWindowTest, SaveThatCannotBeWrittenSaysSo) {
    chosen = dir.filePath("missing/config.sav");
    form.cmdsave_Click();
    EXPECT_EQ(timer, OffThenOn);
    ASSERT_EQ(warnings.size(), 1);
    EXPECT_TRUE(warnings[0].startsWith("The configuration was not saved"));
}

TEST_F(SaveWindowTest, BrokenOrMissingFilesAreRefusedWholeAndSaySo) {
    const std::pair<QByteArray, QString> cases[] = {
        {"{\r\n0x0B\t0x40\r\n0x0C\t0x01\r\n0x0D\t0x",
         "config.sav was not recalled: line 4 does not read as an address and a value, two hex bytes such as "
         "0x0B 0x55:\n0x0D 0x\n\nNo registers were written."},
        {"{\r\n0x0B\t0x40\r\n0x00\t0x01\r\n}\r\n", "line 3 writes to 0x00, which is not a writable register:\n0x00 0x01"},
        {"Address\tData\r\n0x0B\t0x40\r\n", "No registers were written."},
        {"{\r\n0x0B\t0x40\r\n", "no closing \"}\""},
    };
    for (const auto& [bytes, message] : cases) {
        WriteFile(chosen, bytes);
        timer.clear();
        warnings.clear();
        form.cmdRecall_Click();
        EXPECT_EQ(timer, OffThenOn);
        ASSERT_EQ(warnings.size(), 1);
        EXPECT_TRUE(warnings[0].contains(message)) << warnings[0].toStdString();
    }
    EXPECT_TRUE(board.driver.Writes().empty());

    chosen = dir.filePath("nothing-here.sav");
    timer.clear();
    warnings.clear();
    form.cmdRecall_Click();
    EXPECT_EQ(timer, OffThenOn);
    ASSERT_EQ(warnings.size(), 1);
    EXPECT_TRUE(warnings[0].startsWith("Could not open"));
}

TEST_F(SaveWindowTest, SourcesWithoutEndAreRefusedBeforeReading) {
    QStringList sources{dir.path()};
    if (QFile::exists("/dev/zero")) sources << "/dev/zero";
    for (const QString& source : sources) {
        SCOPED_TRACE(source.toStdString());
        chosen = source;
        timer.clear();
        warnings.clear();
        form.cmdRecall_Click();
        EXPECT_EQ(timer, OffThenOn);
        ASSERT_EQ(warnings.size(), 1);
        EXPECT_TRUE(warnings[0].startsWith("Could not open " + QDir::toNativeSeparators(source)));
        EXPECT_TRUE(warnings[0].endsWith("No registers were written."));
    }
    EXPECT_TRUE(board.driver.Writes().empty());
}

// Files beyond what a configuration can be are refused whole, before the first write.
TEST_F(SaveWindowTest, FilesBeyondTheRecallLimitsAreRefusedBeforeAnyWrite) {
    const auto block = [](int lines, int size = 0) {
        return ("{\r\n" + QByteArray("0x0B\t0x40\r\n").repeated(lines) + "}\r\n").leftJustified(size, ' ');
    };
    const std::tuple<QByteArray, QString, size_t> cases[] = {
        {block(1, 64 * 1024), "", 1}, {block(1, 64 * 1024 + 1), "larger than 64 KB", 0},
        {block(256), "", 256},        {block(257), "more than 256 register lines", 0},
        {QByteArray(reinterpret_cast<const char*>(u"{\r\n0x00\t0x00\r\n}\r\n"), 32), "not a single-byte text file", 0}};
    for (const auto& [bytes, refusal, writes] : cases) {
        WriteFile(chosen, bytes);
        board.driver.ClearLog();
        warnings.clear();
        form.cmdRecall_Click();
        EXPECT_EQ(board.driver.Writes().size(), writes) << bytes.size();
        const QString told = warnings.join('|');
        EXPECT_TRUE(refusal.isEmpty() ? told.isEmpty()
                                      : told.startsWith(QDir::toNativeSeparators(chosen) + " was not recalled") &&
                                            told.contains(refusal) && told.endsWith("\n\nNo registers were written."))
            << told.toStdString();
    }
}

TEST_F(SaveWindowTest, BoardFailureStillSwitchesTheTimerBackOn) {
    board.driver.failAfter = 3;
    EXPECT_THROW(form.cmdsave_Click(), BoardFailure);
    EXPECT_EQ(timer, OffThenOn);
    EXPECT_FALSE(QFile::exists(chosen));

    USBStuff::ResetFailureState();
    board.driver.failAfter = -1;
    WriteFile(chosen, "{\r\n0x0B\t0x40\r\n0x0C\t0x01\r\n}\r\n");
    board.driver.ClearLog();
    board.driver.failAfter = 1;
    timer.clear();
    EXPECT_THROW(form.cmdRecall_Click(), BoardFailure);
    EXPECT_EQ(timer, OffThenOn);
}

TEST_F(SaveWindowTest, ASaveLeavesAStoppedTimerStopped) {
    SetMasterTimerHandler([this](bool on) { timer.push_back(on); }, [] { return false; });
    form.cmdsave_Click();
    EXPECT_EQ(timer, std::vector<bool>{false});
}
