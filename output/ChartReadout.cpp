#include "output/ChartReadout.h"

#include "output/ChartLabels.h"
#include "output/StripChart.h"
#include "output/TimeOfDayTicker.h"

namespace {
constexpr int PointerGap = 16;   // pixels between the pointer and the readout's box
}  // namespace

ChartReadout::ChartReadout(StripChart& chart, const ChartLabels& labels) : chart_(chart), labels_(labels) {
    for (int i = 0; i < chart.graphCount(); ++i) {
        auto* tracer = new QCPItemTracer(&chart);
        tracer->setLayer(QStringLiteral("overlay"));
        tracer->setStyle(QCPItemTracer::tsCircle);
        tracer->setSize(9);
        tracer->setPen(QPen(chart.graph(i)->pen().color(), 2));
        tracer->setBrush(Qt::white);
        tracer->setVisible(false);
        tracers_.push_back(tracer);
    }
    text_ = NewOverlayText(chart, true);
    picked_.assign(tracers_.size(), -1);
}

void ChartReadout::Follow(std::optional<QPoint> pointer) {
    if (pointer == pointer_) return;
    pointer_ = pointer;
    chart_.RequestReplot();
}

void ChartReadout::Refresh() {
    const QRect plot = chart_.axisRect()->rect();
    const bool over = pointer_ && plot.contains(*pointer_);
    const double time = over ? chart_.xAxis->pixelToCoord(pointer_->x()) : 0;
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
    if (!any) return;
    text_->setText(Text());
    // Beside the pointer, on the side with more room, so that the box never leaves the plot.
    const bool left = pointer_->x() > plot.center().x();
    const bool above = pointer_->y() > plot.center().y();
    text_->setPositionAlignment((left ? Qt::AlignRight : Qt::AlignLeft) | (above ? Qt::AlignBottom : Qt::AlignTop));
    text_->position->setCoords(pointer_->x() + (left ? -PointerGap : PointerGap),
                               pointer_->y() + (above ? -PointerGap : PointerGap));
}

QString ChartReadout::Text() const {
    QStringList lines;
    for (std::size_t i = 0; i < picked_.size(); ++i) {
        if (picked_[i] < 0) continue;
        const TracePoint& point = chart_.Points(static_cast<int>(i)).At(picked_[i]);
        if (lines.isEmpty()) lines << TimeOfDayText(point.key, 2);
        lines << QStringLiteral("%1 %2").arg(labels_.Name(static_cast<int>(i)), -8).arg(labels_.ValueText(point.value));
    }
    return lines.join(QLatin1Char('\n'));
}
