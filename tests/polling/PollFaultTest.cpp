// `vevo poll` as a scheduler runs it, in processes of its own, against the simulator process and
// a real local.db: killed at any moment, with the line lost or frozen under it, and beside
// another program writing to the same file.
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "Utils/Format.h"
#include "database/QueryRows.h"
#include "polling/PollingFixture.h"
#include "support/ChildProcess.h"
#include "support/DamagedPage.h"
#include "support/ScratchDisk.h"

namespace {
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// One printed meter row: its serial and the status cell that ends it.
struct CPrintedRow {
    unsigned serial = 0;
    std::string status;
};

std::vector<CPrintedRow> RowsOf(const std::string& output) {
    std::vector<CPrintedRow> rows;
    std::size_t start = 0;
    for (std::size_t end; (end = output.find('\n', start)) != std::string::npos; start = end + 1) {
        const std::string line = output.substr(start, end - start);
        rows.push_back({static_cast<unsigned>(std::strtoul(line.c_str(), nullptr, 10)),
                        line.substr(line.rfind('\t') + 1)});
    }
    return rows;
}

// The simulator on a pseudo-terminal, or behind a device server on loopback TCP.
enum class Line { Terminal, Network };

class PollFaultTest : public PollingTest {
protected:
    // The simulator process playing `meters` (simulator --meter texts); its port in `port_`.
    // `lineOptions` are the simulator's own (--delay, --no-pace).
    std::unique_ptr<CChild> StartSimulatorProcess(
        const std::vector<std::string>& meters, Line line = Line::Terminal,
        const std::vector<std::string>& lineOptions = {}) {
        std::vector<std::string> words = {VEVO_SIMULATOR_BINARY};
        words.insert(words.end(), lineOptions.begin(), lineOptions.end());
        if (line == Line::Network) {
            words.insert(words.end(), {"--tcp", "0"});
        } else {
            words.push_back("--no-link");
        }
        for (const std::string& meter : meters) words.insert(words.end(), {"--meter", meter});
        auto simulator = std::make_unique<CChild>(words, "simulator.err");
        // "Port PATH with N meter(s)"
        const std::string first = simulator->ReadLine().value_or("");
        const std::size_t with = first.find(" with ");
        port_ = first.rfind("Port ", 0) == 0 && with != std::string::npos
                    ? first.substr(5, with - 5)
                    : "";
        return simulator;
    }

    // The poll works in `workDir` when one is given.
    std::unique_ptr<CChild> StartPoll(const std::string& kind, unsigned silenceMs,
                                      const std::string& workDir = {}) {
        return std::make_unique<CChild>(
            std::vector<std::string>{VEVO_BINARY, "poll", "--port", port_, "--kind", kind,
                                     "--silence-ms", Format("%u", silenceMs)},
            "poll.err", workDir);
    }

    // Cold-water meters stored in the local.db of `folder`.
    static void AddColdMetersIn(const std::filesystem::path& folder,
                                const std::vector<int>& serials) {
        CSQLite3Controller db((folder / "local.db").c_str());
        for (const int serial : serials) {
            CDevice meter;
            meter.serial = serial;
            db.DeviceWaterColdModel.InsertDevice(meter);
        }
    }

    std::string IntegrityOfFile() {
        CQueryRows rows(db_.Database, "PRAGMA integrity_check;");
        std::string result;
        while (rows.Next()) result += std::string(rows.Text(0)) + "\n";
        return result;
    }

    int CountOf(const std::string& query) {
        CQueryRows rows(db_.Database, query);
        return rows.Next() ? rows.Int(0) : -1;
    }

