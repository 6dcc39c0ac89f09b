#include "Utils/Format.h"

#include <locale.h>

#include <cstdio>

namespace {

// Statements, stored readings and shown values write numbers with C conventions, but the
// window sets the process locale from the environment, where the decimal separator may be a
// comma. So the calling thread formats under the C locale, and only for the call: other threads
// and the rest of the program keep theirs.
class CThreadCLocale {
public:
    CThreadCLocale() : previous_(uselocale(CLocale())) {}
    ~CThreadCLocale() { uselocale(previous_); }
    CThreadCLocale(const CThreadCLocale&) = delete;
    CThreadCLocale& operator=(const CThreadCLocale&) = delete;

private:
    // Made once and kept for the life of the process. Should it fail, uselocale(0) changes
    // nothing.
    static locale_t CLocale() {
        static const locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
        return locale;
    }

    locale_t previous_;
};

}  // namespace

std::string FormatV(const char* format, va_list args) {
    const CThreadCLocale cLocale;
    va_list copy;
    va_copy(copy, args);
    const int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string text;
    if (length > 0) {
        text.resize(static_cast<std::size_t>(length));
        std::vsnprintf(text.data(), text.size() + 1, format, args);
    }
    return text;
}

std::string Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string text = FormatV(format, args);
    va_end(args);
    return text;
}
