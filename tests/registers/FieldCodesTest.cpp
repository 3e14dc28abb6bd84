// Field values as a user gives them against the register bytes that hold them, in both range
// modes, and the values that are refused rather than rounded.
#include <gtest/gtest.h>

#include "registers/FieldCodes.h"
#include "registers/FieldValueText.h"

using namespace GeneralStuff;

namespace {

constexpr bool Default = false;
constexpr bool Extended = true;

struct Case {
    const char* field;
    bool extended;
    const char* text;
    int high;            // the register's bytes written; -1 for a refusal
    int low = 0;
    int current = 0;     // the register as read before a read-modify-write
    const char* shown = nullptr;  // as get shows the bytes; the text itself when null
    const char* refusal = "";     // part of the refusal
};

TEST(FieldCodes, ValuesAgainstRegisterBytes) {
    const Case cases[] = {
        {"local-high", Default, "85", 0x55},
        {"local-high", Default, "0", 0x00},
        {"local-high", Default, "255C", 0xFF, 0, 0, "255"},
        {"local-high", Extended, "85", 0x95},
        {"local-high", Extended, "-64 \u00B0C", 0x00, 0, 0, "-64"},
        {"local-high", Extended, "191", 0xFF},
        {"remote-high", Default, "95.25", 0x5F, 0x40},
        {"remote-high", Default, "0.5", 0x00, 0x80},
        {"remote-high", Default, "255.75", 0xFF, 0xC0},
        {"remote-low", Extended, "-10.25", 0x35, 0xC0},
        {"remote-low", Extended, "-64", 0x00, 0x00},
        {"remote-low", Extended, "191.75", 0xFF, 0xC0},
        {"remote-offset", Extended, "-.25", 0xFF, 0xC0, 0, "-0.25"},
        {"remote-offset", Default, "-128", 0x80, 0x00},
        {"remote-offset", Default, "127.75", 0x7F, 0xC0},
        {"therm-hysteresis", Extended, "255", 0xFF},
        {"conversion-rate", Default, "0.0625hz", 0xF0, 0, 0xF8, "0.0625"},
        {"conversion-rate", Default, "64 Hz", 0x0A, 0, 0x00, "64"},
        {"consecutive-alert", Default, "255", 0xFF},
        {"standby", Default, "ON", 0xC4, 0, 0x84, "on"},
        {"standby", Default, "off", 0x84, 0, 0xC4},
        {"extended-range", Extended, "on", 0x04},
        {"local-high", Default, "70.5", -1, 0, 0, nullptr, "whole degrees"},
        {"remote-high", Default, "95.3", -1, 0, 0, nullptr, "quarter degrees"},
        {"conversion-rate", Default, "3Hz", -1, 0, 0, nullptr, "one of 0.0625, 0.125"},
        {"conversion-rate", Default, "128", -1, 0, 0, nullptr, "one of"},
        {"local-high", Default, "256", -1, 0, 0, nullptr, "0 to 255 \u00B0C in the default range"},
        {"local-high", Default, "-1", -1, 0, 0, nullptr, "(-64 to 191 \u00B0C in the extended range)"},
        {"local-high", Extended, "192", -1, 0, 0, nullptr, "-64 to 191 \u00B0C in the extended range"},
        {"remote-high", Extended, "-64.25", -1, 0, 0, nullptr, "-64 to 191.75"},
        {"remote-offset", Default, "128", -1, 0, 0, nullptr, "-128 to 127.75 \u00B0C"},
        {"consecutive-alert", Default, "256", -1, 0, 0, nullptr, "0 to 255"},
        {"local-high", Default, "16Hz", -1, 0, 0, nullptr, "a number of \u00B0C"},
        {"consecutive-alert", Default, "3C", -1, 0, 0, nullptr, "a whole number"},
        {"local-high", Default, "1e2", -1, 0, 0, nullptr, "a number of"},
        {"standby", Default, "1", -1, 0, 0, nullptr, "on or off"},
        // Exactness is decided on the digits as written, past what a double keeps.
        {"remote-high", Default, "0095.2500000000000000000000", 0x5F, 0x40, 0, "95.25"},
        {"local-high", Default, "85.0000000000000000001", -1, 0, 0, nullptr, "whole degrees"},
        {"remote-high", Default, "95.24999999999999999999", -1, 0, 0, nullptr, "quarter degrees"},
        {"local-high", Default, "255.0000000000000000001", -1, 0, 0, nullptr, "0 to 255 \u00B0C in the default range"},
        {"remote-low", Extended, "-64.00000000000000000001", -1, 0, 0, nullptr, "-64 to 191.75"},
        {"conversion-rate", Default, "0.06250000000000000000001", -1, 0, 0, nullptr, "one of"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.field) + "=" + c.text + (c.extended ? " (extended)" : ""));
        const Chip::Field& field = *Chip::FindField(c.field);
        std::string refusal;
        const auto value = ParseFieldValue(field, c.text, refusal);
        if (value) refusal = FieldValueRefusal(field, *value, c.extended);
        if (c.high < 0) {
            EXPECT_NE(refusal.find(c.refusal), std::string::npos) << refusal;
            continue;
        }
        ASSERT_TRUE(value && refusal.empty()) << refusal;
        const FieldBytes bytes = FieldBytesFor(field, *value, c.extended, c.current);
        EXPECT_EQ(bytes.high, c.high);
        EXPECT_EQ(bytes.low, c.low);
        EXPECT_EQ(FieldValueText(field, FieldValue(field, bytes, c.extended)), c.shown ? c.shown : c.text);
    }
}

TEST(FieldCodes, ReadingLeavesOutTheLowBytesBitsBelowTheQuarters) {
    EXPECT_EQ(FieldValue(*Chip::FindField("remote-offset"), {0x02, 0x7F}, Default), 2.25);
}

}  // namespace
