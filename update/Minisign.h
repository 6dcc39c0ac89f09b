#pragma once

#include <array>
#include <optional>
#include <string_view>

// A publisher's minisign public key: its 8-byte key id and its Ed25519 key.
struct CPublicKey {
    std::array<unsigned char, 8> keyId{};
    std::array<unsigned char, 32> key{};
};

// The key of a minisign.pub file's base64 line ("RW..."), or nothing when it is not one.
std::optional<CPublicKey> ReadPublicKey(std::string_view line);

enum class SignatureCheck {
    Good,
    Unreadable,  // not the four lines of a minisign signature file
    OtherKey,    // made with another key id
    Bad,         // the message's or the trusted comment's signature does not verify
};

// Checks the text of a minisign signature file over `message`: a signature of either kind
// minisign writes ("Ed" over the message itself, "ED" over its BLAKE2b-512 hash), then the
// global signature over the signature and the trusted comment.
SignatureCheck VerifyMinisign(const CPublicKey& key, std::string_view message,
                              std::string_view signatureFile);
