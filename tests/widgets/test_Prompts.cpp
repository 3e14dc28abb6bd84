// Qt's file dialogs: a name typed without a suffix gets the one of a filter that names a single
// file type; a typed suffix is kept, and a filter of several types adds none.
#include "widgets/Prompts.h"

#include <QApplication>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

TEST(Prompts, NameWithoutSuffixGetsTheSuffixOfASingleFileType) {
    QTemporaryDir folder;
    const QString sav = "Text Files (*.sav)", csv = "Log Files (*.csv)", images = "PNG (*.png);;SVG (*.svg)";
    const struct { bool save; QString filter, typed, chosen; } rows[] = {
        {true, sav, "cfg1", "cfg1.sav"}, {true, sav, "cfg1.txt", "cfg1.txt"}, {true, images, "chart", "chart"},
        {false, csv, "chamber", "chamber.csv"}, {false, csv, "chamber.log", "chamber.log"},
    };
    for (const auto& row : rows) {
        QTimer::singleShot(0, [&] {  // types the name into the shown dialog and accepts it
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            dialog->selectFile(row.typed);
            static_cast<QDialog*>(dialog)->accept();  // QFileDialog hides the override
        });
        Prompts& qt = Prompts::Current();
        const QString name = row.save ? qt.SaveFileName(nullptr, "", folder.path(), row.filter)
                                      : qt.OpenOrNewFileName(nullptr, "", folder.path(), row.filter);
        EXPECT_EQ(name.toStdString(), folder.filePath(row.chosen).toStdString());
    }
}
