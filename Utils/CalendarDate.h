#pragma once

#include <optional>
#include <string>
#include <string_view>

// A day of the calendar, as the directory stores it: "yyyy-mm-dd".
struct CCalendarDate {
    int year = 0;
    int month = 0;
    int day = 0;
};

// "yyyy-mm-dd", or "dd.mm.yyyy" as spreadsheet programs write dates back (the day and month
// may have one digit there). Nothing for any other text, or for a day the calendar does not
// have (31 April, 29 February of a common year, year 0).
std::optional<CCalendarDate> ReadCalendarDate(std::string_view text);

// "yyyy-mm-dd"
std::string StoredDateText(const CCalendarDate& date);
