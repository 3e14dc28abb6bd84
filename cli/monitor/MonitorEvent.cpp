#include "cli/monitor/MonitorEvent.h"

#include "cli/text/JsonText.h"
#include "cli/text/RegisterMeaning.h"

std::string EventJsonLine(const MonitorEvent& event) {
    JsonObject json;
    json.String("time", event.time).String("event", event.kind);
    if (event.flag.empty()) json.Raw("flag", "null");
    else json.String("flag", event.flag);
    if (event.reading) json.Degrees("local_C", event.reading->local).Degrees("remote_C", event.reading->remote);
    else json.Raw("local_C", "null").Raw("remote_C", "null");
    if (event.exitStatus) json.Integer("exit_status", *event.exitStatus);
    if (!event.reason.empty()) json.String("reason", event.reason);
    return json.Text() + "\n";
}

std::string EventTextLine(const MonitorEvent& event) {
    std::string line = event.time + "  " + event.kind;
    if (!event.flag.empty()) line += "  " + event.flag;
    if (event.reading)
        line += "  local " + DegreesText(event.reading->local) + "  remote " + DegreesText(event.reading->remote);
    if (event.exitStatus) line += "  exit status " + std::to_string(*event.exitStatus);
    if (!event.reason.empty()) line += "  " + event.reason;
    return line + "\n";
}
