// The commands in processes of their own, on a local.db as an operator's machine fails it: a
// damaged page, another program holding the write lock, and config.ini on a full disk.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "app/IniFile.h"
#include "database/QueryRows.h"
#include "database/SQLite3Controller.h"
#include "support/ChildProcess.h"
#include "support/DamagedPage.h"
#include "support/ScratchDisk.h"
#include "support/TempWorkDir.h"

namespace {
using namespace std::chrono_literals;

struct CRun {
    int status;
    std::string out;
    std::string err;
};

CRun RunVevo(const std::vector<std::string>& words) {
    std::vector<std::string> command = {VEVO_BINARY};
    command.insert(command.end(), words.begin(), words.end());
    CChild child(command, "vevo.err");
    std::string out = child.ReadRest();
    const int status = ExitStatusOf(child.Wait());
    return {status, std::move(out), ReadFile("vevo.err")};
}

class StorageFaultTest : public ::testing::Test {
protected:
    // A building with apartment 1; its aid.
    static int AddApartmentOne(CSQLite3Controller& db) {
        CDataObject building;
        building.street = "Main";
        CDataSubscriber apartment;
        apartment.bid = db.ObjectModel.InsertObject(building);
        apartment.no = "1";
        return db.SubscriberModel.InsertSubscriber(apartment);
    }

    int CountOf(CSQLite3Controller& db, const std::string& query) {
        CQueryRows rows(db.Database, query);
        return rows.Next() ? rows.Int(0) : -1;
    }

    CTempWorkDir dir_;
};
}  // namespace

// A damaged page under a report: the command fails saying so, rather than print the title row
// alone as if the building had no readings.
TEST_F(StorageFaultTest, ADamagedPageUnderAReportIsAFailureNotAnEmptyReport) {
    {
        CSQLite3Controller db("./local.db");
        CDeviceHeat meter;
        meter.serial = 12345678;
        meter.aid = AddApartmentOne(db);
        CDataHeat reading;
        reading.devid = db.DeviceHeatModel.InsertDevice(meter);
        reading.date = "2024-03-05 12:00";
        reading.q = "100.5";
        ASSERT_EQ(db.DeviceHeatModel.InsertReading(reading), InsertReadingResult::Stored);
    }
    ASSERT_TRUE(DamageTable("local.db", "heat_data_daily"));
    const CRun run = RunVevo({"archive", "--kind", "heat", "--building", "1", "--from",
                              "2024-03-01", "--to", "2024-03-31"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "vevo archive: local.db cannot be read: database disk image is malformed\n");
}

// A damaged page under the table an import writes: nothing is written, where every insert would
// spread the damage, and the operator is told to keep a copy.
TEST_F(StorageFaultTest, AnImportIntoADamagedTableIsRefusedAndTheFileLeftAsItWas) {
    {
        CSQLite3Controller db("./local.db");
        CDevice meter;
        meter.serial = 1;
        db.DeviceWaterColdModel.InsertDevice(meter);
    }
    ASSERT_TRUE(DamageTable("local.db", "devices_water_cold"));
    const std::string damaged = ReadFile("local.db");
    WriteFile("meters.csv", "h\nwater_cold;2;2024-01-01;2024-01-01;0\n");
    const CRun run = RunVevo({"import", "devices", "meters.csv"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err.rfind("vevo import: local.db is damaged (*** in database main *** ", 0), 0u)
        << run.err;
    EXPECT_NE(run.err.find("; nothing was written to it. Keep a copy of it before anything is "
                           "done to mend it\n"),
              std::string::npos)
        << run.err;
    EXPECT_TRUE(ReadFile("local.db") == damaged) << "the file was written";
}

// Another program takes the write lock again and again, holding it for 300 ms each time, while a
// link import reads through 50,000 lines of meters it does not know before its one binding. The
// import takes the lock as its transaction begins and waits for it as any statement does, so it
// is stored whole; had it begun without the lock, the other program would have taken it during
// the reads, and the import's first write could not have waited for it.
TEST_F(StorageFaultTest, AnImportBesideAnotherWriterWaitsForTheLockAndIsStoredWhole) {
    {
        CSQLite3Controller db("./local.db");
        AddApartmentOne(db);
        CDevice meter;
        meter.serial = 70000001;
        db.DeviceWaterColdModel.InsertDevice(meter);
    }
    std::string links;
    for (int i = 0; i < 50000; ++i) links += "water_cold;" + std::to_string(80000000 + i) + ";1\n";
    WriteFile("links.csv", links + "water_cold;70000001;1\n");

    std::atomic<bool> importEnded = false;
    int commits = 0;
    int refused = 0;
    std::thread other([&] {
        CSQLite3Controller db("./local.db");
        while (!importEnded) {
            if (!db.Database.Execute("BEGIN IMMEDIATE; INSERT INTO buildings(street) "
                                     "VALUES('other');")) {
                ++refused;
                continue;
            }
            std::this_thread::sleep_for(300ms);
            db.Database.Execute("COMMIT;") ? ++commits : ++refused;
            std::this_thread::sleep_for(100ms);
        }
    });
    const CRun run = RunVevo({"import", "links", "links.csv"});
    importEnded = true;
    other.join();

    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("\n1 stored, 0 unbound, 50000 skipped\n"), std::string::npos);
    CSQLite3Controller db("./local.db");
    EXPECT_EQ(CountOf(db, "SELECT aid FROM devices_water_cold WHERE serial = 70000001;"), 1);
    EXPECT_GT(commits, 0);
    EXPECT_EQ(refused, 0);
    EXPECT_EQ(CountOf(db, "SELECT COUNT(*) FROM buildings WHERE street = 'other';"), commits);
}

// config.ini is saved on a disk with no room left: the old file stays whole, and the value is
// kept in memory; once there is room, the next save writes it.
TEST_F(StorageFaultTest, ConfigIniSavedOnAFullDiskKeepsTheOldFileWhole) {
    CScratchDisk disk(dir_.Path() / "disk", 200);
    if (!disk.Mounted()) GTEST_SKIP() << disk.WhyNot();
    const std::string old = "[SERIAL]\r\nCOM = \\\\.\\COM3\r\nBAUD = 9600\r\n";
    WriteFile(disk.Path() / "config.ini", old);
    std::filesystem::current_path(disk.Path());
    CIniFile ini;
    disk.Fill();
    ini.SetValue("SERIAL", "COM", std::string(300, 'x').c_str());
    EXPECT_EQ(ReadFile("config.ini"), old);
    EXPECT_FALSE(std::filesystem::exists("config.ini.new"));
    CIniValue value;
    ini.GetValue("SERIAL", "COM", value);
    EXPECT_EQ(value, std::string(300, 'x'));

    disk.Free();
    ini.SetValue("SERIAL", "BAUD", "1200");
    EXPECT_EQ(ReadFile("config.ini"),
              "[SERIAL]\r\nCOM = " + std::string(300, 'x') + "\r\nBAUD = 1200\r\n");
    std::filesystem::current_path(dir_.Path());
}
