// The names a 32-bit Windows driver library may export its __stdcall functions under: a vendor's
// library built with Microsoft's compiler decorates them, a mingw one differently, a .def file not.
#include "board/LibraryDriver.h"

#include <gtest/gtest.h>

namespace {

TEST(StdcallExportNames, PlainThenBothDecorations) {
    struct Case {
        const char* name;
        int argumentBytes;
        std::vector<std::string> names;
    };
    const Case cases[] = {
        {"LoadFirmWare", 4, {"LoadFirmWare", "_LoadFirmWare@4", "LoadFirmWare@4"}},
        {"VendorIORequest", 24, {"VendorIORequest", "_VendorIORequest@24", "VendorIORequest@24"}},
        {"DriverLastError", 0, {"DriverLastError", "_DriverLastError@0", "DriverLastError@0"}},
    };
    for (const Case& c : cases) EXPECT_EQ(USBStuff::StdcallExportNames(c.name, c.argumentBytes), c.names) << c.name;
}

}  // namespace
