#include "archive/ExportFiles.h"

#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

bool MakeWritableFolder(const std::string& path) {
    std::error_code error;
    std::filesystem::create_directories(path, error);
    return !error && ::access(path.c_str(), W_OK | X_OK) == 0;
}

NewFile MakeNewFile(const std::string& path) {
    const int file = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (file < 0) return errno == EEXIST ? NewFile::Exists : NewFile::Failed;
    ::close(file);
    return NewFile::Made;
}

NewFile MoveToNewName(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return NewFile::Made;
    if (errno == EEXIST) return NewFile::Exists;
    // A file system without the no-replace rename: a new link fails just as well on a taken name.
    if (errno != EINVAL && errno != ENOSYS) return NewFile::Failed;
    if (::link(from.c_str(), to.c_str()) != 0)
        return errno == EEXIST ? NewFile::Exists : NewFile::Failed;
    ::unlink(from.c_str());
    return NewFile::Made;
}

std::string CLibraryPath(const std::string& path) {
    return path;
}

bool RemoveFile(const std::string& path) {
    return ::unlink(path.c_str()) == 0;
}
