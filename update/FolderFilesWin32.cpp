#include <windows.h>

#include <algorithm>

#include "update/FolderFiles.h"

namespace {

class CHandle {
public:
    explicit CHandle(HANDLE handle) : handle_(handle) {}
    ~CHandle() {
        if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
    }
    CHandle(const CHandle&) = delete;
    CHandle& operator=(const CHandle&) = delete;
    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_;
};

bool Missing(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// The folders that hold `relative`, checked one at a time: a reparse point (a symbolic link or
// a junction) is never gone through. With `make`, missing folders are made. On success `path`
// is the file's full path.
LocalKind WalkFolders(const std::filesystem::path& folder, const std::string& relative, bool make,
                      std::filesystem::path& path) {
    path = folder;
    std::size_t start = 0;
    for (std::size_t slash; (slash = relative.find('/', start)) != std::string::npos;
         start = slash + 1) {
        path /= relative.substr(start, slash - start);
        DWORD attributes = GetFileAttributesW(path.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES && Missing(GetLastError())) {
            if (!make) return LocalKind::Missing;
            if (!CreateDirectoryW(path.c_str(), nullptr)) return LocalKind::Unreadable;
            attributes = GetFileAttributesW(path.c_str());
        }
        if (attributes == INVALID_FILE_ATTRIBUTES) return LocalKind::Unreadable;
        if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) return LocalKind::Link;
        if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) return LocalKind::NotRegular;
    }
    path /= relative.substr(start);
    return LocalKind::File;
}

}  // namespace

CLocalFile InspectFolderFile(const std::filesystem::path& folder, const std::string& relative,
                             std::uint64_t wantedSize) {
    CLocalFile local;
    std::filesystem::path path;
    local.kind = WalkFolders(folder, relative, false, path);
    if (local.kind != LocalKind::File) return local;
    // The reparse point itself is opened, never what it points to.
    const CHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   nullptr, OPEN_EXISTING,
                                   FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS,
                                   nullptr));
    if (!file.valid()) {
        local.kind = Missing(GetLastError()) ? LocalKind::Missing : LocalKind::Unreadable;
        return local;
    }
    BY_HANDLE_FILE_INFORMATION information{};
    if (!GetFileInformationByHandle(file.get(), &information)) {
        local.kind = LocalKind::Unreadable;
        return local;
    }
    if (information.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        local.kind = LocalKind::Link;
        return local;
    }
    if ((information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ||
        GetFileType(file.get()) != FILE_TYPE_DISK) {
        local.kind = LocalKind::NotRegular;
        return local;
    }
    local.size = (static_cast<std::uint64_t>(information.nFileSizeHigh) << 32) |
                 information.nFileSizeLow;
    if (local.size != wantedSize) return local;
    local.bytes.resize(local.size);
    std::size_t got = 0;
    while (got < local.bytes.size()) {
        const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(local.bytes.size() - got, 1u << 30));
        DWORD read = 0;
        if (!ReadFile(file.get(), local.bytes.data() + got, wanted, &read, nullptr) || read == 0) {
            local.kind = LocalKind::Unreadable;
            local.bytes.clear();
            return local;
        }
        got += read;
    }
    return local;
}

WriteOutcome WriteNewFolderFile(const std::filesystem::path& folder, const std::string& relative,
                                std::string_view bytes) {
    std::filesystem::path path;
    const LocalKind walked = WalkFolders(folder, relative, true, path);
    if (walked == LocalKind::Link) return WriteOutcome::LinkInTheWay;
    if (walked != LocalKind::File) return WriteOutcome::Failed;
    // A link is removed as itself: a file link by DeleteFileW, a folder link or junction by
    // RemoveDirectoryW, which leaves its target alone; a real folder stays and fails the write.
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        const bool folderLink = (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
                                (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
        const bool removed =
            folderLink ? RemoveDirectoryW(path.c_str()) : DeleteFileW(path.c_str());
        if (!removed) return WriteOutcome::Failed;
    }
    // CREATE_NEW fails on anything at the name, a link included.
    const CHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                   FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!file.valid()) return WriteOutcome::Failed;
    while (!bytes.empty()) {
        const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        DWORD written = 0;
        if (!WriteFile(file.get(), bytes.data(), wanted, &written, nullptr) || written == 0)
            return WriteOutcome::Failed;
        bytes.remove_prefix(written);
    }
    return WriteOutcome::Written;
}

bool RenameFolderFile(const std::filesystem::path& folder, const std::string& from,
                      const std::string& to) {
    return MoveFileExW((folder / from).c_str(), (folder / to).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

void RemoveFolderFile(const std::filesystem::path& folder, const std::string& relative) {
    std::filesystem::path path;
    if (WalkFolders(folder, relative, false, path) == LocalKind::File) DeleteFileW(path.c_str());
}
