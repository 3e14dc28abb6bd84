#include "cli/text/JsonText.h"

#include "registers/NumberText.h"

#include <cstdio>

namespace {

std::string Field(const std::string& text, const char* key) {
    return (text.size() > 1 ? "," : "") + JsonString(key) + ":";
}

}  // namespace

JsonObject& JsonObject::String(const char* key, const std::string& utf8) { return Raw(key, JsonString(utf8)); }

JsonObject& JsonObject::Integer(const char* key, int64_t value) { return Raw(key, std::to_string(value)); }

JsonObject& JsonObject::Degrees(const char* key, float degrees) { return Raw(key, JsonDegrees(degrees)); }

JsonObject& JsonObject::Raw(const char* key, const std::string& json) {
    text_ += Field(text_, key) + json;
    return *this;
}

std::string JsonString(const std::string& utf8) {
    std::string text = "\"";
    for (const char c : utf8) {
        switch (c) {
        case '"': text += "\\\""; break;
        case '\\': text += "\\\\"; break;
        case '\n': text += "\\n"; break;
        case '\r': text += "\\r"; break;
        case '\t': text += "\\t"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
                text += escaped;
            } else {
                text += c;
            }
        }
    }
    return text + "\"";
}

std::string JsonArray(const std::vector<std::string>& values) {
    std::string text = "[";
    for (size_t i = 0; i < values.size(); ++i) text += (i ? "," : "") + values[i];
    return text + "]";
}

std::string JsonStringArray(const std::vector<std::string>& texts) {
    std::vector<std::string> values;
    for (const std::string& text : texts) values.push_back(JsonString(text));
    return JsonArray(values);
}

std::string JsonDegrees(float degrees) { return GeneralStuff::DecimalText(degrees); }
