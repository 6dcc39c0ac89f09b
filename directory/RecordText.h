#pragma once

#include <QString>
#include <QStringList>
#include <string>
#include <string_view>

// The directory's records hold Windows-1251 text; the screens show UTF-16. Each character
// becomes one byte, so an edit box's character limit is also the record field's byte limit.

// Characters the code page lacks but has a close form of become that form (the modifier-letter
// apostrophe U+02BC becomes the typographic U+2019, ...); others become "?".
std::string ToRecordText(const QString& text);
QString FromRecordText(std::string_view text);
// The text as it will come back from a record: what the operator sees after saving it.
QString AsStored(const QString& text);
// The characters of `text` that a record cannot hold in any form, each once; empty when none.
QStringList Unstorable(const QString& text);
