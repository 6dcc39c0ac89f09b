#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// An ordered run of bytes: every request and reply on the serial link is one.
class CDataPackage {
public:
    // The label only says what the package is for at the place that makes it; it is not kept.
    explicit CDataPackage(const char* label = "");
    virtual ~CDataPackage() = default;

    void Add(std::uint8_t byte) { bytes_.push_back(byte); }
    // 0 for a position outside the package, so a careless caller never reads past it.
    std::uint8_t At(std::size_t index) const { return index < bytes_.size() ? bytes_[index] : 0; }
    std::size_t Size() const { return bytes_.size(); }
    void Clear() { bytes_.clear(); }

    const std::vector<std::uint8_t>& Bytes() const { return bytes_; }

private:
    std::vector<std::uint8_t> bytes_;
};
