// Where the file dialogs start: the program's folder only where the user can write, else the
// documents folder, and once a file was chosen (and not after a cancelled dialog), its folder.
#include "widgets/DialogFolder.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(DialogFolder, StartsInAFolderTheUserCanWriteThenInTheLastOneUsed) {
    QTemporaryDir home;
    qputenv("HOME", home.path().toLocal8Bit());
    QDir(home.path()).mkdir("Documents");
    const struct { QString programFolder, chosen, start; } rows[] = {
        {QDir::tempPath(), "", QDir::tempPath()}, {home.filePath("missing"), "", home.filePath("Documents")},
        {home.filePath("missing"), "/var/tmp/lab/cfg1.sav", "/var/tmp/lab"}};
    for (const auto& row : rows) {
        DialogFolder folder(row.programFolder);
        folder.Remember(row.chosen);
        folder.Remember(QString());
        EXPECT_EQ(folder.Start().toStdString(), row.start.toStdString());
    }
}