    // How many readings of `readings` each meter of `devices` has, by serial.
    std::map<unsigned, int> ReadingsBySerial(const std::string& devices,
                                             const std::string& readings) {
        std::map<unsigned, int> counts;
        CQueryRows rows(db_.Database, "SELECT d.serial, COUNT(r.devid) FROM " + devices +
                                          " d LEFT JOIN " + readings +
                                          " r ON r.devid = d.devid GROUP BY d.serial;");
        while (rows.Next()) counts[static_cast<unsigned>(rows.Int(0))] = rows.Int(1);
        return counts;
    }

    std::string port_;
};

// A seed from the environment repeats a failed run.
unsigned SeedOfRun() {
    if (const char* seed = std::getenv("VEVO_FAULT_SEED")) return std::strtoul(seed, nullptr, 10);
    return std::random_device{}();
}

constexpr unsigned kFirstSerial = 31000001;
constexpr int kWalkMeters = 6;

// The walk's meters with the meter clocks of round `round`, so each round's readings are new;
// the fourth never answers.
std::vector<std::string> WalkMeters(int round) {
    std::vector<std::string> meters;
    for (int i = 0; i < kWalkMeters; ++i) {
        meters.push_back(Format("heat:%u,q=%d.25,t1=60.50,t2=41.25,clock=2025-03-%02dT%02d:%02d",
                                kFirstSerial + i, 100 + round, 1 + round / 24, round % 24, i) +
                         (i == 3 ? ",silent" : ""));
    }
    return meters;
}
}  // namespace

// A kill may come at any moment: while the command starts, sends, waits, stores or prints. The
// replies go unpaced, so the kills fall on the program's own work rather than on the line's.
// Whatever it cut short, the file stays sound, every row printed "OK" is stored, and nothing
// else is stored but the one meter whose row was about to be printed.
TEST_F(PollFaultTest, AKilledPollHasStoredExactlyWhatItPrinted) {
    for (int i = 0; i < kWalkMeters; ++i) AddMeter(PollKindHeat, kFirstSerial + i);
    const unsigned seed = SeedOfRun();
    SCOPED_TRACE(Format("VEVO_FAULT_SEED=%u", seed));
    std::mt19937 random(seed);

    // A whole walk first: what every round would print without the kill, and how long it takes.
    Clock::duration walk{};
    {
        auto simulator = StartSimulatorProcess(WalkMeters(0), Line::Terminal, {"--no-pace"});
        const Clock::time_point start = Clock::now();
        auto poll = StartPoll("heat", kSilenceMs);
        const std::string output = poll->ReadRest();
        ASSERT_EQ(ExitStatusOf(poll->Wait()), 0) << ReadFile("poll.err");
        walk = Clock::now() - start;
        const auto rows = RowsOf(output);
        ASSERT_EQ(rows.size(), static_cast<std::size_t>(kWalkMeters)) << output;
        for (int i = 0; i < kWalkMeters; ++i)
            EXPECT_EQ(rows[i].status, i == 3 ? "Ошибка" : "OK") << output;
    }

    std::uniform_int_distribution<long long> moment(0, walk.count());
    for (int round = 1; round <= 20; ++round) {
        SCOPED_TRACE(Format("round %d", round));
        const auto before = ReadingsBySerial("devices_heat", "heat_data_current");
        auto simulator = StartSimulatorProcess(WalkMeters(round), Line::Terminal, {"--no-pace"});
        auto poll = StartPoll("heat", kSilenceMs);
        std::this_thread::sleep_for(Clock::duration(moment(random)));
        poll->Signal(SIGKILL);
        const std::optional<int> status = poll->Wait();
        ASSERT_TRUE(status.has_value());
        const auto rows = RowsOf(poll->ReadRest());

        ASSERT_EQ(IntegrityOfFile(), "ok\n");
        auto added = ReadingsBySerial("devices_heat", "heat_data_current");
        for (auto& [serial, count] : added) count -= before.at(serial);
        ASSERT_LE(rows.size(), static_cast<std::size_t>(kWalkMeters));
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const unsigned serial = kFirstSerial + static_cast<unsigned>(i);
            EXPECT_EQ(rows[i].serial, serial) << "rows go out in list order";
            EXPECT_EQ(added[serial], rows[i].status == "OK" ? 1 : 0) << serial;
        }
        // The meter after the last row printed may have been stored just before the kill.
        for (unsigned i = static_cast<unsigned>(rows.size()) + 1; i < kWalkMeters; ++i)
            EXPECT_EQ(added[kFirstSerial + i], 0) << kFirstSerial + i;
        if (rows.size() < static_cast<std::size_t>(kWalkMeters)) {
            EXPECT_LE(added[kFirstSerial + static_cast<unsigned>(rows.size())], 1);
        }
        if (HasFailure()) break;
    }
}

