#include "serial/NetworkAddress.h"

#include <charconv>

namespace {
constexpr unsigned kLargestPort = 65535;

bool IsPort(std::string_view text) {
    unsigned port = 0;
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, port);
    return !text.empty() && result.ec == std::errc() && result.ptr == end && port >= 1 &&
           port <= kLargestPort;
}

bool IsHost(std::string_view host) {
    return !host.empty() && host.find_first_of(" \t,[]") == std::string_view::npos;
}
}  // namespace

bool IsNetworkPortName(std::string_view name) {
    return name.starts_with(kNetworkPortPrefix);
}

std::optional<CNetworkAddress> NetworkAddressOf(std::string_view name) {
    if (!IsNetworkPortName(name)) return std::nullopt;
    const std::string_view rest = name.substr(kNetworkPortPrefix.size());
    const std::size_t colon = rest.rfind(':');
    if (colon == std::string_view::npos || !IsPort(rest.substr(colon + 1))) return std::nullopt;
    std::string_view host = rest.substr(0, colon);
    if (host.starts_with('[') && host.ends_with(']')) {
        host = host.substr(1, host.size() - 2);
    } else if (host.find(':') != std::string_view::npos) {
        return std::nullopt;  // an IPv6 address needs its brackets, or the port is ambiguous
    }
    if (!IsHost(host)) return std::nullopt;
    return CNetworkAddress{std::string(host), std::string(rest.substr(colon + 1))};
}
