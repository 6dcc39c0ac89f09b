#include "Utils/ThreadCLocale.h"

#include <clocale>
#include <cstring>

// The runtime's printf reads the calling thread's locale once the thread has one of its own;
// the process locale stays as it is.
CThreadCLocale::CThreadCLocale() {
    const lconv* conventions = std::localeconv();
    if (std::strcmp(conventions->decimal_point, ".") == 0 && conventions->thousands_sep[0] == 0)
        return;  // C conventions already: nothing to switch
    previousMode_ = _configthreadlocale(_ENABLE_PER_THREAD_LOCALE);
    const char* name = std::setlocale(LC_ALL, nullptr);
    previousName_ = name != nullptr ? name : "C";
    std::setlocale(LC_ALL, "C");
    switched_ = true;
}

CThreadCLocale::~CThreadCLocale() {
    if (!switched_) return;
    std::setlocale(LC_ALL, previousName_.c_str());
    _configthreadlocale(previousMode_);
}