namespace {
struct CLineFault {
    const char* name;
    Line line;
    int signal;  // SIGKILL: the line is lost; SIGSTOP: it freezes, neither answering nor closing
    std::size_t rowsBefore;  // rows printed before the signal
};
}  // namespace

// After a meter's row the simulator is killed or frozen, well before its next reply is due. The
// command still ends by itself, the meters left show "Ошибка", a lost line is said once on
// standard error and makes the run a failure (lost in the last reply too, with no exchange after
// it to notice), a frozen one is only silence.
TEST_F(PollFaultTest, ALineLostOrFrozenMidWalkEndsTheRunWithTheRestAsErrors) {
    constexpr unsigned kReplyDelayMs = 400;
    constexpr unsigned kSilence = 700;
    const std::vector<std::string> meters = {"water:41000001,v=1.500", "water:41000002,v=2.500",
                                             "water:41000003,v=3.500"};
    for (unsigned serial : {41000001u, 41000002u, 41000003u})
        AddMeter(PollKindWaterCold, static_cast<int>(serial));
    for (const CLineFault& fault :
         {CLineFault{"pseudo-terminal lost", Line::Terminal, SIGKILL, 1},
          CLineFault{"network lost", Line::Network, SIGKILL, 1},
          CLineFault{"lost in the last reply", Line::Terminal, SIGKILL, 2},
          CLineFault{"pseudo-terminal frozen", Line::Terminal, SIGSTOP, 1},
          CLineFault{"network frozen", Line::Network, SIGSTOP, 1}}) {
        SCOPED_TRACE(fault.name);
        db_.Database.Execute("DELETE FROM water_cold_data_current;");
        auto simulator =
            StartSimulatorProcess(meters, fault.line, {"--delay", Format("%u", kReplyDelayMs)});
        ASSERT_FALSE(port_.empty()) << ReadFile("simulator.err");
        auto poll = StartPoll("water_cold", kSilence);
        std::string output;
        for (std::size_t row = 0; row < fault.rowsBefore; ++row)
            output += poll->ReadLine().value_or("") + "\n";
        simulator->Signal(fault.signal);
        const std::optional<int> status = poll->Wait();
        ASSERT_TRUE(status.has_value()) << "the command hung";
        const std::string err = ReadFile("poll.err");
        const auto rows = RowsOf(output + poll->ReadRest());

        ASSERT_EQ(rows.size(), 3u) << err;
        for (std::size_t row = 0; row < rows.size(); ++row)
            EXPECT_EQ(rows[row].status, row < fault.rowsBefore ? "OK" : "Ошибка") << row;
        EXPECT_EQ(CountOf("SELECT COUNT(*) FROM water_cold_data_current;"),
                  static_cast<int>(fault.rowsBefore));
        if (fault.signal == SIGKILL) {
            EXPECT_EQ(ExitStatusOf(status), 1) << err;
            EXPECT_EQ(err, "Соединение было прервано.\n");
        } else {
            EXPECT_EQ(ExitStatusOf(status), 0) << err;
            EXPECT_EQ(err, "");
        }
    }
}

