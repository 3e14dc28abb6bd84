#include "files/SavRecallParser.h"

#include "registers/NumberText.h"
#include "registers/TemperatureCodes.h"

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
