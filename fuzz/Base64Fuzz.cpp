// Base64 of the update's file parts: the standard encoding of any bytes decodes to those bytes,
// and any text decodes without harm to at most three bytes for every four characters.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/FuzzCheck.h"
#include "update/Base64.h"

namespace {
// RFC 4648 with padding, as the service sends it.
std::string Encode(std::string_view bytes) {
    static constexpr char kAlphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string text;
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::size_t left = bytes.size() - i;
        unsigned group = static_cast<unsigned char>(bytes[i]) << 16;
        if (left > 1) group |= static_cast<unsigned char>(bytes[i + 1]) << 8;
        if (left > 2) group |= static_cast<unsigned char>(bytes[i + 2]);
        text += kAlphabet[group >> 18 & 63];
        text += kAlphabet[group >> 12 & 63];
        text += left > 1 ? kAlphabet[group >> 6 & 63] : '=';
        text += left > 2 ? kAlphabet[group & 63] : '=';
    }
    return text;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    FUZZ_CHECK(DecodeBase64(Encode(input)) == input);

    const std::string decoded = DecodeBase64(input);
    FUZZ_CHECK(decoded.size() <= size * 3 / 4);
    // What follows the first character outside the alphabet is not read.
    FUZZ_CHECK(DecodeBase64(std::string(input) + "=AAAA") == decoded);
    return 0;
}