// The window (here the test's own connection) writes to local.db while a scheduled poll stores
// its readings: short writes one after another, and now and then the write lock held for most
// of a second, below the busy time-out. The poll waits its turn: every reading is stored and
// shown "OK", and none of the other program's rows is lost either.
TEST_F(PollFaultTest, APollBesideAnotherWriterOfTheFileLosesNoReading) {
    constexpr int kMeters = 8;
    std::vector<std::string> meters;
    for (int i = 0; i < kMeters; ++i) {
        AddMeter(PollKindWaterCold, 51000001 + i);
        meters.push_back(Format("water:%d,v=%d.125", 51000001 + i, 10 + i));
    }
    auto simulator = StartSimulatorProcess(meters);
    auto poll = StartPoll("water_cold", kSilenceMs);

    std::atomic<bool> pollEnded = false;
    int written = 0;
    int refused = 0;
    std::thread writer([&] {
        CSQLite3Controller other("./local.db");
        for (int i = 0; !pollEnded; ++i) {
            const bool hold = i % 25 == 24;
            if (hold && !other.Database.Execute("BEGIN IMMEDIATE;")) ++refused;
            const bool stored = other.Database.Execute(
                Format("INSERT INTO heat_data_current(devid, date, q) VALUES(9000, "
                       "'2025-04-01 %02d:%02d', %d);",
                       i / 60, i % 60, i)
                    .c_str());
            stored ? ++written : ++refused;
            if (hold) {
                other.Database.Execute("INSERT INTO buildings(street, no) VALUES('Held', '1');");
                std::this_thread::sleep_for(700ms);
                if (!other.Database.Execute("COMMIT;")) ++refused;
            }
            std::this_thread::sleep_for(hold ? 150ms : 5ms);
        }
    });
    const std::string output = poll->ReadRest();
    const std::optional<int> status = poll->Wait();
    pollEnded = true;
    writer.join();

    EXPECT_EQ(ExitStatusOf(status), 0) << ReadFile("poll.err");
    const auto rows = RowsOf(output);
    ASSERT_EQ(rows.size(), static_cast<std::size_t>(kMeters)) << output;
    for (const CPrintedRow& row : rows) EXPECT_EQ(row.status, "OK") << row.serial;
    for (const auto& [serial, count] :
         ReadingsBySerial("devices_water_cold", "water_cold_data_current"))
        EXPECT_EQ(count, 1) << serial;
    EXPECT_EQ(refused, 0);
    EXPECT_GT(CountOf("SELECT COUNT(*) FROM buildings WHERE street = 'Held';"), 0)
        << "the lock was held during the walk";
    EXPECT_EQ(CountOf("SELECT COUNT(*) FROM heat_data_current WHERE devid = 9000;"), written);
    EXPECT_EQ(IntegrityOfFile(), "ok\n");
    EXPECT_EQ(ReadFile("console.log").find("Reading not stored"), std::string::npos);
}

// The disk fills during a walk, after the first reading is stored. The rows of the others show
// "Ошибка", as before; but the run is now a failure that says once how many readings were not
// stored and why, where the log, on the same full disk, could not.
TEST_F(PollFaultTest, AWalkWhoseDiskFillsIsAFailureSayingHowManyReadingsWereNotStoredAndWhy) {
    CScratchDisk disk(dir_.Path() / "disk", 400);
    if (!disk.Mounted()) GTEST_SKIP() << disk.WhyNot();
    AddColdMetersIn(disk.Path(), {61000001, 61000002, 61000003});
    auto simulator = StartSimulatorProcess(
        {"water:61000001,v=1.500", "water:61000002,v=2.500", "water:61000003,v=3.500"},
        Line::Terminal, {"--delay", "300"});
    // A silence longer than the delay: each reply is waited for.
    auto poll = StartPoll("water_cold", 700, disk.Path());
    const std::string first = poll->ReadLine().value_or("") + "\n";
    disk.Fill();
    const std::string rest = poll->ReadRest();
    const std::optional<int> status = poll->Wait();
    disk.Free();

    const auto rows = RowsOf(first + rest);
    ASSERT_EQ(rows.size(), 3u) << first + rest;
    EXPECT_EQ(rows[0].status, "OK");
    EXPECT_EQ(rows[1].status, "Ошибка");
    EXPECT_EQ(rows[2].status, "Ошибка");
    EXPECT_EQ(ExitStatusOf(status), 1);
    EXPECT_EQ(ReadFile("poll.err"),
              "vevo poll: 2 readings could not be stored in local.db: database or disk is full\n");
    CSQLite3Controller db((disk.Path() / "local.db").c_str());
    CQueryRows readings(db.Database, "SELECT COUNT(*) FROM water_cold_data_current;");
    EXPECT_TRUE(readings.Next() && readings.Int(0) == 1);
    CQueryRows check(db.Database, "PRAGMA integrity_check;");
    EXPECT_TRUE(check.Next() && check.Text(0) == "ok");
}

