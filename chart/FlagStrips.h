#pragma once
// Where a chart draws the spans of alarm flags: each flag that is ever set has a horizontal strip
// of its own across the plot, one above the other in the flags' order, so flags set together stay
// readable side by side instead of blending into one colour. A flag whose spans are too many to
// draw has the spans closer than a `maxSpans`-th of its extent merged (only its own: never
// another flag's).
#include <QString>

#include <cstddef>
#include <utility>
#include <vector>

struct ChartFlag {
    QString name;
    std::vector<std::pair<double, double>> spans;   // rising, on the chart's time axis
};

struct FlagStrip {
    int flag;        // index into the flags given
    double from;     // time
    double to;
    double top;      // of the plot's height, 0 at its top
    double bottom;
    bool operator==(const FlagStrip& other) const {
        return flag == other.flag && from == other.from && to == other.to && top == other.top && bottom == other.bottom;
    }
};

// The strips of the flags shown (`shown` one a flag; a hidden flag keeps its place empty).
std::vector<FlagStrip> LayOutFlagStrips(const std::vector<ChartFlag>& flags, const std::vector<bool>& shown,
                                        std::size_t maxSpans);
