#pragma once
// Limits as dashed lines across the plot in their trace's colour, each labelled just outside the
// plot's right edge. They are read afresh when shown and once a second while shown, so they never
// show a limit that has since changed for longer than that. They leave the value axis as it is,
// so a limit far from the run does not flatten it: a limit above or below the view is labelled
// at that edge, with an arrow that points to where it lies.
#include <QObject>
#include <QRect>
#include <QString>
#include <QTimer>
#include <functional>
#include <vector>

class QCPItemStraightLine;
class QCPItemText;
class ChartView;

struct LimitLine {
    int trace;
    QString name;   // e.g. "High"
    double value;
    bool operator==(const LimitLine& other) const {
        return trace == other.trace && name == other.name && value == other.value;
    }
};

class ChartLimitLines : public QObject {
public:
    explicit ChartLimitLines(ChartView& chart);

    // The limits as they stand now; "Show Limits" is offered only once this is set.
    std::function<std::vector<LimitLine>()> readLimits;
    // Why there are no limits to show, for the disabled entry's tooltip; without it (and without
    // readLimits) the entry is not offered at all.
    QString unavailable;

    void SetShown(bool shown);
    bool IsShown() const { return shown_; }
    // Reads the limits again; redraws when they changed.
    void Read();
    // After each layout: the labels beside their lines, moved apart where they would overlap.
    void Refresh(const QRect& plot);
    const std::vector<LimitLine>& Lines() const { return limits_; }

private:
    void Rebuild();

    ChartView& chart_;
    QTimer timer_;
    bool shown_ = false;
    std::vector<LimitLine> limits_;
    std::vector<QCPItemStraightLine*> lines_;
    std::vector<QCPItemText*> labels_;   // one a trace and value: "High, THERM 85"
    std::vector<QString> labelTexts_;
    std::vector<double> labelValues_;
};
