// The settings store is read and written only where it is a regular file or a link to one (or
// not there yet). Anything else is named once on standard error and left exactly as it is.
#include "app/SettingsStore.h"
#include "app/WindowSettings.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

// In the store's place: a link to a file (0), a pipe (1), a link to a device of the test's own
// (2; only root may make one; nothing outside the test is at risk).
class SettingsStoreInPlace : public testing::TestWithParam<int> {};

TEST_P(SettingsStoreInPlace, OnlyARegularFileOrALinkToOneIsReadAndWritten) {
    const int kind = GetParam();
    const QRectF defaults = WindowSettings::LoadMainGeometry(), moved(111, 222, 3333, 4444);
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    const QString path = SettingsStore::FilePath();
    QDir().mkpath(QFileInfo(path).path());
    const QByteArray store = QFile::encodeName(path), target = QFile::encodeName(config.filePath("target"));
    const bool linked = kind == 0 ? QFile(target).open(QIODevice::WriteOnly) : kind == 2 && !mknod(target, S_IFCHR | 0666, makedev(1, 3));
    if (kind == 1 ? mkfifo(store, 0600) != 0 : !linked || symlink(target, store) != 0)
        GTEST_SKIP() << "cannot make the store's stand-in here (a device node needs root): " << std::strerror(errno);
    testing::internal::CaptureStderr();
    WindowSettings::SaveMainGeometry(moved);
    EXPECT_EQ(WindowSettings::LoadMainGeometry(), kind == 0 ? moved : defaults);
    const std::string said = testing::internal::GetCapturedStderr();
    // One line naming the store, or nothing.
    EXPECT_TRUE(kind == 0 ? said.empty() : said.find(qPrintable(path)) < said.find('\n') && said.back() == '\n' &&
                                               std::count(said.begin(), said.end(), '\n') == 1)
        << said;
    EXPECT_EQ(QFileInfo(path).isFile(), kind == 0);
}

INSTANTIATE_TEST_SUITE_P(LinkPipeDevice, SettingsStoreInPlace, testing::Values(0, 1, 2));
