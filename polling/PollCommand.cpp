#include "polling/PollCommand.h"

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "app/ProgramObjects.h"
#include "app/toolkit/CommandLine.h"
#include "database/WriteCheck.h"
#include "polling/PollingTables.h"
#include "polling/TextPollingScreen.h"
#include "polling/ThreadLoraDevicePolling.h"
#include "serial/LineSpeeds.h"
#include "serial/LinkErrors.h"
#include "serial/LinkSettings.h"
#include "serial/ProcessComPort.h"

namespace {

struct CPollArguments {
    std::string port;
    unsigned baud = 9600;
    std::optional<unsigned> silenceMs;
    std::optional<int> kind;
    std::optional<std::string> number;
    std::optional<int> family;
};

std::optional<unsigned> ParseUnsigned(std::string_view text, unsigned long maximum) {
    if (text.empty() || text.size() > 10) return std::nullopt;
    unsigned long value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + static_cast<unsigned long>(c - '0');
    }
    if (value > maximum) return std::nullopt;
    return static_cast<unsigned>(value);
}

std::optional<int> KindNamed(std::string_view name) {
    if (name == "heat") return PollKindHeat;
    if (name == "water_cold") return PollKindWaterCold;
    if (name == "water_hot") return PollKindWaterHot;
    return std::nullopt;
}

std::optional<int> FamilyNamed(std::string_view name) {
    if (name == "heat") return 0;
    if (name == "water") return 1;
    return std::nullopt;
}

// Empty when the arguments are sound, else the one-line complaint.
std::string Check(const CCommandLine& line, CPollArguments& arguments) {
    arguments.port = line.Value("port");
    if (line.IsSet("baud")) {
        const auto baud = ParseUnsigned(line.Value("baud"), 1000000);
        // Not the silent 300 bit/s a window's unknown speed falls back to: a script that asks
        // for a speed the line does not offer has made a mistake.
        if (!baud || !IsLineSpeed(*baud))
            return "--baud takes a speed the line offers: 300, 600, 1200, 1800, 2400, 4800, "
                   "9600, 19200 or 38400";
        arguments.baud = *baud;
    }
    if (line.IsSet("silence-ms")) {
        const auto silence = ParseUnsigned(line.Value("silence-ms"), 600000);
        if (!silence) return "--silence-ms takes a number of milliseconds up to 600000";
        arguments.silenceMs = *silence;
    }
    if (line.IsSet("kind")) {
        arguments.kind = KindNamed(line.Value("kind"));
        if (!arguments.kind) return "--kind takes heat, water_cold or water_hot";
    }
    if (line.IsSet("number")) {
        arguments.number = line.Value("number");
        if (!ParseUnsigned(*arguments.number, 99999999))
            return "--number takes a serial number of up to 8 digits";
    }
    if (line.IsSet("family")) {
        arguments.family = FamilyNamed(line.Value("family"));
        if (!arguments.family) return "--family takes heat or water";
    }
    if (arguments.port.empty()) return "--port is required";
    if (arguments.kind && (arguments.number || arguments.family))
        return "--kind does not go with --number or --family";
    if (!arguments.kind && !(arguments.number && arguments.family)) {
        return "give --kind, or --number with --family";
    }
    return {};
}

}  // namespace

const CCommandSyntax kPollCommand = {
    "poll",
    "read the stored meters of one kind, or one meter by its number",
    {"--port PATH [--baud N] --kind heat|water_cold|water_hot [--silence-ms MS]",
     "--port PATH [--baud N] --number SERIAL --family heat|water [--silence-ms MS]"},
    "Reads the stored meters of one kind, as the polling screen does, printing each meter's "
    "row (cells joined by tabs) as soon as it is done and storing the good readings; or reads "
    "one meter by its number and stores nothing. Works in the working directory's local.db, "
    "config.ini and console.log. Link errors go to standard error, each once.",
    {},
    {{"port", "PATH", "the serial port (/dev/ttyUSB0) or a serial device server (tcp:HOST:PORT)"},
     {"baud", "N",
      "the line speed: 300, 600, 1200, 1800, 2400, 4800, 9600, 19200 or 38400 (default 9600)"},
     {"kind", "heat|water_cold|water_hot", "read every stored meter of this kind"},
     {"number", "SERIAL", "read the one meter with this serial number, up to 8 digits"},
     {"family", "heat|water", "what the meter read by --number measures"},
     {"silence-ms", "MS",
      "the silence in milliseconds that ends a reply, 0 to 600000 (default 9000)"}},
    {{0,
      "the run completed, whatever the meters answered, and every reading answered is stored "
      "(a read by number: its answer came)"},
     {1,
      "a read by number got no answer, the port could not be opened, the link was lost during the run, local.db cannot be "
      "opened, created, written or read, the tables a walk writes are damaged (nothing is "
      "written then), or readings answered could not be stored (how many, and SQLite's reason "
      "for the first, on standard error)"},
     {2, "bad arguments"}},
};

int RunPollCommand(int argc, char** argv) {
    CCommandLine line(kPollCommand);
    if (const auto status = line.Parse(argc, argv)) return *status;
    CPollArguments arguments;
    if (const std::string complaint = Check(line, arguments); !complaint.empty())
        return line.Refuse(complaint);

    CProgramObjects program;
    // A read by number stores nothing, so only the file's writability is asked of it.
    const auto refusal = CheckBeforeWriting(
        DbController->Database,
        arguments.kind ? TablesWrittenByWalk(*arguments.kind) : std::vector<const char*>{});
    if (refusal) {
        std::fprintf(stderr, "vevo poll: %s\n", RefusalLine(*refusal).c_str());
        return 1;
    }
    // Link errors go to standard error, each once, and count as Cancel: nobody is there to
    // retry, and a lost link stays closed, so every meter after it would say so again.
    bool said[2] = {};
    const auto say = [&said](int kind, const char* text) {
        if ((kind == LinkErrorLost || kind == LinkErrorCannotOpen) &&
            !std::exchange(said[kind], true))
            std::fprintf(stderr, "%s\n", text);
    };
    SetLinkErrorHandler([&say](int kind, const char* text) {
        say(kind, text);
        return false;
    });
    CLinkSettings settings = LinkSettingsFrom(*IniFile);
    if (arguments.silenceMs) settings.silenceMs = *arguments.silenceMs;
    const int status = [&] {
        CProcessComPort link(arguments.port.c_str(), arguments.baud, settings);
        // The open failure has been printed; walking a link that never opened would only add
        // two more complaints per meter.
        if (!link.IsOpen()) return 1;
        CTextPollingScreen screen(*DbController, arguments.kind.value_or(0), !arguments.kind,
                                  arguments.family.value_or(0), arguments.number.value_or(""),
                                  stdout);
        TThread::StartThread<ThreadLoraDevicePolling>(link, *DbController, screen)->WaitFor();
        // Readings not stored are no run completed, though their rows look like silent meters'.
        for (const std::string& failure : PollFailureLines(screen.Failures()))
            std::fprintf(stderr, "vevo poll: %s\n", failure.c_str());
        // The meters after a lost link were never asked: a scheduler must not take the run for
        // one whose meters just did not answer. A link lost in the last reply has had no
        // exchange after it to say so.
        if (!link.IsOpen()) say(LinkErrorLost, LinkErrorText(LinkErrorLost));
        // A read by number has one meter: its silence is the run's whole result.
        return link.IsOpen() && !screen.Failures().Any() && !screen.NoAnswer() ? 0 : 1;
    }();
    SetLinkErrorHandler({});
    return status;
}
