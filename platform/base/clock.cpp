#include "platform/base/clock.h"

#include <time.h>

#include <algorithm>
#include <atomic>
#include <cmath>

#include "platform/base/sysutils.h"

namespace {

std::atomic<bool> GTestClock{false};
std::atomic<Cardinal> GTestTicks{0};

constexpr Int64 MSecsPerDay = 86400000;
// Day numbers (days since 30 December 1899) of 1-1-1 and 9999-12-31.
constexpr Int64 MinDay = -693593;
constexpr Int64 MaxDay = 2958465;
// 1 January 1970 as a day number.
constexpr Int64 UnixDay = 25569;

bool IsLeapYear(int AYear) {
    return AYear % 4 == 0 && (AYear % 100 != 0 || AYear % 400 == 0);
}

int DaysInMonth(int AYear, int AMonth) {
    static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return AMonth == 2 && IsLeapYear(AYear) ? 29 : days[AMonth - 1];
}

// Proleptic Gregorian calendar counted in 400-year eras of 146097 days,
// with years starting in March so that the leap day ends the year.
Int64 DayNumber(int AYear, int AMonth, int ADay) {
    const int year = AYear - (AMonth <= 2 ? 1 : 0);
    const int era = (year >= 0 ? year : year - 399) / 400;
    const int yearOfEra = year - era * 400;
    const int dayOfYear = (153 * (AMonth > 2 ? AMonth - 3 : AMonth + 9) + 2) / 5 + ADay - 1;
    const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return Int64{era} * 146097 + dayOfEra - 719468 + UnixDay;
}

void CalendarDate(Int64 ADay, int& AYear, int& AMonth, int& ADayOfMonth) {
    const Int64 days = ADay - UnixDay + 719468;
    const Int64 era = (days >= 0 ? days : days - 146096) / 146097;
    const int dayOfEra = static_cast<int>(days - era * 146097);
    const int yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int monthIndex = (5 * dayOfYear + 2) / 153;
    ADayOfMonth = dayOfYear - (153 * monthIndex + 2) / 5 + 1;
    AMonth = monthIndex < 10 ? monthIndex + 3 : monthIndex - 9;
    AYear = static_cast<int>(yearOfEra + era * 400) + (AMonth <= 2 ? 1 : 0);
}

struct TDecoded {
    int Year = 0, Month = 0, Day = 0, Hour = 0, Min = 0, Sec = 0, MSec = 0;
    int DayOfWeek = -1;  // 0 = Sunday
};

TDecoded Decode(TDateTime AValue) {
    TDecoded result;
    if (!std::isfinite(AValue) || std::fabs(AValue) > 1e7) return result;
    Int64 day = static_cast<Int64>(std::trunc(AValue));
    Int64 msec = std::llround(std::fabs(AValue - static_cast<double>(day)) * MSecsPerDay);
    if (msec >= MSecsPerDay) {  // rounded up to midnight: the next calendar day
        msec -= MSecsPerDay;
        ++day;
    }
    if (day < MinDay || day > MaxDay) return result;
    CalendarDate(day, result.Year, result.Month, result.Day);
    result.Hour = static_cast<int>(msec / 3600000);
    result.Min = static_cast<int>(msec / 60000 % 60);
    result.Sec = static_cast<int>(msec / 1000 % 60);
    result.MSec = static_cast<int>(msec % 1000);
    result.DayOfWeek = static_cast<int>(((day + 6) % 7 + 7) % 7);  // day 0 was a Saturday
    return result;
}

String Digits(int AValue, int AWidth) {
    String text = IntToStr(AValue);
    if (static_cast<int>(text.size()) < AWidth) text.insert(0, AWidth - text.size(), u'0');
    return text;
}

char16_t Lower(char16_t AChar) {
    return AChar >= u'A' && AChar <= u'Z' ? AChar + 32 : AChar;
}

bool StartsWithNoCase(std::u16string_view AText, size_t APos, std::u16string_view APrefix) {
    if (AText.size() - APos < APrefix.size()) return false;
    for (size_t i = 0; i < APrefix.size(); ++i)
        if (Lower(AText[APos + i]) != APrefix[i]) return false;
    return true;
}

// The length of an am/pm specifier at APos, 0 when there is none.
size_t AmPmLength(std::u16string_view AFormat, size_t APos) {
    for (std::u16string_view marker : {u"am/pm", u"a/p", u"ampm"})
        if (StartsWithNoCase(AFormat, APos, marker)) return marker.size();
    return 0;
}

// Whether an am/pm specifier follows APos outside quoted text.
bool TwelveHourAfter(std::u16string_view AFormat, size_t APos) {
    for (size_t i = APos; i < AFormat.size(); ++i) {
        const char16_t c = AFormat[i];
        if (c == u'\'' || c == u'"') {
            const size_t end = AFormat.find(c, i + 1);
            if (end == std::u16string_view::npos) return false;
            i = end;
        } else if (AmPmLength(AFormat, i) > 0) {
            return true;
        }
    }
    return false;
}

// "am" or "pm" in the letter case the format wrote ("AM/PM" gives "PM").
String AmPmText(std::u16string_view AFormat, size_t APos, size_t ALength, bool APm) {
    if (ALength == 4) return APm ? u"PM" : u"AM";
    auto cased = [](char16_t AFormatChar, char16_t ALowerChar) {
        return AFormatChar >= u'A' && AFormatChar <= u'Z' ? static_cast<char16_t>(ALowerChar - 32)
                                                          : ALowerChar;
    };
    if (ALength == 3) return String(1, APm ? cased(AFormat[APos + 2], u'p') : cased(AFormat[APos], u'a'));
    const size_t first = APm ? APos + 3 : APos;
    return String{cased(AFormat[first], APm ? u'p' : u'a'), cased(AFormat[first + 1], u'm')};
}

constexpr const char16_t* MonthNames[] = {u"January",   u"February", u"March",    u"April",
                                          u"May",       u"June",     u"July",     u"August",
                                          u"September", u"October",  u"November", u"December"};
constexpr const char16_t* DayNames[] = {u"Sunday",   u"Monday", u"Tuesday", u"Wednesday",
                                        u"Thursday", u"Friday", u"Saturday"};

String Name(const char16_t* const* ANames, int AIndex, int ACount, bool AShort) {
    if (AIndex < 0 || AIndex >= ACount) return String();
    const String name = ANames[AIndex];
    return AShort ? name.substr(0, 3) : name;
}

}  // namespace

