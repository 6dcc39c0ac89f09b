#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "Utils/Format.h"
#include "Utils/TextConversion.h"
#include "app/ProgramObjects.h"
#include "database/SQLite3Controller.h"
#include "directory/import/ImportCommand.h"
#include "directory/import/Importer.h"
#include "support/TempWorkDir.h"

namespace {
struct CCommandResult {
    int status;
    std::string out;
    std::string err;
};

CCommandResult RunImport(std::vector<std::string> words) {
    words.insert(words.begin(), {"vevo", "import"});
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    const int status = RunImportCommand(static_cast<int>(argv.size()), argv.data());
    std::string out = testing::internal::GetCapturedStdout();
    return {status, out, testing::internal::GetCapturedStderr()};
}

// Two buildings sharing apartment number 15, and a few meters, in the working directory's
// local.db.
class ImportTest : public ::testing::Test {
protected:
    CTempWorkDir dir_;

    void SetUp() override {
        CSQLite3Controller db("./local.db");
        const int first = AddBuilding(db, "вул. Шевченка");
        const int second = AddBuilding(db, "просп. Свободи");
        for (const char* no : {"1", "2", "15"}) AddApartment(db, first, no);
        for (const char* no : {"15", "7"}) AddApartment(db, second, no);
        for (int serial : {11111111, 5, 7}) AddMeter(db.DeviceHeatModel, serial);
        AddMeter(db.DeviceWaterColdModel, 87654321);
        AddMeter(db.DeviceWaterHotModel, 12345678);
    }

    static int AddBuilding(CSQLite3Controller& db, const char* street) {
        CDataObject building;
        building.street = Utf8ToCp1251(street);
        building.no = "1";
        return db.ObjectModel.InsertObject(building);
    }
    static void AddApartment(CSQLite3Controller& db, int bid, const char* no) {
        CDataSubscriber apartment;
        apartment.bid = bid;
        apartment.no = no;
        ASSERT_NE(db.SubscriberModel.InsertSubscriber(apartment), 0);
    }
    static void AddMeter(CDeviceBaseModel& model, int serial) {
        CDeviceHeat meter;
        meter.serial = serial;
        ASSERT_NE(model.InsertDevice(meter), 0);
    }
    static int MeterCount(CDeviceBaseModel& model) { return model.GetDevices()->Count(); }
};
}  // namespace

TEST_F(ImportTest, EveryFileOfTheFolderGivesWhatItsExpectedFileSays) {
    // NAME.KIND.csv beside NAME.expected: the command's output; apartments go to building 1.
    int walked = 0;
    for (const auto& entry : std::filesystem::directory_iterator(VEVO_IMPORT_FILES)) {
        const std::filesystem::path file = entry.path();
        if (file.extension() != ".csv") continue;
        const std::filesystem::path stem = file.stem();  // NAME.KIND
        const std::string kind = stem.extension().string().substr(1);
        std::filesystem::path expected = file;
        expected.replace_filename(stem.stem().string() + ".expected");
        std::filesystem::remove("local.db");
        SetUp();
        std::vector<std::string> words = {kind, file.string()};
        if (kind == "subscribers") words.insert(words.end(), {"--building", "1"});
        const CCommandResult result = RunImport(words);
        EXPECT_EQ(result.status, 0) << file << result.err;
        EXPECT_EQ(result.out, ReadFile(expected)) << file;
        ++walked;
    }
    EXPECT_GE(walked, 4);
}

TEST_F(ImportTest, StoredRecordsKeepTheFileValuesAndUkrainianNames) {
    const std::string files = VEVO_IMPORT_FILES;
    ASSERT_EQ(RunImport({"devices", files + "/empty-last-field.devices.csv"}).status, 0);
    ASSERT_EQ(
        RunImport({"subscribers", files + "/apartments.subscribers.csv", "--building", "1"}).status,
        0);
    CSQLite3Controller db("./local.db");
    const auto heat = db.DeviceHeatModel.GetDeviceBySerial(33333333);
    ASSERT_NE(heat, nullptr);
    EXPECT_EQ(heat->date_install, "2024-01-01");
    EXPECT_EQ(heat->date_initial_verification, "2024-01-02");
    EXPECT_EQ(heat->calibration_interval, 48);
    EXPECT_EQ(static_cast<CDeviceHeat&>(*heat).position, 1);
    EXPECT_NE(db.DeviceWaterColdModel.GetDeviceBySerial(22222222), nullptr);

    const auto apartments = db.SubscriberModel.GetSubscribersByObject(1);
    const CDataSubscriber* third = nullptr;
    const CDataSubscriber* fourth = nullptr;
    for (const auto& apartment : *apartments) {
        if (apartment->no == "3") third = apartment.get();
        if (apartment->no == "4") fourth = apartment.get();
    }
    ASSERT_NE(third, nullptr);
    ASSERT_NE(fourth, nullptr);
    EXPECT_EQ(Cp1251ToUtf8(third->sname.view()), "Ґудзь");
    EXPECT_EQ(Cp1251ToUtf8(third->name.view()), "Мар’яна");
    EXPECT_EQ(Cp1251ToUtf8(fourth->sname.view()), "Їжак");
    EXPECT_EQ(Cp1251ToUtf8(fourth->name.view()), "Євгенія");
    EXPECT_DOUBLE_EQ(fourth->total_floor_area, 38.25);
    EXPECT_EQ(fourth->type_room, 1);
    // Listed serials are bound to the new apartment; meters of other kinds are not touched.
    EXPECT_EQ(db.DeviceHeatModel.GetDeviceBySerial(5)->aid, third->aid);
    EXPECT_EQ(db.DeviceHeatModel.GetDeviceBySerial(7)->aid, third->aid);
    EXPECT_EQ(db.DeviceWaterColdModel.GetDeviceBySerial(87654321)->aid, fourth->aid);
    EXPECT_EQ(db.DeviceWaterHotModel.GetDeviceBySerial(12345678)->aid, fourth->aid);
    EXPECT_EQ(db.DeviceHeatModel.GetDeviceBySerial(11111111)->aid, 0);
}

