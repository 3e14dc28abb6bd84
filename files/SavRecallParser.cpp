#include "files/SavRecallParser.h"

#include "registers/RegMapStuff.h"

#include <QBuffer>
#include <QIODevice>
#include <cctype>
#include <utility>
#include <vector>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

char SavRecallParser::ReadOne() {
    char c = 0;
    if (!source_.getChar(&c)) throw PastEnd{};
    if (lineEnded_) {
        ++line_;
        lineText_.clear();
        lineEnded_ = false;
    }
    if (c == '\n') {
        atLineStart_ = true;
        textSinceMark_ = false;
        lineEnded_ = true;
        return c;
    }
    lineText_ += c;
    if (!IsBlank(c)) atLineStart_ = false;
    if (!IsBlank(c) && c != '0') textSinceMark_ = true;
    return c;
}

char SavRecallParser::PeekOne() {
    char c = 0;
    return source_.peek(&c, 1) == 1 ? c : '\0';
}

QString SavRecallParser::ReadChar(int16_t count) {
    char last = 0;
    for (int16_t i = 0; i < count; ++i) last = ReadOne();
    if (count < 1) return QString();
    return QString(QChar::fromLatin1(last));
}

bool SavRecallParser::IsEndOfFile() { return ReadOne() == '}'; }

std::optional<int32_t> SavRecallParser::ReadHexByte() {
    int32_t value = 0;
    int digits = 0;
    for (; digits < 2 && HexDigit(PeekOne()) >= 0; ++digits) value = value * 16 + HexDigit(ReadOne());
    textSinceMark_ = false;
    if (digits == 0 || std::isalnum(static_cast<unsigned char>(PeekOne()))) return std::nullopt;
    return value;
}

void SavRecallParser::SkipLine() {
    while (ReadOne() != '\n') {
    }
}

bool SavRecallParser::SkipToBlockStart() {
    try {
        while (ReadOne() != '{') {
        }
        return true;
    } catch (const PastEnd&) {
        return false;
    }
}

SavRecallParser::Prefix SavRecallParser::SkipToPrefix(bool onThisLine) {
    for (;;) {
        const bool firstOnLine = atLineStart_;
        const bool textBefore = textSinceMark_;
        const char c = ReadOne();
        if (c == 'x' || c == 'X') return textBefore ? Prefix::NotAPair : Prefix::Found;
        if (c == '}' && firstOnLine) return Prefix::BlockEnd;
        if (c == '\n' && onThisLine) return Prefix::NotAPair;
    }
}

QString SavRecallParser::WholeLine() {
    try {
        while (!lineEnded_) ReadOne();
    } catch (const PastEnd&) {
    }
    QString text = QString::fromLatin1(lineText_).simplified();
    if (text.size() > 60) text = text.left(57) + QStringLiteral("...");
    return text;
}

namespace {

using Pair = std::pair<int32_t, int32_t>;

SavRecallResult Refused(SavRecallResult::Outcome outcome) {
    SavRecallResult result;
    result.outcome = outcome;
    return result;
}

SavRecallResult RefusedLine(SavRecallParser& parser, SavRecallResult::Outcome outcome, int32_t address = 0) {
    SavRecallResult result = Refused(outcome);
    result.line = parser.Line();
    result.lineText = parser.WholeLine();
    result.address = address;
    return result;
}

// Reads every pair of the block, or says which line stops the recall.
SavRecallResult ReadBlock(SavRecallParser& parser, std::vector<Pair>& pairs) {
    using Outcome = SavRecallResult::Outcome;
    if (!parser.SkipToBlockStart()) return Refused(Outcome::NoBlock);
    try {
        parser.SkipLine();
        while (!parser.IsEndOfFile()) {
            const SavRecallParser::Prefix found = parser.SkipToPrefix(false);
            if (found == SavRecallParser::Prefix::BlockEnd) return {};
            if (found == SavRecallParser::Prefix::NotAPair) return RefusedLine(parser, Outcome::NotAPair);
            const std::optional<int32_t> address = parser.ReadHexByte();
            if (!address) return RefusedLine(parser, Outcome::NotAPair);
            if (!RegMapStuff::IsWriteAddress(*address)) return RefusedLine(parser, Outcome::NotWritable, *address);
            if (parser.SkipToPrefix(true) != SavRecallParser::Prefix::Found) return RefusedLine(parser, Outcome::NotAPair);
            const std::optional<int32_t> value = parser.ReadHexByte();
            if (!value) return RefusedLine(parser, Outcome::NotAPair);
            parser.SkipLine();
            pairs.emplace_back(*address, *value);
        }
    } catch (const SavRecallParser::PastEnd&) {
        return Refused(Outcome::Incomplete);
    }
    return {};
}

SavRecallResult WriteAll(const std::vector<Pair>& pairs, const std::function<void(int32_t, int32_t)>& write) {
    SavRecallResult result;
    for (const auto& [address, value] : pairs) {
        write(address, value);
        ++result.registersWritten;
    }
    return result;
}

}  // namespace

SavRecallResult RecallSavRegisters(SavRecallParser& parser, const std::function<void(int32_t, int32_t)>& write) {
    std::vector<Pair> pairs;
    const SavRecallResult read = ReadBlock(parser, pairs);
    return read.outcome == SavRecallResult::Outcome::Complete ? WriteAll(pairs, write) : read;
}

SavRecallResult RecallSavBytes(const QByteArray& bytes, const std::function<void(int32_t, int32_t)>& write,
                               const SavRecallLimits& limits) {
    if (bytes.size() > limits.maxBytes) return Refused(SavRecallResult::Outcome::TooLarge);
    if (bytes.contains('\0')) return Refused(SavRecallResult::Outcome::NotSingleByteText);
    QBuffer source;
    source.setData(bytes);
    source.open(QIODevice::ReadOnly);
    SavRecallParser parser(source);
    std::vector<Pair> pairs;
    const SavRecallResult read = ReadBlock(parser, pairs);
    if (read.outcome != SavRecallResult::Outcome::Complete) return read;
    if (pairs.size() > static_cast<size_t>(limits.maxRegisterLines))
        return Refused(SavRecallResult::Outcome::TooManyRegisters);
    return WriteAll(pairs, write);
}
