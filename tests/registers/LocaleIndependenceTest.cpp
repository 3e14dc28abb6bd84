// Number texts keep the point as decimal separator whatever locale the user runs.
#include <gtest/gtest.h>

#include <clocale>
#include <locale>
#include <string>

#include "registers/NumberText.h"

using namespace GeneralStuff;

namespace {

class CommaPoint : public std::numpunct<char> {
protected:
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return '.'; }
    std::string do_grouping() const override { return "\3"; }
};

// Restores the C and C++ global locales the test changed.
class LocaleGuard {
public:
    LocaleGuard() : cName_(std::setlocale(LC_ALL, nullptr)), cpp_(std::locale()) {}
    ~LocaleGuard() {
        std::setlocale(LC_ALL, cName_.c_str());
        std::locale::global(cpp_);
    }

private:
    std::string cName_;
    std::locale cpp_;
};

void ExpectPointTexts() {
    EXPECT_EQ(NumberText(25.5f), " 25.5");
    EXPECT_EQ(NumberText(-0.25), "-.25");
    EXPECT_EQ(NumberText(1234567), " 1234567");
    EXPECT_EQ(NumberText(1e20), " 1E+20");
    float x = 25.5f;
    EXPECT_EQ(TwoDecimalText(x), "25.50");
    EXPECT_EQ(HexText(255), "FF");
    EXPECT_EQ(ParseNumber("-2.75"), -2.75);
    EXPECT_EQ(ParseNumber("2,75"), 2.0);
    EXPECT_EQ(ParseNumber("1.5e3"), 1500.0);
    EXPECT_EQ(ParseNumber("1.000"), 1.0);
}

TEST(LocaleIndependenceTest, CppGlobalLocaleWithCommaDecimalPoint) {
    LocaleGuard guard;
    std::locale::global(std::locale(std::locale::classic(), new CommaPoint));
    ExpectPointTexts();
}

TEST(LocaleIndependenceTest, InstalledCommaLocale) {
    LocaleGuard guard;
    const char* found = nullptr;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "fr_FR.UTF-8", "fr_FR.utf8", "nl_NL.UTF-8",
                             "ru_RU.UTF-8", "German_Germany.1252"}) {
        if (std::setlocale(LC_ALL, name) && *std::localeconv()->decimal_point == ',') {
            found = name;
            break;
        }
    }
    if (!found) GTEST_SKIP() << "no locale with a comma decimal point is installed";
    try {
        std::locale::global(std::locale(found));
    } catch (const std::runtime_error&) {
        // The C locale alone is still worth checking.
    }
    ExpectPointTexts();
}

}  // namespace
