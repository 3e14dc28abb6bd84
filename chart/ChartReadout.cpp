#include "chart/ChartReadout.h"

#include "chart/ChartLabels.h"
#include "chart/ChartView.h"
#include "chart/TimeOfDayTicker.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {
constexpr int PointerGap = 16;   // pixels between the pointer and the readout's box
constexpr int LineGap = 4;       // pixels between a cursor line and the box moved aside from it

bool Crosses(const QRect& box, const std::vector<double>& columns) {
    return std::any_of(columns.begin(), columns.end(),
                       [&](double x) { return x >= box.left() - 1 && x <= box.right() + 1; });
}

// Where the box goes beside the pointer: on the side with more room, so that it stays in the
// plot; where a cursor line runs through it, on the other side, or else pushed past the lines.
int BoxLeft(const QRect& plot, QPoint pointer, QSize box, const std::vector<double>& columns) {
    const bool leftFirst = pointer.x() > plot.center().x();
    const int leftSide = pointer.x() - PointerGap - box.width();
    const int rightSide = pointer.x() + PointerGap;
    const auto fits = [&](int left) { return left >= plot.left() && left + box.width() <= plot.right(); };
    const auto clear = [&](int left) { return fits(left) && !Crosses(QRect(QPoint(left, 0), QSize(box.width(), 1)), columns); };
    const int first = leftFirst ? leftSide : rightSide;
    const int second = leftFirst ? rightSide : leftSide;
    for (const int left : {first, second}) {
        if (clear(left)) return left;
    }
    // Both sides are crossed: away from the pointer, beyond each line in turn.
    for (const bool towardsLeft : {leftFirst, !leftFirst}) {
        int left = towardsLeft ? leftSide : rightSide;
        for (std::size_t pushes = 0; pushes < columns.size() && fits(left) && !clear(left); ++pushes) {
            for (const double x : columns) {
                if (!Crosses(QRect(QPoint(left, 0), QSize(box.width(), 1)), {x})) continue;
                left = towardsLeft ? static_cast<int>(x) - LineGap - box.width() : static_cast<int>(x) + LineGap + 1;
            }
        }
        if (clear(left)) return left;
    }
    return first;
}
}  // namespace

ChartReadout::ChartReadout(ChartView& chart, const ChartLabels& labels) : chart_(chart), labels_(labels) {
    for (int i = 0; i < chart.Plot().graphCount(); ++i) {
        auto* tracer = new QCPItemTracer(&chart.Plot());
        tracer->setLayer(GuidesLayer);
        tracer->setStyle(QCPItemTracer::tsCircle);
        tracer->setSize(9);
        tracer->setPen(QPen(chart.Plot().graph(i)->pen().color(), 2));
        tracer->setBrush(Qt::white);
        tracer->setVisible(false);
        tracers_.push_back(tracer);
    }
    text_ = NewOverlayText(chart.Plot(), true);
    text_->setLayer(ReadoutLayer);
    picked_.assign(tracers_.size(), -1);
}

void ChartReadout::Follow(std::optional<QPoint> pointer) {
    if (pointer == pointer_) return;
    pointer_ = pointer;
    chart_.RequestReplot();
}

void ChartReadout::Refresh(const std::vector<double>& clearColumns) {
    const QRect plot = chart_.Plot().axisRect()->rect();
    const bool over = pointer_ && plot.contains(*pointer_);
    const double time = over ? chart_.Plot().xAxis->pixelToCoord(pointer_->x()) : 0;
    bool any = false;
    for (std::size_t i = 0; i < tracers_.size(); ++i) {
        const TracePoints& points = chart_.Points(static_cast<int>(i));
        picked_[i] = over ? points.Nearest(time) : -1;
        tracers_[i]->setVisible(picked_[i] >= 0);
        if (picked_[i] < 0) continue;
        const TracePoint& point = points.At(picked_[i]);
        tracers_[i]->position->setCoords(point.key, point.value);
        any = true;
    }
    text_->setVisible(any);
    box_ = QRect();
    if (!any) return;
    text_->setText(Text());
    const QSize size = text_->BoxSize();
    const bool above = pointer_->y() > plot.center().y();
    const int top = above ? pointer_->y() - PointerGap - size.height() : pointer_->y() + PointerGap;
    box_ = QRect(QPoint(BoxLeft(plot, *pointer_, size, clearColumns), top), size);
    text_->setPositionAlignment(Qt::AlignLeft | Qt::AlignTop);
    text_->position->setCoords(box_.left(), box_.top());
}

QString ChartReadout::Text() const {
    QStringList lines;
    const int nameWidth = labels_.NameWidth(static_cast<int>(picked_.size()));
    for (std::size_t i = 0; i < picked_.size(); ++i) {
        if (picked_[i] < 0) continue;
        const TracePoint& point = chart_.Points(static_cast<int>(i)).At(picked_[i]);
        if (lines.isEmpty()) lines << TimeOfDayText(point.key, 2);
        lines << QStringLiteral("%1 %2").arg(labels_.Name(static_cast<int>(i)), -nameWidth).arg(labels_.ValueText(point.value));
    }
    if (const auto& pair = labels_.difference) {
        const auto valueOf = [this](int trace) {
            const int at = trace < static_cast<int>(picked_.size()) ? picked_[trace] : -1;
            return at < 0 ? std::numeric_limits<double>::quiet_NaN() : chart_.Points(trace).At(at).value;
        };
        const double difference = valueOf(pair->minuend) - valueOf(pair->subtrahend);
        if (!std::isnan(difference)) {
            const QString sign = difference > 0 ? QStringLiteral("+") : QString();
            lines << QStringLiteral("%1 %2").arg(labels_.DifferenceName(), -nameWidth).arg(sign + labels_.ValueText(difference));
        }
    }
    return lines.join(QLatin1Char('\n'));
}
