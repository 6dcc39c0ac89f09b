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
#include "directory/import/MeterKinds.h"
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

// Where an apartment is, as the expected files write it: "вул. Шевченка 1 / 15".
std::string PlaceOf(const CDataSubscriber& apartment) {
    const CDataObject* building = apartment.object.get();
    const std::string address = building == nullptr ? "-"
                                                    : Cp1251ToUtf8(building->street.view()) + " " +
                                                          Cp1251ToUtf8(building->no.view());
    return address + " / " + Cp1251ToUtf8(apartment.no.view());
}

// Every meter and apartment of local.db, one line each.
std::vector<std::string> StoredRows() {
    CSQLite3Controller db("./local.db");
    std::vector<std::string> rows;
    const char* kinds[] = {"heat", "water_cold", "water_hot"};
    for (int kind = 0; kind < MeterKindCount; ++kind) {
        const auto meters = DeviceModelOf(db, kind).GetDevices();
        for (const auto& meter : *meters) {
            const auto* heat = dynamic_cast<const CDeviceHeat*>(meter.get());
            rows.push_back(
                Format("meter %s %08d: %s, %s, %d months%s, %s", kinds[kind], meter->serial,
                       Cp1251ToUtf8(meter->date_install.view()).c_str(),
                       Cp1251ToUtf8(meter->date_initial_verification.view()).c_str(),
                       meter->calibration_interval,
                       heat != nullptr ? Format(", position %d", heat->position).c_str() : "",
                       meter->subscriber ? PlaceOf(*meter->subscriber).c_str() : "unbound"));
        }
    }
    const auto apartments = db.SubscriberModel.GetSubscribers();
    for (const auto& apartment : *apartments) {
        rows.push_back(Format("apartment %s: %s; %s %s %s; %g / %g; %d residents; type %d; mzk %d",
                              PlaceOf(*apartment).c_str(),
                              Cp1251ToUtf8(apartment->licno.view()).c_str(),
                              Cp1251ToUtf8(apartment->sname.view()).c_str(),
                              Cp1251ToUtf8(apartment->name.view()).c_str(),
                              Cp1251ToUtf8(apartment->fname.view()).c_str(),
                              apartment->total_floor_area, apartment->heated_floor_area,
                              apartment->num_reg_peopl, apartment->type_room, apartment->mzk));
    }
    return rows;
}

// Two buildings sharing apartment number 15, and a few meters, in the working directory's
// local.db.
class ImportTest : public ::testing::Test {
protected:
    CTempWorkDir dir_;

    void SetUp() override {
        CSQLite3Controller db("./local.db");
        const int first = AddBuilding(db, "вул. Шевченка", "1");
        const int second = AddBuilding(db, "просп. Свободи", "12а");
        for (const char* no : {"1", "2", "15"}) AddApartment(db, first, no);
        for (const char* no : {"15", "7", "12а"}) AddApartment(db, second, no);
        for (int serial : {11111111, 5, 7}) AddMeter(db.DeviceHeatModel, serial);
        AddMeter(db.DeviceWaterColdModel, 87654321);
        AddMeter(db.DeviceWaterHotModel, 12345678);
    }

    static int AddBuilding(CSQLite3Controller& db, const char* street, const char* house) {
        CDataObject building;
        building.street = Utf8ToCp1251(street);
        building.no = Utf8ToCp1251(house);
        return db.ObjectModel.InsertObject(building);
    }
    static void AddApartment(CSQLite3Controller& db, int bid, const char* no) {
        CDataSubscriber apartment;
        apartment.bid = bid;
        apartment.no = Utf8ToCp1251(no);
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

TEST_F(ImportTest, EveryFileOfTheFolderStoresWhatItsExpectedFileSays) {
    // NAME.KIND.csv beside NAME.expected: what the command prints (its standard output, then its
    // standard error, which also means exit status 1), then after "stored:" every meter and
    // apartment row that the import added or changed. Apartments go to building 1.
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
        // Copied here, so that the command names it as the expected file does.
        std::filesystem::copy_file(file, file.filename());
        std::vector<std::string> words = {kind, file.filename().string()};
        if (kind == "subscribers") words.insert(words.end(), {"--building", "1"});
        const std::vector<std::string> before = StoredRows();
        const CCommandResult result = RunImport(words);
        std::string printed = result.out + result.err + "stored:\n";
        for (const std::string& row : StoredRows()) {
            if (std::find(before.begin(), before.end(), row) == before.end()) printed += row + "\n";
        }
        EXPECT_EQ(result.status, result.err.empty() ? 0 : 1) << file << result.err;
        EXPECT_EQ(printed, ReadFile(expected)) << file;
        ++walked;
    }
    EXPECT_GE(walked, 12);
}

TEST_F(ImportTest, ALinkToANumberNoApartmentHasUnbindsTheMeter) {
    // A Cyrillic file name, as the operator's files are named.
    WriteFile("Прив'язка.csv", "heat;5;7\n");
    ASSERT_EQ(RunImport({"links", "Прив'язка.csv"}).out, "1 stored, 0 unbound, 0 skipped\n");
    WriteFile("unbind.csv", "heat;5;99\nheat;7;99\n");
    EXPECT_EQ(RunImport({"links", "unbind.csv"}).out,
              "line 1: no apartment 99; meter unbound\nline 2: no apartment 99; meter unbound\n"
              "0 stored, 2 unbound, 0 skipped\n");
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

    // Stored again, every line is skipped; the first thousand reasons are kept.
    const CCommandResult again = RunImport({"devices", "big.csv"});
    EXPECT_EQ(std::count(again.out.begin(), again.out.end(), '\n'), 1002);
    EXPECT_NE(
        again.out.find("\nline 1001: meter 1999 already stored\n9002 more remarks not listed\n"
                       "0 stored, 0 unbound, 10002 skipped\n"),
        std::string::npos)
        << again.out.substr(again.out.size() - 200);
}

TEST_F(ImportTest, ADatabaseFailureHalfWayRollsTheWholeFileBackWithOneLine) {
    {
        // A failure no line can be blamed for, as a full disk gives, at the 3rd line's insert.
        CSQLite3Controller db("./local.db");
        ASSERT_TRUE(db.Database.Execute(
            "CREATE TRIGGER fail BEFORE INSERT ON devices_water_cold WHEN NEW.serial = 3 "
            "BEGIN SELECT RAISE(ABORT, 'disk I/O error'); END;"));
    }
    WriteFile("three.csv",
              "h\nwater_cold;1;2024-01-01;2024-01-01;0\nwater_cold;2;2024-01-01;2024-01-01;0\n"
              "water_cold;3;2024-01-01;2024-01-01;0\n");
    const CCommandResult result = RunImport({"devices", "three.csv"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err,
              "vevo import: the database failed; nothing of three.csv was stored: disk I/O "
              "error\n");
    CSQLite3Controller db("./local.db");
    EXPECT_EQ(MeterCount(db.DeviceWaterColdModel), 1);
}
