#include "app/IniFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "support/TempWorkDir.h"

TEST(IniFile, MissingFileReadsEmptyAndTheFirstSaveCreatesIt) {
    CTempWorkDir dir;
    CIniFile ini;
    CIniValue value;
    ini.GetValue("SERIAL", "COM", value);
    EXPECT_TRUE(value.empty());

    ini.SetValue("SERIAL", "COM", "\\\\.\\COM3");
    ini.SetValue("SERIAL", "BAUD", "9600");
    EXPECT_EQ(ReadFile("config.ini"), "[SERIAL]\r\nCOM = \\\\.\\COM3\r\nBAUD = 9600\r\n");
}

TEST(IniFile, SaveKeepsSectionsAndKeysTheProgramDoesNotKnow) {
    CTempWorkDir dir;
    WriteFile("config.ini", "[OTHER]\r\nname = kept\r\n\r\n[SERIAL]\r\nCOM = old\r\nEXTRA = 1\r\n");
    CIniFile ini;
    CIniValue value;
    ini.GetValue("SERIAL", "COM", value);
    EXPECT_EQ(value, "old");

    ini.SetValue("SERIAL", "COM", "new");
    CIniFile reloaded;
    CIniValue other, extra, com;
    reloaded.GetValue("OTHER", "name", other);
    reloaded.GetValue("SERIAL", "EXTRA", extra);
    reloaded.GetValue("SERIAL", "COM", com);
    EXPECT_EQ(other, "kept");
    EXPECT_EQ(extra, "1");
    EXPECT_EQ(com, "new");
    EXPECT_EQ(ReadFile("config.ini").find("\n\n"), std::string::npos) << "every line ends in CR LF";
}

TEST(IniFile, LongValuesReadBackWholeAndMissingKeysLeaveTheValueAlone) {
    CTempWorkDir dir;
    WriteFile("config.ini", "[SERIAL]\nCOM = /dev/ttyUSB0123456789\n");
    CIniFile ini;
    CIniValue value;
    ini.GetValue("SERIAL", "COM", value);
    EXPECT_EQ(value, "/dev/ttyUSB0123456789");

    CIniValue untouched("keep");
    ini.GetValue("SERIAL", "BAUD", untouched);
    EXPECT_EQ(untouched, "keep");
}

TEST(IniFile, AFailedSaveIsLoggedLeavesNothingBesideAndTheValueStaysInMemory) {
    CTempWorkDir dir;
    std::filesystem::create_directory("config.ini");  // nothing can write a file of that name
    CIniFile ini;
    ini.SetValue("SERIAL", "BAUD", "1200");
    CIniValue value;
    ini.GetValue("SERIAL", "BAUD", value);
    EXPECT_EQ(value, "1200");
    EXPECT_TRUE(std::filesystem::is_directory("config.ini"));
    EXPECT_FALSE(std::filesystem::exists("config.ini.new"));
    EXPECT_EQ(ReadFile("console.log").rfind("\nconfig.ini not saved: ", 0), 0u);
}
