#pragma once
// The monitor's lines, each with its line end: CSV under its header, or one JSON object per
// reading. With the limits, six more columns (keys in JSON) follow the reading's.
#include "cli/text/Reading.h"

#include <string>

std::string MonitorCsvHeader(bool withLimits);
// The limits are added when given.
std::string MonitorCsvLine(const std::string& time, double elapsedSeconds, const Reading& reading,
                           const Limits* limits = nullptr);
std::string MonitorJsonLine(const std::string& time, double elapsedSeconds, const Reading& reading,
                            const Limits* limits = nullptr);
