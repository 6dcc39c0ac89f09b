#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "app/ProgramInfo.h"
#include "support/FakeService.h"
#include "support/TempWorkDir.h"
#include "update/ProgramUpdate.h"

// A scratch program folder (the working directory) with a program "vevo" in it, a fake
// service, and an update that records the scripts it would start instead of starting them.
class UpdateTest : public testing::Test {
protected:
    UpdateTest() {
        settings.folder = dir.Path();
        settings.programPath = dir.Path() / "vevo";
        settings.scriptPauseSeconds = 0;
        settings.fetch.retryPause = std::chrono::milliseconds(10);
        settings.fetch.chunkLimits.read = std::chrono::milliseconds(2000);
        settings.startScript = [this](const std::filesystem::path& folder) {
            started.push_back(folder);
            return true;
        };
    }

    CUpdateResult Update() {
        const CRemoteService service(info, fake.Address());
        return RunProgramUpdate(service, {"7", "fp1", "v.0.06"}, settings, observer);
    }

    static std::string Bytes(std::size_t size, int seed = 1) {
        std::string bytes(size, '\0');
        for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 31 + seed) & 0xFF);
        return bytes;
    }

    CTempWorkDir dir;
    CProgramInfo info;
    CFakeService fake;
    CUpdateSettings settings;
    CUpdateObserver observer;
    std::vector<std::filesystem::path> started;
};
