#pragma once

#include <string_view>

// The diagnostic log console.log. Each text is one append to a freshly opened file, so writers
// on any thread need no lock and nothing is held open between writes. Failures are silent. A
// text that would take the file past 10 MB goes to a new one, the full one renamed
// console.log.1 (replacing an older one).
class CLog {
public:
    constexpr CLog() = default;

    // printf-style: the formatted text is written as it is, no time stamp or line break added.
    void Write(const char* format, ...) const __attribute__((format(printf, 2, 3)));
    // A whole text written literally: percent signs in it are not interpreted.
    void WriteText(std::string_view text) const;
};

// Holds no state, so it is constant-initialised: usable before any other program-wide object.
extern constinit const CLog Log;
