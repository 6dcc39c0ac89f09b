#include "support/ScratchDisk.h"

#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {
constexpr const char* kFiller = "filler";
}

CScratchDisk::CScratchDisk(const std::filesystem::path& folder, std::size_t kilobytes)
    : folder_(folder) {
    std::filesystem::create_directories(folder_);
    if (::geteuid() != 0) {
        whyNot_ = "mounting a small disk takes root";
        return;
    }
    const std::string options = "size=" + std::to_string(kilobytes) + "k,mode=0755";
    if (::mount("tmpfs", folder_.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, options.c_str()) != 0) {
        whyNot_ = std::string("a small disk cannot be mounted: ") + std::strerror(errno);
        return;
    }
    mounted_ = true;
}

CScratchDisk::~CScratchDisk() {
    if (mounted_) ::umount2(folder_.c_str(), MNT_DETACH);
}

void CScratchDisk::Fill() {
    const int file = ::open((folder_ / kFiller).c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    if (file < 0) return;
    const char zeros[4096] = {};
    // Whole pages first, then single bytes for what a partial page may still take.
    while (::write(file, zeros, sizeof zeros) > 0) {
    }
    while (::write(file, zeros, 1) > 0) {
    }
    ::close(file);
}

void CScratchDisk::Free() {
    std::error_code ignored;
    std::filesystem::remove(folder_ / kFiller, ignored);
}

bool CScratchDisk::MakeReadOnlyBut(const std::string& name, const std::filesystem::path& outside) {
    const std::filesystem::path inside = folder_ / name;
    // A file mount needs a file to cover.
    if (const int file = ::open(inside.c_str(), O_WRONLY | O_CREAT, 0644); file >= 0) ::close(file);
    if (::mount(outside.c_str(), inside.c_str(), nullptr, MS_BIND, nullptr) != 0) return false;
    return ::mount(nullptr, folder_.c_str(), nullptr, MS_REMOUNT | MS_RDONLY | MS_NOSUID | MS_NODEV,
                   nullptr) == 0;
}
