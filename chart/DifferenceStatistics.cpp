#include "chart/DifferenceStatistics.h"

#include <algorithm>
#include <cmath>

PointStatistics DifferenceStatistics(const TracePoints& minuend, const TracePoints& subtrahend, double from, double to) {
    PointStatistics figures;
    int a = minuend.LowerBound(from);
    int b = subtrahend.LowerBound(from);
    const int aEnd = minuend.UpperBound(to);
    const int bEnd = subtrahend.UpperBound(to);
    // Sums of the differences less the first, so that the squares stay small.
    double origin = 0;
    ValueSums sums;
    ValueSpan span;
    while (a < aEnd && b < bEnd) {
        const TracePoint p = minuend.At(a);
        const TracePoint q = subtrahend.At(b);
        if (p.key < q.key) {
            ++a;
            continue;
        }
        if (q.key < p.key) {
            ++b;
            continue;
        }
        ++a;
        ++b;
        const double difference = p.value - q.value;
        if (std::isnan(difference)) continue;
        if (figures.count++ == 0) origin = difference;
        sums.Add(difference - origin);
        span.Add(difference);
    }
    if (figures.count > 0) figures.Finish(origin, sums, span);
    return figures;
}

bool CachedDifferenceStatistics::Question::operator==(const Question& other) const {
    return from == other.from && to == other.to && std::equal(sizes, sizes + 2, other.sizes) &&
           std::equal(newest, newest + 2, other.newest);
}

const PointStatistics& CachedDifferenceStatistics::Between(const TracePoints& minuend, const TracePoints& subtrahend,
                                                           double from, double to) {
    const auto newest = [](const TracePoints& points) { return points.IsEmpty() ? 0.0 : points.At(points.Size() - 1).key; };
    const Question question{from, to, {minuend.Size(), subtrahend.Size()}, {newest(minuend), newest(subtrahend)}};
    if (!(question == asked_)) {
        asked_ = question;
        answer_ = DifferenceStatistics(minuend, subtrahend, from, to);
    }
    return answer_;
}
