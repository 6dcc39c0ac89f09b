#pragma once

#include <sodium.h>

#include <string>

// A publisher's key pair made for a test, signing as minisign does.
class CTestSigner {
public:
    CTestSigner();

    // The base64 line of the key's minisign.pub.
    std::string PublicKeyLine() const;
    // A minisign signature file of `message`: pre-hashed ("ED", as minisign signs by default)
    // or over the message itself ("Ed", its legacy kind).
    std::string Sign(const std::string& message, bool hashed = true) const;

private:
    unsigned char keyId_[8];
    unsigned char public_[crypto_sign_PUBLICKEYBYTES];
    unsigned char secret_[crypto_sign_SECRETKEYBYTES];
};
