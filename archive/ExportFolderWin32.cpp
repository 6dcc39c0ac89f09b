#include "archive/ExportFolder.h"

#include <windows.h>
// The shell's headers stand on windows.h.
#include <knownfolders.h>
#include <shlobj.h>

#include <cstdlib>
#include <string_view>

#include "Utils/WideText.h"

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
    return Utf8Of(documents) + "\\Vevo";
}
