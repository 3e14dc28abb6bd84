// Where --driver sim and --driver i2c-dev find their libraries: as the package lays them out
// (the simulated board beside the program, i2c-dev/ below it), and in the build, whose bin/ and
// i2c-dev/ folders each hold a program beside its own default library.
#include "board/BoardChoice.h"
#include "board/LibraryDriver.h"

#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace {

TEST(BoardChoice, NamedLibrariesInThePackageAndTheBuild) {
    QTemporaryDir root;
    const std::string library = USBStuff::DriverLibraryFileName();
    const auto at = [&](const std::string& folder) { return root.path().toStdString() + "/" + folder; };
    for (const char* folder : {"pkg", "pkg/i2c-dev", "build/bin", "build/i2c-dev"}) {
        std::filesystem::create_directories(at(folder));
        std::ofstream(at(folder) + "/" + library) << folder;
    }
    struct Case {
        const char* programFolder;
        const char* name;
        const char* libraryFolder;  // empty: none
    };
    const Case cases[] = {
        {"pkg", "sim", "pkg"},          {"pkg", "i2c-dev", "pkg/i2c-dev"},
        {"build/bin", "sim", "build/bin"}, {"build/bin", "i2c-dev", "build/i2c-dev"},
        {"build/i2c-dev", "sim", "build/bin"}, {"build/i2c-dev", "i2c-dev", "build/i2c-dev"},
        {"pkg", "usb", ""},
    };
    for (const Case& c : cases) {
        const std::string expected = *c.libraryFolder ? at(c.libraryFolder) + "/" + library : "";
        EXPECT_EQ(USBStuff::NamedDriverLibrary(c.name, at(c.programFolder)), expected)
            << c.name << " from " << c.programFolder;
    }
}

}  // namespace
