#include "files/SavRecallParser.h"

#include "registers/NumberText.h"
#include "registers/TemperatureCodes.h"

#include <QBuffer>
#include <QIODevice>
#include <string>

char SavRecallParser::ReadOne() {
    char c = 0;
    if (!source_.getChar(&c)) throw PastEnd{};
    if (c == '\n') {
        atLineStart_ = true;
    } else if (c != ' ' && c != '\t' && c != '\r') {
        atLineStart_ = false;
    }
    return c;
}

QString SavRecallParser::ReadChar(int16_t count) {
    char last = 0;
    for (int16_t i = 0; i < count; ++i) last = ReadOne();
    if (count < 1) return QString();
    return QString(QChar::fromLatin1(last));
}

bool SavRecallParser::IsEndOfFile() { return ReadOne() == '}'; }

int32_t SavRecallParser::ReadByte() {
    std::string text = "&H";
    text += ReadOne();
    text += ReadOne();
    return GeneralStuff::Nearest(GeneralStuff::ParseNumber(text));
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

bool SavRecallParser::SkipToNextX() {
    for (;;) {
        const bool firstOnLine = atLineStart_;
        const char c = ReadOne();
        if (c == 'x') return true;
        if (c == '}' && firstOnLine) return false;
    }
}

SavRecallResult RecallSavRegisters(SavRecallParser& parser,
                                   const std::function<void(int32_t, int32_t)>& write) {
    SavRecallResult result;
    if (!parser.SkipToBlockStart()) {
        result.outcome = SavRecallResult::Outcome::NoBlock;
        return result;
    }
    try {
        parser.SkipLine();
        while (!parser.IsEndOfFile()) {
            if (!parser.SkipToNextX()) return result;
            const int32_t address = parser.ReadByte();
            if (!parser.SkipToNextX()) {
                // The block ended inside a line that has an address but no value.
                result.outcome = SavRecallResult::Outcome::Incomplete;
                return result;
            }
            const int32_t value = parser.ReadByte();
            parser.SkipLine();
            write(address, value);
            ++result.registersWritten;
        }
    } catch (const SavRecallParser::PastEnd&) {
        result.outcome = SavRecallResult::Outcome::Incomplete;
    }
    return result;
}

namespace {

SavRecallResult Recall(const QByteArray& bytes, const std::function<void(int32_t, int32_t)>& write) {
    QBuffer source;
    source.setData(bytes);
    source.open(QIODevice::ReadOnly);
    SavRecallParser parser(source);
    return RecallSavRegisters(parser, write);
}

SavRecallResult Refused(SavRecallResult::Outcome outcome) {
    SavRecallResult result;
    result.outcome = outcome;
    return result;
}

}  // namespace

SavRecallResult RecallSavBytes(const QByteArray& bytes, const std::function<void(int32_t, int32_t)>& write,
                               const SavRecallLimits& limits) {
    if (bytes.size() > limits.maxBytes) return Refused(SavRecallResult::Outcome::TooLarge);
    if (bytes.contains('\0')) return Refused(SavRecallResult::Outcome::NotSingleByteText);
    // A dry run counts the lines the recall would write.
    if (Recall(bytes, [](int32_t, int32_t) {}).registersWritten > limits.maxRegisterLines)
        return Refused(SavRecallResult::Outcome::TooManyRegisters);
    return Recall(bytes, write);
}
