#include "serial/Frame.h"

namespace {
// The 8-bit sum of the bytes from the start character up to, not including, `end`.
std::uint8_t SumFromStart(const CDataPackage& package, std::size_t end) {
    std::uint8_t sum = 0;
    for (std::size_t index = kFrameStartIndex; index < end; ++index) sum += package.At(index);
    return sum;
}
}  // namespace

void AppendChecksum(CDataPackage& package) {
    package.Add(SumFromStart(package, package.Size()));
}

TelegramCheck CheckFrame(const CDataPackage& package) {
    const std::size_t size = package.Size();
    if (size < 3 || SumFromStart(package, size - 3) != package.At(size - 3)) {
        return TelegramBadChecksum;
    }
    if (size <= kFrameLengthIndex || size != package.At(kFrameLengthIndex) + kFrameOverhead + 1u) {
        return TelegramBadLength;
    }
    if (package.At(kFrameStartIndex) != kFrameStart) return TelegramBadStart;
    if (package.At(size - 1) != kFrameEnd) return TelegramBadEnd;
    return TelegramOk;
}

bool IsCompleteFrame(const CDataPackage& lineBytes) {
    const std::size_t size = lineBytes.Size();
    // The cheap tests first: this runs after every received byte.
    return size >= kFrameOverhead && lineBytes.At(size - 1) == kFrameEnd &&
           lineBytes.At(kFrameStartIndex) == kFrameStart &&
           size == lineBytes.At(kFrameLengthIndex) + kFrameOverhead &&
           SumFromStart(lineBytes, size - 2) == lineBytes.At(size - 2);
}
