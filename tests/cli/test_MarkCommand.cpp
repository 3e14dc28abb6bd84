// mark on the command line: its refusals and failures, and marks landing whole between the
// lines of a monitor that appends to the same events file at the same time.
#include "CliRunner.h"

#include "cli/monitor/LineOutput.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <thread>

namespace {

TEST(MarkCommand, StatusAndMessage) {
    QTemporaryDir folder;
    const QString events = folder.filePath("run.events.jsonl");
    const struct {
        QStringList arguments;
        int status;
        std::string err;
    } cases[] = {
        {{"mark", "--events", events, "door", "opened"}, 0, ""},
        {{"mark", "--events", events, " "}, 2, "kts9320b-cli: mark needs a text. Try 'kts9320b-cli --help'.\n"},
        {{"mark", "door"}, 2, "kts9320b-cli: mark needs the events file: --events FILE. Try 'kts9320b-cli --help'.\n"},
        {{"mark", "--events", folder.path(), "door"}, 1,
         "kts9320b-cli: could not add the mark to " + folder.path().toStdString() + ": It is a folder, not a file.\n"},
    };
    for (const auto& c : cases) {
        CliRunner cli;
        const CliAnswer answer = cli.Run(c.arguments);
        EXPECT_EQ(answer.status, c.status) << c.arguments.join(' ').toStdString();
        EXPECT_EQ(answer.err, c.err);
        EXPECT_TRUE(cli.driver.log.empty());  // the board is never started
    }
}

TEST(MarkCommand, MarksLandWholeBetweenAMonitorsLines) {
    QTemporaryDir folder;
    const QString events = folder.filePath("run.events.jsonl");
    const std::string monitorLine = R"({"time":"2024-05-01T14:03:07.123+02:00","event":"board-lost","reason":")" +
                                    std::string(300, 'x') + "\"}\n";
    constexpr int MonitorLines = 3000;
    constexpr int Marks = 300;
    std::thread monitor([&] {
        LineOutput output(QFile::encodeName(events).toStdString());
        for (int i = 0; i < MonitorLines; ++i) output.Write(monitorLine);
    });
    CliRunner cli;
    for (int i = 0; i < Marks; ++i) EXPECT_EQ(cli.Run({"mark", "--events", events, "door opened"}).status, 0);
    monitor.join();
    QFile file(events);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    int monitorSeen = 0;
    int marksSeen = 0;
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (line.isEmpty()) continue;
        if (line + "\n" == monitorLine.c_str()) ++monitorSeen;
        else if (line.endsWith(R"(","event":"mark","text":"door opened"})")) ++marksSeen;
        else ADD_FAILURE() << "a broken line: " << line.left(80).toStdString();
    }
    EXPECT_EQ(monitorSeen, MonitorLines);
    EXPECT_EQ(marksSeen, Marks);
}

}  // namespace
