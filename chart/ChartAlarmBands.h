#pragma once
// The alarm flags of a run as light bands behind the traces, each flag in a strip of its own
// (see FlagStrips) and a colour of its own, with an entry in the legend that shows or hides it
// when clicked.
#include "chart/FlagStrips.h"

#include <QColor>
#include <QObject>

#include <vector>

class ChartView;
class QCPAbstractLegendItem;
class QCPItemRect;

class ChartAlarmBands : public QObject {
public:
    explicit ChartAlarmBands(ChartView& chart);

    // The flags in their lasting order (their colours follow it), each with its spans; a flag
    // never set has neither strip nor legend entry. A flag hidden before stays hidden.
    void SetFlags(std::vector<ChartFlag> flags);
    const std::vector<ChartFlag>& Flags() const { return flags_; }
    void SetShown(int flag, bool shown);
    bool IsShown(int flag) const { return flag >= 0 && flag < static_cast<int>(shown_.size()) && shown_[flag]; }
    const std::vector<FlagStrip>& Strips() const { return strips_; }
    // The colour of the flag at this place in the order.
    static QColor FlagColour(int flag);

    // Beyond this many spans a flag's close ones merge, so that a flapping alarm stays drawable.
    static constexpr std::size_t MaxSpansPerFlag = 2000;

private:
    void Rebuild();
    void RebuildLegend();

    ChartView& chart_;
    std::vector<ChartFlag> flags_;
    std::vector<bool> shown_;
    std::vector<FlagStrip> strips_;
    std::vector<QCPItemRect*> bands_;
    std::vector<QCPAbstractLegendItem*> entries_;
};
