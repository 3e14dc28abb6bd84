#pragma once
// The lines of the data log file, built from the run-time state (no widgets, no file access).
#include <QString>
#include <cstdint>

namespace GeneralStuff {

// "Time ," then "Local(°C) ," and/or "Remote(°C) ," for the channels in LogChannel.
QString LogHeader();
// One data line: the nominal time, then each logged temperature, every field followed by ",".
QString LogLine();
// What every start of logging appends: an empty line, the title, an empty line, the header;
// each line with its CR LF.
QString LogStartBlock();
// The nominal time of a line in seconds (lineCount x interval ms / 1000), as the time column
// writes it: ".25", "1", "-.005". Computed in 64 bits, so no count or interval overflows it.
QString LogTimeText(int32_t lineCount, int32_t intervalMs);

inline const char* const LogLineEnd = "\r\n";

}  // namespace GeneralStuff
