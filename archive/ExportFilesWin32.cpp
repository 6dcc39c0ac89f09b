#include "archive/ExportFiles.h"

#include <windows.h>

#include <filesystem>

#include "Utils/WideText.h"

namespace {
// `wide` in the ANSI code page; empty when the page cannot hold all of it.
std::string InAnsiCodePage(const std::wstring& wide) {
    const int size = static_cast<int>(wide.size());
    BOOL lossy = FALSE;
    const int length = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), size,
                                             nullptr, 0, nullptr, &lossy);
    if (length <= 0 || lossy) return {};
    std::string ansi(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), size, ansi.data(), length,
                          nullptr, &lossy);
    return lossy ? std::string() : ansi;
}
}  // namespace

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

std::string CLibraryPath(const std::string& path) {
    // A system set to UTF-8 as its ANSI code page reads the path as it is.
    if (::GetACP() == CP_UTF8) return path;
    const std::wstring wide = WideOf(path);
    if (std::string ansi = InAnsiCodePage(wide); !ansi.empty()) return ansi;
    std::wstring shortPath(MAX_PATH, L'\0');
    DWORD length = ::GetShortPathNameW(wide.c_str(), shortPath.data(), MAX_PATH);
    if (length >= MAX_PATH) {
        shortPath.resize(length);
        length = ::GetShortPathNameW(wide.c_str(), shortPath.data(), length);
    }
    shortPath.resize(length < shortPath.size() ? length : 0);
    std::string ansi = InAnsiCodePage(shortPath);
    return ansi.empty() ? path : ansi;
}

bool RemoveFile(const std::string& path) {
    return ::DeleteFileW(WideOf(path).c_str()) != 0;
}
