#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// POSIX alone: where port discovery looks, the kernel's list of terminals and the device
// folder. A serial device is a terminal with hardware behind it (a ttyS* only when a UART
// answered at its address); links named ttyVEVO* in the device folder are simulated ports
// (tools/simulator) and are listed while what they point to exists.
struct CPortPlaces {
    std::filesystem::path terminals = "/sys/class/tty";
    std::filesystem::path devices = "/dev";
};
inline constexpr std::string_view kSimulatedPortPrefix = "ttyVEVO";
std::vector<std::string> ListSerialPortsIn(const CPortPlaces& places);