Cardinal GetTickCount() {
    if (GTestClock.load()) return GTestTicks.fetch_add(1);
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<Cardinal>(static_cast<UInt64>(now.tv_sec) * 1000 +
                                 static_cast<UInt64>(now.tv_nsec) / 1000000);
}

void UseTestClock(Cardinal AStart) {
    GTestTicks.store(AStart);
    GTestClock.store(true);
}

void UseSystemClock() {
    GTestClock.store(false);
}

void AdvanceClock(Cardinal AMilliseconds) {
    GTestTicks.fetch_add(AMilliseconds);
}

bool TestClockActive() {
    return GTestClock.load();
}

Cardinal PeekTickCount() {
    return GTestClock.load() ? GTestTicks.load() : GetTickCount();
}

TDateTime Now() {
    timespec now;
    clock_gettime(CLOCK_REALTIME, &now);
    tm local;
    localtime_r(&now.tv_sec, &local);
    return EncodeDate(static_cast<Word>(local.tm_year + 1900), static_cast<Word>(local.tm_mon + 1),
                      static_cast<Word>(local.tm_mday)) +
           EncodeTime(static_cast<Word>(local.tm_hour), static_cast<Word>(local.tm_min),
                      static_cast<Word>(std::min(local.tm_sec, 59)),
                      static_cast<Word>(now.tv_nsec / 1000000));
}

TDateTime Date() {
    return std::trunc(Now());
}

TDateTime Time() {
    const TDateTime now = Now();
    return now - std::trunc(now);
}

