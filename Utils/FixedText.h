#pragma once

#include <cstddef>
#include <cstring>
#include <string_view>

// A text field of a fixed size, terminator included: what does not fit is cut, never overflows.
template <std::size_t Size>
class CFixedText {
    static_assert(Size > 1, "a fixed text needs room for one character and the terminator");

public:
    static constexpr std::size_t Capacity = Size - 1;

    CFixedText() = default;
    CFixedText(std::string_view text) { Set(text); }  // NOLINT: texts convert like char arrays

    void Set(std::string_view text) {
        const std::size_t length = text.size() < Capacity ? text.size() : Capacity;
        // An empty view may carry no pointer at all, which memcpy must never be given.
        if (length > 0) std::memcpy(text_, text.data(), length);
        text_[length] = '\0';
    }
    // Keeps at most `limit` characters, for columns read with a smaller limit than the field.
    void Set(std::string_view text, std::size_t limit) { Set(text.substr(0, limit)); }
    void Clear() { text_[0] = '\0'; }

    const char* c_str() const { return text_; }
    std::string_view view() const { return text_; }
    bool empty() const { return text_[0] == '\0'; }
    std::size_t size() const { return std::strlen(text_); }

    CFixedText& operator=(std::string_view text) {
        Set(text);
        return *this;
    }
    friend bool operator==(const CFixedText& a, std::string_view b) { return a.view() == b; }

private:
    char text_[Size] = {};
};
