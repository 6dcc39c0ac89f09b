#pragma once

#include <QString>

class CDataSubscriber;

// How the apartments list and its questions show an apartment.

// The building's street and house, or "—" when the apartment's bid names no stored building.
QString AddressOf(const CDataSubscriber& subscriber);
// Surname, first name and patronymic, joined by blanks.
QString FullNameOf(const CDataSubscriber& subscriber);
// The shortest decimal form, up to 15 significant digits, with a point.
QString AreaText(double area);
// True when `filter` (as it would be stored) is part of the number, the account or the surname,
// case aside; an empty filter matches every apartment.
bool MatchesFilter(const CDataSubscriber& subscriber, const QString& filter);
