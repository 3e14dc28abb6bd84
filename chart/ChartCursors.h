#pragma once
// Two time cursors, A and B, as vertical lines across the plot, and while both are set a box at
// the plot's top-left corner with the time between them and each trace's change of value and
// its rate per minute, from the stored points nearest to each cursor.
#include <QRect>
#include <QString>
#include <array>
#include <optional>

class QCPItemStraightLine;
class QCPItemText;
class ChartView;
struct ChartLabels;

class ChartCursors {
public:
    ChartCursors(ChartView& chart, const ChartLabels& labels);

    // Cursor 0 is A, 1 is B. It goes to the time of the first trace's stored point nearest to
    // the time given, or to that time itself while there are no points.
    void Set(int cursor, double time);
    void Clear();
    std::optional<double> Time(int cursor) const { return times_[cursor]; }
    bool BothSet() const { return times_[0] && times_[1]; }
    // After each layout.
    void Refresh(const QRect& plot);
    // The box's text: Δt and each trace's Δ and rate from A to B.
    QString Text() const;

private:
    // The value of the trace's stored point nearest to the time; NaN for none.
    double ValueAt(int trace, double time) const;

    ChartView& chart_;
    const ChartLabels& labels_;
    std::array<std::optional<double>, 2> times_;
    std::array<QCPItemStraightLine*, 2> lines_{};
    std::array<QCPItemText*, 2> names_{};
    QCPItemText* box_;
};
