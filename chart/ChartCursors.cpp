#include "chart/ChartCursors.h"

#include "chart/ChartLabels.h"
#include "chart/ChartView.h"
#include "chart/TimeOfDayTicker.h"

#include <cmath>
#include <limits>

namespace {
const QColor CursorColour(70, 70, 70);
constexpr int CornerGap = 6;
constexpr int NameRowHeight = 22;   // the cursors' letters sit above the box
}  // namespace

ChartCursors::ChartCursors(ChartView& chart, const ChartLabels& labels) : chart_(chart), labels_(labels) {
    for (int i = 0; i < 2; ++i) {
        auto* line = new QCPItemStraightLine(&chart.Plot());
        line->setLayer(GuidesLayer);
        line->setPen(QPen(CursorColour, 1));
        line->setAntialiased(false);
        line->setVisible(false);
        lines_[i] = line;
        auto* name = NewOverlayText(chart.Plot());
        name->setText(i == 0 ? QStringLiteral("A") : QStringLiteral("B"));
        name->setPen(QPen(CursorColour));
        name->position->setTypeX(QCPItemPosition::ptPlotCoords);
        name->position->setTypeY(QCPItemPosition::ptAxisRectRatio);
        name->setPositionAlignment(Qt::AlignHCenter | Qt::AlignTop);
        name->setClipToAxisRect(true);
        names_[i] = name;
    }
    box_ = NewOverlayText(chart.Plot(), true);
    box_->setPositionAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void ChartCursors::Set(int cursor, double time) {
    if (cursor < 0 || cursor > 1 || std::isnan(time)) return;
    const TracePoints& points = chart_.Points(0);
    const int nearest = points.Nearest(time);
    times_[cursor] = nearest < 0 ? time : points.At(nearest).key;
    chart_.RequestReplot();
}

void ChartCursors::Clear() {
    times_ = {};
    chart_.RequestReplot();
}

void ChartCursors::Refresh(const QRect& plot) {
    for (int i = 0; i < 2; ++i) {
        lines_[i]->setVisible(times_[i].has_value());
        names_[i]->setVisible(times_[i].has_value());
        if (!times_[i]) continue;
        lines_[i]->point1->setCoords(*times_[i], 0);
        lines_[i]->point2->setCoords(*times_[i], 1);
        names_[i]->position->setCoords(*times_[i], 0);
    }
    box_->setVisible(BothSet());
    if (!BothSet()) return;
    box_->setText(Text());
    box_->position->setCoords(plot.left() + CornerGap, plot.top() + NameRowHeight + CornerGap);
}

double ChartCursors::ValueAt(int trace, double time) const {
    const TracePoints& points = chart_.Points(trace);
    const int nearest = points.Nearest(time);
    return nearest < 0 ? std::numeric_limits<double>::quiet_NaN() : points.At(nearest).value;
}

QString ChartCursors::Text() const {
    if (!BothSet()) return {};
    const double a = *times_[0];
    const double b = *times_[1];
    QStringList lines;
    lines << QStringLiteral("A %1   B %2").arg(TimeOfDayText(a, 2), TimeOfDayText(b, 2));
    lines << QStringLiteral("%1 %2 s").arg(QStringLiteral("Δt"), -8).arg(b - a, 0, 'f', 3);
    // A ramp's rate is what the chamber is set to; no rate between two cursors at one time.
    const double minutes = (b - a) / 60;
    for (int i = 0; i < chart_.Plot().graphCount(); ++i) {
        const double change = ValueAt(i, b) - ValueAt(i, a);
        const QString sign = change > 0 ? QStringLiteral("+") : QString();
        const double rate = minutes != 0 ? change / minutes : std::numeric_limits<double>::quiet_NaN();
        lines << QStringLiteral("%1 Δ %2  %3")
                     .arg(labels_.Name(i), -8)
                     .arg(sign + labels_.ValueText(change), -10)
                     .arg(labels_.RateText(rate));
    }
    return lines.join(QLatin1Char('\n'));
}
