#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "serial/DataPackage.h"

// Results of CheckFrame, in the order the tests are made: the first failing test decides.
enum TelegramCheck : int {
    TelegramBadChecksum = 0,
    TelegramBadStart = 1,
    TelegramBadEnd = 2,
    TelegramBadLength = 3,
    TelegramOk = 4,
};

inline constexpr std::uint8_t kFramePreamble = 0xFE;
inline constexpr std::uint8_t kFrameStart = 0x68;
inline constexpr std::uint8_t kFrameEnd = 0x16;
// Where a frame sent with the usual three preamble bytes has its parts; a received frame may
// have any preamble, and its parts lie as far from its own start character.
inline constexpr std::size_t kFrameStartIndex = 3;
inline constexpr std::size_t kFrameLengthIndex = 13;
inline constexpr std::size_t kFrameDataIndex = 14;
// Preamble, start, type, address, control code, length, checksum and end around the data.
inline constexpr std::size_t kFrameOverhead = 16;
// From the start character: the meter type, the first address byte and the length byte.
inline constexpr std::size_t kFrameTypeOffset = 1;
inline constexpr std::size_t kFrameAddressOffset = 2;
inline constexpr std::size_t kFrameLengthOffset = kFrameLengthIndex - kFrameStartIndex;
// The longest frame the length byte allows, with the usual preamble.
inline constexpr std::size_t kLongestFrameBytes = 255 + kFrameOverhead;

// Where a frame lies among received bytes: `size` bytes from its start character up to and
// including its end character.
struct CFrameSpan {
    std::size_t start = 0;
    std::size_t size = 0;
};

// The serial-number part of a meter's address (A0 to A3, packed BCD, lowest pair first): what
// tells the meters of this program apart. A4 to A6 are left out: some makers put their own
// code there, and no request of this program sets them.
using CMeterSerialBytes = std::array<std::uint8_t, 4>;

// Sums the bytes from the start character to the current end and appends the sum.
void AppendChecksum(CDataPackage& package);

// The whole frame that ends with the last of `bytes`: the first start character, after any
// preamble or line noise, from which the announced length, the checksum and the end character
// all check out. Looks only at frames ending there, so a receive can ask after every byte;
// `from` skips the start characters before it.
std::optional<CFrameSpan> FrameEndingAt(std::span<const std::uint8_t> bytes, std::size_t from = 0);

// The frame of a received package, which carries one repeat of its end character after it.
std::optional<CFrameSpan> ReceivedFrame(const CDataPackage& package);

// Checks a received package: TelegramOk when it holds a frame as ReceivedFrame finds one.
// Otherwise the code of the first test that fails at the usual indexes, so a reply sent with
// three preamble bytes gets the code it always got.
TelegramCheck CheckFrame(const CDataPackage& package);

// The serial-number bytes of the frame at `frame` in `bytes`.
CMeterSerialBytes SerialBytesOf(std::span<const std::uint8_t> bytes, const CFrameSpan& frame);
