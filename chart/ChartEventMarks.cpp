#include "chart/ChartEventMarks.h"

#include "chart/ChartLabels.h"
#include "chart/ChartView.h"

#include <qcustomplot.h>

namespace {
const QColor MomentColour(90, 90, 90);
const QColor LostColour(110, 110, 110, 70);
constexpr double LabelRowHeight = 0.045;   // of the plot's height
}  // namespace

ChartEventMarks::ChartEventMarks(ChartView& chart) : QObject(&chart.Plot()), chart_(WithOverlayLayers(chart)) {}

void ChartEventMarks::Clear(std::vector<QCPItemText*>& labels) {
    for (QCPItemText* label : labels) chart_.Plot().removeItem(label);
    labels.clear();
}

QCPItemText* ChartEventMarks::NewLabel(double time, int row, const QString& text, Qt::Alignment alignment) {
    auto* label = new QCPItemText(&chart_.Plot());
    label->setLayer(GuidesLayer);
    label->setClipToAxisRect(true);
    label->position->setTypeY(QCPItemPosition::ptAxisRectRatio);
    label->position->setCoords(time, 0.01 + LabelRowHeight * (row % LabelRows));
    label->setPositionAlignment(alignment | Qt::AlignTop);
    label->setText(text);
    label->setPadding(QMargins(3, 1, 3, 1));
    label->setBrush(QColor(255, 255, 255, 210));
    label->setColor(QColor(40, 40, 40));
    return label;
}

void ChartEventMarks::SetMoments(const std::vector<ChartMoment>& moments) {
    for (QCPItemStraightLine* line : lines_) chart_.Plot().removeItem(line);
    lines_.clear();
    Clear(momentLabels_);
    QPen pen(MomentColour, 1, Qt::DashDotLine);
    for (std::size_t i = 0; i < moments.size(); ++i) {
        auto* line = new QCPItemStraightLine(&chart_.Plot());
        line->setLayer(GuidesLayer);
        line->setPen(pen);
        line->point1->setTypeY(QCPItemPosition::ptAxisRectRatio);
        line->point2->setTypeY(QCPItemPosition::ptAxisRectRatio);
        line->point1->setCoords(moments[i].time, 0);
        line->point2->setCoords(moments[i].time, 1);
        lines_.push_back(line);
        // Below the spans' labels, which take the top row.
        momentLabels_.push_back(NewLabel(moments[i].time, 1 + static_cast<int>(i % (LabelRows - 1)), moments[i].text, Qt::AlignLeft));
    }
    chart_.RequestReplot();
}

void ChartEventMarks::SetSpans(const std::vector<ChartSpan>& spans) {
    for (QCPItemRect* shade : shades_) chart_.Plot().removeItem(shade);
    shades_.clear();
    Clear(spanLabels_);
    for (const ChartSpan& span : spans) {
        auto* shade = new QCPItemRect(&chart_.Plot());
        shade->setLayer(QStringLiteral("grid"));
        shade->setPen(Qt::NoPen);
        shade->setBrush(QBrush(LostColour, Qt::BDiagPattern));
        shade->topLeft->setTypeY(QCPItemPosition::ptAxisRectRatio);
        shade->bottomRight->setTypeY(QCPItemPosition::ptAxisRectRatio);
        shade->topLeft->setCoords(span.from, 0);
        shade->bottomRight->setCoords(span.to, 1);
        shades_.push_back(shade);
        spanLabels_.push_back(NewLabel((span.from + span.to) / 2, 0, span.text, Qt::AlignHCenter));
    }
    chart_.RequestReplot();
}
