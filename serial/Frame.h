#pragma once

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
inline constexpr std::size_t kFrameStartIndex = 3;
inline constexpr std::size_t kFrameLengthIndex = 13;
inline constexpr std::size_t kFrameDataIndex = 14;
// Preamble, start, type, address, control code, length, checksum and end around the data.
inline constexpr std::size_t kFrameOverhead = 16;

// Sums the bytes from the start character to the current end and appends the sum.
void AppendChecksum(CDataPackage& package);

// Checks a received package, which carries one repeated last byte after the frame.
TelegramCheck CheckFrame(const CDataPackage& package);

// True when the bytes as they came off the line, without the repeated last byte, are exactly
// one whole frame: start character, announced length, checksum and end character all right.
bool IsCompleteFrame(const CDataPackage& lineBytes);
