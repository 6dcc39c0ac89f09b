#pragma once

#include <string>
#include <string_view>

// Standard Base64 (RFC 4648) to bytes. Decoding stops at the first "=" or at the first
// character outside the alphabet; a final group of two or three characters gives one or two
// bytes. The result may hold zero bytes.
std::string DecodeBase64(std::string_view text);
