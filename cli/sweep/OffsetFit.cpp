#include "cli/sweep/OffsetFit.h"

#include "chip/ChipFields.h"

#include <QString>
#include <algorithm>
#include <cmath>

namespace {

std::string Fixed(double value, int decimals) { return QString::number(value, 'f', decimals).toStdString(); }
std::string Signed(double value, int decimals) { return (value >= 0 ? "+" : "") + Fixed(value, decimals); }

}  // namespace

OffsetFit FitRemoteOffset(const std::vector<StepResult>& steps, double offsetInForce) {
    OffsetFit fit;
    if (steps.empty()) return fit;
    double sum = 0;
    for (const StepResult& s : steps) sum += s.reference - s.remote;
    const Chip::Field& field = *Chip::FindField("remote-offset");
    const double best = offsetInForce + sum / static_cast<double>(steps.size());
    // Halves go to the even step, as every conversion of the program rounds.
    const double onGrid = std::nearbyint(best / field.step) * field.step;
    fit.offset = std::clamp(onGrid, field.normal.lowest, field.normal.highest);
    fit.clamped = fit.offset != onGrid;
    for (const StepResult& s : steps) fit.residuals.push_back(s.RemoteError() + fit.offset - offsetInForce);

    // Least squares of the error against the reference temperature.
    double meanT = 0, meanE = 0;
    for (const StepResult& s : steps) {
        meanT += s.reference;
        meanE += s.RemoteError();
    }
    meanT /= static_cast<double>(steps.size());
    meanE /= static_cast<double>(steps.size());
    double sxx = 0, sxy = 0, lowest = steps[0].reference, highest = steps[0].reference;
    for (const StepResult& s : steps) {
        sxx += (s.reference - meanT) * (s.reference - meanT);
        sxy += (s.reference - meanT) * (s.RemoteError() - meanE);
        lowest = std::min(lowest, s.reference);
        highest = std::max(highest, s.reference);
    }
    if (highest - lowest < 1e-6) return fit;
    const double slope = sxy / sxx;
    fit.slopePer100 = slope * 100;
    fit.slopeSpread = std::abs(slope) * (highest - lowest) / 2;
    return fit;
}

std::string OffsetFitText(const OffsetFit& fit, const std::vector<StepResult>& steps, double offsetInForce,
                          double tolerance) {
    std::string text = "remote-offset: " + Fixed(fit.offset, 2) + " \u00B0C (in force " + Fixed(offsetInForce, 2) +
                       " \u00B0C)";
    if (fit.clamped) text += ", at the end of the chip's range: the error is larger than an offset can remove";
    text += "\nresidual remote error with it:\n";
    for (size_t i = 0; i < steps.size(); ++i)
        text += "  step " + std::to_string(steps[i].step) + " at " + Fixed(steps[i].setpoint, 1) + " \u00B0C: " +
                Signed(fit.residuals[i], 3) + " \u00B0C\n";
    if (!fit.slopePer100) return text + "slope: needs steps at two temperatures or more\n";
    text += "slope of the remote error: " + Signed(*fit.slopePer100, 3) + " \u00B0C per 100 \u00B0C\n";
    if (fit.slopeSpread > tolerance)
        text += "the slope alone makes \u00B1" + Fixed(fit.slopeSpread, 3) + " \u00B0C over the steps, more than the \u00B1" +
                Fixed(tolerance, 3) + " \u00B0C allowed: no offset can correct it (diode ideality or series "
                "resistance)\n";
    return text;
}
