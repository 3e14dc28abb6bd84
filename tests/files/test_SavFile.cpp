// The .sav text byte for byte, and the loose reader on saved and hand-written files.
#include "files/SavFile.h"
#include "files/SavRecallParser.h"
#include "files/Windows1252.h"
#include "support/BoardFailureTrap.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace GeneralStuff;

namespace {

using Writes = std::vector<std::pair<int, int>>;

const QStringList Header = SavHeaderLines("  bench 3  ", "2024-05-06", "10:11:12");
const QByteArray HeaderBytes =
    "Corvantis Inc.\r\nKTS9320B Evaluation Software\r\n\r\nSaved: 2024-05-06 at 10:11:12\r\n\r\n"
    "Comment : bench 3\r\n\r\nAddress\tData\tRegister\r\n{\r\n";

struct Recalled {
    SavRecallResult result;
    Writes writes;
};

Recalled Recall(const QByteArray& text) {
    QBuffer buffer;
    buffer.setData(text);
    buffer.open(QIODevice::ReadOnly);
    SavRecallParser parser(buffer);
    Recalled r;
    r.result = RecallSavRegisters(parser, [&](int32_t a, int32_t v) { r.writes.emplace_back(a, v); });
    return r;
}

class SavFileTest : public ::testing::Test {
protected:
    BoardFixtureState board;
};

}  // namespace

TEST(SavText, FormatHexByteHasTwoUpperCaseDigits) {
    EXPECT_EQ(FormatHexByte(0), "0x00");
    EXPECT_EQ(FormatHexByte(10), "0x0A");
    EXPECT_EQ(FormatHexByte(15), "0x0F");
    EXPECT_EQ(FormatHexByte(16), "0x10");
    EXPECT_EQ(FormatHexByte(0x55), "0x55");
    EXPECT_EQ(FormatHexByte(255), "0xFF");
}

TEST(SavText, CommentIsTrimmedAndKeptOnOneLine) {
    EXPECT_EQ(SavHeaderLines("", "d", "t")[5], "Comment : ");
    EXPECT_EQ(SavHeaderLines("   ", "d", "t")[5], "Comment : ");
    EXPECT_EQ(SavHeaderLines("first\r\nsecond\nthird\r", "d", "t")[5], "Comment : first second third");
    EXPECT_EQ(ToWindows1252(SavHeaderLines(QString::fromUtf8("25\u00B0C \u20AC \u4E2D"), "d", "t")[5]),
              QByteArray("Comment : 25\xB0""C \x80 ?"));
}

TEST_F(SavFileTest, AllDefaultsWithTheCheckBoxGiveAnEmptyBlock) {
    const std::vector<SavRegister> registers = ReadSavRegisters(true);
    EXPECT_TRUE(registers.empty());
    EXPECT_EQ(board.driver.Reads(), (std::vector<int>{0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x11, 0x12, 0x13,
                                                      0x14, 0x19, 0x20, 0x21, 0x22}));
    EXPECT_EQ(ToWindows1252(SavText(Header, registers)), HeaderBytes + "}\r\n");
}

TEST_F(SavFileTest, AllDefaultsWithoutTheCheckBoxGiveFourteenLines) {
    const QByteArray block =
        "0x09\t0x00\t // Configuration\r\n"
        "0x0A\t0x08\t // Conversion Rate\r\n"
        "0x0B\t0x55\t // Local Temp High Limit\r\n"
        "0x0C\t0x00\t // Local Temp Low Limit\r\n"
        "0x0D\t0x55\t // Remote High Limit,High Byte\r\n"
        "0x0E\t0x00\t // Remote Low Limit,High Byte\r\n"
        "0x11\t0x00\t // Remote Offset High Byte\r\n"
        "0x12\t0x00\t // Remote Offset Low Byte\r\n"
        "0x13\t0x00\t // Remote High Limit,Low Byte\r\n"
        "0x14\t0x00\t // Remote Low Limit,Low Byte\r\n"
        "0x19\t0x55\t // Remote Therm Limit\r\n"
        "0x20\t0x55\t // Local Therm Limit\r\n"
        "0x21\t0x0A\t // Therm Hysteresis\r\n"
        "0x22\t0x01\t // Consecutive Alert\r\n";
    EXPECT_EQ(ToWindows1252(SavText(Header, ReadSavRegisters(false))), HeaderBytes + block + "}\r\n");
}

TEST_F(SavFileTest, OnlyChangedRegistersAreSavedUnderTheirWriteAddress) {
    board.driver.Chip()[0x05] = 0x40;
    board.driver.Chip()[0x21] = 0x05;
    const std::vector<SavRegister> registers = ReadSavRegisters(true);
    ASSERT_EQ(registers.size(), 2u);
    EXPECT_EQ(SavRegisterLine(registers[0]), "0x0B\t0x40\t // Local Temp High Limit");
    EXPECT_EQ(SavRegisterLine(registers[1]), "0x21\t0x05\t // Therm Hysteresis");
}

TEST_F(SavFileTest, SavedFilesRecallExactlyWhatWasSaved) {
    for (int reg : {0x03, 0x04, 0x05, 0x11, 0x12, 0x19, 0x22}) board.driver.Chip()[reg] = 0x7B;
    const std::vector<SavRegister> registers = ReadSavRegisters(false);
    Writes saved;
    for (const SavRegister& r : registers) saved.emplace_back(r.writeAddr, r.value);
    // A comment holding "{" moves the block's start into the header; it still recalls.
    for (const QString& comment : {QString("plain"), QString("{ max x }"), QString("x{"), QString("}")}) {
        const QStringList header = SavHeaderLines(comment, "6.5.24", "10:11");
        const Recalled full = Recall(ToWindows1252(SavText(header, registers)));
        EXPECT_EQ(full.result.outcome, SavRecallResult::Outcome::Complete) << comment.toStdString();
        EXPECT_EQ(full.writes, saved) << comment.toStdString();
        const Recalled empty = Recall(ToWindows1252(SavText(header, {})));
        EXPECT_EQ(empty.result.outcome, SavRecallResult::Outcome::Complete) << comment.toStdString();
        EXPECT_TRUE(empty.writes.empty());
    }
}

