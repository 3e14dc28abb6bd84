#include "chart/ChartStatistics.h"

#include "chart/ChartLabels.h"
#include "chart/ChartView.h"

namespace {
constexpr int CornerGap = 6;

QString Figure(bool any, double value) { return any ? QString::number(value, 'f', 2) : QStringLiteral("—"); }
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
    lines << QStringLiteral("%1 %2 %3 %4 %5 %6")
                 .arg(QString(), -8)
                 .arg(QStringLiteral("min"), 8)
                 .arg(QStringLiteral("max"), 8)
                 .arg(QStringLiteral("mean"), 8)
                 .arg(QStringLiteral("std dev"), 8)
                 .arg(QStringLiteral("points"), 8);
    for (int i = 0; i < chart_.Plot().graphCount(); ++i) {
        const PointStatistics figures = StatisticsBetween(chart_.Points(i), std::min(from, to), std::max(from, to));
        const bool any = figures.count > 0;
        lines << QStringLiteral("%1 %2 %3 %4 %5 %6")
                     .arg(labels_.Name(i), -8)
                     .arg(Figure(any, figures.min), 8)
                     .arg(Figure(any, figures.max), 8)
                     .arg(Figure(any, figures.mean), 8)
                     .arg(Figure(any, figures.deviation), 8)
                     .arg(figures.count, 8);
    }
    box_->setText(lines.join(QLatin1Char('\n')));
    box_->position->setCoords(plot.left() + CornerGap, plot.bottom() - CornerGap);
}

QString ChartStatistics::Text() const { return shown_ ? box_->text() : QString(); }
