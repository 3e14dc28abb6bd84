// A name typed without a suffix gets the window's suffix; a typed suffix is kept.
#include "output/FileDialogs.h"

#include <QFileDialog>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(FileDialogs, NameWithoutSuffixGetsTheWindowsSuffix) {
    QTemporaryDir folder;
    const struct { void (*setUp)(QFileDialog&); QString typed, chosen; } rows[] = {
        {&SetUpSaveConfigurationDialog, "cfg1", "cfg1.sav"}, {&SetUpSaveConfigurationDialog, "cfg1.txt", "cfg1.txt"},
        {&SetUpLogFileDialog, "chamber", "chamber.csv"}, {&SetUpLogFileDialog, "chamber.log", "chamber.log"},
    };
    for (const auto& row : rows) {
        QFileDialog dialog(nullptr, QString(), folder.path());
        row.setUp(dialog);
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.selectFile(row.typed);
        EXPECT_EQ(dialog.selectedFiles().value(0).toStdString(), folder.filePath(row.chosen).toStdString());
    }
}
