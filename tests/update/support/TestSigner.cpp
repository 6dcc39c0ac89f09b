#include "support/TestSigner.h"

#include <cstdlib>
#include <vector>

namespace {
std::string Base64(const unsigned char* bytes, std::size_t size) {
    std::string text(sodium_base64_ENCODED_LEN(size, sodium_base64_VARIANT_ORIGINAL), '\0');
    sodium_bin2base64(text.data(), text.size(), bytes, size, sodium_base64_VARIANT_ORIGINAL);
    text.resize(text.size() - 1);  // the terminator
    return text;
}
}  // namespace

CTestSigner::CTestSigner() {
    if (sodium_init() < 0) std::abort();
    crypto_sign_keypair(public_, secret_);
    randombytes_buf(keyId_, sizeof keyId_);
}

std::string CTestSigner::PublicKeyLine() const {
    std::vector<unsigned char> line = {'E', 'd'};
    line.insert(line.end(), keyId_, keyId_ + sizeof keyId_);
    line.insert(line.end(), public_, public_ + sizeof public_);
    return Base64(line.data(), line.size());
}

std::string CTestSigner::Sign(const std::string& message, bool hashed) const {
    std::vector<unsigned char> signed_(message.begin(), message.end());
    if (hashed) {
        signed_.resize(crypto_generichash_BYTES_MAX);
        crypto_generichash(signed_.data(), signed_.size(),
                           reinterpret_cast<const unsigned char*>(message.data()), message.size(),
                           nullptr, 0);
    }
    std::vector<unsigned char> line = {'E', static_cast<unsigned char>(hashed ? 'D' : 'd')};
    line.insert(line.end(), keyId_, keyId_ + sizeof keyId_);
    unsigned char signature[crypto_sign_BYTES];
    crypto_sign_detached(signature, nullptr, signed_.data(), signed_.size(), secret_);
    line.insert(line.end(), signature, signature + sizeof signature);

    const std::string comment = "timestamp:1700000000\tfile:vevo.manifest";
    std::vector<unsigned char> global(signature, signature + sizeof signature);
    global.insert(global.end(), comment.begin(), comment.end());
    unsigned char globalSignature[crypto_sign_BYTES];
    crypto_sign_detached(globalSignature, nullptr, global.data(), global.size(), secret_);
    return "untrusted comment: signature from a test key\n" + Base64(line.data(), line.size()) +
           "\ntrusted comment: " + comment + "\n" +
           Base64(globalSignature, sizeof globalSignature) + "\n";
}
