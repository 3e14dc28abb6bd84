// Where the file dialogs start: the program's folder only where the user can write, else the
// documents folder (the home folder without one), and once a file was chosen, its folder.
#include "widgets/DialogFolder.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(DialogFolder, StartsInAFolderTheUserCanWriteThenInTheLastOneUsed) {
    QTemporaryDir home, program;
    qputenv("HOME", home.path().toLocal8Bit());
    qunsetenv("XDG_CONFIG_HOME");
    const QString missing = program.filePath("missing"), documents = home.filePath("Documents");
    // In this order: the documents folder is made for the third row.
    const struct { QString programFolder, chosen, start; } rows[] = {
        {program.path(), "", program.path()}, {missing, "", home.path()}, {missing, "", documents},
        {missing, "/var/tmp/lab/cfg1.sav", "/var/tmp/lab"},
    };
    for (const auto& row : rows) {
        if (row.start == documents) QDir().mkpath(documents);
        DialogFolder folder(row.programFolder);
        folder.Remember(row.chosen);
        folder.Remember(QString());  // a cancelled dialog
        EXPECT_EQ(folder.Start().toStdString(), row.start.toStdString());
    }
}
