#pragma once

#include <cstdint>
#include <ctime>
#include <vector>

#include "serial/DataPackage.h"
#include "tools/simulator/SimulatedMeter.h"

// The reply a meter sends to a read request, as it goes on the line (no repeated last byte):
// line noise and the preamble as the meter is set up, then the frame. `now` is the clock time
// used when the meter's clock follows the local time.
CDataPackage BuildMeterReply(const CSimMeter& meter, const std::tm& now);

// Line noise: bytes that look random but are the same on every run, for byte `index` of a
// stream. The first few hold a start and an end character, as real noise may.
std::uint8_t NoiseByte(std::size_t index);

// The bytes a line that never falls silent sends (SimEndless), one after the other.
class CEndlessLine {
public:
    CEndlessLine(const CSimMeter& meter, CDataPackage reply);
    std::uint8_t Next();

private:
    SimEndless kind_;
    std::uint8_t byte_;
    CDataPackage reply_;
    std::size_t sent_ = 0;
};

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
