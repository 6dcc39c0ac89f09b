#include "serial/PortList.h"

#include <windows.h>

#include "Utils/WideText.h"
#include "serial/NetworkAddress.h"

// Each value of the key names a port's driver and holds its name, COM3 for example, in the
// order the registry keeps them. Read only; a missing key lists nothing.
std::vector<std::string> ListSerialPorts() {
    std::vector<std::string> names;
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ,
                        &key) != ERROR_SUCCESS) {
        return names;
    }
    for (DWORD index = 0;; ++index) {
        wchar_t valueName[256];
        DWORD valueNameLength = static_cast<DWORD>(std::size(valueName));
        wchar_t data[256];
        DWORD dataBytes = sizeof data;
        DWORD type = 0;
        const LONG result = ::RegEnumValueW(key, index, valueName, &valueNameLength, nullptr, &type,
                                            reinterpret_cast<BYTE*>(data), &dataBytes);
        if (result == ERROR_NO_MORE_ITEMS) break;
        if (result != ERROR_SUCCESS || type != REG_SZ) continue;
        int length = static_cast<int>(dataBytes / sizeof(wchar_t));
        while (length > 0 && data[length - 1] == L'\0') --length;
        if (length > 0) names.push_back(Utf8Of({data, static_cast<std::size_t>(length)}));
    }
    ::RegCloseKey(key);
    return names;
}

std::string DevicePathOf(std::string_view name) {
    // The device namespace finds every port: plain names stop at COM9.
    return IsNetworkPortName(name) ? std::string(name) : "\\\\.\\" + std::string(name);
}
