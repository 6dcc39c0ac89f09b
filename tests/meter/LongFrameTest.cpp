#include "meter/LongFrame.h"

#include <gtest/gtest.h>

#include "meter/MeterCodes.h"
#include "serial/HexPackage.h"

namespace {
std::vector<std::uint8_t> AddressOf(const CDataPackage& request) {
    return {request.Bytes().begin() + 5, request.Bytes().begin() + 12};
}
}  // namespace

TEST(LongFrame, BuildsTheWorkedHeatRequest) {
    const auto request = CLongFrame().BuildReadRequest(12345678, MeterCodeHeat);
    EXPECT_EQ(request->Bytes(), HexPackage(kWorkedRequest).Bytes());
}

TEST(LongFrame, AWaterRequestDiffersInTypeAndChecksum) {
    const auto request = CLongFrame().BuildReadRequest(12345678, MeterCodeWater);
    EXPECT_EQ(request->Bytes(),
              HexPackage("FE FE FE 68 10 78 56 34 12 00 00 00 01 03 90 1F 01 40 16").Bytes());
}

TEST(LongFrame, SerialsTravelAsPackedBcdLowestPairFirst) {
    const CLongFrame frame;
    EXPECT_EQ(AddressOf(*frame.BuildReadRequest(0, MeterCodeHeat)),
              HexPackage("00 00 00 00 00 00 00").Bytes());
    EXPECT_EQ(AddressOf(*frame.BuildReadRequest(99999999, MeterCodeHeat)),
              HexPackage("99 99 99 99 00 00 00").Bytes());
    EXPECT_EQ(AddressOf(*frame.BuildReadRequest(80000001, MeterCodeHeat)),
              HexPackage("01 00 00 80 00 00 00").Bytes());
    EXPECT_EQ(AddressOf(*frame.BuildReadRequest(7, MeterCodeHeat)),
              HexPackage("07 00 00 00 00 00 00").Bytes());
}

TEST(LongFrame, AnUnknownKindIsSentAsFF) {
    EXPECT_EQ(MeterCodeOfKind(0), MeterCodeHeat);
    EXPECT_EQ(MeterCodeOfKind(1), MeterCodeWater);
    EXPECT_EQ(MeterCodeOfKind(2), MeterCodeWater);
    EXPECT_EQ(MeterCodeOfKind(3), -1);
    const auto request = CLongFrame().BuildReadRequest(12345678, MeterCodeOfKind(3));
    ASSERT_EQ(request->Size(), 19u);
    EXPECT_EQ(request->At(4), 0xFF);
}
