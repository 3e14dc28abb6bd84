#pragma once
// The JSON the command-line program writes for scripts: one object per answer, fields in the
// order they are added, on one line.
#include "files/JsonString.h"

#include <cstdint>
#include <string>
#include <vector>

class JsonObject {
public:
    JsonObject& String(const char* key, const std::string& utf8);
    JsonObject& Integer(const char* key, int64_t value);
    JsonObject& Degrees(const char* key, float degrees);
    // A value that is JSON already: an array, an object, a number text.
    JsonObject& Raw(const char* key, const std::string& json);
    std::string Text() const { return text_ + "}"; }

private:
    std::string text_ = "{";
};

// The values, each already JSON, as an array.
std::string JsonArray(const std::vector<std::string>& values);
std::string JsonStringArray(const std::vector<std::string>& texts);
// Degrees in the program's number text, with the zero JSON needs before a bare point
// (".25" -> "0.25", "-.25" -> "-0.25").
std::string JsonDegrees(float degrees);
