#pragma once
// Where a trace has no readings, its line stops: a gap longer than a few reading intervals is
// drawn as a break, not as a straight line across the missing data. The interval is the run's
// typical spacing of readings, the median of a sample of them: a run's odd slow reading or a
// few quick ones do not move it.
#include "chart/TracePoints.h"

#include <cstdint>
#include <vector>

class ReadingInterval {
public:
    // The spacing of each reading from the one before, as readings come.
    void Add(double spacing);
    // The median of the spacings sampled; 0 before any.
    double Typical() const;

    // The sample holds at most this many: then every second one goes and the sampling thins.
    static constexpr std::size_t MaxSample = 2048;

private:
    std::vector<double> sample_;
    std::uint64_t seen_ = 0;
    std::uint64_t stride_ = 1;   // one spacing of this many is sampled
    mutable double typical_ = 0;
    mutable bool stale_ = false;
};

// A gap longer than this many reading intervals breaks the line.
constexpr double GapReadingIntervals = 3.0;

// Puts a point with no value between two points drawn further apart than `longest` (in keys),
// unless both lie within one pixel column of `columnWidth` keys, where no break would show.
// Nothing changes for a `longest` of 0 or less.
void BreakAtGaps(std::vector<TracePoint>& points, double longest, double columnWidth);
