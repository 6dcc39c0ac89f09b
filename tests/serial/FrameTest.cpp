#include "serial/Frame.h"

#include <gtest/gtest.h>

#include "serial/HexPackage.h"

TEST(DataPackage, GrowsInOrderAndReadsNothingPastItsEnd) {
    CDataPackage package("Read");
    EXPECT_EQ(package.Size(), 0u);
    package.Add(0x68);
    package.Add(0x16);
    EXPECT_EQ(package.Size(), 2u);
    EXPECT_EQ(package.At(0), 0x68);
    EXPECT_EQ(package.At(1), 0x16);
    EXPECT_EQ(package.At(2), 0) << "a position outside gives 0, never a read past the end";
    package.Clear();
    EXPECT_EQ(package.Size(), 0u);
}

TEST(Frame, TheChecksumSumsFromTheStartCharacterOnly) {
    CDataPackage request = WithoutLast(HexPackage(kWorkedRequest), 2);
    AppendChecksum(request);
    EXPECT_EQ(request.At(request.Size() - 1), 0x50);
    CDataPackage preambleChanged = HexPackage("00 11 22 68 20 78 56 34 12 00 00 00 01 03 90 1F 01");
    AppendChecksum(preambleChanged);
    EXPECT_EQ(preambleChanged.At(preambleChanged.Size() - 1), 0x50);
}

TEST(Frame, TheWorkedRepliesPassEveryCheck) {
    EXPECT_EQ(CheckFrame(HexPackage(kWorkedHeatReply)), TelegramOk);
    EXPECT_EQ(CheckFrame(HexPackage(kWorkedWaterReply)), TelegramOk);
}

TEST(Frame, ThePreambleMayBeAnything) {
    CDataPackage reply = HexPackage(kWorkedWaterReply);
    CDataPackage changed = HexPackage("00 AB 68");
    for (std::size_t i = 3; i < reply.Size(); ++i) changed.Add(reply.At(i));
    EXPECT_EQ(CheckFrame(changed), TelegramOk);
}

TEST(Frame, EmptyShortAndSilentPackagesFailTheChecksum) {
    EXPECT_EQ(CheckFrame(CDataPackage()), TelegramBadChecksum);
    EXPECT_EQ(CheckFrame(HexPackage("00")), TelegramBadChecksum) << "a silent meter";
    EXPECT_EQ(CheckFrame(HexPackage("FE 68")), TelegramBadChecksum);
}

TEST(Frame, AShortPackageWithARightSumFailsTheLength) {
    // Three bytes: nothing is summed, and the sum 0 matches the first byte.
    EXPECT_EQ(CheckFrame(HexPackage("00 16 16")), TelegramBadLength);
    EXPECT_EQ(CheckFrame(HexPackage("FE FE FE 68 68 16 16")), TelegramBadLength);
}

TEST(Frame, TheChecksAreMadeInTheirOrder) {
    // Right checksum, L says 1 but the package has 17 bytes, start and end both wrong: length.
    const CDataPackage wrongEverything =
        HexPackage("FE FE FE 69 20 00 00 00 00 00 00 00 01 01 8B 00 15");
    EXPECT_EQ(CheckFrame(wrongEverything), TelegramBadLength);
    // The same with the checksum spoilt: the checksum is tested first.
    EXPECT_EQ(CheckFrame(HexPackage("FE FE FE 69 20 00 00 00 00 00 00 00 01 01 8C 00 15")),
              TelegramBadChecksum);
    // Right length now (L = 0): the start is tested before the end.
    EXPECT_EQ(CheckFrame(HexPackage("FE FE FE 69 20 00 00 00 00 00 00 00 01 00 8A 15 15")),
              TelegramBadStart);
    EXPECT_EQ(CheckFrame(HexPackage("FE FE FE 68 20 00 00 00 00 00 00 00 01 00 89 16 15")),
              TelegramBadEnd);
}

TEST(Frame, SeventeenBytesWithNoDataAreASoundFrame) {
    EXPECT_EQ(CheckFrame(HexPackage("FE FE FE 68 20 00 00 00 00 00 00 00 01 00 89 16 16")),
              TelegramOk);
}

TEST(Frame, ACompleteFrameIsOneWholeFrameAsItCameOffTheLine) {
    const CDataPackage line = WithoutLast(HexPackage(kWorkedHeatReply), 1);
    EXPECT_TRUE(IsCompleteFrame(line));
    for (std::size_t cut = 1; cut < line.Size(); ++cut) {
        EXPECT_FALSE(IsCompleteFrame(WithoutLast(line, cut))) << "cut " << cut;
    }
    CDataPackage trailing = line;
    trailing.Add(0x16);
    EXPECT_FALSE(IsCompleteFrame(trailing)) << "a byte more is not one frame";
    CDataPackage spoilt = WithoutLast(line, 2);
    spoilt.Add(0x64);
    spoilt.Add(0x16);
    EXPECT_FALSE(IsCompleteFrame(spoilt)) << "a wrong checksum is not a complete frame";
    EXPECT_TRUE(IsCompleteFrame(HexPackage("FE FE FE 68 20 00 00 00 00 00 00 00 01 00 89 16")));
}
