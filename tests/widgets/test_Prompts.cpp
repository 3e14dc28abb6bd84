// The suffix that the file dialogs add to a name typed without one.
#include "widgets/Prompts.h"

#include <gtest/gtest.h>

TEST(Prompts, AFilterOfOneFileTypeGivesItsSuffix) {
    const std::pair<const char*, const char*> rows[] = {{"Text Files (*.sav)", "sav"}, {"Log Files (*.csv)", "csv"},
                                                        {"PNG (*.png);;SVG (*.svg)", ""}, {"All Files (*)", ""}};
    for (const auto& [filter, suffix] : rows) EXPECT_EQ(DefaultSuffixOf(filter).toStdString(), suffix) << filter;
}
