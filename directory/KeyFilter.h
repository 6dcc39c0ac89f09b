#pragma once

#include <QChar>
#include <QString>
#include <functional>
#include <optional>

class QLineEdit;

// A typed character's fate: the character to insert in its place, or nothing to drop it.
using TKeyFilter = std::function<std::optional<QChar>(QChar typed, const QString& text)>;

// Applies `filter` to every character typed into `edit`; editing keys pass untouched.
void InstallKeyFilter(QLineEdit* edit, TKeyFilter filter);

// Names: digits, the blank, "." and "," are refused.
std::optional<QChar> NameKey(QChar typed, const QString& text);
// Areas: digits, and one "." per text; a typed "," arrives as that ".".
std::optional<QChar> DecimalKey(QChar typed, const QString& text);
std::optional<QChar> DigitKey(QChar typed, const QString& text);
// A typed "," arrives as ".".
std::optional<QChar> CommaToDotKey(QChar typed, const QString& text);
