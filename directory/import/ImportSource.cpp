#include "directory/import/ImportSource.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "Utils/FileOpen.h"

namespace {

class CFileSource : public CImportSource {
public:
    explicit CFileSource(std::FILE* file) : file_(file) {}
    ~CFileSource() override { std::fclose(file_); }
    CFileSource(const CFileSource&) = delete;
    CFileSource& operator=(const CFileSource&) = delete;

    std::size_t Read(char* buffer, std::size_t size) override {
        return std::fread(buffer, 1, size, file_);
    }
    bool Rewind() override { return std::fseek(file_, 0, SEEK_SET) == 0; }
    // A folder opens but cannot be read.
    bool Failed() const override { return std::ferror(file_) != 0; }

private:
    std::FILE* file_;
};

class CBytesSource : public CImportSource {
public:
    explicit CBytesSource(std::string_view bytes) : bytes_(bytes) {}

    std::size_t Read(char* buffer, std::size_t size) override {
        const std::size_t count = std::min(size, bytes_.size() - position_);
        if (count > 0) std::memcpy(buffer, bytes_.data() + position_, count);
        position_ += count;
        return count;
    }
    bool Rewind() override {
        position_ = 0;
        return true;
    }
    bool Failed() const override { return false; }

private:
    std::string_view bytes_;
    std::size_t position_ = 0;
};

}  // namespace

std::unique_ptr<CImportSource> OpenImportFile(const std::string& path) {
    std::FILE* file = OpenFile(path, "rb");
    if (file == nullptr) return nullptr;
    return std::make_unique<CFileSource>(file);
}

std::unique_ptr<CImportSource> ImportBytes(std::string_view bytes) {
    return std::make_unique<CBytesSource>(bytes);
}
