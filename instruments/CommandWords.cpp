#include "instruments/CommandWords.h"

namespace Instruments {

std::optional<std::vector<std::string>> CommandWords(const std::string& command) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    char quote = 0;
    for (size_t i = 0; i < command.size(); ++i) {
        const char c = command[i];
        if (quote == '\'' && c != '\'') {
            word += c;
        } else if (c == '\\' && quote != '\'') {
            if (++i == command.size()) return std::nullopt;
            // Inside double quotes a backslash escapes only what a shell lets it escape there.
            if (quote == '"' && command[i] != '"' && command[i] != '\\' && command[i] != '$' && command[i] != '`')
                word += '\\';
            word += command[i];
        } else if (c == '\'' || c == '"') {
            if (!quote) quote = c, inWord = true;
            else if (quote == c) quote = 0;
            else word += c;
        } else if (!quote && (c == ' ' || c == '\t' || c == '\n')) {
            if (inWord) words.push_back(word);
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (quote) return std::nullopt;
    if (inWord) words.push_back(word);
    return words;
}

}  // namespace Instruments
