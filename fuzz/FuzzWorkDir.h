#pragma once

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <string>

// Readers of the working directory's files run each input in a folder of their own, removed at
// exit, and return to the folder the run started in: libFuzzer writes its corpus and crash
// files by the paths it was given, relative to that folder.
class CScratchWorkDir {
public:
    CScratchWorkDir() {
        if (home_ < 0 || chdir(Folder().c_str()) != 0) std::abort();
    }
    ~CScratchWorkDir() {
        if (fchdir(home_) != 0) std::abort();
        close(home_);
    }
    CScratchWorkDir(const CScratchWorkDir&) = delete;
    CScratchWorkDir& operator=(const CScratchWorkDir&) = delete;

private:
    // Never destroyed: the removal at exit still needs the name.
    static const std::string& Folder() {
        static const std::string* folder = [] {
            auto* made =
                new std::string(std::filesystem::temp_directory_path() / "vevo-fuzz-XXXXXX");
            if (mkdtemp(made->data()) == nullptr) std::abort();
            std::atexit([] { std::filesystem::remove_all(Folder()); });
            return made;
        }();
        return *folder;
    }

    int home_ = open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
};
