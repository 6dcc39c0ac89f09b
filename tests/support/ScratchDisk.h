#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

// A small tmpfs mounted on a folder: a real disk that fills, or that turns read-only, under a
// program at work. Mounting takes root; when it cannot be done, Mounted() is false and WhyNot()
// says why, for the test to skip with. Unmounted (with whatever was mounted in it) on
// destruction.
class CScratchDisk {
public:
    CScratchDisk(const std::filesystem::path& folder, std::size_t kilobytes);
    ~CScratchDisk();
    CScratchDisk(const CScratchDisk&) = delete;
    CScratchDisk& operator=(const CScratchDisk&) = delete;

    bool Mounted() const { return mounted_; }
    const std::string& WhyNot() const { return whyNot_; }
    const std::filesystem::path& Path() const { return folder_; }

    // Takes what room is left with one file; Free gives it back.
    void Fill();
    void Free();
    // The folder turns read-only, all but its file `name`, which becomes a mount of `outside`, a
    // file elsewhere that stays writable: a database file in a folder where nothing can be made.
    bool MakeReadOnlyBut(const std::string& name, const std::filesystem::path& outside);

private:
    std::filesystem::path folder_;
    bool mounted_ = false;
    std::string whyNot_;
};
