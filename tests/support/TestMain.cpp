// Every test program runs with a QApplication on the offscreen platform, and keeps its
// settings in a folder of its own so the user's stored settings are never touched.
#include <gtest/gtest.h>
#include <QApplication>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

// Fontconfig keeps a cache it never frees; a test child that ends through the program's own
// exit path would otherwise fail the sanitized suite on a leak that is not the program's.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // A death test's child ends through the program's own exit path, past every destructor:
    // what it makes in the temporary folder goes when the parent's scratch folder goes.
    // Others may pass through it, as through /tmp, for the tests that act as another user.
    QTemporaryDir scratch;
    QFile::setPermissions(scratch.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ExeGroup |
                                              QFile::ExeOther);
    qputenv("TMPDIR", QFile::encodeName(scratch.path()));
    QTemporaryDir settingsDir;
    // The program finds its store in the configuration folder; tests that open the store by
    // its name find the same file.
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(settingsDir.path()));
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir.path());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
