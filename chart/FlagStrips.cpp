#include "chart/FlagStrips.h"

#include <algorithm>

namespace {

// A flapping alarm stays drawable: spans closer than a maxSpans-th of the flag's extent merge.
std::vector<std::pair<double, double>> Drawable(const std::vector<std::pair<double, double>>& spans, std::size_t maxSpans) {
    if (spans.size() <= maxSpans) return spans;
    const double gap = (spans.back().second - spans.front().first) / static_cast<double>(maxSpans);
    std::vector<std::pair<double, double>> merged{spans.front()};
    for (const auto& span : spans) {
        if (span.first - merged.back().second <= gap) {
            merged.back().second = std::max(merged.back().second, span.second);
        } else {
            merged.push_back(span);
        }
    }
    return merged;
}

}  // namespace

std::vector<FlagStrip> LayOutFlagStrips(const std::vector<ChartFlag>& flags, const std::vector<bool>& shown,
                                        std::size_t maxSpans) {
    std::vector<int> lanes;   // the flags ever set, top to bottom
    for (int i = 0; i < static_cast<int>(flags.size()); ++i) {
        if (!flags[i].spans.empty()) lanes.push_back(i);
    }
    std::vector<FlagStrip> strips;
    const double height = lanes.empty() ? 0 : 1.0 / static_cast<double>(lanes.size());
    for (std::size_t lane = 0; lane < lanes.size(); ++lane) {
        const int flag = lanes[lane];
        if (flag < static_cast<int>(shown.size()) && !shown[flag]) continue;
        const double top = static_cast<double>(lane) * height;
        for (const auto& [from, to] : Drawable(flags[flag].spans, maxSpans)) strips.push_back({flag, from, to, top, top + height});
    }
    return strips;
}
