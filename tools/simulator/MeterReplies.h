#pragma once

#include <cstdint>
#include <ctime>
#include <vector>

#include "serial/DataPackage.h"
#include "tools/simulator/SimulatedMeter.h"

// The reply a meter sends to a read request, as it goes on the line (no repeated last byte).
// `now` is the clock time used when the meter's clock follows the local time.
CDataPackage BuildMeterReply(const CSimMeter& meter, const std::tm& now);

// What a look through the received bytes found. `consumed` leading bytes may be dropped: the
// request found and what preceded it, or bytes that cannot begin one. An incomplete request at
// the end is kept for the bytes still to come.
struct CRequestScan {
    bool found = false;
    unsigned serial = 0;
    int meterCode = 0;
    std::size_t consumed = 0;
};
// Looks for the first well-formed read request (start, L = 3, data 90 1F 01, control code 01,
// checksum, end) with a BCD serial.
CRequestScan ScanForReadRequest(const std::vector<std::uint8_t>& input);
