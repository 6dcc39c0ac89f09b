#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

class CIniFile;

// Names of the serial devices present (e.g. "ttyUSB0"), in a stable order.
std::vector<std::string> ListSerialPorts();
// "/dev/" + name: the device path stored in config.ini's SERIAL/COM and handed to CProcessComPort.
// A network link's "tcp:HOST:PORT" is its own path.
std::string DevicePathOf(std::string_view name);

// The serial device servers to offer, from the SERIAL key NETWORK_PORTS of config.ini: a comma
// separated list of "tcp:HOST:PORT" names, in the order written. Blanks around a name are
// trimmed; anything that is not such a name is skipped.
inline constexpr const char* kNetworkPortsKey = "NETWORK_PORTS";
std::vector<std::string> ListNetworkPorts(const CIniFile& ini);

// Where discovery looks: the kernel's list of terminals and the device folder. A serial device is
// a terminal with hardware behind it (a ttyS* only when a UART answered at its address); links
// named ttyVEVO* in the device folder are simulated ports (tools/simulator) and are listed while
// what they point to exists.
struct CPortPlaces {
    std::filesystem::path terminals = "/sys/class/tty";
    std::filesystem::path devices = "/dev";
};
inline constexpr std::string_view kSimulatedPortPrefix = "ttyVEVO";
std::vector<std::string> ListSerialPortsIn(const CPortPlaces& places);
