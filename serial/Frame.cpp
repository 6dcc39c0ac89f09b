#include "serial/Frame.h"

namespace {
// From the start character to the end character of a frame without data.
constexpr std::size_t kBareFrameBytes = kFrameOverhead - kFrameStartIndex;

// The 8-bit sum of bytes [first, end).
std::uint8_t Sum(std::span<const std::uint8_t> bytes, std::size_t first, std::size_t end) {
    std::uint8_t sum = 0;
    for (std::size_t index = first; index < end; ++index) sum += bytes[index];
    return sum;
}

// The tests at the usual indexes, in their order, for a package holding no frame.
TelegramCheck FailedCheck(const CDataPackage& package) {
    const std::span<const std::uint8_t> bytes = package.Bytes();
    const std::size_t size = bytes.size();
    if (size < 3 || Sum(bytes, kFrameStartIndex, size - 3) != bytes[size - 3]) {
        return TelegramBadChecksum;
    }
    if (size <= kFrameLengthIndex || size != bytes[kFrameLengthIndex] + kFrameOverhead + 1u) {
        return TelegramBadLength;
    }
    if (bytes[kFrameStartIndex] != kFrameStart) return TelegramBadStart;
    // With all four tests passed the frame still fails when its end character, the byte
    // before the repeat, is not one.
    return TelegramBadEnd;
}
}  // namespace

void AppendChecksum(CDataPackage& package) {
    package.Add(Sum(package.Bytes(), kFrameStartIndex, package.Size()));
}

std::optional<CFrameSpan> FrameEndingAt(std::span<const std::uint8_t> bytes, std::size_t from) {
    const std::size_t size = bytes.size();
    // The cheap tests first: a receive asks after every byte.
    if (size < kBareFrameBytes || bytes[size - 1] != kFrameEnd) return std::nullopt;
    for (std::size_t start = from; start + kBareFrameBytes <= size; ++start) {
        if (bytes[start] != kFrameStart) continue;
        const std::size_t frameSize = bytes[start + kFrameLengthOffset] + kBareFrameBytes;
        if (start + frameSize == size && Sum(bytes, start, size - 2) == bytes[size - 2]) {
            return CFrameSpan{start, frameSize};
        }
    }
    return std::nullopt;
}

std::optional<CFrameSpan> ReceivedFrame(const CDataPackage& package) {
    const std::span<const std::uint8_t> bytes = package.Bytes();
    if (bytes.empty() || bytes.back() != kFrameEnd) return std::nullopt;
    return FrameEndingAt(bytes.first(bytes.size() - 1));
}

TelegramCheck CheckFrame(const CDataPackage& package) {
    return ReceivedFrame(package) ? TelegramOk : FailedCheck(package);
}

CMeterSerialBytes SerialBytesOf(std::span<const std::uint8_t> bytes, const CFrameSpan& frame) {
    CMeterSerialBytes serial{};
    for (std::size_t i = 0; i < serial.size(); ++i) {
        serial[i] = bytes[frame.start + kFrameAddressOffset + i];
    }
    return serial;
}
