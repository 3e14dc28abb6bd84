// The settings store is read and written only where it is a regular file or a link to one (or
// not there yet). Anything else is named once on standard error and left exactly as it is.
#include "app/SettingsStore.h"
#include "app/WindowSettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {

TEST(SettingsStore, OnlyARegularFileOrALinkToOneIsReadAndWritten) {
    const QRectF defaults(WindowSettings::DefaultLeft, WindowSettings::DefaultTop, WindowSettings::DefaultWidth,
                          WindowSettings::DefaultHeight);
    const QRectF moved(111, 222, 3333, 4444);
    using Make = std::function<bool(const char* store, const char* target)>;
    // What stands in the store's place, and whether it may be used. The device is one of the
    // test's own (only root may make one), so that nothing outside the test is at risk.
    const std::pair<Make, bool> cases[] = {
        {[](auto store, auto target) { return QFile(target).open(QIODevice::WriteOnly) && !symlink(target, store); }, true},
        {[](auto store, auto) { return !mkfifo(store, 0600); }, false},
        {[](auto store, auto target) { return !mknod(target, S_IFCHR | 0666, makedev(1, 3)) && !symlink(target, store); }, false},
    };
    const QByteArray configHome = qgetenv("XDG_CONFIG_HOME");
    for (const auto& [make, usable] : cases) {
        QTemporaryDir config;
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
        const QString path = SettingsStore::FilePath();
        QDir().mkpath(QFileInfo(path).path());
        if (!make(QFile::encodeName(path).constData(), QFile::encodeName(config.filePath("target")).constData())) continue;
        testing::internal::CaptureStderr();
        WindowSettings::SaveMainGeometry(moved);
        EXPECT_EQ(WindowSettings::LoadMainGeometry(), usable ? moved : defaults);
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), usable ? 0 : 1) << said;
        EXPECT_EQ(said.find(qPrintable(path)) != std::string::npos, !usable) << said;
        EXPECT_EQ(QFileInfo(path).isFile(), usable);
    }
    qputenv("XDG_CONFIG_HOME", configHome);
}

}  // namespace
