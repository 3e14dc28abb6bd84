#pragma once
// What the instrument's tools see of the chart they stand on: the plot, where they place their
// items and read the axes, and the points the chart keeps. The chart holds its tools and hands
// them itself as this, so the tools never need the chart's own header.
#include "chart/TracePoints.h"

#include <QDate>

class QCustomPlot;

class ChartView {
public:
    virtual QCustomPlot& Plot() = 0;
    // The points kept of a trace (0 <= trace < the count of traces).
    virtual const TracePoints& Points(int trace) const = 0;
    virtual int PointCount(int trace) const = 0;
    // The day the run began, on which its time axis counts from midnight.
    virtual QDate RunDate() const = 0;
    virtual bool IsLive() const = 0;
    virtual bool FollowsNewest() const = 0;
    // One redraw when the event loop is next free, however many changes come before it.
    virtual void RequestReplot() = 0;

protected:
    ~ChartView() = default;
};
