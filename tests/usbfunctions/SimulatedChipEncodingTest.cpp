// The simulated chip codes what it measures as the program decodes it: every whole degree
// locally and every quarter degree remotely, in both ranges, reads back as measured; and it
// takes every offset the program codes as the program meant it.
#include "TemperatureCoding.h"

#include "chip/TemperatureEncoding.h"
#include "registers/TemperatureCodes.h"

#include <gtest/gtest.h>

TEST(SimulatedChipEncoding, TheProgramDecodesWhatTheChipMeasuresOverItsWholeRange) {
    for (const bool extended : {false, true}) {
        const int lowest = -Chip::RangeExcess(extended);
        const int highest = Chip::TopMeasuredCode(extended) - Chip::RangeExcess(extended);
        for (int degrees = lowest; degrees <= highest; ++degrees)
            ASSERT_EQ(GeneralStuff::TempFromCode(UsbSim::LocalCode(degrees, extended), extended), degrees)
                << degrees << (extended ? " extended" : "");
        for (int quarters = lowest * 4; quarters <= highest * 4; ++quarters) {
            const int code = UsbSim::RemoteCode(quarters / 4.0, 0, extended);
            const float read = GeneralStuff::TempFromCodes(Chip::HighByteOfTenBit(code), Chip::LowByteOfTenBit(code), extended);
            ASSERT_EQ(read, quarters / 4.0f) << quarters / 4.0 << (extended ? " extended" : "");
        }
    }
}

TEST(SimulatedChipEncoding, TheChipTakesEveryOffsetAsTheProgramCodesIt) {
    for (int quarters = -512; quarters < 512; ++quarters) {
        const GeneralStuff::CodePair codes = GeneralStuff::CodesFromOffset(quarters / 4.0);
        ASSERT_EQ(Chip::SignedTenBit(Chip::TenBitFromBytes(codes.high, codes.low)), quarters) << quarters / 4.0;
    }
}
