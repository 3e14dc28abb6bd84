#include "chart/ChartLabels.h"

#include "chart/OverlayText.h"
#include "chart/ChartView.h"

#include <QFontDatabase>
#include <cmath>

QString ChartLabels::Name(int trace) const {
    if (trace >= 0 && trace < names.size() && !names[trace].isEmpty()) return names[trace];
    return QStringLiteral("Trace %1").arg(trace + 1);
}

QString ChartLabels::DifferenceName() const {
    if (!difference) return {};
    return QStringLiteral("%1 − %2").arg(Name(difference->minuend), Name(difference->subtrahend));
}

int ChartLabels::NameWidth(int traceCount) const {
    qsizetype width = std::max<qsizetype>(8, DifferenceName().size());
    for (int i = 0; i < traceCount; ++i) width = std::max(width, Name(i).size());
    return static_cast<int>(width);
}

QString ChartLabels::ValueText(double value) const {
    if (std::isnan(value)) return QStringLiteral("—");
    return QString::number(value, 'f', 2) + QLatin1Char(' ') + unit;
}

QString ChartLabels::RateText(double perMinute) const {
    if (!std::isfinite(perMinute)) return QStringLiteral("—");
    const QString sign = perMinute > 0 ? QStringLiteral("+") : QString();
    return sign + QString::number(perMinute, 'f', 2) + QLatin1Char(' ') + unit + QStringLiteral("/min");
}

QFont OverlayTableFont() {
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSizeF(std::max(7.0, QFont().pointSizeF() - 1));
    return font;
}

ChartView& WithOverlayLayers(ChartView& chart) {
    QCustomPlot& plot = chart.Plot();
    if (plot.layer(GuidesLayer)) return chart;
    QCPLayer* boxes = plot.layer(BoxesLayer);
    plot.addLayer(GuidesLayer, boxes, QCustomPlot::limBelow);
    plot.addLayer(ReadoutLayer, boxes, QCustomPlot::limAbove);
    for (const QString& name : {GuidesLayer, BoxesLayer, ReadoutLayer}) plot.layer(name)->setMode(QCPLayer::lmLogical);
    return chart;
}

OverlayText* NewOverlayText(QCustomPlot& plot, bool fixedWidth) {
    auto* text = new OverlayText(&plot);
    text->setLayer(BoxesLayer);
    text->setClipToAxisRect(false);
    text->position->setType(QCPItemPosition::ptAbsolute);
    text->setTextAlignment(Qt::AlignLeft | Qt::AlignTop);
    text->setPadding(QMargins(5, 3, 5, 3));
    text->setPen(QPen(QColor(160, 160, 160)));
    text->setBrush(QColor(255, 255, 255));
    text->setColor(QColor(30, 30, 30));
    if (fixedWidth) text->setFont(OverlayTableFont());
    text->setVisible(false);
    return text;
}
