#pragma once
// A JSON string: every file and answer of the programs that holds JSON quotes its texts here.
#include <string>

// The text quoted, with the characters JSON requires escaped.
std::string JsonString(const std::string& utf8);
