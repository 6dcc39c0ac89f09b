#include "serial/PortDiscovery.h"

#include "app/IniFile.h"
#include "serial/NetworkAddress.h"

std::vector<std::string> ListNetworkPorts(const CIniFile& ini) {
    CIniValue listed;
    ini.GetValue("SERIAL", kNetworkPortsKey, listed);
    std::vector<std::string> names;
    std::string_view rest = listed;
    while (!rest.empty()) {
        const std::size_t comma = rest.find(',');
        std::string_view name = rest.substr(0, comma);
        rest = comma == std::string_view::npos ? "" : rest.substr(comma + 1);
        const std::size_t first = name.find_first_not_of(" \t");
        name = first == std::string_view::npos ? "" : name.substr(first);
        name = name.substr(0, name.find_last_not_of(" \t") + 1);
        if (NetworkAddressOf(name)) names.emplace_back(name);
    }
    return names;
}
