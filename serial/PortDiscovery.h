#pragma once

#include <string>
#include <vector>

#include "serial/PortList.h"

class CIniFile;

// The serial device servers to offer, from the SERIAL key NETWORK_PORTS of config.ini: a comma
// separated list of "tcp:HOST:PORT" names, in the order written. Blanks around a name are
// trimmed; anything that is not such a name is skipped.
inline constexpr const char* kNetworkPortsKey = "NETWORK_PORTS";
std::vector<std::string> ListNetworkPorts(const CIniFile& ini);
