#include "meter/Telegram.h"

#include <gtest/gtest.h>

#include "meter/MeterCodes.h"
#include "serial/Frame.h"
#include "serial/HexPackage.h"

namespace {
// The package with the bytes at `index` onwards replaced, checksum and end put right again,
// as a meter that sent those bytes would have them arrive.
CDataPackage WithBytes(std::string_view reply, std::size_t index, std::string_view bytes) {
    const CDataPackage original = HexPackage(reply);
    const CDataPackage replacement = HexPackage(bytes);
    CDataPackage changed;
    for (std::size_t i = 0; i + 3 < original.Size(); ++i) {
        const bool replaced = i >= index && i < index + replacement.Size();
        changed.Add(replaced ? replacement.At(i - index) : original.At(i));
    }
    AppendChecksum(changed);
    changed.Add(0x16);
    changed.Add(0x16);
    return changed;
}

// A sound frame with the first `dataBytes` data bytes of a worked reply.
CDataPackage FrameWithData(std::string_view worked, std::size_t dataBytes) {
    const CDataPackage reply = HexPackage(worked);
    CDataPackage frame;
    for (std::size_t i = 0; i < kFrameLengthIndex; ++i) frame.Add(reply.At(i));
    frame.Add(static_cast<std::uint8_t>(dataBytes));
    for (std::size_t i = 0; i < dataBytes; ++i) frame.Add(reply.At(kFrameDataIndex + i));
    AppendChecksum(frame);
    frame.Add(0x16);
    frame.Add(0x16);
    return frame;
}
}  // namespace

TEST(Telegram, TheReadingOutlivesTheTelegramOnceTaken) {
    std::unique_ptr<CDataHeat> heat;
    {
        const CDataPackage reply = HexPackage(kWorkedHeatReply);
        CTelegram telegram(reply);
        telegram.Decode();
        heat = telegram.TakeHeatData();
        EXPECT_EQ(telegram.HeatData(), nullptr);
    }
    ASSERT_NE(heat, nullptr);
    EXPECT_EQ(heat->q, "000250.00");
}

TEST(Telegram, AFailedCheckGivesItsCodeAndNoReading) {
    const CDataPackage silent = HexPackage("00");
    CTelegram silentTelegram(silent);
    EXPECT_EQ(silentTelegram.Decode(), TelegramBadChecksum);
    EXPECT_EQ(silentTelegram.MeterCode(), -1);
    EXPECT_EQ(silentTelegram.HeatData(), nullptr);
    EXPECT_EQ(silentTelegram.WaterData(), nullptr);

    CDataPackage badEnd = WithoutLast(HexPackage(kWorkedHeatReply), 1);
    badEnd.Add(0x15);
    CTelegram badEndTelegram(badEnd);
    EXPECT_EQ(badEndTelegram.Decode(), TelegramBadEnd);
    EXPECT_EQ(badEndTelegram.HeatData(), nullptr);
}

TEST(Telegram, AnUnknownTypeCodePassesTheChecksButMakesNoReading) {
    const CDataPackage reply = WithBytes(kWorkedHeatReply, 4, "11");
    CTelegram telegram(reply);
    EXPECT_EQ(telegram.Decode(), TelegramOk);
    EXPECT_EQ(telegram.MeterCode(), -1);
    EXPECT_EQ(telegram.HeatData(), nullptr);
    EXPECT_EQ(telegram.WaterData(), nullptr);
}

TEST(Telegram, AReplyTooShortForItsTypeMakesNoReading) {
    // The fields reach index 57 (heat) and 43 (water): one data byte less leaves them short.
    for (auto [worked, enough] : {std::pair{kWorkedHeatReply, 44}, {kWorkedWaterReply, 30}}) {
        const int type = HexPackage(worked).At(4);
        const CDataPackage shortReply = FrameWithData(worked, enough - 1);
        CTelegram shortTelegram(shortReply);
        EXPECT_EQ(shortTelegram.Decode(), TelegramOk);
        EXPECT_EQ(shortTelegram.MeterCode(), -1) << "type " << type;
        EXPECT_EQ(shortTelegram.HeatData(), nullptr);
        EXPECT_EQ(shortTelegram.WaterData(), nullptr);

        const CDataPackage longEnough = FrameWithData(worked, enough);
        CTelegram telegram(longEnough);
        EXPECT_EQ(telegram.Decode(), TelegramOk);
        EXPECT_EQ(telegram.MeterCode(), type);
    }
    const CDataPackage noData = FrameWithData(kWorkedHeatReply, 0);
    CTelegram empty(noData);
    EXPECT_EQ(empty.Decode(), TelegramOk);
    EXPECT_EQ(empty.HeatData(), nullptr);
}

TEST(Telegram, OneDigitFieldsPrintTheHighNibbleWhenItIsSet) {
    const CDataPackage reply = WithBytes(kWorkedWaterReply, 17, "45 12 12 00");
    CTelegram telegram(reply);
    ASSERT_EQ(telegram.Decode(), TelegramOk);
    EXPECT_EQ(telegram.WaterData()->v, "0012.1245") << "byte 18 = 12 gives four digits after the point";

    const CDataPackage battery = WithBytes(kWorkedWaterReply, 36, "61 10");
    CTelegram batteryTelegram(battery);
    ASSERT_EQ(batteryTelegram.Decode(), TelegramOk);
    EXPECT_EQ(batteryTelegram.WaterData()->bat, "10.61");
}

TEST(Telegram, TheLargestValuesFitTheirFields) {
    std::string all99 = "FE FE FE 68 20 99 99 99 99 00 00 00 01 2E";
    for (int i = 0; i < 0x2E; ++i) all99 += " 99";
    // The latest clock there is: 9999-12-31 23:59.
    const CDataPackage reply = WithBytes(all99 + " 00 16 16", 52, "59 23 31 12");
    CTelegram telegram(reply);
    ASSERT_EQ(telegram.Decode(), TelegramOk);
    EXPECT_EQ(telegram.MeterCode(), 32);
    const CDataHeat* heat = telegram.HeatData();
    ASSERT_NE(heat, nullptr) << telegram.Fault();
    EXPECT_EQ(heat->serial, 99999999);
    EXPECT_EQ(heat->q_cooling, "999999.99");
    EXPECT_EQ(heat->v, "9999.9999");
    EXPECT_EQ(heat->dt, "0.00");
    EXPECT_EQ(heat->running_time_hour, 999999);
    EXPECT_EQ(heat->date, "9999-12-31 23:59");
}
