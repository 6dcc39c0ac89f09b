#include "polling/PollCommand.h"

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "app/ProgramObjects.h"
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
std::string Parse(int argc, char** argv, CPollArguments& arguments) {
    for (int i = 2; i < argc; ++i) {
        const std::string_view option = argv[i];
        if (i + 1 >= argc) return "missing value for " + std::string(option);
        const std::string_view value = argv[++i];
        if (option == "--port") {
            arguments.port = value;
        } else if (option == "--baud") {
            const auto baud = ParseUnsigned(value, 1000000);
            // Not the silent 300 bit/s a window's unknown speed falls back to: a script that
            // asks for a speed the line does not offer has made a mistake.
            if (!baud || SpeedCodeOf(*baud) == B0)
                return "--baud takes a speed the line offers: 300, 600, 1200, 1800, 2400, 4800, "
                       "9600, 19200 or 38400";
            arguments.baud = *baud;
        } else if (option == "--silence-ms") {
            const auto silence = ParseUnsigned(value, 600000);
            if (!silence) return "--silence-ms takes a number of milliseconds up to 600000";
            arguments.silenceMs = *silence;
        } else if (option == "--kind") {
            arguments.kind = KindNamed(value);
            if (!arguments.kind) return "--kind takes heat, water_cold or water_hot";
        } else if (option == "--number") {
            if (!ParseUnsigned(value, 99999999))
                return "--number takes a serial number of up to 8 digits";
            arguments.number = value;
        } else if (option == "--family") {
            arguments.family = FamilyNamed(value);
            if (!arguments.family) return "--family takes heat or water";
        } else {
            return "unknown option " + std::string(option);
        }
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

int RunPollCommand(int argc, char** argv) {
    CPollArguments arguments;
    if (const std::string complaint = Parse(argc, argv, arguments); !complaint.empty()) {
        std::fprintf(stderr, "vevo poll: %s\n", complaint.c_str());
        return 2;
    }

    CProgramObjects program;
    if (const std::string why = DbController->Database.WhyNotWritable(); !why.empty()) {
        std::fprintf(stderr, "vevo poll: local.db %s\n", why.c_str());
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
        // The meters after a lost link were never asked: a scheduler must not take the run for
        // one whose meters just did not answer. A link lost in the last reply has had no
        // exchange after it to say so.
        if (link.IsOpen()) return 0;
        say(LinkErrorLost, LinkErrorText(LinkErrorLost));
        return 1;
    }();
    SetLinkErrorHandler({});
    return status;
}
