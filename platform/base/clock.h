// The injectable tick clock, and dates and times as TDateTime.
#pragma once

#include <string_view>

#include "platform/base/types.h"

// Milliseconds on the monotonic clock; wraps after 2^32 like the system's tick count.
Cardinal GetTickCount();

// Tests set the clock: under the test clock GetTickCount returns the test
// time and advances it by 1 ms per read, so busy loops that poll it end.
void UseTestClock(Cardinal AStart);
void UseSystemClock();
void AdvanceClock(Cardinal AMilliseconds);
bool TestClockActive();
// GetTickCount without the test clock's step per read, for schedulers that
// look at the time without spending it.
Cardinal PeekTickCount();

// Local date and time from the real-time clock.
TDateTime Now();
TDateTime Date();
TDateTime Time();

// EConvertError for a date outside 1-1-1 .. 9999-12-31 or a time outside the day.
TDateTime EncodeDate(Word AYear, Word AMonth, Word ADay);
TDateTime EncodeTime(Word AHour, Word AMin, Word ASec, Word AMSec);
// To the nearest millisecond. Before 30 December 1899 the integer part is the
// day and the fraction, taken without its sign, the time. A value outside
// years 1..9999, or not a number, decodes to zeros.
void DecodeDate(TDateTime ADateTime, Word& AYear, Word& AMonth, Word& ADay);
void DecodeTime(TDateTime ADateTime, Word& AHour, Word& AMin, Word& ASec, Word& AMSec);

// The toolkit's format letters, in either case: y (yy, yyyy), m (m, mm, mmm,
// mmmm; minutes right after h or hh), d (d, dd, ddd, dddd), h, hh, n, nn, s,
// ss, z, zzz, am/pm, a/p, ampm (a 12-hour h), '/' and ':' as themselves, text
// in single or double quotes. Names are English; anything else is copied.
String FormatDateTime(std::u16string_view AFormat, TDateTime ADateTime);
