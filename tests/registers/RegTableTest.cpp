// The register table, lookups by read address, bit labels and the Configuration shadow.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "registers/RegMapStuff.h"

using namespace RegMapStuff;

namespace {

class RegTableTest : public ::testing::Test {
protected:
    void SetUp() override { BuildRegTable(); }
};

TEST_F(RegTableTest, ReadAddressesAreUniqueAndDescriptionsCopyNames) {
    std::set<int32_t> readAddrs;
    for (const RegEntry& e : RegTable) {
        EXPECT_TRUE(readAddrs.insert(e.ReadAddr).second) << e.Name;
        EXPECT_EQ(e.Description, e.Name);
        EXPECT_EQ(SplitBitNames(e.BitNames).size(), 8u);
        EXPECT_EQ(std::count(e.BitNames.begin(), e.BitNames.end(), ':'), 7) << e.Name;
    }
    EXPECT_EQ(readAddrs.size(), 20u);
}

TEST_F(RegTableTest, ExactlyTheSixReadOnlyEntriesHaveNoWriteAddress) {
    const std::set<int> readOnly = {0, 1, 2, 9, 18, 19};
    for (int i = 0; i < RegCount; ++i) {
        const bool expected = readOnly.count(i) == 1;
        EXPECT_EQ(RegTable[i].ReadOnly, expected) << i;
        EXPECT_EQ(RegTable[i].WriteAddr == 0, expected) << i;
    }
}

TEST_F(RegTableTest, NamesInIndexOrder) {
    const char* names[RegCount] = {
        "Local Temp Value", "Remote Temp High Byte", "Status", "Configuration", "Conversion Rate",
        "Local Temp High Limit", "Local Temp Low Limit", "Remote High Limit,High Byte",
        "Remote Low Limit,High Byte", "Remote Temp Low Byte", "Remote Offset High Byte",
        "Remote Offset Low Byte", "Remote High Limit,Low Byte", "Remote Low Limit,Low Byte",
        "Remote Therm Limit", "Local Therm Limit", "Therm Hysteresis", "Consecutive Alert",
        "Manufacturer ID", "Revision Code"};
    for (int i = 0; i < RegCount; ++i) EXPECT_EQ(RegTable[i].Name, names[i]) << i;
}

TEST_F(RegTableTest, AddressesAndDefaults) {
    const int32_t readAddrs[RegCount] = {0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x10,
                                         0x11, 0x12, 0x13, 0x14, 0x19, 0x20, 0x21, 0x22, 0xFE, 0xFF};
    const int32_t writeAddrs[RegCount] = {0, 0, 0, 0x09, 0x0A, 0x0B, 0x0C, 0x0D, 0x0E, 0,
                                          0x11, 0x12, 0x13, 0x14, 0x19, 0x20, 0x21, 0x22, 0, 0};
    const int16_t defaults[RegCount] = {0, 0, 0, 0, 8, 85, 0, 85, 0, 0, 0, 0, 0, 0, 85, 85, 10, 1, 65, 0};
    for (int i = 0; i < RegCount; ++i) {
        EXPECT_EQ(RegTable[i].ReadAddr, readAddrs[i]) << i;
        EXPECT_EQ(RegTable[i].WriteAddr, writeAddrs[i]) << i;
        EXPECT_EQ(RegTable[i].DefaultVal, defaults[i]) << i;
    }
}

TEST_F(RegTableTest, BitLabelsOfEachKind) {
    EXPECT_EQ(RegTable[2].BitNames, "Bsy:LocHi:LocLo:RemHi:RemLo:OPEN:RTHRM:LTHRM");
    EXPECT_EQ(RegTable[3].BitNames, "Msk:STBY:AL/TH:-:-:TRNG:-:-");
    for (int i : {1, 7, 8, 10}) EXPECT_EQ(RegTable[i].BitNames, "9:8:7:6:5:4:3:2") << i;
    for (int i : {9, 11, 12, 13}) EXPECT_EQ(RegTable[i].BitNames, "1:0:-:-:-:-:-:-") << i;
    for (int i : {0, 4, 5, 6, 14, 15, 16, 17, 18, 19}) EXPECT_EQ(RegTable[i].BitNames, "7:6:5:4:3:2:1:0") << i;
}

TEST_F(RegTableTest, LookupByReadAddress) {
    EXPECT_EQ(FindByReadAddr(0x10), 9);
    EXPECT_EQ(FindByReadAddr(0x00), 0);
    EXPECT_EQ(FindByReadAddr(0xFF), 19);
    for (int32_t writeOnly : {0x09, 0x0A, 0x0E, 0x0F, 0x23, -1, 0x100}) {
        EXPECT_FALSE(FindByReadAddr(writeOnly).has_value()) << writeOnly;
    }
}

TEST(SplitBitNamesTest, BitSevenFirstAndOddTexts) {
    const auto status = SplitBitNames("Bsy:LocHi:LocLo:RemHi:RemLo:OPEN:RTHRM:LTHRM");
    EXPECT_EQ(status[0], "Bsy");
    EXPECT_EQ(status[7], "LTHRM");
    const auto shortText = SplitBitNames("a:b");
    EXPECT_EQ(shortText[1], "b");
    EXPECT_EQ(shortText[2], "");
    EXPECT_EQ(SplitBitNames("1:2:3:4:5:6:7:8:9")[7], "8");
    EXPECT_EQ(SplitBitNames("")[0], "");
}

TEST(ShadowTest, ConfigurationBitsSetTheFlags) {
    struct Case { int32_t config; bool extended; bool standby; };
    for (const Case& c : {Case{0x44, true, true}, Case{0x40, false, true}, Case{0x04, true, false},
                          Case{0xBB, false, false}, Case{0x00, false, false}}) {
        ExtendedRange = !c.extended;
        Standby = !c.standby;
        SetShadowFromConfiguration(c.config);
        EXPECT_EQ(ExtendedRange, c.extended) << c.config;
        EXPECT_EQ(Standby, c.standby) << c.config;
    }
}

}  // namespace
