// The signature check of an update's pack before anything of it is installed: the minisign
// signature of the manifest, the manifest read, and the SHA-256 and size of every downloaded file
// compared with it. A pack of 20 MiB: one program of 12 MiB and 32 files of 256 KiB.
#include <benchmark/benchmark.h>

#include <map>
#include <string>

#include "support/TestSigner.h"
#include "update/Manifest.h"
#include "update/Minisign.h"

namespace {

struct CSignedPack {
    std::map<std::string, std::string> files;  // path, bytes
    std::string manifest;
    std::string signature;
    std::string key;
};

CSignedPack MakePack() {
    CSignedPack pack;
    pack.files["vevo.exe"] = std::string(12u << 20, '\0');
    for (int i = 0; i < 32; ++i)
        pack.files["lib/part" + std::to_string(i) + ".dll"] = std::string(256u << 10, '\0');
    unsigned seed = 1;
    CManifest manifest;
    manifest.version = "v.0.06";
    for (auto& [path, bytes] : pack.files) {
        for (char& c : bytes) c = static_cast<char>((seed = seed * 1103515245u + 12345u) >> 24);
        CManifestFile& listed = manifest.files[path];
        listed.size = bytes.size();
        crypto_hash_sha256(listed.sha256.data(),
                           reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
    }
    const CTestSigner signer;
    pack.manifest = ManifestText(manifest);
    pack.signature = signer.Sign(pack.manifest);
    pack.key = signer.PublicKeyLine();
    return pack;
}

void BM_SignatureCheckOf20MiBPack(benchmark::State& state) {
    const CSignedPack pack = MakePack();
    for (auto _ : state) {
        const auto key = ReadPublicKey(pack.key);
        bool good = key && VerifyMinisign(*key, pack.manifest, pack.signature) == SignatureCheck::Good;
        const auto manifest = ReadManifest(pack.manifest);
        good = good && manifest && manifest->files.size() == pack.files.size();
        for (const auto& [path, bytes] : pack.files)
            good = good && MatchesManifest(manifest->files.at(path), bytes);
        if (!good) {
            state.SkipWithError("the pack did not check");
            return;
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * (20 << 20));
}
BENCHMARK(BM_SignatureCheckOf20MiBPack)->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace
