#include "support/CommaDecimalLocale.h"

#include <clocale>
#include <cstring>

CCommaDecimalLocale::CCommaDecimalLocale() : previous_(std::setlocale(LC_ALL, nullptr)) {
    // POSIX names, then the Windows runtime's.
    for (const char* name : {"uk_UA.UTF-8", "ru_UA.UTF-8", "de_DE.UTF-8", "Ukrainian_Ukraine.1251",
                             "German_Germany.1252"}) {
        if (std::setlocale(LC_ALL, name) != nullptr &&
            std::strcmp(std::localeconv()->decimal_point, ",") == 0) {
            active_ = true;
            return;
        }
    }
    std::setlocale(LC_ALL, previous_.c_str());
}

CCommaDecimalLocale::~CCommaDecimalLocale() {
    std::setlocale(LC_ALL, previous_.c_str());
}
