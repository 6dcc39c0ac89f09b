#pragma once

#include <cstdlib>
#include <string>
#include <string_view>

#include "serial/DataPackage.h"

// "FE FE 68 ..." as a package, for writing frames in tests the way they are read in a log.
inline CDataPackage HexPackage(std::string_view hex) {
    CDataPackage package;
    std::string pair;
    for (char c : hex) {
        if (c == ' ') continue;
        pair += c;
        if (pair.size() == 2) {
            package.Add(static_cast<std::uint8_t>(std::strtoul(pair.c_str(), nullptr, 16)));
            pair.clear();
        }
    }
    return package;
}

// The package without its last `count` bytes.
inline CDataPackage WithoutLast(const CDataPackage& package, std::size_t count) {
    CDataPackage shorter;
    for (std::size_t i = 0; i + count < package.Size(); ++i) shorter.Add(package.At(i));
    return shorter;
}

inline constexpr std::string_view kWorkedRequest =
    "FE FE FE 68 20 78 56 34 12 00 00 00 01 03 90 1F 01 50 16";
// As the receive hands them over: with the repeated end character.
inline constexpr std::string_view kWorkedHeatReply =
    "FE FE FE 68 20 78 56 34 12 00 00 00 01 2E 90 1F 01 00 56 34 12 00 00 00 50 02 00 00 00 00 00"
    " 00 00 00 00 00 00 00 00 50 34 12 00 21 50 00 18 05 00 12 34 00 05 14 31 01 25 20 00 00 63 16"
    " 16";
inline constexpr std::string_view kWorkedWaterReply =
    "FE FE FE 68 10 78 56 34 12 00 00 00 01 1E 90 1F 01 45 03 12 00 00 00 01 00 00 00 07 30 12 15"
    " 06 24 20 00 00 61 03 2C 01 00 00 00 00 EF 16 16";
