// mark on the command line: marks land whole between the lines of a monitor that appends to
// the same events file at the same time.
#include "CliRunner.h"

#include "cli/monitor/LineOutput.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <atomic>
#include <thread>

namespace {

TEST(MarkCommand, MarksLandWholeBetweenAMonitorsLines) {
    QTemporaryDir folder;
    const QString events = folder.filePath("run.events.jsonl");
    const std::string monitorLine = R"({"event":"board-lost","reason":")" + std::string(300, 'x') + "\"}\n";
    std::atomic<bool> marked{false};
    int written = 0;
    std::thread monitor([&] {
        LineOutput output(QFile::encodeName(events).toStdString());
        while (!marked) written += output.Write(monitorLine);
    });
    CliRunner cli;
    for (int i = 0; i < 300; ++i) EXPECT_EQ(cli.Run({"mark", "--events", events, "door opened"}).status, 0);
    marked = true;
    monitor.join();
    EXPECT_EQ(cli.Run({"mark", "--events", folder.path(), "door"}).status, 1);  // a folder, not a file
    QFile file(events);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    std::map<std::string, int> lines;
    for (const QByteArray& line : file.readAll().split('\n'))
        ++lines[line.endsWith(R"("event":"mark","text":"door opened"})") ? "mark" : line.toStdString()];
    EXPECT_EQ(lines, (std::map<std::string, int>{{"", 1}, {"mark", 300}, {monitorLine.substr(0, monitorLine.size() - 1), written}}));
}

}  // namespace
