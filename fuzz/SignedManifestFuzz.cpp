// The signed manifest of an update and its minisign signature, as a gateway could send them: any
// manifest that reads is written back to the same manifest, and no signature file verifies
// without the key's secret half.
#include <sodium.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/FuzzCheck.h"
#include "update/Manifest.h"
#include "update/Minisign.h"

namespace {
// A publisher's key whose secret half nobody keeps.
CPublicKey MadeKey() {
    CPublicKey key;
    unsigned char secret[crypto_sign_SECRETKEYBYTES];
    FUZZ_CHECK(sodium_init() >= 0);
    crypto_sign_keypair(key.key.data(), secret);
    key.keyId = {1, 2, 3, 4, 5, 6, 7, 8};
    return key;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const CPublicKey key = MadeKey();
    const std::string_view input(reinterpret_cast<const char*>(data), size);

    if (const auto manifest = ReadManifest(input)) {
        const auto again = ReadManifest(ManifestText(*manifest));
        FUZZ_CHECK(again && again->version == manifest->version &&
                   again->files.size() == manifest->files.size());
        for (const auto& [path, file] : manifest->files) {
            const auto found = again->files.find(path);
            FUZZ_CHECK(found != again->files.end() && found->second.size == file.size &&
                       found->second.sha256 == file.sha256);
        }
    }
    FUZZ_CHECK(VerifyMinisign(key, "version v.0.06\n", input) != SignatureCheck::Good);
    return 0;
}
