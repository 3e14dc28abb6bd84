// What the save and the log do with a full disk and with names that are not regular files:
// the old contents stay byte for byte, the node stays what it was, and the failure is told.
#include "state/GeneralStuff.h"
#include "output/LogFile.h"
#include "output/SavFile.h"
#include "support/BoardFailureTrap.h"
#include "support/FileSizeLimit.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

using namespace GeneralStuff;

namespace {

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

// Each way to write: the save replaces the file, the log appends a line to it.
struct Writer {
    const char* name;
    bool (*write)(const QString& path, QString* error);
};
const Writer Writers[] = {
    {"save", [](const QString& path, QString* error) { return WriteSavFile(path, QString(400, 'n'), error); }},
    {"log",
     [](const QString& path, QString* error) {
         LogFileName = path;
         return AppendToLogFile(QString(400, 'n'), error);
     }},
};

class FileSafety : public ::testing::Test {
protected:
    BoardFixtureState board;
    QTemporaryDir dir;
};

}  // namespace

TEST_F(FileSafety, AFullDiskLeavesTheOldFileByteForByte) {
    const QByteArray old(200, 'o');
    // No room at all, and room for part of the text.
    for (const Writer& writer : Writers) {
        for (const qint64 room : {0, 90}) {
            SCOPED_TRACE(std::string(writer.name) + " room " + std::to_string(room));
            QTemporaryDir folder;
            const QString path = folder.filePath("file.txt");
            WriteFile(path, old);
            QString error;
            bool written = true;
            {
                // The save writes a new file; the log grows the old one.
                FileSizeLimit full(room + (writer.name == std::string("log") ? old.size() : 0));
                written = writer.write(path, &error);
            }
            EXPECT_FALSE(written);
            EXPECT_FALSE(error.isEmpty());
            EXPECT_EQ(ReadAll(path), old);
            // Nor is a temporary file left beside it.
            EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{"file.txt"});
        }
    }
}

TEST_F(FileSafety, NamesThatAreNotRegularFilesAreRefused) {
    const QString folder = dir.filePath("folder");
    const QString fifo = dir.filePath("fifo");
    const QString device = dir.filePath("null");
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder"));
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    // A reader keeps a write to the pipe from blocking while the refusal is missing.
    const int reader = open(QFile::encodeName(fifo).constData(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    QStringList names{folder, fifo};
    // A device node like the one that swallows everything; only root may make one.
    if (mknod(QFile::encodeName(device).constData(), S_IFCHR | 0666, makedev(1, 3)) == 0) names << device;
    for (const Writer& writer : Writers) {
        for (const QString& name : names) {
            SCOPED_TRACE(std::string(writer.name) + " " + name.toStdString());
            QString error;
            EXPECT_FALSE(writer.write(name, &error));
            EXPECT_FALSE(error.isEmpty());
            EXPECT_FALSE(QFileInfo(name).isFile());
        }
    }
    close(reader);
}
