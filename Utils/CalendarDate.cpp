#include "Utils/CalendarDate.h"

#include "Utils/Format.h"

namespace {

// The number of `min` to `max` digits at the start of `text`, which it then leaves.
std::optional<int> TakeNumber(std::string_view& text, std::size_t min, std::size_t max) {
    std::size_t digits = 0;
    int value = 0;
    while (digits < text.size() && digits < max && text[digits] >= '0' && text[digits] <= '9')
        value = value * 10 + (text[digits++] - '0');
    if (digits < min) return std::nullopt;
    text.remove_prefix(digits);
    return value;
}

bool TakeSeparator(std::string_view& text, char separator) {
    if (!text.starts_with(separator)) return false;
    text.remove_prefix(1);
    return true;
}

int DaysInMonth(int year, int month) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

std::optional<CCalendarDate> Checked(std::optional<int> year, std::optional<int> month,
                                     std::optional<int> day) {
    if (!year || !month || !day || *year < 1 || *month < 1 || *month > 12) return std::nullopt;
    if (*day < 1 || *day > DaysInMonth(*year, *month)) return std::nullopt;
    return CCalendarDate{*year, *month, *day};
}

}  // namespace

std::optional<CCalendarDate> ReadCalendarDate(std::string_view text) {
    std::string_view rest = text;
    if (const auto year = TakeNumber(rest, 4, 4); year && TakeSeparator(rest, '-')) {
        const auto month = TakeNumber(rest, 2, 2);
        const bool dash = month && TakeSeparator(rest, '-');
        const auto day = dash ? TakeNumber(rest, 2, 2) : std::nullopt;
        return rest.empty() ? Checked(year, month, day) : std::nullopt;
    }
    rest = text;
    const auto day = TakeNumber(rest, 1, 2);
    const auto month = day && TakeSeparator(rest, '.') ? TakeNumber(rest, 1, 2) : std::nullopt;
    const auto year = month && TakeSeparator(rest, '.') ? TakeNumber(rest, 4, 4) : std::nullopt;
    return rest.empty() ? Checked(year, month, day) : std::nullopt;
}

std::string StoredDateText(const CCalendarDate& date) {
    return Format("%04d-%02d-%02d", date.year, date.month, date.day);
}
