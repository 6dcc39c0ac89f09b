#include <windows.h>

#include <filesystem>

#include "Utils/WideText.h"
#include "archive/ExportFiles.h"

bool MakeWritableFolder(const std::string& path) {
    // A wide path: the narrow one would be read in the ANSI code page.
    const std::filesystem::path folder(WideOf(path));
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    const DWORD attributes = ::GetFileAttributesW(folder.c_str());
    return !error && attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
           (attributes & FILE_ATTRIBUTE_READONLY) == 0;
}

NewFile MakeNewFile(const std::string& path) {
    const HANDLE file = ::CreateFileW(WideOf(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS ? NewFile::Exists
                                                                           : NewFile::Failed;
    }
    ::CloseHandle(file);
    return NewFile::Made;
}

NewFile MoveToNewName(const std::string& from, const std::string& to) {
    // Without MOVEFILE_REPLACE_EXISTING the move fails on a taken name.
    if (::MoveFileExW(WideOf(from).c_str(), WideOf(to).c_str(), 0) != 0) return NewFile::Made;
    const DWORD error = ::GetLastError();
    return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS ? NewFile::Exists
                                                                       : NewFile::Failed;
}

bool RemoveFile(const std::string& path) {
    return ::DeleteFileW(WideOf(path).c_str()) != 0;
}
