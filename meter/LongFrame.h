#pragma once

#include <memory>

#include "serial/DataPackage.h"

// Builds the read request addressed to one meter.
class CLongFrame {
public:
    virtual ~CLongFrame() = default;

    // The 19-byte request FE FE FE 68, type, the serial as packed BCD (least significant pair
    // first, then 00 00 00), 01 03 90 1F 01, checksum, 16. The type is the low byte of
    // `meterCode`; serials have at most 8 digits, so only the lowest 8 are sent.
    std::unique_ptr<CDataPackage> BuildReadRequest(unsigned serial, int meterCode) const;
};
