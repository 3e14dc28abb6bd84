#pragma once
// What happened during a run, on its chart: moments (a user's marks, the steps of a sweep) as
// labelled vertical lines, and spans (the board lost until it came back) shaded and labelled
// with why. The labels sit along the top of the plot, staggered over a few rows so that
// neighbours do not cover one another.
#include <QObject>
#include <QString>

#include <vector>

class ChartView;
class QCPItemRect;
class QCPItemStraightLine;
class QCPItemText;

struct ChartMoment {
    double time;
    QString text;
};

struct ChartSpan {
    double from;
    double to;
    QString text;
};

class ChartEventMarks : public QObject {
public:
    explicit ChartEventMarks(ChartView& chart);

    void SetMoments(const std::vector<ChartMoment>& moments);
    void SetSpans(const std::vector<ChartSpan>& spans);
    int MomentCount() const { return static_cast<int>(lines_.size()); }
    int SpanCount() const { return static_cast<int>(shades_.size()); }

    static constexpr int LabelRows = 4;   // the spans' labels on the first, the moments' on the others

private:
    void Clear(std::vector<QCPItemText*>& labels);
    QCPItemText* NewLabel(double time, int row, const QString& text, Qt::Alignment alignment);

    ChartView& chart_;
    std::vector<QCPItemStraightLine*> lines_;
    std::vector<QCPItemText*> momentLabels_;
    std::vector<QCPItemRect*> shades_;
    std::vector<QCPItemText*> spanLabels_;
};
