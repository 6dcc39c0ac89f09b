#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

// Where the bytes of an import file come from: the file itself, or bytes in memory (tests, the
// fuzz target). The reader goes through them twice: once to tell the encoding, once to read.
class CImportSource {
public:
    virtual ~CImportSource() = default;
    // Up to `size` bytes; fewer only at the end; 0 at the end or on an error.
    virtual std::size_t Read(char* buffer, std::size_t size) = 0;
    // Back to the first byte; false when that fails.
    virtual bool Rewind() = 0;
    // A read failed (a folder, an I/O error).
    virtual bool Failed() const = 0;
};

// Null when the file cannot be opened.
std::unique_ptr<CImportSource> OpenImportFile(const std::string& path);
// The bytes are not copied: they must outlive the source.
std::unique_ptr<CImportSource> ImportBytes(std::string_view bytes);
