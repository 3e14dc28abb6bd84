// Marks appended to an events file: the events' own JSON form with the text escaped, each line
// whole after what the file holds, a last line without its end included.
#include "files/EventMark.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(EventMark, AppendsTheEventsFormAfterTheFilesLastLine) {
    QTemporaryDir folder;
    QFile file(folder.filePath("run.events.jsonl"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(R"({"event":"started"})");  // its line end missing
    file.close();
    for (const char* text : {"door opened", "say \"hi\"\r\nback\\slash\t\x01 \u00B0C"})
        EXPECT_EQ(AppendEventMark(file.fileName(), text), "");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString events = QString::fromUtf8(file.readAll())
        .replace(QRegularExpression(R"re("\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3}[+-]\d\d:\d\d")re"), R"("T")");
    EXPECT_EQ(events.toStdString(), R"({"event":"started"}
{"time":"T","event":"mark","text":"door opened"}
{"time":"T","event":"mark","text":"say \"hi\"\r\nback\\slash\t\u0001 )" "\u00B0C\"}\n");
}

}  // namespace
