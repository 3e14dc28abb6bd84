#include "chart/ChartLimitLines.h"

#include "chart/ChartLabels.h"
#include "chart/ChartView.h"

#include <QFontMetrics>
#include <algorithm>
#include <map>

namespace {
constexpr int ReadIntervalMs = 1000;
constexpr int LabelGap = 4;       // pixels between the plot's edge and a label
constexpr qreal DashLength = 5;   // the traces' dashes take turns where their lines coincide
const QString UpArrow = QStringLiteral("▲ ");
const QString DownArrow = QStringLiteral("▼ ");
const QString& EdgeArrow = UpArrow;
}  // namespace

ChartLimitLines::ChartLimitLines(ChartView& chart) : QObject(&chart.Plot()), chart_(chart) {
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
    for (QCPItemStraightLine* line : lines_) chart_.Plot().removeItem(line);
    for (QCPItemText* label : labels_) chart_.Plot().removeItem(label);
    lines_.clear();
    labels_.clear();
    labelTexts_.clear();
    labelValues_.clear();

    std::map<std::pair<int, double>, QStringList> names;   // equal limits of a trace share a label
    for (const LimitLine& limit : limits_) {
        if (limit.trace < 0 || limit.trace >= chart_.Plot().graphCount()) continue;
        QPen pen(chart_.Plot().graph(limit.trace)->pen().color(), 1);
        pen.setDashPattern({DashLength, DashLength});
        pen.setDashOffset(DashLength * limit.trace);
        auto* line = new QCPItemStraightLine(&chart_.Plot());
        line->setLayer(GuidesLayer);
        line->setPen(pen);
        line->setAntialiased(false);
        line->point1->setCoords(0, limit.value);
        line->point2->setCoords(1, limit.value);
        lines_.push_back(line);
        names[{limit.trace, limit.value}] << limit.name;
    }
    int widest = 0;
    for (const auto& [key, labelNames] : names) {
        QCPItemText* label = NewOverlayText(chart_.Plot());
        labelTexts_.push_back(QStringLiteral("%1 %2").arg(labelNames.join(QStringLiteral(", "))).arg(key.second));
        label->setText(EdgeArrow + labelTexts_.back());   // the widest the label gets
        label->setColor(chart_.Plot().graph(key.first)->pen().color());
        label->setPen(Qt::NoPen);
        label->setPadding(QMargins(1, 0, 1, 0));
        label->setPositionAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        labels_.push_back(label);
        labelValues_.push_back(key.second);
        widest = std::max(widest, QFontMetrics(label->font()).horizontalAdvance(label->text()) + 2);
    }
    // Room for the labels beside the plot, so that they never cover the newest points.
    chart_.Plot().axisRect()->setMinimumMargins(QMargins(0, 0, labels_.empty() ? 0 : widest + 2 * LabelGap, 0));
    chart_.RequestReplot();
}

void ChartLimitLines::Refresh(const QRect& plot) {
    const int height = QFontMetrics(labels_.empty() ? QFont() : labels_[0]->font()).height();
    const double topRow = plot.top() + height / 2.0;
    const double bottomRow = plot.bottom() - height / 2.0;
    std::vector<std::pair<double, std::size_t>> rows;   // wanted pixel row, label
    for (std::size_t i = 0; i < labels_.size(); ++i) {
        const double row = chart_.Plot().yAxis->coordToPixel(labelValues_[i]);
        const QString arrow = row < plot.top() ? UpArrow : row > plot.bottom() ? DownArrow : QString();
        labels_[i]->setText(arrow + labelTexts_[i]);
        labels_[i]->setVisible(true);
        rows.emplace_back(std::clamp(row, topRow, bottomRow), i);
    }
    // Moved apart: down from the top where they would overlap, then up from the bottom edge.
    std::sort(rows.begin(), rows.end());
    double lowestFree = -1e9;
    for (auto& [row, i] : rows) {
        row = std::max(row, lowestFree);
        lowestFree = row + height;
    }
    double highestFree = 1e9;
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
        it->first = std::min(it->first, highestFree);
        highestFree = it->first - height;
    }
    for (const auto& [row, i] : rows) labels_[i]->position->setCoords(plot.right() + LabelGap, row);
}
