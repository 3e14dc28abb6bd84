#pragma once
// Statistics of the traces over the visible span, or between the cursors: for each trace its
// lowest, highest and mean value, standard deviation and point count, taken from the sums the
// points keep per bucket, in a box at the plot's bottom-left corner; and the same of the
// labels' difference of two traces, where they name one.
#include "chart/DifferenceStatistics.h"
#include "chart/TracePoints.h"

#include <QRect>
#include <QString>

class QCPItemText;
class ChartView;
struct ChartLabels;

// The figures of the trace's points whose times lie in [from, to].
PointStatistics StatisticsBetween(const TracePoints& points, double from, double to);

class ChartStatistics {
public:
    ChartStatistics(ChartView& chart, const ChartLabels& labels);

    void SetShown(bool shown);
    bool IsShown() const { return shown_; }
    // After each layout: the figures of [from, to], named as the span between the cursors or
    // the visible span.
    void Refresh(double from, double to, bool betweenCursors, const QRect& plot);
    QString Text() const;

private:
    ChartView& chart_;
    const ChartLabels& labels_;
    QCPItemText* box_;
    bool shown_ = false;
    CachedDifferenceStatistics difference_;
};
