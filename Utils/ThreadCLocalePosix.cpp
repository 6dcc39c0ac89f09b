#include "Utils/ThreadCLocale.h"

#include <locale.h>

namespace {
// Made once and kept for the life of the process. Should it fail, uselocale(0) changes nothing.
locale_t CLocale() {
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    return locale;
}
}  // namespace

CThreadCLocale::CThreadCLocale() : previous_(uselocale(CLocale())) {}

CThreadCLocale::~CThreadCLocale() {
    uselocale(static_cast<locale_t>(previous_));
}
