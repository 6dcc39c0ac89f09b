#include "serial/PortList.h"

#include <algorithm>
#include <fstream>
#include <functional>
#include <tuple>

#include "serial/NetworkAddress.h"
#include "serial/TerminalPorts.h"

namespace fs = std::filesystem;

namespace {
// Walks a folder without throwing: a missing or unreadable folder has no entries.
void ForEachEntry(const fs::path& folder,
                  const std::function<void(const fs::directory_entry&)>& visit) {
    std::error_code error;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        visit(*entry);
    }
}

// The 8250 driver makes ttyS0..ttyS31 whether or not a UART is there; its type 0 says none is.
bool HasHardware(const fs::path& terminal, const std::string& name) {
    std::error_code error;
    if (!fs::exists(terminal / "device", error)) return false;
    if (!name.starts_with("ttyS")) return true;
    std::ifstream typeFile(terminal / "type");
    int type = -1;
    if (!(typeFile >> type)) return true;  // no type to go by: the device is there
    return type != 0;
}

bool IsLiveSimulatedPort(const fs::directory_entry& entry) {
    std::error_code error;
    return entry.path().filename().string().starts_with(kSimulatedPortPrefix) &&
           entry.is_symlink(error) && fs::exists(entry.path(), error);
}

// "ttyS2" before "ttyS10": names compare by their letters, then by their trailing number.
bool NaturalLess(const std::string& a, const std::string& b) {
    const auto split = [](const std::string& name) {
        std::size_t digits = name.size();
        while (digits > 0 && name[digits - 1] >= '0' && name[digits - 1] <= '9') --digits;
        const std::string number = name.substr(digits);
        return std::make_tuple(name.substr(0, digits), number.size(), number);
    };
    return split(a) < split(b);
}
}  // namespace

std::vector<std::string> ListSerialPortsIn(const CPortPlaces& places) {
    std::vector<std::string> names;
    ForEachEntry(places.terminals, [&](const fs::directory_entry& terminal) {
        const std::string name = terminal.path().filename().string();
        std::error_code error;
        if (HasHardware(terminal.path(), name) && fs::exists(places.devices / name, error)) {
            names.push_back(name);
        }
    });
    ForEachEntry(places.devices, [&](const fs::directory_entry& device) {
        if (IsLiveSimulatedPort(device)) names.push_back(device.path().filename().string());
    });
    std::sort(names.begin(), names.end(), NaturalLess);
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
}

std::vector<std::string> ListSerialPorts() {
    return ListSerialPortsIn(CPortPlaces{});
}

std::string DevicePathOf(std::string_view name) {
    return IsNetworkPortName(name) ? std::string(name) : "/dev/" + std::string(name);
}
