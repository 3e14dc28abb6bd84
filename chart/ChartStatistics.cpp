#include "chart/ChartStatistics.h"

#include "chart/ChartLabels.h"
#include "chart/ChartView.h"

#include <algorithm>

namespace {
constexpr int CornerGap = 6;

QString Figure(bool any, double value) { return any ? QString::number(value, 'f', 2) : QStringLiteral("—"); }

QString Row(const QString& name, int nameWidth, const PointStatistics& figures) {
    const bool any = figures.count > 0;
    return QStringLiteral("%1 %2 %3 %4 %5 %6")
        .arg(name, -nameWidth)
        .arg(Figure(any, figures.min), 8)
        .arg(Figure(any, figures.max), 8)
        .arg(Figure(any, figures.mean), 8)
        .arg(Figure(any, figures.deviation), 8)
        .arg(figures.count, 8);
}
}  // namespace

PointStatistics StatisticsBetween(const TracePoints& points, double from, double to) {
    return points.Statistics(points.LowerBound(from), points.UpperBound(to));
}

ChartStatistics::ChartStatistics(ChartView& chart, const ChartLabels& labels)
    : chart_(chart), labels_(labels), box_(NewOverlayText(chart.Plot(), true)) {
    box_->setPositionAlignment(Qt::AlignLeft | Qt::AlignBottom);
}

void ChartStatistics::SetShown(bool shown) {
    shown_ = shown;
    chart_.RequestReplot();
}

void ChartStatistics::Refresh(double from, double to, bool betweenCursors, const QRect& plot) {
    box_->setVisible(shown_);
    if (!shown_) return;
    QStringList lines;
    lines << (betweenCursors ? QStringLiteral("Between cursors A and B") : QStringLiteral("Visible span"));
    const int traces = chart_.Plot().graphCount();
    const int nameWidth = labels_.NameWidth(traces);
    lines << QStringLiteral("%1 %2 %3 %4 %5 %6")
                 .arg(QString(), -nameWidth)
                 .arg(QStringLiteral("min"), 8)
                 .arg(QStringLiteral("max"), 8)
                 .arg(QStringLiteral("mean"), 8)
                 .arg(QStringLiteral("std dev"), 8)
                 .arg(QStringLiteral("points"), 8);
    const double lower = std::min(from, to);
    const double upper = std::max(from, to);
    for (int i = 0; i < traces; ++i) lines << Row(labels_.Name(i), nameWidth, StatisticsBetween(chart_.Points(i), lower, upper));
    if (const auto& pair = labels_.difference; pair && std::max(pair->minuend, pair->subtrahend) < traces) {
        lines << Row(labels_.DifferenceName(), nameWidth,
                     difference_.Between(chart_.Points(pair->minuend), chart_.Points(pair->subtrahend), lower, upper));
    }
    box_->setText(lines.join(QLatin1Char('\n')));
    box_->position->setCoords(plot.left() + CornerGap, plot.bottom() - CornerGap);
}

QString ChartStatistics::Text() const { return shown_ ? box_->text() : QString(); }
