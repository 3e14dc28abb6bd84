#pragma once
// The reader of saved configurations: it looks for the "{" that opens the block, the "0x" of
// each address and value and the "}" that closes it. Loose where saved and hand-written files
// differ (comments outside the block, spacing, an "x" of either case, one or two digits), but
// every line of the block that holds an "x" must read as an address and a value, two hex bytes
// at a writable address, or the whole file is refused before anything is written. Reads any
// text source one byte at a time.
#include <QByteArray>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

class QIODevice;

class SavRecallParser {
public:
    // Reading past the end of the source.
    struct PastEnd {};
    // What the search for a "0x" prefix met.
    enum class Prefix { Found, BlockEnd, NotAPair };

    explicit SavRecallParser(QIODevice& source) : source_(source) {}

    // Reads count characters and gives the last one (empty for a count below 1).
    QString ReadChar(int16_t count);
    // Reads one character: true if it is "}".
    bool IsEndOfFile();
    // Reads one or two hexadecimal digits, either case ("0B", "5" before a tab or a line end,
    // which stays unread). None when no digit comes first, or a letter or digit follows them.
    std::optional<int32_t> ReadHexByte();
    // Reads up to and including the next line feed.
    void SkipLine();
    // Reads up to and including the first "{"; false when the source holds none.
    bool SkipToBlockStart();
    // Reads up to and including the next "x" or "X". Lines without one are passed over, unless
    // onThisLine asks for the value's prefix; the block ends at a "}" standing first on its line
    // (blanks aside). NotAPair: other text than blanks and the "0" stands before the "x" on its
    // line (or since the address), or the line ends first.
    Prefix SkipToPrefix(bool onThisLine);
    // The line of the last character read, from 1.
    int Line() const { return line_; }
    // The whole of that line, read to its end; as the message about it quotes it.
    QString WholeLine();

private:
    char ReadOne();
    char PeekOne();

    QIODevice& source_;
    bool atLineStart_ = true;    // nothing but blanks since the last line feed
    bool textSinceMark_ = false; // more than blanks and "0" since the line's start or the last byte read
    bool lineEnded_ = false;     // the last character read was a line feed
    int line_ = 1;
    QByteArray lineText_;
};

struct SavRecallResult {
    // Every outcome but Complete writes nothing: TooLarge, TooManyRegisters and
    // NotSingleByteText break the recall's limits; NotAPair and NotWritable name a line of the
    // block that cannot be written as it stands; Incomplete: the block has no closing "}";
    // Unreadable: the file could not be read at all.
    enum class Outcome {
        Complete, NoBlock, Incomplete, TooLarge, TooManyRegisters, NotSingleByteText, Unreadable, NotAPair,
        NotWritable
    };
    Outcome outcome = Outcome::Complete;
    int registersWritten = 0;
    int line = 0;       // NotAPair, NotWritable: the line, from 1
    QString lineText;   // and its text
    int32_t address = 0;  // NotWritable
};

// Reads the whole block and, when every line in it can be written, writes each (address,
// value) pair in file order. Stops at the end of the source.
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
