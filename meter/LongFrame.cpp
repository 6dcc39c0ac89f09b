#include "meter/LongFrame.h"

#include "serial/Frame.h"

namespace {
constexpr std::uint8_t kControlRead = 0x01;
constexpr std::uint8_t kReadData[] = {0x90, 0x1F, 0x01};  // data identifier 90 1F, then 01
constexpr unsigned kSerialModulus = 100000000;
constexpr int kUnusedAddressBytes = 3;

// Two decimal digits as one packed BCD byte, the higher digit in the high nibble.
std::uint8_t PackedPair(unsigned pair) {
    return static_cast<std::uint8_t>((pair / 10) << 4 | (pair % 10));
}
}  // namespace

std::unique_ptr<CDataPackage> CLongFrame::BuildReadRequest(unsigned serial, int meterCode) const {
    auto request = std::make_unique<CDataPackage>("Create ReadMeter function");
    for (int i = 0; i < 3; ++i) request->Add(kFramePreamble);
    request->Add(kFrameStart);
    request->Add(static_cast<std::uint8_t>(meterCode));
    unsigned digits = serial % kSerialModulus;
    for (int pair = 0; pair < 4; ++pair, digits /= 100) request->Add(PackedPair(digits % 100));
    for (int i = 0; i < kUnusedAddressBytes; ++i) request->Add(0x00);
    request->Add(kControlRead);
    request->Add(sizeof kReadData);
    for (std::uint8_t byte : kReadData) request->Add(byte);
    AppendChecksum(*request);
    request->Add(kFrameEnd);
    return request;
}
