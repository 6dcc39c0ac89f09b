#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "update/FolderFiles.h"

namespace {

class CFd {
public:
    explicit CFd(int fd = -1) : fd_(fd) {}
    ~CFd() {
        if (fd_ >= 0) close(fd_);
    }
    CFd(const CFd&) = delete;
    CFd& operator=(const CFd&) = delete;
    CFd(CFd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    CFd& operator=(CFd&& other) noexcept {
        std::swap(fd_, other.fd_);
        return *this;
    }
    int get() const { return fd_; }

private:
    int fd_;
};

struct CParent {
    LocalKind problem = LocalKind::File;  // File: the folder is open in `fd`
    CFd fd;
    std::string leaf;
};

// Opens the folder that holds `relative`, one part at a time, none of them through a link;
// with `make`, missing parts are made.
CParent OpenParent(const std::filesystem::path& folder, const std::string& relative, bool make) {
    CParent parent;
    parent.fd = CFd(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (parent.fd.get() < 0) {
        parent.problem = LocalKind::Unreadable;
        return parent;
    }
    std::size_t start = 0;
    for (std::size_t slash; (slash = relative.find('/', start)) != std::string::npos;
         start = slash + 1) {
        const std::string part = relative.substr(start, slash - start);
        if (make) mkdirat(parent.fd.get(), part.c_str(), 0755);
        CFd next(openat(parent.fd.get(), part.c_str(),
                        O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (next.get() < 0) {
            struct stat status{};
            if (fstatat(parent.fd.get(), part.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) {
                parent.problem = errno == ENOENT ? LocalKind::Missing : LocalKind::Unreadable;
            } else {
                parent.problem = S_ISLNK(status.st_mode) ? LocalKind::Link : LocalKind::NotRegular;
            }
            return parent;
        }
        parent.fd = std::move(next);
    }
    parent.leaf = relative.substr(start);
    return parent;
}

}  // namespace

CLocalFile InspectFolderFile(const std::filesystem::path& folder, const std::string& relative,
                             std::uint64_t wantedSize) {
    CLocalFile local;
    const CParent parent = OpenParent(folder, relative, false);
    if (parent.problem != LocalKind::File) {
        local.kind = parent.problem;
        return local;
    }
    struct stat status{};
    if (fstatat(parent.fd.get(), parent.leaf.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) {
        local.kind = errno == ENOENT ? LocalKind::Missing : LocalKind::Unreadable;
        return local;
    }
    if (S_ISLNK(status.st_mode)) {
        local.kind = LocalKind::Link;
        return local;
    }
    if (!S_ISREG(status.st_mode)) {
        local.kind = LocalKind::NotRegular;
        return local;
    }
    local.kind = LocalKind::File;
    local.size = static_cast<std::uint64_t>(status.st_size);
    if (local.size != wantedSize) return local;
    // Non-blocking and without following: what was checked above may have been swapped since.
    const CFd file(openat(parent.fd.get(), parent.leaf.c_str(),
                          O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (file.get() < 0 || fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode) ||
        static_cast<std::uint64_t>(status.st_size) != wantedSize) {
        local.kind = LocalKind::Unreadable;
        return local;
    }
    local.bytes.resize(local.size);
    std::size_t got = 0;
    while (got < local.bytes.size()) {
        const ssize_t read_ = read(file.get(), local.bytes.data() + got, local.bytes.size() - got);
        if (read_ < 0 && errno == EINTR) continue;
        if (read_ <= 0) {
            local.kind = LocalKind::Unreadable;
            local.bytes.clear();
            return local;
        }
        got += static_cast<std::size_t>(read_);
    }
    return local;
}

WriteOutcome WriteNewFolderFile(const std::filesystem::path& folder, const std::string& relative,
                                std::string_view bytes) {
    const CParent parent = OpenParent(folder, relative, true);
    if (parent.problem == LocalKind::Link) return WriteOutcome::LinkInTheWay;
    if (parent.problem != LocalKind::File) return WriteOutcome::Failed;
    if (unlinkat(parent.fd.get(), parent.leaf.c_str(), 0) != 0 && errno != ENOENT)
        return WriteOutcome::Failed;
    const CFd file(openat(parent.fd.get(), parent.leaf.c_str(),
                          O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644));
    if (file.get() < 0) return WriteOutcome::Failed;
    while (!bytes.empty()) {
        const ssize_t written = write(file.get(), bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return WriteOutcome::Failed;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return WriteOutcome::Written;
}

bool RenameFolderFile(const std::filesystem::path& folder, const std::string& from,
                      const std::string& to) {
    // Within the folder itself: both names are plain names there.
    const CFd fd(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    return fd.get() >= 0 && renameat(fd.get(), from.c_str(), fd.get(), to.c_str()) == 0;
}

void RemoveFolderFile(const std::filesystem::path& folder, const std::string& relative) {
    const CParent parent = OpenParent(folder, relative, false);
    if (parent.problem == LocalKind::File) unlinkat(parent.fd.get(), parent.leaf.c_str(), 0);
}
