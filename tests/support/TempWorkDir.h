#pragma once

#include <filesystem>
#include <string>

// A fresh temporary directory made the working directory for the life of the object, since
// the program addresses local.db, config.ini and console.log relative to it.
class CTempWorkDir {
public:
    CTempWorkDir();
    ~CTempWorkDir();
    CTempWorkDir(const CTempWorkDir&) = delete;
    CTempWorkDir& operator=(const CTempWorkDir&) = delete;

    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path previous_;
    std::filesystem::path path_;
};

std::string ReadFile(const std::filesystem::path& path);
void WriteFile(const std::filesystem::path& path, const std::string& content);
