#include "cli/MonitorCommand.h"

#include "cli/FixedRateSchedule.h"
#include "cli/LineOutput.h"
#include "cli/LocalTimeText.h"
#include "cli/Reading.h"
#include "cli/StopSignal.h"

#include <cmath>
#include <optional>

namespace {

CliAnswer WriteFailure(const LineOutput& output) {
    return {ExitUsage, {}, std::string(CliName) + ": the monitor stopped: could not write " + output.Error() + "\n"};
}

}  // namespace

CliAnswer RunMonitor(const CliRequest& request, LineOutput& output) {
    const MonitorSettings& settings = request.monitor;
    // An appended file keeps one header, at its top; it goes out with the first reading, so a
    // run that takes none leaves an empty file empty.
    if (!request.json) output.SetHeader(MonitorCsvHeader);
    LocalTimeText timeText;
    std::optional<int64_t> endMs;
    if (settings.durationS) endMs = std::llround(*settings.durationS * 1000);
    FixedRateSchedule schedule(settings.intervalMs, endMs);
    for (int64_t lines = 0; !settings.count || lines < *settings.count; ++lines) {
        if (!schedule.WaitForDue(&StopRequested)) break;
        const std::string time = timeText.Now();
        const double elapsed = schedule.Elapsed();
        const Reading reading = TakeReading();
        const std::string line = request.json ? MonitorJsonLine(time, elapsed, reading)
                                              : MonitorCsvLine(time, elapsed, reading);
        if (!output.Write(line)) return WriteFailure(output);
        schedule.Next();
    }
    return {};
}