// A disk already full, and a folder where nothing can be made beside local.db (so no rollback
// journal either): the command's first write, rolled back, fails, so no meter is asked, and the
// reason is printed.
TEST_F(PollFaultTest, AFileThatTakesNoWriteIsRefusedBeforeTheWalkWithSQLitesReason) {
    CScratchDisk full(dir_.Path() / "full", 400);
    if (!full.Mounted()) GTEST_SKIP() << full.WhyNot();
    AddColdMetersIn(full.Path(), {62000001});
    full.Fill();
    AddMeter(PollKindWaterCold, 62000001);
    CScratchDisk folder(dir_.Path() / "folder", 400);
    ASSERT_TRUE(folder.MakeReadOnlyBut("local.db", dir_.Path() / "local.db"));

    for (const auto& [disk, reason] : {std::pair{&full, "database or disk is full"},
                                       std::pair{&folder, "unable to open database file"}}) {
        SCOPED_TRACE(disk->Path().filename().string());
        auto simulator = StartSimulatorProcess({"water:62000001,v=1.500"});
        auto poll = StartPoll("water_cold", kSilenceMs, disk->Path());
        EXPECT_EQ(poll->ReadRest(), "") << "no meter is walked";
        EXPECT_EQ(ExitStatusOf(poll->Wait()), 1);
        EXPECT_EQ(ReadFile("poll.err"),
                  std::string("vevo poll: local.db cannot be written: ") + reason + "\n");
    }
}

// A damaged page under the table a walk writes: the walk is refused and the file left as it
// was, where writing would spread the damage. A damaged page under the meter list: the run is a
// failure that says so, not an empty walk.
TEST_F(PollFaultTest, ADamagedFileIsNeverWrittenIntoAndAnUnreadableMeterListIsAFailure) {
    for (int i = 0; i < 3; ++i) AddMeter(PollKindHeat, kFirstSerial + i);
    db_.Database.Close();
    const std::string sound = ReadFile("local.db");
    for (const auto& [table, said] :
         {std::pair{"heat_data_current",
                    "vevo poll: local.db is damaged (*** in database main *** "},
          std::pair{"devices_heat",
                    "vevo poll: local.db cannot be read: database disk image is malformed\n"}}) {
        SCOPED_TRACE(table);
        WriteFile("local.db", sound);
        ASSERT_TRUE(DamageTable("local.db", table));
        const std::string damaged = ReadFile("local.db");
        auto simulator = StartSimulatorProcess(WalkMeters(0));
        auto poll = StartPoll("heat", kSilenceMs);
        EXPECT_EQ(RowsOf(poll->ReadRest()).size(), 0u);
        EXPECT_EQ(ExitStatusOf(poll->Wait()), 1);
        EXPECT_EQ(ReadFile("poll.err").rfind(said, 0), 0u) << ReadFile("poll.err");
        EXPECT_TRUE(ReadFile("local.db") == damaged) << "the file was written";
    }
}
