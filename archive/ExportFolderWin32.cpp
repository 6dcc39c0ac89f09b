#include <knownfolders.h>
#include <shlobj.h>
#include <windows.h>

#include <cstdlib>
#include <string_view>

#include "archive/ExportFolder.h"

namespace {
std::string Utf8(std::wstring_view text) {
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), size,
                          nullptr, nullptr);
    return utf8;
}
}  // namespace

std::string ExportFolder() {
    std::wstring documents;
    PWSTR known = nullptr;
    if (::SHGetKnownFolderPath(FOLDERID_Documents, KF_FLAG_DEFAULT, nullptr, &known) == S_OK)
        documents = known;
    ::CoTaskMemFree(known);
    if (documents.empty()) {
        const wchar_t* profile = ::_wgetenv(L"USERPROFILE");
        documents = profile != nullptr ? profile : L".";
    }
    return Utf8(documents) + "\\Vevo";
}
