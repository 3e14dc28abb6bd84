#include "cli/sweep/OffsetFit.h"

#include "chip/ChipFields.h"
#include "chip/TemperatureEncoding.h"

#include <QString>
#include <algorithm>
#include <cmath>

namespace {

std::string Fixed(double value, int decimals) { return QString::number(value, 'f', decimals).toStdString(); }
std::string Signed(double value, int decimals) { return (value >= 0 ? "+" : "") + Fixed(value, decimals); }

}  // namespace

OffsetFit FitRemoteOffset(const std::vector<StepResult>& steps, double offsetInForce, bool extendedRange) {
    OffsetFit fit;
    const double lowest = -Chip::RangeExcess(extendedRange);
    const double highest = Chip::TopMeasuredCode(extendedRange) - Chip::RangeExcess(extendedRange) + 0.75;
    std::vector<const StepResult*> usable;
    for (const StepResult& s : steps) {
        fit.used.push_back(s.remote > lowest && s.remote < highest);
        if (fit.used.back()) usable.push_back(&s);
    }
    if (usable.empty()) return fit;
    double sum = 0;
    for (const StepResult* s : usable) sum += s->reference - s->remote;
    const Chip::Field& field = *Chip::FindField("remote-offset");
    const double best = offsetInForce + sum / static_cast<double>(usable.size());
    // Halves go to the even step, as every conversion of the program rounds.
    const double onGrid = std::nearbyint(best / field.step) * field.step;
    fit.offset = std::clamp(onGrid, field.normal.lowest, field.normal.highest);
    fit.clamped = fit.offset != onGrid;
    for (const StepResult& s : steps) fit.residuals.push_back(s.RemoteError() + fit.offset - offsetInForce);

    // Least squares of the error against the reference temperature.
    double meanT = 0, meanE = 0;
    for (const StepResult* s : usable) {
        meanT += s->reference;
        meanE += s->RemoteError();
    }
    meanT /= static_cast<double>(usable.size());
    meanE /= static_cast<double>(usable.size());
    double sxx = 0, sxy = 0, coldest = usable[0]->reference, hottest = usable[0]->reference;
    for (const StepResult* s : usable) {
        sxx += (s->reference - meanT) * (s->reference - meanT);
        sxy += (s->reference - meanT) * (s->RemoteError() - meanE);
        coldest = std::min(coldest, s->reference);
        hottest = std::max(hottest, s->reference);
    }
    if (hottest - coldest < 1e-6) return fit;
    const double slope = sxy / sxx;
    fit.slopePer100 = slope * 100;
    fit.slopeSpread = std::abs(slope) * (hottest - coldest) / 2;
    return fit;
}

std::string OffsetFitText(const OffsetFit& fit, const std::vector<StepResult>& steps, double offsetInForce,
                          double tolerance) {
    if (std::find(fit.used.begin(), fit.used.end(), true) == fit.used.end())
        return "remote-offset: no step to fit: at every one the chip read the end of its range\n";
    std::string text = "remote-offset: " + Fixed(fit.offset, 2) + " \u00B0C (in force " + Fixed(offsetInForce, 2) +
                       " \u00B0C)";
    if (fit.clamped) text += ", at the end of the chip's range: the error is larger than an offset can remove";
    text += "\nresidual remote error with it:\n";
    for (size_t i = 0; i < steps.size(); ++i)
        text += "  step " + std::to_string(steps[i].step) + " at " + Fixed(steps[i].setpoint, 1) + " \u00B0C: " +
                Signed(fit.residuals[i], 3) + " \u00B0C" +
                (fit.used[i] ? "" : " (left out: the chip read the end of its range)") + "\n";
    if (!fit.slopePer100) return text + "slope: needs steps at two temperatures or more\n";
    text += "slope of the remote error: " + Signed(*fit.slopePer100, 3) + " \u00B0C per 100 \u00B0C\n";
    if (fit.slopeSpread > tolerance)
        text += "the slope alone makes \u00B1" + Fixed(fit.slopeSpread, 3) + " \u00B0C over the steps, more than the \u00B1" +
                Fixed(tolerance, 3) + " \u00B0C allowed: no offset can correct it (diode ideality or series "
                "resistance)\n";
    return text;
}
