#include "archive/ExportFiles.h"

#include <fcntl.h>
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

bool RemoveFile(const std::string& path) {
    return ::unlink(path.c_str()) == 0;
}