TEST_F(ImportTest, ALinkToANumberNoApartmentHasUnbindsTheMeter) {
    WriteFile("bind.csv", "heat;5;7\n");
    ASSERT_EQ(RunImport({"links", "bind.csv"}).out, "1 stored, 0 unbound, 0 skipped\n");
    WriteFile("unbind.csv", "heat;5;99\nheat;7;99\n");
    EXPECT_EQ(RunImport({"links", "unbind.csv"}).out, "0 stored, 2 unbound, 0 skipped\n");
    CSQLite3Controller db("./local.db");
    EXPECT_EQ(db.DeviceHeatModel.GetDeviceBySerial(5)->aid, 0);
}

TEST_F(ImportTest, BadArgumentsAndFilesThatCannotBeReadStoreNothing) {
    WriteFile("one.csv", "h\nheat;22;2024-01-01;2024-01-01;0\n");
    for (const std::vector<std::string>& words :
         std::vector<std::vector<std::string>>{{"devices"},
                                               {"meters", "one.csv"},
                                               {"devices", "one.csv", "--building", "1"},
                                               {"subscribers", "one.csv"},
                                               {"subscribers", "one.csv", "--building", "x"},
                                               {"subscribers", "one.csv", "--building"}}) {
        const CCommandResult result = RunImport(words);
        EXPECT_EQ(result.status, 2) << words[0];
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 2) << result.err;
        EXPECT_TRUE(result.err.ends_with("\nTry 'vevo import --help'.\n")) << result.err;
    }
    std::filesystem::create_directory("folder");
    for (const std::vector<std::string>& words :
         std::vector<std::vector<std::string>>{{"devices", "no-such.csv"},
                                               {"links", "folder"},
                                               {"subscribers", "one.csv", "--building", "9"}}) {
        const CCommandResult result = RunImport(words);
        EXPECT_EQ(result.status, 1) << words[1];
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
    }
    CSQLite3Controller db("./local.db");
    EXPECT_EQ(db.DeviceHeatModel.GetDeviceBySerial(22), nullptr);
}

TEST_F(ImportTest, AProgramKilledHalfWayLeavesNothingOfTheFile) {
    std::string text = "kind;serial;installed;verified;position\n";
    for (int serial = 1000; serial < 11000; ++serial)
        text += Format("water_cold;%d;2024-01-01;2024-01-01;0\n", serial);
    WriteFile("big.csv", text);
    const pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        CSQLite3Controller db("./local.db");
        CImporter importer(db);
        importer.AfterLine = [](int line) {
            if (line == 5000) _exit(9);
        };
        importer.ImportMeters("big.csv");
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), 9);
    CSQLite3Controller db("./local.db");
    EXPECT_EQ(MeterCount(db.DeviceWaterColdModel), 1);

    // Without the kill the whole file is stored, the line a constraint refuses skipped.
    text +=
        "water_cold;87654321;2024-01-01;2024-01-01;0\nwater_cold;11000;2024-01-01;2024-01-01;0\n";
    WriteFile("big.csv", text);
    const CImportResult result = CImporter(db).ImportMeters("big.csv");
    EXPECT_EQ(result.outcome, ImportOutcome::Read);
    EXPECT_EQ(result.stored, 10001);
    EXPECT_EQ(result.skipped, 1);
    EXPECT_EQ(MeterCount(db.DeviceWaterColdModel), 10002);
}

TEST_F(ImportTest, ADatabaseFailureHalfWayRollsTheWholeFileBackWithOneLine) {
    {
        // A failure no line can be blamed for, as a full disk gives, at the 3rd line's insert.
        CSQLite3Controller db("./local.db");
        ASSERT_TRUE(db.Database.Execute(
            "CREATE TRIGGER fail BEFORE INSERT ON devices_water_cold WHEN NEW.serial = 3 "
            "BEGIN SELECT RAISE(ABORT, 'disk I/O error'); END;"));
    }
    WriteFile("three.csv", "h\nwater_cold;1;a;b;0\nwater_cold;2;a;b;0\nwater_cold;3;a;b;0\n");
    const CCommandResult result = RunImport({"devices", "three.csv"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "vevo import: the database failed; nothing of three.csv was stored\n");
    CSQLite3Controller db("./local.db");
    EXPECT_EQ(MeterCount(db.DeviceWaterColdModel), 1);
}
