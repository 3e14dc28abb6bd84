// A mark in an events file: the events' own JSON form with the text escaped, appended whole
// after what the file holds, a last line without its end included.
#include "files/EventMark.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(EventMark, LineInTheEventsForm) {
    const std::string time = "2024-05-01T14:03:07.123+02:00";
    const std::pair<std::string, std::string> cases[] = {
        {"door opened", R"({"time":"2024-05-01T14:03:07.123+02:00","event":"mark","text":"door opened"})"},
        {"say \"hi\"\r\nback\\slash\t\x01 \u00B0C", R"({"time":"2024-05-01T14:03:07.123+02:00","event":"mark","text":)"
                                                    R"("say \"hi\"\r\nback\\slash\t\u0001 )" "\u00B0C\"}"},
    };
    for (const auto& [text, line] : cases) EXPECT_EQ(EventMarkLine(time, text), line + "\n");
}

TEST(EventMark, AppendsWholeLinesAfterTheFilesLastLine) {
    QTemporaryDir folder;
    const QString path = folder.filePath("run.events.jsonl");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(R"({"event":"started"})");  // its line end missing
    file.close();
    EXPECT_EQ(AppendEventMark(path, "one"), "");
    EXPECT_EQ(AppendEventMark(path, "two"), "");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split('\n');
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0], R"({"event":"started"})");
    const QRegularExpression mark(R"(^\{"time":"\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3}[+-]\d\d:\d\d","event":"mark",)"
                                  R"re("text":"(one|two)"\}$)re");
    EXPECT_EQ(mark.match(lines[1]).captured(1), "one");
    EXPECT_EQ(mark.match(lines[2]).captured(1), "two");
    EXPECT_EQ(lines[3], "");
    EXPECT_NE(AppendEventMark(folder.path(), "three"), "");  // a folder is refused with its reason
}

}  // namespace
