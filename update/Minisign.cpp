#include "update/Minisign.h"

#include <sodium.h>

#include <cstring>
#include <vector>

namespace {

constexpr std::string_view kUntrusted = "untrusted comment: ";
constexpr std::string_view kTrusted = "trusted comment: ";
// The algorithm, the key id and the signature of a signature line.
constexpr std::size_t kSignatureLine = 2 + 8 + crypto_sign_BYTES;
constexpr std::size_t kKeyLine = 2 + 8 + crypto_sign_PUBLICKEYBYTES;

// Strict standard Base64 of exactly `size` bytes: padding as written by minisign, nothing else.
bool DecodeExactly(std::string_view text, unsigned char* bytes, std::size_t size) {
    std::size_t length = 0;
    const char* end = nullptr;
    return sodium_base642bin(bytes, size, text.data(), text.size(), nullptr, &length, &end,
                             sodium_base64_VARIANT_ORIGINAL) == 0 &&
           end == text.data() + text.size() && length == size;
}

// The lines of the file, each without its line end ("\n" or "\r\n").
std::vector<std::string_view> LinesOf(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

bool Verifies(const unsigned char* signature, const unsigned char* message, std::size_t size,
              const CPublicKey& key) {
    return crypto_sign_verify_detached(signature, message, size, key.key.data()) == 0;
}

}  // namespace

std::optional<CPublicKey> ReadPublicKey(std::string_view line) {
    unsigned char bytes[kKeyLine];
    if (sodium_init() < 0 || !DecodeExactly(line, bytes, sizeof bytes)) return std::nullopt;
    if (bytes[0] != 'E' || bytes[1] != 'd') return std::nullopt;
    CPublicKey key;
    std::memcpy(key.keyId.data(), bytes + 2, key.keyId.size());
    std::memcpy(key.key.data(), bytes + 10, key.key.size());
    return key;
}

SignatureCheck VerifyMinisign(const CPublicKey& key, std::string_view message,
                              std::string_view signatureFile) {
    if (sodium_init() < 0) return SignatureCheck::Bad;
    const std::vector<std::string_view> lines = LinesOf(signatureFile);
    if (lines.size() != 4 || lines[0].substr(0, kUntrusted.size()) != kUntrusted ||
        lines[2].substr(0, kTrusted.size()) != kTrusted)
        return SignatureCheck::Unreadable;
    unsigned char line[kSignatureLine];
    unsigned char global[crypto_sign_BYTES];
    if (!DecodeExactly(lines[1], line, sizeof line) ||
        !DecodeExactly(lines[3], global, sizeof global))
        return SignatureCheck::Unreadable;
    const bool hashed = line[0] == 'E' && line[1] == 'D';
    if (!hashed && !(line[0] == 'E' && line[1] == 'd')) return SignatureCheck::Unreadable;
    if (std::memcmp(line + 2, key.keyId.data(), key.keyId.size()) != 0)
        return SignatureCheck::OtherKey;
    const unsigned char* signature = line + 10;

    const auto* bytes = reinterpret_cast<const unsigned char*>(message.data());
    if (hashed) {
        unsigned char hash[crypto_generichash_BYTES_MAX];
        crypto_generichash(hash, sizeof hash, bytes, message.size(), nullptr, 0);
        if (!Verifies(signature, hash, sizeof hash, key)) return SignatureCheck::Bad;
    } else if (!Verifies(signature, bytes, message.size(), key)) {
        return SignatureCheck::Bad;
    }
    // The trusted comment is signed together with the signature it follows.
    const std::string_view comment = lines[2].substr(kTrusted.size());
    std::vector<unsigned char> signed_(signature, signature + crypto_sign_BYTES);
    signed_.insert(signed_.end(), comment.begin(), comment.end());
    return Verifies(global, signed_.data(), signed_.size(), key) ? SignatureCheck::Good
                                                                 : SignatureCheck::Bad;
}
