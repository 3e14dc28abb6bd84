#include "chart/ChartAlarmBands.h"

#include "chart/ChartView.h"

#include <qcustomplot.h>

namespace {

// Light enough that the traces stay clear over them; in the order of the Status register's flags.
const QColor FlagColours[] = {QColor(255, 170, 170), QColor(170, 195, 255), QColor(255, 200, 140), QColor(150, 220, 215),
                              QColor(225, 170, 235), QColor(245, 225, 120), QColor(180, 225, 160)};

// A flag's entry in the legend: its colour as a swatch and its name, greyed and struck through
// while the flag is hidden.
class FlagLegendItem : public QCPAbstractLegendItem {
public:
    FlagLegendItem(QCPLegend* legend, ChartAlarmBands& bands, int flag)
        : QCPAbstractLegendItem(legend), bands_(bands), flag_(flag) {}
    int Flag() const { return flag_; }

protected:
    QSize minimumOuterSizeHint() const override {
        const QSize icon = mParentLegend->iconSize();
        const QSize text = QFontMetrics(mFont).size(Qt::TextSingleLine, Name());
        return {icon.width() + mParentLegend->iconTextPadding() + text.width() + mMargins.left() + mMargins.right(),
                std::max(text.height(), icon.height()) + mMargins.top() + mMargins.bottom()};
    }
    void draw(QCPPainter* painter) override {
        const bool shown = bands_.IsShown(flag_);
        const QSize icon = mParentLegend->iconSize();
        const QRectF swatch(mRect.left() + 1, mRect.top() + 2, icon.width() - 2, icon.height() - 4);
        painter->setPen(QPen(QColor(120, 120, 120)));
        painter->setBrush(shown ? QBrush(ChartAlarmBands::FlagColour(flag_)) : QBrush(Qt::NoBrush));
        painter->drawRect(swatch);
        QFont font = mFont;
        font.setStrikeOut(!shown);
        painter->setFont(font);
        painter->setPen(shown ? mTextColor : QColor(150, 150, 150));
        const QRect text(mRect.left() + icon.width() + mParentLegend->iconTextPadding(), mRect.top(),
                         mRect.width() - icon.width(), mRect.height());
        painter->drawText(text, Qt::AlignLeft | Qt::AlignVCenter, Name());
    }

private:
    QString Name() const { return bands_.Flags()[flag_].name; }
    ChartAlarmBands& bands_;
    int flag_;
};

}  // namespace

ChartAlarmBands::ChartAlarmBands(ChartView& chart) : QObject(&chart.Plot()), chart_(chart) {
    connect(&chart.Plot(), &QCustomPlot::legendClick, this, [this](QCPLegend*, QCPAbstractLegendItem* item, QMouseEvent*) {
        if (auto* entry = dynamic_cast<FlagLegendItem*>(item)) SetShown(entry->Flag(), !IsShown(entry->Flag()));
    });
}

QColor ChartAlarmBands::FlagColour(int flag) { return FlagColours[static_cast<std::size_t>(flag) % std::size(FlagColours)]; }

void ChartAlarmBands::SetFlags(std::vector<ChartFlag> flags) {
    const bool sameFlags = flags.size() == flags_.size();
    flags_ = std::move(flags);
    shown_.resize(flags_.size(), true);
    if (!sameFlags) shown_.assign(flags_.size(), true);
    Rebuild();
    RebuildLegend();
}

void ChartAlarmBands::SetShown(int flag, bool shown) {
    if (flag < 0 || flag >= static_cast<int>(shown_.size()) || shown_[flag] == shown) return;
    shown_[flag] = shown;
    Rebuild();
}

void ChartAlarmBands::Rebuild() {
    QCustomPlot& plot = chart_.Plot();
    for (QCPItemRect* band : bands_) plot.removeItem(band);
    bands_.clear();
    strips_ = LayOutFlagStrips(flags_, shown_, MaxSpansPerFlag);
    for (const FlagStrip& strip : strips_) {
        auto* band = new QCPItemRect(&plot);
        band->setLayer(QStringLiteral("grid"));   // behind the grid lines and the traces
        band->setPen(Qt::NoPen);
        band->setBrush(FlagColour(strip.flag));
        band->topLeft->setTypeY(QCPItemPosition::ptAxisRectRatio);
        band->bottomRight->setTypeY(QCPItemPosition::ptAxisRectRatio);
        band->topLeft->setCoords(strip.from, strip.top);
        band->bottomRight->setCoords(strip.to, strip.bottom);
        bands_.push_back(band);
    }
    chart_.RequestReplot();
}

void ChartAlarmBands::RebuildLegend() {
    QCPLegend* legend = chart_.Plot().legend;
    for (QCPAbstractLegendItem* entry : entries_) legend->remove(entry);
    entries_.clear();
    for (int flag = 0; flag < static_cast<int>(flags_.size()); ++flag) {
        if (flags_[flag].spans.empty()) continue;
        auto* entry = new FlagLegendItem(legend, *this, flag);
        legend->addItem(entry);
        entries_.push_back(entry);
    }
    chart_.RequestReplot();
}
