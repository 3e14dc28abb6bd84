// One run of a file copied as the file holds it: every byte of its head and of its rows in a span.
#include "files/RunFileExcerpt.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <limits>

TEST(RunFileExcerpt, CopiesTheRunsHeadAndRowsByteForByte) {
    constexpr double All = std::numeric_limits<double>::infinity();
    const QByteArray row = "2026-12-07T10:00:00.000+02:00,0,25,30.125,0x90,RemHi\r\n";
    const QByteArray monitor = "\xEF\xBB\xBFtime,elapsed_s,local_C,remote_C,status,alarms\r\n" + row;
    const QByteArray head2 = "\r\nKTS9320B/3 Log File\r\n\r\nTime ,Local(\xB0" "C) ,Remote(\xB0" "C) ,\r\n";
    const QByteArray log = "\r\nKTS9320B/3 Log File\r\n\r\nTime ,Local(\xB0" "C) ,\r\n0, 25,\r\n" + head2 +
                           "0, 26, 27,\r\n.5, 27, 28.5,\r\n\r\n1, 28, 29,\r\n";
    const struct {
        QByteArray file;
        int run;
        double from, to;
        bool growing;
        QByteArray expected;   // or the start of the message
    } cases[] = {
        {monitor + "\r\n" + row.left(20), 0, -All, All, true, monitor},   // a half-written row waits
        {monitor + row.chopped(2), 0, -All, All, false, monitor + row.chopped(2)},
        {log, 1, 0.5, 1, false, head2 + ".5, 27, 28.5,\r\n1, 28, 29,\r\n"},   // both ends of the span
        {log, 1, 0.6, 0.9, false, head2},
        {log, 2, -All, All, false, "the file no longer holds run 3"},
    };
    QTemporaryDir folder;
    QFile file(folder.filePath("run.csv"));
    for (const auto& c : cases) {
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(c.file);
        file.close();
        QByteArray excerpt;
        const QString problem = RunFileExcerpt(file.fileName(), c.run, c.from, c.to, c.growing, excerpt);
        EXPECT_EQ(problem.isEmpty() ? excerpt : problem.mid(file.fileName().size() + 2).toUtf8(), c.expected) << c.expected.data();
    }
}
