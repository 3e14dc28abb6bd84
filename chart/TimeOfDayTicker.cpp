#include "chart/TimeOfDayTicker.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr long long SecondsPerDay = 86400;

struct ClockStep {
    double seconds;
    int subTicks;   // between two ticks
};

// Steps a reader of a clock expects; the sub-ticks split each into round parts.
constexpr ClockStep ClockSteps[] = {
    {0.01, 4},  {0.02, 1},   {0.05, 4},   {0.1, 4},     {0.2, 1},     {0.5, 4},
    {1, 4},     {2, 1},      {5, 4},      {10, 1},      {15, 2},      {30, 2},
    {60, 3},    {120, 1},    {300, 4},    {600, 1},     {900, 2},     {1800, 2},
    {3600, 3},  {7200, 1},   {10800, 2},  {21600, 5},   {43200, 3},   {86400, 3},
};

}  // namespace

QString TimeOfDayText(double seconds, int decimals) {
    decimals = std::clamp(decimals, 0, 2);
    const long long scale = decimals == 0 ? 1 : decimals == 1 ? 10 : 100;
    const long long day = SecondsPerDay * scale;
    long long units = std::llround(seconds * scale) % day;
    if (units < 0) units += day;
    const long long whole = units / scale;
    QString text = QStringLiteral("%1 %2 %3")
                       .arg(whole / 3600, 2, 10, QLatin1Char('0'))
                       .arg(whole / 60 % 60, 2, 10, QLatin1Char('0'))
                       .arg(whole % 60, 2, 10, QLatin1Char('0'));
    if (decimals > 0) text += QStringLiteral(".%1").arg(units % scale, decimals, 10, QLatin1Char('0'));
    return text;
}

double TimeOfDayTicker::getTickStep(const QCPRange& range) {
    const double ideal = range.size() / (mTickCount + 1e-10);
    double step;
    if (ideal > SecondsPerDay) {
        step = cleanMantissa(ideal / SecondsPerDay) * SecondsPerDay;
    } else {
        QVector<double> candidates;
        for (const ClockStep& s : ClockSteps) candidates.append(s.seconds);
        step = pickClosest(ideal, candidates);
    }
    decimals_ = step >= 1 ? 0 : step >= 0.1 ? 1 : 2;
    daySteps_ = step >= SecondsPerDay;
    return step;
}

int TimeOfDayTicker::getSubTickCount(double tickStep) {
    for (const ClockStep& s : ClockSteps) {
        if (std::abs(s.seconds - tickStep) < s.seconds * 1e-6) return s.subTicks;
    }
    return 3;
}

QString TimeOfDayTicker::getTickLabel(double tick, const QLocale&, QChar, int) {
    if (!daySteps_) return TimeOfDayText(tick, decimals_);
    const long long day = std::llround(std::floor(tick / SecondsPerDay));
    if (startDate_.isValid()) return startDate_.addDays(day).toString(QStringLiteral("d MMM"));
    return QStringLiteral("%1 d").arg(day);
}
