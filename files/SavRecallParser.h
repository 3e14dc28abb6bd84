#pragma once
// The loose reader of saved configurations: it looks only for the "{" that opens the block,
// the two "x" of each line and the "}" that closes it. Reads any text source one byte at a
// time, so files written by hand recall as well as files written by the save.
#include <QByteArray>
#include <QString>
#include <cstdint>
#include <functional>

class QIODevice;

class SavRecallParser {
public:
    // Reading past the end of the source.
    struct PastEnd {};

    explicit SavRecallParser(QIODevice& source) : source_(source) {}

    // Reads count characters and gives the last one (empty for a count below 1).
    QString ReadChar(int16_t count);
    // Reads one character: true if it is "}".
    bool IsEndOfFile();
    // Reads two characters as hexadecimal digits ("0B", "5<TAB>" gives 5, "zz" gives 0).
    int32_t ReadByte();
    // Reads up to and including the next line feed.
    void SkipLine();
    // Reads up to and including the first "{"; false when the source holds none.
    bool SkipToBlockStart();
    // Reads up to and including the next "x" (lower case). Gives false when it meets a "}"
    // standing first on its line (blanks aside) before any "x": the block ends there.
    bool SkipToNextX();

private:
    char ReadOne();

    QIODevice& source_;
    bool atLineStart_ = true;   // nothing but blanks since the last line feed
};

struct SavRecallResult {
    // TooLarge, TooManyRegisters and NotSingleByteText refuse the file before anything is
    // written; Unreadable: it could not be read at all.
    enum class Outcome { Complete, NoBlock, Incomplete, TooLarge, TooManyRegisters, NotSingleByteText, Unreadable };
    Outcome outcome = Outcome::Complete;
    int registersWritten = 0;
};

// Writes every (address, value) pair of the block in file order, each once its whole line
// has been read. Stops at the end of the source; what was written stays written.
SavRecallResult RecallSavRegisters(SavRecallParser& parser,
                                   const std::function<void(int32_t address, int32_t value)>& write);

// What a recall accepts. A real configuration is under 2 KB with at most 14 register lines; a
// file far beyond that is not one, and would hold the window still for minutes of chip writes.
struct SavRecallLimits {
    qint64 maxBytes = 64 * 1024;
    int maxRegisterLines = 256;
};

// The whole recall of a file's bytes: refuses them before writing anything when they break a
// limit or hold a NUL byte (a file saved as UTF-16, whose NULs would read as the digit 0),
// and otherwise writes them as RecallSavRegisters does.
SavRecallResult RecallSavBytes(const QByteArray& bytes,
                               const std::function<void(int32_t address, int32_t value)>& write,
                               const SavRecallLimits& limits = {});
