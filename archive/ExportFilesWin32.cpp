#include <windows.h>

#include <filesystem>

#include "archive/ExportFiles.h"

namespace {
std::wstring Wide(const std::string& text) {
    const int length =
        ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                          length);
    return wide;
}
}  // namespace

bool MakeWritableFolder(const std::string& path) {
    // A wide path: the narrow one would be read in the ANSI code page.
    const std::filesystem::path folder(Wide(path));
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    const DWORD attributes = ::GetFileAttributesW(folder.c_str());
    return !error && attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
           (attributes & FILE_ATTRIBUTE_READONLY) == 0;
}

NewFile MakeNewFile(const std::string& path) {
    const HANDLE file = ::CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS ? NewFile::Exists
                                                                           : NewFile::Failed;
    }
    ::CloseHandle(file);
    return NewFile::Made;
}

bool RemoveFile(const std::string& path) {
    return ::DeleteFileW(Wide(path).c_str()) != 0;
}
