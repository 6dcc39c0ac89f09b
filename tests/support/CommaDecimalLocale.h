#pragma once

#include <string>

// Switches the process to a locale whose decimal separator is a comma, as the window does for a
// user whose language is Ukrainian, and back again on destruction. Not active when no such
// locale is installed; the test then skips.
class CCommaDecimalLocale {
public:
    CCommaDecimalLocale();
    ~CCommaDecimalLocale();
    CCommaDecimalLocale(const CCommaDecimalLocale&) = delete;
    CCommaDecimalLocale& operator=(const CCommaDecimalLocale&) = delete;

    bool Active() const { return active_; }

private:
    std::string previous_;
    bool active_ = false;
};
