#include "cli/text/JsonText.h"

#include "registers/NumberText.h"


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
