#pragma once
// Dates and times as TDateTime: whole days since 30 Dec 1899 plus the time of day as the
// fraction. Before that day the value is negative and the fraction still counts forwards
// from midnight: -1.25 is 29 Dec 1899, 06:00. Decoding rounds to the nearest millisecond.
// Texts use fixed English settings (TFormatSettings), whatever the user's locale.
#include <string>
#include <string_view>

#include "platform/system/Types.h"

inline constexpr Integer HoursPerDay = 24;
inline constexpr Integer MinsPerDay = HoursPerDay * 60;
inline constexpr Integer SecsPerDay = MinsPerDay * 60;
inline constexpr Integer MSecsPerDay = SecsPerDay * 1000;
// Days from 1 Jan 0001 to 31 Dec 1899, and from 30 Dec 1899 to 1 Jan 1970.
inline constexpr Integer DateDelta = 693594;
inline constexpr Integer UnixDateDelta = 25569;

struct TFormatSettings {
  static constexpr char DateSeparator = '/';
  static constexpr char TimeSeparator = ':';
  static constexpr const char* ShortDateFormat = "m/d/yyyy";
  static constexpr const char* LongDateFormat = "dddd, mmmm d, yyyy";
  static constexpr const char* ShortTimeFormat = "h:nn";
  static constexpr const char* LongTimeFormat = "h:nn:ss";
  static constexpr const char* TimeAMString = "AM";
  static constexpr const char* TimePMString = "PM";
  // A two-digit year read by StrToDate lands in the hundred years that start this many
  // years before the current one.
  static constexpr Integer TwoDigitYearCenturyWindow = 50;
  static constexpr const char* ShortMonthNames[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                      "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  static constexpr const char* LongMonthNames[12] = {"January",   "February", "March",    "April",
                                                     "May",       "June",     "July",     "August",
                                                     "September", "October",  "November", "December"};
  static constexpr const char* ShortDayNames[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  static constexpr const char* LongDayNames[7] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                  "Thursday", "Friday", "Saturday"};
};

inline constexpr TFormatSettings FormatSettings{};

bool IsLeapYear(Word Year);

// Years 1..9999. The Try forms return false on a bad argument; the others raise
// EConvertError "Invalid argument to date encode" / "Invalid argument to time encode".
bool TryEncodeDate(Word Year, Word Month, Word Day, TDateTime& Date);
TDateTime EncodeDate(Word Year, Word Month, Word Day);
bool TryEncodeTime(Word Hour, Word Min, Word Sec, Word MSec, TDateTime& Time);
TDateTime EncodeTime(Word Hour, Word Min, Word Sec, Word MSec);
// The time is added in the direction of the date's sign, so that it decodes back.
TDateTime EncodeDateTime(Word Year, Word Month, Word Day, Word Hour, Word Min, Word Sec, Word MSec);
// A value before 1 Jan 0001 decodes to 0/0/0. A value that is not a number or lies beyond
// the Int64 millisecond range raises EInvalidOp.
void DecodeDate(TDateTime DateTime, Word& Year, Word& Month, Word& Day);
void DecodeTime(TDateTime DateTime, Word& Hour, Word& Min, Word& Sec, Word& MSec);
// 1 = Sunday .. 7 = Saturday.
Word DayOfWeek(TDateTime DateTime);

// From the installed clock (see Clock.h): local date and time, the date alone, the time alone.
TDateTime Now();
TDateTime Date();
TDateTime Time();

// The platform's format letters, upper or lower case:
//   c            short date, then long time unless the time is midnight
//   d dd         day; ddd dddd short/long day name; ddddd short date; dddddd long date
//   m mm         month; mmm mmmm short/long month name; right after an h or hh: minutes
//   yy           two-digit year; yyy and longer: four-digit year
//   e ee         the year (Gregorian era); g gg: the era name, which is empty here
//   h hh n nn s ss   hour, minute, second; z zzz milliseconds
//   t tt         short/long time
//   am/pm a/p    as written, by the half of the day (and a 12-hour h); ampm: AM or PM text
//   / :          date and time separators; '...' and "..." literal text
// Any other character is copied. An empty format means "c".
std::string FormatDateTime(std::string_view Format, TDateTime DateTime);
std::string DateToStr(TDateTime DateTime);
std::string TimeToStr(TDateTime DateTime);
std::string DateTimeToStr(TDateTime DateTime);

// Reads a date in the order of ShortDateFormat (month/day/year); the year may be left out
// (this year) or given with two digits (see TwoDigitYearCenturyWindow). Blanks around the
// numbers are allowed. StrToDate raises EConvertError "'<S>' is not a valid date".
bool TryStrToDate(std::string_view S, TDateTime& Value);
TDateTime StrToDate(std::string_view S);
TDateTime StrToDateDef(std::string_view S, TDateTime Default);
// Times as h:nn[:ss[.zzz]] with an optional AM/PM; date and time as a date, then a time.
// The raising forms give "'<S>' is not a valid time" / "... is not a valid date and time".
bool TryStrToTime(std::string_view S, TDateTime& Value);
bool TryStrToDateTime(std::string_view S, TDateTime& Value);
TDateTime StrToTime(std::string_view S);
TDateTime StrToDateTime(std::string_view S);
