#include "cli/text/Reading.h"

#include "board/ChipReading.h"
#include "board/USBStuff.h"
#include "cli/text/JsonText.h"
#include "cli/text/RegisterMeaning.h"

JsonObject& AddReadingJson(JsonObject& json, const Reading& reading) {
    return json.Degrees("local_C", reading.local)
        .Degrees("remote_C", reading.remote)
        .Integer("status", reading.status)
        .Raw("alarms", JsonStringArray(AlarmNames(reading.status)));
}

Reading TakeReading() {
    USBStuff::ChipTransfer failed;
    const std::optional<Reading> reading = USBStuff::TryReading(USBStuff::OpenedChip(), USBStuff::RemoteBytes::Settled, failed);
    if (!reading) USBStuff::ReportBoardFailure(failed);
    return *reading;
}

std::string ReadingText(const Reading& reading) {
    return "local   " + DegreesText(reading.local) + "\nremote  " + DegreesText(reading.remote) + "\nalarms  " +
           NamesText(AlarmNames(reading.status)) + "\n";
}

std::string ReadingJson(const Reading& reading) {
    JsonObject json;
    return AddReadingJson(json, reading).Text() + "\n";
}