TDateTime EncodeDate(Word AYear, Word AMonth, Word ADay) {
    if (AYear < 1 || AYear > 9999 || AMonth < 1 || AMonth > 12 || ADay < 1 ||
        ADay > DaysInMonth(AYear, AMonth))
        throw EConvertError(u"Invalid argument to date encode");
    return static_cast<TDateTime>(DayNumber(AYear, AMonth, ADay));
}

TDateTime EncodeTime(Word AHour, Word AMin, Word ASec, Word AMSec) {
    if (AHour > 23 || AMin > 59 || ASec > 59 || AMSec > 999)
        throw EConvertError(u"Invalid argument to time encode");
    return static_cast<TDateTime>(((AHour * 60 + AMin) * 60 + ASec) * 1000 + AMSec) / MSecsPerDay;
}

void DecodeDate(TDateTime ADateTime, Word& AYear, Word& AMonth, Word& ADay) {
    const TDecoded d = Decode(ADateTime);
    AYear = static_cast<Word>(d.Year);
    AMonth = static_cast<Word>(d.Month);
    ADay = static_cast<Word>(d.Day);
}

void DecodeTime(TDateTime ADateTime, Word& AHour, Word& AMin, Word& ASec, Word& AMSec) {
    const TDecoded d = Decode(ADateTime);
    AHour = static_cast<Word>(d.Hour);
    AMin = static_cast<Word>(d.Min);
    ASec = static_cast<Word>(d.Sec);
    AMSec = static_cast<Word>(d.MSec);
}

String FormatDateTime(std::u16string_view AFormat, TDateTime ADateTime) {
    const TDecoded d = Decode(ADateTime);
    String out;
    bool afterHour = false;  // m and mm right after h or hh are minutes
    size_t i = 0;
    while (i < AFormat.size()) {
        const char16_t c = AFormat[i];
        const char16_t lower = Lower(c);
        if (c == u'\'' || c == u'"') {
            size_t end = AFormat.find(c, i + 1);
            if (end == std::u16string_view::npos) end = AFormat.size();
            out.append(AFormat.substr(i + 1, end - i - 1));
            i = end + 1;
            continue;
        }
        if (lower == u'a') {
            const size_t length = AmPmLength(AFormat, i);
            if (length > 0) {
                out += AmPmText(AFormat, i, length, d.Hour >= 12);
                afterHour = false;
                i += length;
                continue;
            }
        }
        if (lower != u'y' && lower != u'm' && lower != u'd' && lower != u'h' && lower != u'n' &&
            lower != u's' && lower != u'z') {
            out.push_back(c);
            ++i;
            continue;
        }
        size_t count = 1;
        while (i + count < AFormat.size() && Lower(AFormat[i + count]) == lower)
            ++count;
        const bool minutes = lower == u'n' || (lower == u'm' && afterHour && count <= 2);
        if (minutes) {
            out += Digits(d.Min, count >= 2 ? 2 : 1);
        } else if (lower == u'y') {
            out += count <= 2 ? Digits(d.Year % 100, 2) : Digits(d.Year, 4);
        } else if (lower == u'm') {
            out += count <= 2 ? Digits(d.Month, static_cast<int>(count))
                              : Name(MonthNames, d.Month - 1, 12, count == 3);
        } else if (lower == u'd') {
            out += count <= 2 ? Digits(d.Day, static_cast<int>(count))
                              : Name(DayNames, d.DayOfWeek, 7, count == 3);
        } else if (lower == u'h') {
            int hour = d.Hour;
            if (TwelveHourAfter(AFormat, i + count)) hour = hour % 12 == 0 ? 12 : hour % 12;
            out += Digits(hour, count >= 2 ? 2 : 1);
        } else if (lower == u's') {
            out += Digits(d.Sec, count >= 2 ? 2 : 1);
        } else {
            out += Digits(d.MSec, count >= 2 ? 3 : 1);
        }
        afterHour = lower == u'h';
        i += count;
    }
    return out;
}
