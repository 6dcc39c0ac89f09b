#pragma once

#include <QString>

// The order an operator expects of a list: texts that are numbers (with a point, as stored) by
// their value; other texts alphabetically as Ukrainian has it, case aside, with the numbers in
// them taken whole ("2" before "12", "12" before "12а"). <0, 0 or >0 as `a` comes before, with
// or after `b`. For the user-interface thread.
int CompareTexts(const QString& a, const QString& b);
