#include "output/ChartLimitLines.h"

#include "output/ChartLabels.h"
#include "output/StripChart.h"

#include <QFontMetrics>
#include <algorithm>
#include <map>

namespace {
constexpr int ReadIntervalMs = 1000;
constexpr int LabelGap = 4;       // pixels between the plot's edge and a label
constexpr qreal DashLength = 5;   // the traces' dashes take turns where their lines coincide
}  // namespace

ChartLimitLines::ChartLimitLines(StripChart& chart) : QObject(&chart), chart_(chart) {
    timer_.setInterval(ReadIntervalMs);
    connect(&timer_, &QTimer::timeout, this, &ChartLimitLines::Read);
}

void ChartLimitLines::SetShown(bool shown) {
    shown_ = shown && readLimits;
    if (shown_) {
        Read();
        timer_.start();
    } else {
        timer_.stop();
        limits_.clear();
        Rebuild();
    }
}

void ChartLimitLines::Read() {
    if (!shown_) return;
    std::vector<LimitLine> limits = readLimits();
    if (limits == limits_) return;
    limits_ = std::move(limits);
    Rebuild();
}

void ChartLimitLines::Rebuild() {
    for (QCPItemStraightLine* line : lines_) chart_.removeItem(line);
    for (QCPItemText* label : labels_) chart_.removeItem(label);
    lines_.clear();
    labels_.clear();
    labelValues_.clear();

    ValueSpan values;
    std::map<std::pair<int, double>, QStringList> names;   // equal limits of a trace share a label
    for (const LimitLine& limit : limits_) {
        if (limit.trace < 0 || limit.trace >= chart_.graphCount()) continue;
        QPen pen(chart_.graph(limit.trace)->pen().color(), 1);
        pen.setDashPattern({DashLength, DashLength});
        pen.setDashOffset(DashLength * limit.trace);
        auto* line = new QCPItemStraightLine(&chart_);
        line->setLayer(QStringLiteral("overlay"));
        line->setPen(pen);
        line->setAntialiased(false);
        line->point1->setCoords(0, limit.value);
        line->point2->setCoords(1, limit.value);
        lines_.push_back(line);
        names[{limit.trace, limit.value}] << limit.name;
        values.Add(limit.value);
    }
    int widest = 0;
    for (const auto& [key, labelNames] : names) {
        QCPItemText* label = NewOverlayText(chart_);
        label->setText(QStringLiteral("%1 %2").arg(labelNames.join(QStringLiteral(", "))).arg(key.second));
        label->setColor(chart_.graph(key.first)->pen().color());
        label->setPen(Qt::NoPen);
        label->setBrush(Qt::NoBrush);
        label->setPadding(QMargins(1, 0, 1, 0));
        label->setPositionAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        labels_.push_back(label);
        labelValues_.push_back(key.second);
        widest = std::max(widest, QFontMetrics(label->font()).horizontalAdvance(label->text()) + 2);
    }
    // Room for the labels beside the plot, so that they never cover the newest points.
    chart_.axisRect()->setMinimumMargins(QMargins(0, 0, labels_.empty() ? 0 : widest + 2 * LabelGap, 0));
    chart_.FitAlso(values);
}

void ChartLimitLines::Refresh(const QRect& plot) {
    const int height = QFontMetrics(labels_.empty() ? QFont() : labels_[0]->font()).height();
    std::vector<std::pair<double, std::size_t>> rows;   // wanted pixel row, label
    for (std::size_t i = 0; i < labels_.size(); ++i) {
        const double row = chart_.yAxis->coordToPixel(labelValues_[i]);
        const bool inView = row >= plot.top() && row <= plot.bottom();
        labels_[i]->setVisible(inView);
        if (inView) rows.emplace_back(row, i);
    }
    std::sort(rows.begin(), rows.end());
    double lowestFree = -1e9;
    for (const auto& [row, i] : rows) {
        const double placed = std::max(row, lowestFree);
        labels_[i]->position->setCoords(plot.right() + LabelGap, placed);
        lowestFree = placed + height;
    }
}
