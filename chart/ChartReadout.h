#pragma once
// The readout while the pointer is over the plot: a tracer on each trace's stored point nearest
// to the time under the pointer (the points as stored, not a line between them), and beside the
// pointer the time of day, each trace's value there and the labels' difference of two traces.
#include <QPoint>
#include <QRect>
#include <QString>
#include <optional>
#include <vector>

class OverlayText;
class QCPItemTracer;
class ChartView;
struct ChartLabels;

class ChartReadout {
public:
    ChartReadout(ChartView& chart, const ChartLabels& labels);

    // The pointer moved to a place in the chart, or left it (none).
    void Follow(std::optional<QPoint> pointer);
    bool IsShown() const { return pointer_.has_value(); }
    // After each layout: the points nearest to the pointer's time in the view as it now is. The
    // box stands clear of the pixel columns given (the cursor lines) wherever the plot has room.
    void Refresh(const std::vector<double>& clearColumns = {});
    // Where the box is drawn, in the chart's pixels; empty while it is hidden.
    QRect Box() const { return box_; }
    // For each trace the index of the point shown, -1 for none.
    const std::vector<int>& Picked() const { return picked_; }
    QString Text() const;

private:
    ChartView& chart_;
    const ChartLabels& labels_;
    std::vector<QCPItemTracer*> tracers_;
    OverlayText* text_;
    QRect box_;
    std::optional<QPoint> pointer_;
    std::vector<int> picked_;
};
