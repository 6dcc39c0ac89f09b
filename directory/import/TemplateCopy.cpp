#include "directory/import/TemplateCopy.h"

#include <filesystem>

bool CopyTemplate(const std::string& source, const std::string& chosen) {
    std::error_code error;
    // copy_file's default refuses an existing target, so a file of that name is kept as it is.
    return std::filesystem::copy_file(source, chosen + ".csv", error) && !error;
}