TEST(SavRecall, HandWrittenLinesFollowTheLooseRules) {
    const std::pair<const char*, Writes> cases[] = {
        // Lower-case digits, a blank instead of a tab, no name.
        {"{\n0x0b 0x40\n}\n", {{0x0B, 0x40}}},
        // Empty lines inside the block and before the "}", text before the "{".
        {"junk {\r\n\r\n0x20\t0x50\r\n\r\n0x21\t0x3\t\r\n\r\n}", {{0x20, 0x50}, {0x21, 0x03}}},
        // An upper-case X; one-digit values at a line's end, with CR LF or LF alone.
        {"{\r\n0X0B\t0X40\t // a\r\n0x0C\t0x5\r\n0x20\t0x11\r\n}\r\n", {{0x0B, 0x40}, {0x0C, 0x05}, {0x20, 0x11}}},
        {"h\n{\n0x0B\t0x5\n0x0C\t0x06\n0x0D\t0x57\n}\n", {{0x0B, 0x05}, {0x0C, 0x06}, {0x0D, 0x57}}},
        // Blanks around the lines and the braces; the one-shot register takes a write.
        {" {\n  0x0f  0x00 \n }\n", {{0x0F, 0x00}}}};
    for (const auto& [text, writes] : cases) {
        const Recalled r = Recall(text);
        EXPECT_EQ(r.result.outcome, SavRecallResult::Outcome::Complete) << text;
        EXPECT_EQ(r.writes, writes) << text;
    }
}

TEST(SavRecall, ALineThatCannotBeWrittenAsItStandsRefusesTheWholeFile) {
    using Outcome = SavRecallResult::Outcome;
    const std::pair<Outcome, std::vector<const char*>> cases[] = {
        {Outcome::NotAPair, {"0xZZ\t0x51", "0x0B\t0xGG", "// box of 0x0B", "0x-1\t0x00", "0x0B\t0x123 // 3 digits",
                             "0x0B\t0x4G", "// was 0x0B 0x40", "0x0B 01", "0x0B", "x0B\tx40"}},
        {Outcome::NotWritable, {"0x00\t0x51", "0x02\t0x00", "0xFE\t0x41", "0x05\t0x40 // a read address"}}};
    for (const auto& [outcome, lines] : cases) {
        for (const char* line : lines) {
            const Recalled r = Recall(QByteArray("{\r\n0x0C\t0x01\r\n") + line + "\r\n0x0D\t0x40\r\n}\r\n");
            EXPECT_EQ(r.result.outcome, outcome) << line;
            EXPECT_EQ(r.result.line, 3) << line;
            EXPECT_EQ(r.result.lineText, QString(line).simplified()) << line;
            EXPECT_TRUE(r.writes.empty()) << line;
        }
    }
}

TEST(SavRecall, BrokenFilesWriteNothing) {
    using Outcome = SavRecallResult::Outcome;
    const std::pair<const char*, Outcome> cases[] = {
        {"Address\tData\r\n0x0B\t0x40\r\n}\r\n", Outcome::NoBlock}, {"{\r\n0x0B\t0x40", Outcome::Incomplete},
        {"{\r\n0x0B\t0x40\r\n0x0C\t0x01\r\n", Outcome::Incomplete}, {"{\r\n0x0B\t0x40\r\n0x0C\t0x", Outcome::NotAPair}};
    for (const auto& [text, outcome] : cases) {
        const Recalled r = Recall(text);
        EXPECT_EQ(r.result.outcome, outcome) << text;
        EXPECT_TRUE(r.writes.empty() && r.result.registersWritten == 0) << text;
    }
}

TEST(SavRecall, CharacterReadsConsumeTheSource) {
    QBuffer buffer;
    buffer.setData("ab}5\tzz\r\nQ");
    buffer.open(QIODevice::ReadOnly);
    SavRecallParser parser(buffer);
    EXPECT_EQ(parser.ReadChar(0), "");
    EXPECT_EQ(parser.ReadChar(2), "b");
    EXPECT_TRUE(parser.IsEndOfFile());
    EXPECT_EQ(parser.ReadHexByte(), 5);
    EXPECT_EQ(parser.ReadChar(1), "\t");  // a one-digit byte leaves what follows it unread
    EXPECT_EQ(parser.ReadHexByte(), std::nullopt);
    parser.SkipLine();
    EXPECT_FALSE(parser.IsEndOfFile());
    EXPECT_THROW(parser.ReadChar(1), SavRecallParser::PastEnd);
}

TEST(SavWrite, OverwritesAnExistingFileAndReportsAFailedWrite) {
    QTemporaryDir dir;
    const QString path = dir.filePath("a.sav");
    ASSERT_TRUE(WriteSavFile(path, "a much longer first text\r\n"));
    ASSERT_TRUE(WriteSavFile(path, "{\r\n}\r\n"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("{\r\n}\r\n"));
    QString error;
    EXPECT_FALSE(WriteSavFile(dir.filePath("missing/a.sav"), "x", &error));
    EXPECT_FALSE(error.isEmpty());
}
