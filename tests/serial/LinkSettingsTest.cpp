#include "serial/LinkSettings.h"

#include <gtest/gtest.h>

#include "app/IniFile.h"
#include "support/TempWorkDir.h"

TEST(LinkSettings, TheFrameCompleteEndingIsTheDefault) {
    CTempWorkDir dir;
    WriteFile("config.ini", "[SERIAL]\r\nCOM = /dev/ttyUSB0\r\nBAUD = 9600\r\n");
    const CLinkSettings settings = LinkSettingsFrom(CIniFile());
    EXPECT_TRUE(settings.endOnCompleteFrame);
    EXPECT_EQ(settings.silenceMs, 9000u);
}

TEST(LinkSettings, EndOnFrameZeroRestoresThePureSilenceRule) {
    CTempWorkDir dir;
    WriteFile("config.ini", "[SERIAL]\r\nEND_ON_FRAME = 0\r\n");
    EXPECT_FALSE(LinkSettingsFrom(CIniFile()).endOnCompleteFrame);
    WriteFile("config.ini", "[SERIAL]\r\nEND_ON_FRAME = 1\r\n");
    EXPECT_TRUE(LinkSettingsFrom(CIniFile()).endOnCompleteFrame);
    WriteFile("config.ini", "[OTHER]\r\nEND_ON_FRAME = 0\r\n");
    EXPECT_TRUE(LinkSettingsFrom(CIniFile()).endOnCompleteFrame) << "only the SERIAL section counts";
}
