#pragma once

#include <concepts>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>

#include "Utils/Format.h"

// Every text that enters a statement goes through here: the formats put texts between single
// quotes, and a quote inside a value is doubled, so no value can end its literal early, break
// the statement or change another column.
std::string QuoteInner(std::string_view text);

namespace StatementDetail {

template <class T>
concept TextLike = std::is_convertible_v<const T&, std::string_view> || requires(const T& t) {
    { t.view() } -> std::convertible_to<std::string_view>;
};

template <class T>
auto Hold(const T& value) {
    if constexpr (std::is_convertible_v<const T&, const char*>) {
        const char* text = value;
        return QuoteInner(text != nullptr ? std::string_view(text) : std::string_view());
    } else if constexpr (std::is_convertible_v<const T&, std::string_view>) {
        return QuoteInner(std::string_view(value));
    } else if constexpr (TextLike<T>) {
        return QuoteInner(value.view());
    } else {
        static_assert(std::is_arithmetic_v<T>, "statements take numbers and texts");
        return value;
    }
}

template <class T>
auto Pass(const T& held) {
    if constexpr (std::is_same_v<T, std::string>) {
        return held.c_str();
    } else {
        return held;
    }
}

}  // namespace StatementDetail

// printf-style formatting of one statement; text arguments are quoted safely.
template <class... Args>
std::string FormatStatement(const char* format, const Args&... args) {
    const auto held = std::make_tuple(StatementDetail::Hold(args)...);
    return std::apply(
        [format](const auto&... values) {
            return Format(format, StatementDetail::Pass(values)...);
        },
        held);
}
