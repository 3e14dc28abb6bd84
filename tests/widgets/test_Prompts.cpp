// The suffix that the file dialogs add to a name typed without one.
#include "widgets/Prompts.h"

#include <QFileDialog>
#include <gtest/gtest.h>

TEST(Prompts, AFilterOfOneFileTypeGivesItsSuffix) {
    const std::pair<const char*, const char*> rows[] = {{"Text Files (*.sav)", "sav"}, {"Log Files (*.csv)", "csv"},
                                                        {"PNG (*.png);;SVG (*.svg)", ""}, {"All Files (*)", ""}};
    for (const auto& [filter, suffix] : rows) EXPECT_EQ(DefaultSuffixOf(filter).toStdString(), suffix) << filter;
}

// A name typed without a suffix is checked for replacing under the name the file gets: here
// the chart data's filter, two entries of one type.
TEST(Prompts, ADialogOfSeveralFileTypesAddsTheChosenTypesSuffix) {
    QFileDialog dialog(nullptr, "Export", "/tmp", "Comma separated values (*.csv);;Text (*.csv)");
    FollowChosenSuffix(dialog);
    dialog.selectFile("run1");
    EXPECT_TRUE(dialog.selectedFiles().value(0).endsWith("/run1.csv")) << dialog.selectedFiles().value(0).toStdString();
}
