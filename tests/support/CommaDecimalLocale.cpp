#include "support/CommaDecimalLocale.h"

#include <clocale>
#include <cstring>

CCommaDecimalLocale::CCommaDecimalLocale() : previous_(std::setlocale(LC_ALL, nullptr)) {
    for (const char* name : {"uk_UA.UTF-8", "ru_UA.UTF-8", "de_DE.UTF-8"}) {
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
