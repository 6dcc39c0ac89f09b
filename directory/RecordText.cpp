#include "directory/RecordText.h"

#include "Utils/TextConversion.h"

namespace {

// Ukrainian spelling recommends the modifier-letter apostrophe, which the code page cannot hold;
// it and its look-alikes are stored as the typographic apostrophe the code page has, so a name
// is never saved with "?" in it. Dashes and blanks without a code-page form get the nearest.
char16_t CloseForm(char16_t unit) {
    switch (unit) {
        case u'\u02BC':  // modifier letter apostrophe
        case u'\u02BB':  // modifier letter turned comma
        case u'\u02B9':  // modifier letter prime
        case u'\u2032':  // prime
            return u'\u2019';
        case u'\u2010':  // hyphen
        case u'\u2011':  // non-breaking hyphen
        case u'\u2012':  // figure dash
        case u'\u2212':  // minus sign
            return u'-';
        case u'\u2007':  // figure space
        case u'\u2009':  // thin space
        case u'\u202F':  // narrow no-break space
            return u'\u00A0';
        default:
            return unit;
    }
}

}  // namespace

std::string ToRecordText(const QString& text) {
    QString close = text;
    for (QChar& character : close) character = QChar(CloseForm(character.unicode()));
    return Utf8ToCp1251(close.toStdString());
}

QString FromRecordText(std::string_view text) {
    return QString::fromStdString(Cp1251ToUtf8(text));
}

QString AsStored(const QString& text) {
    return FromRecordText(ToRecordText(text));
}
