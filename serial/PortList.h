#pragma once

#include <string>
#include <string_view>
#include <vector>

// Names of the serial ports present, in a stable order: "ttyUSB0" on POSIX (see
// TerminalPorts.h), "COM3" on Windows, as the registry's SERIALCOMM key lists them.
std::vector<std::string> ListSerialPorts();
// The path a port of the list opens by, stored in config.ini's SERIAL/COM and handed to
// CProcessComPort: "/dev/ttyUSB0" on POSIX, "\\.\COM3" on Windows. A network link's
// "tcp:HOST:PORT" is its own path.
std::string DevicePathOf(std::string_view name);
