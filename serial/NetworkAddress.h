#pragma once

#include <optional>
#include <string>
#include <string_view>

// A link to a serial device server (an Ethernet to RS-485/RS-232 converter) is named
// "tcp:HOST:PORT": a host name, an IPv4 address or an IPv6 address in brackets, and a TCP port.
inline constexpr std::string_view kNetworkPortPrefix = "tcp:";

struct CNetworkAddress {
    std::string host;  // without the brackets of an IPv6 address
    std::string port;  // 1 to 65535, as written
};

// True for every name that begins with the prefix, well formed or not: such a name is never a
// device path.
bool IsNetworkPortName(std::string_view name);
// The host and port of a well-formed name; none for anything else.
std::optional<CNetworkAddress> NetworkAddressOf(std::string_view name);
