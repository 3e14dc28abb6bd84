// A run's events file: what the chart shows of it, read whole or as it grows, and a mark
// appended to it read back as written.
#include "files/EventMark.h"
#include "files/RunEvents.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace {
const QDate Day(2026, 12, 7);
const QByteArray Events =
    R"({"time":"2026-12-07T10:00:00.000+01:00","event":"started","flag":null,"local_C":null,"remote_C":null})" "\n"
    R"({"time":"2026-12-07T10:00:05.500+01:00","event":"board-lost","flag":null,"reason":"USB unplugged"})" "\n"
    R"({"time":"2026-12-07T10:00:09.000+01:00","event":"board-back","flag":null})" "\n"
    R"({"time":"2026-12-07T10:00:10.000+01:00","event":"alarm-raised","flag":"RemHi","local_C":30,"remote_C":85.25})" "\n"
    "this is no JSON\n"
    R"({"time":"2026-12-07T10:00:12.000+01:00","event":"mark","text":"door opened"})" "\r\n"
    R"({"time":"2026-12-07T10:00:20.000+01:00","event":"step-stable","step":2,"setpoint_C":40})" "\n"
    R"({"time":"2026-12-07T23:59:59.000Z","event":"alarm-cleared","flag":"RemHi"})" "\n"
    R"({"time":"2026-12-08T00:00:30.000+01:00","event":"board-lost","flag":null,"reason":"timeout"})";
}  // namespace

TEST(RunEvents, LossesMarksStepsAndAlarmsOnTheRunsAxisWholeOrInPieces) {
    for (const qsizetype piece : {qsizetype{0}, qsizetype{7}}) {
        RunEventsReader reader;
        for (qsizetype at = 0; piece > 0 && at < Events.size(); at += piece) reader.Feed(QByteArrayView(Events).sliced(at, std::min(piece, Events.size() - at)), false);
        reader.Feed(piece == 0 ? QByteArrayView(Events) : QByteArrayView(), true);
        EXPECT_EQ(reader.Events().size(), 8u) << "pieces of " << piece;
        EXPECT_EQ(reader.Problem(), "line 5: expected one JSON object");
        const auto& events = reader.Events();
        EXPECT_EQ(BoardLossSpans(events, Day, 90000),
                  (std::vector<EventSpan>{{36005.5, 36009, "USB unplugged"}, {86430, 90000, "timeout"}}));
        EXPECT_EQ(MarkedMoments(events, Day), (std::vector<EventMoment>{{36012, "door opened"}, {36020, "step 2, 40 °C stable"}}));
        const auto alarms = AlarmSpansOfEvents(events, Day, 90000);
        ASSERT_EQ(alarms.size(), 1u);
        EXPECT_EQ(alarms[0].first, "RemHi");
        EXPECT_EQ(alarms[0].second, (std::vector<std::pair<double, double>>{{36010, 86399}}));
    }
}

TEST(RunEvents, AMarkAppendedReadsBackBesideTheRun) {
    QTemporaryDir folder;
    const QString run = folder.filePath("chamber.csv");
    EXPECT_EQ(EventsFileBeside(run), folder.filePath("chamber.events.jsonl"));
    const QString path = EventsFileBeside(run);
    RunEventsReader reader;
    qint64 offset = 0;
    EXPECT_FALSE(reader.ReadFile(path, offset).isEmpty());   // none yet
    const std::string text = "door \"B\" opened\nat 40 °C\\";
    EXPECT_EQ(AppendEventMark(path, text), "");
    EXPECT_EQ(AppendEventMark(path, "second"), "");
    EXPECT_EQ(reader.ReadFile(path, offset), "");
    ASSERT_EQ(reader.Events().size(), 2u);
    EXPECT_EQ(reader.Problem(), "");
    EXPECT_EQ(reader.Events()[0].detail.toStdString(), text);
    EXPECT_EQ(reader.Events()[0].date, QDate::currentDate());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QString::fromUtf8(file.readLine()).contains(QRegularExpression(R"(^\{"time":"[-0-9T:.]+[+-]\d\d:\d\d","event":"mark",)")));
    EXPECT_NE(AppendEventMark(folder.filePath("no/such/folder.jsonl"), "x"), "");
}
