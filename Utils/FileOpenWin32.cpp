#include "Utils/FileOpen.h"
#include "Utils/WideText.h"

std::FILE* OpenFile(const std::string& utf8Path, const char* mode) {
    return ::_wfopen(WideOf(utf8Path).c_str(), WideOf(mode).c_str());
}
