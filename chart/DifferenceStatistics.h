#pragma once
// The figures of one trace less another over a span of time: at each time both traces have a
// point, the one value less the other. The two traces keep no sums of their products, so the
// spread of the difference comes from walking the points of the span; the chart asks again only
// when the span or the points change.
#include "chart/TracePoints.h"

// The figures of minuend − subtrahend at the times in [from, to] where both have a value.
PointStatistics DifferenceStatistics(const TracePoints& minuend, const TracePoints& subtrahend, double from, double to);

// The same figures, worked out again only when the span or the traces' newest points moved.
class CachedDifferenceStatistics {
public:
    const PointStatistics& Between(const TracePoints& minuend, const TracePoints& subtrahend, double from, double to);

private:
    struct Question {
        double from = 0;
        double to = 0;
        int sizes[2] = {-1, -1};
        double newest[2] = {0, 0};
        bool operator==(const Question& other) const;
    };
    Question asked_;
    PointStatistics answer_;
};
