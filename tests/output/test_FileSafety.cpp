// The save and the log on a full disk and on names that are not regular files: the old
// contents stay byte for byte, the node stays what it was, and the failure is told.
#include "state/GeneralStuff.h"
#include "chart/ChartImage.h"
#include "files/LogFile.h"
#include "files/SavFile.h"
#include "support/BoardFailureTrap.h"
#include "support/FileSizeLimit.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <qcustomplot.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

using namespace GeneralStuff;

namespace {

// The save replaces the file (a new file grows from 0); the log appends to it.
bool Save(const QString& path, QString* error) { return WriteSavFile(path, QString(400, 'n'), error); }
bool Log(const QString& path, QString* error) {
    LogFileName = path;
    return AppendToLogFile(QString(400, 'n'), error);
}
// A chart picture replaces the file as the save does.
bool Chart(const QString& path, QString* error) {
    QCustomPlot plot;
    plot.resize(200, 150);
    *error = SaveChartImage(plot, path);
    return error->isEmpty();
}
using Writer = bool (*)(const QString&, QString*);

}  // namespace

TEST(FileSafety, AFullDiskLeavesTheOldFileByteForByte) {
    BoardFixtureState board;
    const QByteArray old(200, 'o');
    // No room at all, and room for part of the text.
    for (const auto& [writer, grows] : {std::pair<Writer, qint64>{Save, 0}, {Log, old.size()}, {Chart, 0}}) {
        for (const qint64 room : {0, 90}) {
            SCOPED_TRACE(room);
            QTemporaryDir dir;
            QFile file(dir.filePath("file.png"));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(old) == old.size());
            file.close();
            QString error;
            bool written = true;
            {
                FileSizeLimit full(grows + room);
                written = writer(file.fileName(), &error);
            }
            EXPECT_FALSE(written);
            EXPECT_FALSE(error.isEmpty());
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            EXPECT_EQ(file.readAll(), old);
            // Nor is a temporary file left beside it.
            EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"file.png"});
        }
    }
}

TEST(FileSafety, NamesThatAreNotRegularFilesAreRefused) {
    BoardFixtureState board;
    QTemporaryDir dir;
    QStringList names{dir.path(), dir.filePath("fifo")};
    ASSERT_EQ(mkfifo(QFile::encodeName(names[1]).constData(), 0600), 0);
    // A reader keeps a write to the pipe from blocking where the refusal is missing.
    const int reader = open(QFile::encodeName(names[1]).constData(), O_RDONLY | O_NONBLOCK);
    // A device that swallows everything; only root may make one.
    const QByteArray device = QFile::encodeName(dir.filePath("null"));
    if (mknod(device.constData(), S_IFCHR | 0666, makedev(1, 3)) == 0) names << QFile::decodeName(device);
    for (Writer writer : {Save, Log}) {
        for (const QString& name : names) {
            SCOPED_TRACE(name.toStdString());
            QString error;
            EXPECT_FALSE(writer(name, &error));
            EXPECT_FALSE(error.isEmpty());
            EXPECT_FALSE(QFileInfo(name).isFile());
        }
    }
    close(reader);
}

// A save into a folder where no temporary file can be made (the user may write the file but
// not the folder) must not write in place, which a full disk leaves cut short. Root may write
// any folder, so it saves as another user for the moment.
TEST(FileSafety, ASaveWhereNoTemporaryFileCanBeMadeLeavesTheOldFile) {
    BoardFixtureState board;
    QTemporaryDir dir;
    QFile file(dir.filePath("config.sav"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write("old") == 3);
    file.close();
    const QByteArray folder = QFile::encodeName(dir.path()), name = QFile::encodeName(file.fileName());
    const uid_t user = geteuid();
    ASSERT_TRUE(!chmod(name, 0666) && !chmod(folder, 0555) && !seteuid(user ? user : 65534));
    QString error;
    EXPECT_FALSE(Save(file.fileName(), &error));
    ASSERT_TRUE(!seteuid(user) && !chmod(folder, 0700));
    EXPECT_TRUE(error.contains(dir.path() + " (") && error.contains("the old file is untouched")) << error.toStdString();
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "old");
}
