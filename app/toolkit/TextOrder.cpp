#include "app/toolkit/TextOrder.h"

#include <QCollator>
#include <QLocale>

namespace {
const QCollator& Collator() {
    static const QCollator collator = [] {
        QCollator ukrainian(QLocale(QLocale::Ukrainian, QLocale::Ukraine));
        ukrainian.setNumericMode(true);
        ukrainian.setCaseSensitivity(Qt::CaseInsensitive);
        return ukrainian;
    }();
    return collator;
}
}  // namespace

int CompareTexts(const QString& a, const QString& b) {
    bool aNumber = false;
    bool bNumber = false;
    // QString reads numbers with C conventions, as the program writes them.
    const double x = a.toDouble(&aNumber);
    const double y = b.toDouble(&bNumber);
    if (aNumber && bNumber) return x < y ? -1 : (y < x ? 1 : 0);
    return Collator().compare(a, b);
}
