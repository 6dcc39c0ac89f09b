#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "app/ProgramInfo.h"
#include "support/FakeService.h"
#include "support/TempWorkDir.h"
#include "support/TestSigner.h"
#include "update/Manifest.h"
#include "update/ProgramUpdate.h"

// A scratch program folder (the working directory) with a program "vevo" in it, a fake
// service, a publisher's key pair, and an update that records the scripts it would start
// instead of starting them. Its waits are short.
class UpdateTest : public testing::Test {
protected:
    UpdateTest() {
        settings.folder = dir.Path();
        settings.programPath = dir.Path() / "vevo";
        settings.fetch.retryPause = std::chrono::milliseconds(10);
        settings.fetch.read = std::chrono::milliseconds(2000);
        settings.startScript = [this](const std::filesystem::path& folder) {
            started.push_back(folder);
            return true;
        };
    }

    CUpdateResult Update(const std::string& version = "v.0.06") {
        const CRemoteService service(info, fake.Address());
        return RunProgramUpdate(service, {"7", "fp1", version}, settings, observer);
    }

    // Signs the fake's files as they stand for `version`, with the manifest and its signature
    // as the pack's last entries, and makes the update ask for the signer's key.
    void SignPack(const std::string& version = "v.0.06", bool hashed = true) {
        CManifest manifest;
        manifest.version = version;
        for (const CFakeService::CFile& file : fake.files) {
            CManifestFile& listed =
                manifest.files[file.dst.empty() ? file.name : file.dst + "/" + file.name];
            listed.size = file.bytes.size();
            crypto_hash_sha256(listed.sha256.data(),
                               reinterpret_cast<const unsigned char*>(file.bytes.data()),
                               file.bytes.size());
        }
        const std::string text = ManifestText(manifest);
        fake.files.push_back({"m", "vevo.manifest", "", text});
        fake.files.push_back({"s", "vevo.manifest.minisig", "", signer.Sign(text, hashed)});
        settings.publicKey = signer.PublicKeyLine();
    }

    static std::string Bytes(std::size_t size, int seed = 1) {
        std::string bytes(size, '\0');
        for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 31 + seed) & 0xFF);
        return bytes;
    }

    CTempWorkDir dir;
    CProgramInfo info;
    CFakeService fake;
    CTestSigner signer;
    CUpdateSettings settings;
    CUpdateObserver observer;
    std::vector<std::filesystem::path> started;
};
