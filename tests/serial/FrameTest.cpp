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

TEST(Frame, AWholeFrameEndingTheBytesIsFoundAfterAnyPreambleOrNoise) {
    const CDataPackage line = WithoutLast(HexPackage(kWorkedHeatReply), 1);
    EXPECT_EQ(FrameEndingAt(line.Bytes()).value().start, 3u);
    EXPECT_EQ(FrameEndingAt(line.Bytes()).value().size, line.Size() - 3);
    for (std::size_t cut = 1; cut < line.Size(); ++cut) {
        EXPECT_FALSE(FrameEndingAt(WithoutLast(line, cut).Bytes())) << "cut " << cut;
    }
    CDataPackage trailing = line;
    trailing.Add(0x16);
    EXPECT_FALSE(FrameEndingAt(trailing.Bytes())) << "the bytes must end with the frame";
    CDataPackage spoilt = WithoutLast(line, 2);
    spoilt.Add(0x64);
    spoilt.Add(0x16);
    EXPECT_FALSE(FrameEndingAt(spoilt.Bytes())) << "a wrong checksum is no frame";

    // A stray start character before the frame, even one announcing a length that would
    // reach the same end, starts nothing unless its own checksum works out.
    for (const char* prefix : {"", "FE", "00 AB 68 16", "68 00 00 00 00 00 00 00 00 00 39"}) {
        CDataPackage noisy = HexPackage(prefix);
        for (std::size_t i = 3; i < line.Size(); ++i) noisy.Add(line.At(i));
        const auto found = FrameEndingAt(noisy.Bytes());
        ASSERT_TRUE(found) << prefix;
        EXPECT_EQ(found->start, HexPackage(prefix).Size()) << prefix;
        CDataPackage received = noisy;
        received.Add(0x16);
        EXPECT_EQ(CheckFrame(received), TelegramOk) << prefix;
    }
}

TEST(Frame, AReceivedFrameMustEndWithTheRepeatOfItsEndCharacter) {
    // The four tests at the usual indexes pass, but the byte before the repeat is no end.
    EXPECT_EQ(CheckFrame(HexPackage("FE FE FE 68 20 00 00 00 00 00 00 00 01 00 89 15 16")),
              TelegramBadEnd);
    EXPECT_EQ(CheckFrame(HexPackage("FE FE FE 68 20 00 00 00 00 00 00 00 01 00 89 16 16")),
              TelegramOk);
}
