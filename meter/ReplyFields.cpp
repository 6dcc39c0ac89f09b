#include "meter/ReplyFields.h"

#include <vector>

#include "Utils/Format.h"

namespace {
bool IsBcd(std::uint8_t byte) {
    return (byte >> 4) <= 9 && (byte & 0x0F) <= 9;
}

int BcdValue(std::uint8_t byte) {
    return (byte >> 4) * 10 + (byte & 0x0F);
}

int DaysIn(int month, int year) {
    constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}
}  // namespace

CReplyFields::CReplyFields(const CDataPackage& package, const CFrameSpan& frame)
    : package_(package), frame_(frame) {}

std::uint8_t CReplyFields::At(std::size_t index) const {
    return package_.At(frame_.start + index - kFrameStartIndex);
}

void CReplyFields::Fail(const char* field, std::span<const std::size_t> indexes, const char* what) {
    if (!fault_.empty()) return;
    std::string bytes;
    for (std::size_t index : indexes) bytes += Format(bytes.empty() ? "%02X" : " %02X", At(index));
    fault_ = Format("%s (%s) is not %s", field, bytes.c_str(), what);
}

bool CReplyFields::CheckBcd(const char* field, std::span<const std::size_t> indexes) {
    for (std::size_t index : indexes) {
        if (!IsBcd(At(index))) {
            Fail(field, indexes, "a number");
            return false;
        }
    }
    return true;
}

std::string CReplyFields::Digits(const char* field, std::initializer_list<std::size_t> indexes) {
    CheckBcd(field, std::span(indexes.begin(), indexes.size()));
    std::string digits;
    for (std::size_t index : indexes) digits += Format("%02X", At(index));
    return digits;
}

std::string CReplyFields::Clock(const char* field, std::size_t yearHigh, std::size_t yearLow,
                                std::size_t month, std::size_t day, std::size_t hour,
                                std::size_t minute, std::optional<std::size_t> second) {
    std::vector<std::size_t> all = {yearHigh, yearLow, month, day, hour, minute};
    if (second) all.push_back(*second);
    if (!CheckBcd(field, all)) return {};
    const std::size_t secondIndex = second.value_or(minute);
    const int year = BcdValue(At(yearHigh)) * 100 + BcdValue(At(yearLow));
    const int monthValue = BcdValue(At(month));
    const bool real = monthValue >= 1 && monthValue <= 12 && BcdValue(At(day)) >= 1 &&
                      BcdValue(At(day)) <= DaysIn(monthValue, year) && BcdValue(At(hour)) <= 23 &&
                      BcdValue(At(minute)) <= 59 && BcdValue(At(secondIndex)) <= 59;
    if (!real) {
        Fail(field, all, "a date and time");
        return {};
    }
    std::string text = Format("%02X%02X-%02X-%02X %02X:%02X", At(yearHigh), At(yearLow), At(month),
                              At(day), At(hour), At(minute));
    if (second) text += Format(":%02X", At(*second));
    return text;
}
