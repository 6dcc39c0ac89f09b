#pragma once

#include <cstdint>
#include <string_view>

// The CRC-32 of ISO-HDLC / IEEE 802.3 (reflected 0xEDB88320, start 0xFFFFFFFF, final
// complement): "123456789" gives 0xCBF43926.
std::uint32_t Crc32(std::string_view bytes);
