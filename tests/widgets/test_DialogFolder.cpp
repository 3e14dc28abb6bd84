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
    const struct { QString programFolder; bool hasDocuments; QString chosen, start; } rows[] = {
        {program.path(), true, "", program.path()},
        {missing, true, "", documents},
        {missing, false, "", home.path()},
        {missing, true, program.filePath("lab/cfg1.sav"), program.filePath("lab")},
        {program.path(), false, "/var/tmp/run.csv", "/var/tmp"},
    };
    for (const auto& row : rows) {
        row.hasDocuments ? QDir().mkpath(documents) : QDir(documents).removeRecursively();
        DialogFolder folder(row.programFolder);
        folder.Remember(row.chosen);
        folder.Remember(QString());  // a cancelled dialog
        EXPECT_EQ(folder.Start().toStdString(), row.start.toStdString()) << row.chosen.toStdString();
    }
}
