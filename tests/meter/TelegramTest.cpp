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

// A sound frame of `type` with `dataBytes` zero data bytes.
CDataPackage FrameWithData(std::uint8_t type, std::size_t dataBytes) {
    CDataPackage frame = HexPackage("FE FE FE 68");
    frame.Add(type);
    for (int i = 0; i < 7; ++i) frame.Add(0);
    frame.Add(0x81);
    frame.Add(static_cast<std::uint8_t>(dataBytes));
    for (std::size_t i = 0; i < dataBytes; ++i) frame.Add(0);
    AppendChecksum(frame);
    frame.Add(0x16);
    frame.Add(0x16);
    return frame;
}
}  // namespace

TEST(Telegram, DecodesTheWorkedHeatReply) {
    const CDataPackage reply = HexPackage(kWorkedHeatReply);
    CTelegram telegram(reply);
    ASSERT_EQ(telegram.Decode(), TelegramOk);
    EXPECT_EQ(telegram.MeterCode(), 32);
    EXPECT_EQ(telegram.WaterData(), nullptr);
    const CDataHeat* heat = telegram.HeatData();
    ASSERT_NE(heat, nullptr);
    EXPECT_EQ(heat->meter_code, 32);
    EXPECT_EQ(heat->serial, 12345678);
    EXPECT_EQ(heat->q_cooling, "001234.56");
    EXPECT_EQ(heat->q, "000250.00");
    EXPECT_EQ(heat->v, "1234.5000");
    EXPECT_EQ(heat->t1, "21.50");
    EXPECT_EQ(heat->t2, "18.05");
    EXPECT_EQ(heat->dt, "-3.45");
    EXPECT_EQ(heat->running_time_hour, 1234);
    EXPECT_EQ(heat->date, "2025-01-31 14:05");
    EXPECT_EQ(heat->devid, 0);
}

TEST(Telegram, DecodesTheWorkedWaterReply) {
    const CDataPackage reply = HexPackage(kWorkedWaterReply);
    CTelegram telegram(reply);
    ASSERT_EQ(telegram.Decode(), TelegramOk);
    EXPECT_EQ(telegram.MeterCode(), 16);
    EXPECT_EQ(telegram.HeatData(), nullptr);
    const CDataWater* water = telegram.WaterData();
    ASSERT_NE(water, nullptr);
    EXPECT_EQ(water->meter_code, 16);
    EXPECT_EQ(water->serial, 12345678);
    EXPECT_EQ(water->v, "0012.345");
    EXPECT_EQ(water->v_flow, "0000.100");
    EXPECT_EQ(water->date, "2024-06-15 12:30:07");
    EXPECT_EQ(water->bat, "3.61");
    EXPECT_EQ(water->running_time_minute, 300);
    EXPECT_EQ(water->v_reverse, "0000.000");
}

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
    for (auto [type, enough] : {std::pair{0x20, 44}, {0x10, 30}}) {
        const CDataPackage shortReply = FrameWithData(type, enough - 1);
        CTelegram shortTelegram(shortReply);
        EXPECT_EQ(shortTelegram.Decode(), TelegramOk);
        EXPECT_EQ(shortTelegram.MeterCode(), -1) << "type " << type;
        EXPECT_EQ(shortTelegram.HeatData(), nullptr);
        EXPECT_EQ(shortTelegram.WaterData(), nullptr);

        const CDataPackage longEnough = FrameWithData(type, enough);
        CTelegram telegram(longEnough);
        EXPECT_EQ(telegram.Decode(), TelegramOk);
        EXPECT_EQ(telegram.MeterCode(), type);
    }
    const CDataPackage noData = FrameWithData(0x20, 0);
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

TEST(Telegram, RunningMinutesAreABinaryCounter) {
    const CDataPackage reply = WithBytes(kWorkedWaterReply, 38, "FF FF");
    CTelegram telegram(reply);
    ASSERT_EQ(telegram.Decode(), TelegramOk);
    EXPECT_EQ(telegram.WaterData()->running_time_minute, 65535);
}

TEST(Telegram, BytesThatAreNotBcdGiveLettersAndNumbersStopAtThem) {
    // Serial 123A5678: read as a number it is 123.
    const CDataPackage serial = WithBytes(kWorkedHeatReply, 5, "78 56 3A 12");
    CTelegram serialTelegram(serial);
    ASSERT_EQ(serialTelegram.Decode(), TelegramOk);
    EXPECT_EQ(serialTelegram.HeatData()->serial, 123);

    const CDataPackage allLetters = WithBytes(kWorkedWaterReply, 5, "FF FF FF FF");
    CTelegram lettersTelegram(allLetters);
    ASSERT_EQ(lettersTelegram.Decode(), TelegramOk);
    EXPECT_EQ(lettersTelegram.WaterData()->serial, 0);

    // t1 2A.50 reads as 2, so dt is 18.05 - 2; the running hours 001A34 read as 1.
    const CDataPackage heat = WithBytes(kWorkedHeatReply, 43, "2A 50 00 18 05 00 1A 34");
    CTelegram heatTelegram(heat);
    ASSERT_EQ(heatTelegram.Decode(), TelegramOk);
    EXPECT_EQ(heatTelegram.HeatData()->t1, "2A.50");
    EXPECT_EQ(heatTelegram.HeatData()->dt, "16.05");
    EXPECT_EQ(heatTelegram.HeatData()->running_time_hour, 1);

    const CDataPackage clock = WithBytes(kWorkedWaterReply, 27, "07 30 12 1F 06 24 20");
    CTelegram clockTelegram(clock);
    ASSERT_EQ(clockTelegram.Decode(), TelegramOk);
    EXPECT_EQ(clockTelegram.WaterData()->date, "2024-06-1F 12:30:07");
}

TEST(Telegram, TheLargestValuesFitTheirFields) {
    CDataPackage allFF = HexPackage("FE FE FE 68 20 FF FF FF FF 00 00 00 01 2E");
    for (int i = 0; i < 0x2E; ++i) allFF.Add(0xFF);
    AppendChecksum(allFF);
    allFF.Add(0x16);
    allFF.Add(0x16);
    CTelegram telegram(allFF);
    ASSERT_EQ(telegram.Decode(), TelegramOk);
    const CDataHeat* heat = telegram.HeatData();
    EXPECT_EQ(heat->q_cooling, "FFFFFF.FF");
    EXPECT_EQ(heat->v, "FFFF.FFFF");
    EXPECT_EQ(heat->date, "FFFF-FF-FF FF:FF");
    EXPECT_EQ(heat->dt, "0.00");
}
