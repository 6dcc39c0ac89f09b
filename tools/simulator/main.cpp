// vevo_meter_simulator: plays the radio modem and its meters on a pseudo-terminal, or behind a
// serial device server on a loopback TCP port, so the program can poll without hardware.
// See --help.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "tools/simulator/MeterSimulator.h"
#include "tools/simulator/MeterSpec.h"

namespace {
constexpr const char* kDefaultLink = "/dev/ttyVEVO0";

void PrintUsage() {
    std::printf(
        "usage: vevo_meter_simulator [options]\n"
        "  --meter METER       add a meter (repeatable), e.g. heat:12345678,q=250.00,t1=21.50\n"
        "  --meters FILE       add the meters of FILE, one METER a line, # starts a comment\n"
        "  --delay MS          pause between a request and its reply (default 0)\n"
        "  --burst BYTES:MS    send replies in bursts of BYTES with MS between them\n"
        "  --no-pace           send bytes at once instead of at the port's speed\n"
        "  --link PATH         link PATH to the port (default %s)\n"
        "  --no-link           make no link; the port is then only reachable by its own name\n"
        "  --tcp PORT          be a serial device server on 127.0.0.1:PORT instead (0: any free\n"
        "                      port); the program connects to tcp:127.0.0.1:PORT\n"
        "METER is FAMILY:SERIAL[,KEY=VALUE|FLAG]... with FAMILY heat or water;\n"
        "  heat keys q_cooling q v t1 t2 hours, water keys v v_flow v_reverse bat minutes,\n"
        "  both clock=YYYY-MM-DDThh:mm[:ss]|now as=SERIAL trailing=N late=MS,\n"
        "  preamble=N (FE bytes, default 3) noise=N (noise bytes before them),\n"
        "  endless=HH|noise|reply (the line never falls silent until the next request),\n"
        "  flags silent bad-checksum hang-up (asked, the modem drops off the line for good).\n"
        "Without meters, a demonstration set is played.\n",
        kDefaultLink);
}

bool ParseUnsigned(const char* text, unsigned& value) {
    char* end = nullptr;
    const unsigned long parsed = std::strtoul(text, &end, 10);
    if (end == text || *end != '\0' || parsed > 3600000) return false;
    value = static_cast<unsigned>(parsed);
    return true;
}

struct COptions {
    std::vector<CSimMeter> meters;
    CSimLine line;
    std::string link = kDefaultLink;
    std::optional<unsigned> tcpPort;
};

bool ParseOptions(int argc, char** argv, COptions& options, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        const bool takesValue = option == "--meter" || option == "--meters" ||
                                option == "--delay" || option == "--burst" || option == "--link" ||
                                option == "--tcp";
        if (takesValue && value == nullptr) {
            error = option + " needs a value";
            return false;
        }
        if (takesValue) ++i;
        if (option == "--meter") {
            CSimMeter meter;
            if (!ParseMeterSpec(value, meter, error)) return false;
            options.meters.push_back(meter);
        } else if (option == "--meters") {
            std::ifstream file(value, std::ios::binary);
            if (!file) {
                error = std::string("cannot read ") + value;
                return false;
            }
            const std::string text{std::istreambuf_iterator<char>(file), {}};
            if (!ParseMeterList(text, options.meters, error)) return false;
        } else if (option == "--delay") {
            if (!ParseUnsigned(value, options.line.replyDelayMs)) {
                error = "--delay needs milliseconds";
                return false;
            }
        } else if (option == "--burst") {
            const std::string burst = value;
            const std::size_t colon = burst.find(':');
            if (colon == std::string::npos ||
                !ParseUnsigned(burst.substr(0, colon).c_str(), options.line.burstBytes) ||
                !ParseUnsigned(burst.substr(colon + 1).c_str(), options.line.burstGapMs)) {
                error = "--burst needs BYTES:MS";
                return false;
            }
        } else if (option == "--no-pace") {
            options.line.paceAtLineSpeed = false;
        } else if (option == "--link") {
            options.link = value;
        } else if (option == "--no-link") {
            options.link.clear();
        } else if (option == "--tcp") {
            unsigned port = 0;
            if (!ParseUnsigned(value, port) || port > 65535) {
                error = "--tcp needs a port, 0 to 65535";
                return false;
            }
            options.tcpPort = port;
        } else {
            error = "unknown option " + option + " (see --help)";
            return false;
        }
    }
    return true;
}
}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            PrintUsage();
            return 0;
        }
    }
    COptions options;
    std::string error;
    if (!ParseOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "vevo_meter_simulator: %s\n", error.c_str());
        return 2;
    }
    if (options.meters.empty()) options.meters = DemoMeters();

    // Wait for the end signals on this thread; the simulator's thread must not take them.
    sigset_t endSignals;
    sigemptyset(&endSignals);
    sigaddset(&endSignals, SIGINT);
    sigaddset(&endSignals, SIGTERM);
    sigaddset(&endSignals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &endSignals, nullptr);

    CMeterSimulator simulator(options.meters, options.line, [](const std::string& line) {
        std::printf("%s\n", line.c_str());
        std::fflush(stdout);
    });
    const bool started =
        options.tcpPort ? simulator.StartTcp(*options.tcpPort, error) : simulator.Start(error);
    if (!started) {
        std::fprintf(stderr, "vevo_meter_simulator: %s\n", error.c_str());
        return 1;
    }
    std::printf("Port %s with %zu meter(s)\n", simulator.PortPath().c_str(), options.meters.size());
    if (options.tcpPort) {
        std::printf("List it in config.ini as [SERIAL] NETWORK_PORTS = %s\n",
                    simulator.PortPath().c_str());
    } else if (!options.link.empty()) {
        if (simulator.LinkAs(options.link, error)) {
            std::printf("Linked as %s: choose it on the main screen\n", options.link.c_str());
        } else {
            std::fprintf(stderr, "vevo_meter_simulator: %s\n", error.c_str());
        }
    }
    std::fflush(stdout);
    int signal = 0;
    sigwait(&endSignals, &signal);
    return 0;
}
