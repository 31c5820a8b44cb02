#include "platform/system/DateTime.h"

#include "platform/system/Clock.h"
#include "platform/system/Exceptions.h"
#include "platform/system/Math.h"

#include <span>

namespace {

constexpr Word MonthDays[2][12] = {{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
                                   {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31}};

// Days counted from 1 Jan 0001 = 1, and milliseconds into the day.
struct TTimeStamp {
  Int64 Date;
  Integer Time;
};

// The value is rounded to whole milliseconds as a whole; a negative value counts its days
// backwards and its time forwards.
TTimeStamp DateTimeToTimeStamp(TDateTime DateTime) {
  const Int64 MSecs = Round(static_cast<Extended>(DateTime) * MSecsPerDay);
  const UInt64 Abs = MSecs < 0 ? 0 - static_cast<UInt64>(MSecs) : static_cast<UInt64>(MSecs);
  const Int64 Days = static_cast<Int64>(Abs / MSecsPerDay);
  return {(MSecs < 0 ? -Days : Days) + DateDelta, static_cast<Integer>(Abs % MSecsPerDay)};
}

void DecodeTimeStampDate(Int64 Date, Word& Year, Word& Month, Word& Day) {
  if (Date <= 0) {
    Year = Month = Day = 0;
    return;
  }
  constexpr Int64 D1 = 365, D4 = D1 * 4 + 1, D100 = D4 * 25 - 1, D400 = D100 * 4 + 1;
  Int64 T = Date - 1;
  Int64 Y = 1 + T / D400 * 400;
  T %= D400;
  Int64 I = T / D100;
  T %= D100;
  if (I == 4) {  // the last day of a 400-year cycle
    --I;
    T += D100;
  }
  Y += I * 100 + T / D4 * 4;
  T %= D4;
  I = T / D1;
  T %= D1;
  if (I == 4) {  // the last day of a leap year
    --I;
    T += D1;
  }
  Y += I;
  Year = static_cast<Word>(Y);
  const Word* Days = MonthDays[IsLeapYear(Year)];
  Word M = 0;
  while (T >= Days[M]) T -= Days[M++];
  Month = static_cast<Word>(M + 1);
  Day = static_cast<Word>(T + 1);
}

struct TParts {
  Word Year, Month, Day, Hour, Min, Sec, MSec, DayOfWeek;
};

TParts DecodeParts(TDateTime DateTime) {
  const TTimeStamp Stamp = DateTimeToTimeStamp(DateTime);
  TParts P{};
  DecodeTimeStampDate(Stamp.Date, P.Year, P.Month, P.Day);
  P.Hour = static_cast<Word>(Stamp.Time / 3600000);
  P.Min = static_cast<Word>(Stamp.Time / 60000 % 60);
  P.Sec = static_cast<Word>(Stamp.Time / 1000 % 60);
  P.MSec = static_cast<Word>(Stamp.Time % 1000);
  P.DayOfWeek = Stamp.Date > 0 ? static_cast<Word>(Stamp.Date % 7 + 1) : 0;
  return P;
}

void AppendNumber(std::string& Out, Integer Value, Integer Digits) {
  const std::string S = std::to_string(Value);
  if (static_cast<Integer>(S.size()) < Digits) Out.append(Digits - S.size(), '0');
  Out += S;
}

// Names for 1-based indexes; nothing for a value outside the table (a date before year 1).
template <size_t N>
void AppendName(std::string& Out, const char* const (&Names)[N], Word Index) {
  const std::span<const char* const> Table(Names);
  if (Index >= 1 && Index <= Table.size()) Out += Table[Index - 1];
}

char UpCase(char C) {
  return C >= 'a' && C <= 'z' ? static_cast<char>(C - 32) : C;
}

bool StartsWithText(std::string_view S, std::string_view Prefix) {
  if (S.size() < Prefix.size()) return false;
  for (size_t I = 0; I < Prefix.size(); ++I)
    if (UpCase(S[I]) != UpCase(Prefix[I])) return false;
  return true;
}

bool IsAmPmAt(std::string_view Rest) {
  return StartsWithText(Rest, "am/pm") || StartsWithText(Rest, "a/p") || StartsWithText(Rest, "ampm");
}

// Two levels at most, so that a setting that names itself cannot recurse for ever.
void AppendFormat(std::string& Out, std::string_view F, const TParts& P, int Level) {
  if (Level >= 2) return;
  using FS = TFormatSettings;
  const size_t N = F.size();
  size_t I = 0;
  char LastToken = ' ';
  bool Use12HourClock = false;
  while (I < N) {
    const char Starter = F[I++];
    // Letters repeat as one token: "yyyy" is one count of four.
    auto GetCount = [&] {
      const size_t Start = I;
      while (I < N && F[I] == Starter) ++I;
      return static_cast<Integer>(I - Start + 1);
    };
    char Token = UpCase(Starter);
    if (Token >= 'A' && Token <= 'Z') {
      if (Token == 'M' && LastToken == 'H') Token = 'N';  // "hh:mm" means minutes
      LastToken = Token;
    }
    switch (Token) {
      case 'Y':
        if (GetCount() <= 2)
          AppendNumber(Out, P.Year % 100, 2);
        else
          AppendNumber(Out, P.Year, 4);
        break;
      case 'E':
        AppendNumber(Out, P.Year, Min(GetCount(), 2));
        break;
      case 'G':  // the Gregorian calendar has no era name here
        GetCount();
        break;
      case 'M': {
        const Integer Count = GetCount();
        if (Count <= 2)
          AppendNumber(Out, P.Month, Count);
        else if (Count == 3)
          AppendName(Out, FS::ShortMonthNames, P.Month);
        else
          AppendName(Out, FS::LongMonthNames, P.Month);
        break;
      }
      case 'D': {
        const Integer Count = GetCount();
        if (Count <= 2)
          AppendNumber(Out, P.Day, Count);
        else if (Count == 3)
          AppendName(Out, FS::ShortDayNames, P.DayOfWeek);
        else if (Count == 4)
          AppendName(Out, FS::LongDayNames, P.DayOfWeek);
        else if (Count == 5)
          AppendFormat(Out, FS::ShortDateFormat, P, Level + 1);
        else
          AppendFormat(Out, FS::LongDateFormat, P, Level + 1);
        break;
      }
      case 'H': {
        const Integer Count = GetCount();
        // A 12-hour clock when an am/pm marker follows before the next hour, outside quotes.
        bool BetweenQuotes = false;
        for (size_t J = I; J < N; ++J) {
          const char C = F[J];
          if ((C == 'A' || C == 'a') && !BetweenQuotes) {
            if (IsAmPmAt(F.substr(J))) Use12HourClock = true;
            break;
          }
          if (C == 'H' || C == 'h') break;
          if (C == '\'' || C == '"') BetweenQuotes = !BetweenQuotes;
        }
        Word Hour = P.Hour;
        if (Use12HourClock) {
          if (Hour == 0)
            Hour = 12;
          else if (Hour > 12)
            Hour -= 12;
        }
        AppendNumber(Out, Hour, Min(Count, 2));
        break;
      }
      case 'N':
        AppendNumber(Out, P.Min, Min(GetCount(), 2));
        break;
      case 'S':
        AppendNumber(Out, P.Sec, Min(GetCount(), 2));
        break;
      case 'Z':
        AppendNumber(Out, P.MSec, Min(GetCount(), 3));
        break;
      case 'T':
        AppendFormat(Out, GetCount() == 1 ? FS::ShortTimeFormat : FS::LongTimeFormat, P, Level + 1);
        break;
      case 'C':
        GetCount();
        AppendFormat(Out, FS::ShortDateFormat, P, Level + 1);
        if (P.Hour != 0 || P.Min != 0 || P.Sec != 0) {
          Out += ' ';
          AppendFormat(Out, FS::LongTimeFormat, P, Level + 1);
        }
        break;
      case 'A': {
        // The marker is copied as written, so "am/pm" gives "pm" and "AM/PM" gives "PM".
        const std::string_view Rest = F.substr(I - 1);
        const bool Pm = P.Hour >= 12;
        if (StartsWithText(Rest, "am/pm")) {
          Out += Rest.substr(Pm ? 3 : 0, 2);
          I += 4;
          Use12HourClock = true;
        } else if (StartsWithText(Rest, "a/p")) {
          Out += Rest.substr(Pm ? 2 : 0, 1);
          I += 2;
          Use12HourClock = true;
        } else if (StartsWithText(Rest, "ampm")) {
          Out += Pm ? FS::TimePMString : FS::TimeAMString;
          I += 3;
          Use12HourClock = true;
        } else {
          Out += Starter;
        }
        break;
      }
      case '/':
        Out += FS::DateSeparator;
        break;
      case ':':
        Out += FS::TimeSeparator;
        break;
      case '\'':
      case '"': {
        const size_t Start = I;
        while (I < N && F[I] != Starter) ++I;
        Out += F.substr(Start, I - Start);
        if (I < N) ++I;
        break;
      }
      default:
        Out += Starter;
        break;
    }
  }
}

[[noreturn]] void DateEncodeError() {
  throw EConvertError("Invalid argument to date encode");
}
[[noreturn]] void TimeEncodeError() {
  throw EConvertError("Invalid argument to time encode");
}

// The scanner behind StrToDate: blanks are spaces, a number has at most four digits that
// matter (reading stops once it reaches 1000).
class TDateScanner {
 public:
  explicit TDateScanner(std::string_view S) : FS(S) {}
  void SkipBlanks() {
    while (FPos < FS.size() && FS[FPos] == ' ') ++FPos;
  }
  bool Number(Integer& Value, Integer& Digits) {
    SkipBlanks();
    const size_t Start = FPos;
    Value = 0;
    while (FPos < FS.size() && FS[FPos] >= '0' && FS[FPos] <= '9' && Value < 1000)
      Value = Value * 10 + (FS[FPos++] - '0');
    Digits = static_cast<Integer>(FPos - Start);
    return Digits > 0;
  }
  bool Char(char C) {
    SkipBlanks();
    if (FPos >= FS.size() || FS[FPos] != C) return false;
    ++FPos;
    return true;
  }
  // Matches Text case-insensitively at the current place.
  bool Word(std::string_view Text) {
    SkipBlanks();
    if (FS.size() - FPos < Text.size()) return false;
    for (size_t I = 0; I < Text.size(); ++I)
      if (UpCase(FS[FPos + I]) != UpCase(Text[I])) return false;
    FPos += Text.size();
    return true;
  }
  bool AtEnd() {
    SkipBlanks();
    return FPos == FS.size();
  }

 private:
  std::string_view FS;
  size_t FPos = 0;
};

enum class TDateOrder { MDY, DMY, YMD };

TDateOrder ShortDateOrder() {
  for (const char* C = TFormatSettings::ShortDateFormat; *C; ++C) {
    switch (UpCase(*C)) {
      case 'D':
        return TDateOrder::DMY;
      case 'Y':
        return TDateOrder::YMD;
      case 'M':
        return TDateOrder::MDY;
    }
  }
  return TDateOrder::MDY;
}

Word CurrentYear() {
  Word Year, Month, Day;
  DecodeDate(Now(), Year, Month, Day);
  return Year;
}

}  // namespace

bool IsLeapYear(Word Year) {
  return Year % 4 == 0 && (Year % 100 != 0 || Year % 400 == 0);
}

bool TryEncodeDate(Word Year, Word Month, Word Day, TDateTime& Date) {
  if (Year < 1 || Year > 9999 || Month < 1 || Month > 12) return false;
  const Word* Days = MonthDays[IsLeapYear(Year)];
  if (Day < 1 || Day > Days[Month - 1]) return false;
  Integer DayOfYear = Day;
  for (Integer M = 0; M < Month - 1; ++M) DayOfYear += Days[M];
  const Integer Y = Year - 1;
  Date = static_cast<TDateTime>(Y * 365 + Y / 4 - Y / 100 + Y / 400 + DayOfYear - DateDelta);
  return true;
}

TDateTime EncodeDate(Word Year, Word Month, Word Day) {
  TDateTime Result;
  if (!TryEncodeDate(Year, Month, Day, Result)) DateEncodeError();
  return Result;
}

bool TryEncodeTime(Word Hour, Word Min, Word Sec, Word MSec, TDateTime& Time) {
  if (Hour >= HoursPerDay || Min >= 60 || Sec >= 60 || MSec >= 1000) return false;
  const Integer MSecs = Hour * 3600000 + Min * 60000 + Sec * 1000 + MSec;
  Time = static_cast<TDateTime>(static_cast<Extended>(MSecs) / MSecsPerDay);
  return true;
}

TDateTime EncodeTime(Word Hour, Word Min, Word Sec, Word MSec) {
  TDateTime Result;
  if (!TryEncodeTime(Hour, Min, Sec, MSec, Result)) TimeEncodeError();
  return Result;
}

TDateTime EncodeDateTime(Word Year, Word Month, Word Day, Word Hour, Word Min, Word Sec, Word MSec) {
  const TDateTime D = EncodeDate(Year, Month, Day);
  const TDateTime T = EncodeTime(Hour, Min, Sec, MSec);
  return D >= 0 ? D + T : D - T;
}

void DecodeDate(TDateTime DateTime, Word& Year, Word& Month, Word& Day) {
  DecodeTimeStampDate(DateTimeToTimeStamp(DateTime).Date, Year, Month, Day);
}

void DecodeTime(TDateTime DateTime, Word& Hour, Word& Min, Word& Sec, Word& MSec) {
  const TParts P = DecodeParts(DateTime);
  Hour = P.Hour;
  Min = P.Min;
  Sec = P.Sec;
  MSec = P.MSec;
}

Word DayOfWeek(TDateTime DateTime) {
  return DecodeParts(DateTime).DayOfWeek;
}

TDateTime Now() {
  return GetClockSource().WallClockNow();
}

TDateTime Date() {
  const TParts P = DecodeParts(Now());
  return EncodeDate(P.Year, P.Month, P.Day);
}

TDateTime Time() {
  const TParts P = DecodeParts(Now());
  return EncodeTime(P.Hour, P.Min, P.Sec, P.MSec);
}

std::string FormatDateTime(std::string_view Format, TDateTime DateTime) {
  std::string Result;
  AppendFormat(Result, Format.empty() ? std::string_view("c") : Format, DecodeParts(DateTime), 0);
  return Result;
}

std::string DateToStr(TDateTime DateTime) {
  return FormatDateTime(TFormatSettings::ShortDateFormat, DateTime);
}
std::string TimeToStr(TDateTime DateTime) {
  return FormatDateTime(TFormatSettings::LongTimeFormat, DateTime);
}
std::string DateTimeToStr(TDateTime DateTime) {
  return FormatDateTime("c", DateTime);
}

namespace {

// Reads a date from Scan without requiring the end of the text.
bool ScanDate(TDateScanner& Scan, TDateTime& Value) {
  Integer N1, N2, N3, L1, L2, L3;
  if (!Scan.Number(N1, L1) || !Scan.Char(TFormatSettings::DateSeparator) || !Scan.Number(N2, L2))
    return false;
  const TDateOrder Order = ShortDateOrder();
  Integer Y, M, D;
  if (Scan.Char(TFormatSettings::DateSeparator)) {
    if (!Scan.Number(N3, L3)) return false;
    Integer YearDigits;
    switch (Order) {
      case TDateOrder::MDY:
        M = N1, D = N2, Y = N3, YearDigits = L3;
        break;
      case TDateOrder::DMY:
        D = N1, M = N2, Y = N3, YearDigits = L3;
        break;
      default:
        Y = N1, M = N2, D = N3, YearDigits = L1;
        break;
    }
    if (YearDigits <= 2) {
      const Integer CenturyBase = CurrentYear() - TFormatSettings::TwoDigitYearCenturyWindow;
      Y += CenturyBase / 100 * 100;
      if (TFormatSettings::TwoDigitYearCenturyWindow > 0 && Y < CenturyBase) Y += 100;
    }
  } else {
    Y = CurrentYear();
    if (Order == TDateOrder::DMY)
      D = N1, M = N2;
    else
      M = N1, D = N2;
  }
  if (Y < 1 || Y > 9999 || M > 12 || D > 31) return false;
  return TryEncodeDate(static_cast<Word>(Y), static_cast<Word>(M), static_cast<Word>(D), Value);
}

// Reads h:nn[:ss[.zzz]] with an optional AM/PM suffix from Scan.
bool ScanTime(TDateScanner& Scan, TDateTime& Value) {
  Integer H, M, Sec = 0, MSec = 0, L;
  if (!Scan.Number(H, L) || !Scan.Char(TFormatSettings::TimeSeparator) || !Scan.Number(M, L)) return false;
  if (Scan.Char(TFormatSettings::TimeSeparator)) {
    if (!Scan.Number(Sec, L)) return false;
    if (Scan.Char('.') && !Scan.Number(MSec, L)) return false;
  }
  if (Scan.Word(TFormatSettings::TimeAMString)) {
    if (H == 0 || H > 12) return false;
    if (H == 12) H = 0;
  } else if (Scan.Word(TFormatSettings::TimePMString)) {
    if (H == 0 || H > 12) return false;
    if (H < 12) H += 12;
  }
  if (H > 23 || M > 59 || Sec > 59 || MSec > 999) return false;
  return TryEncodeTime(static_cast<Word>(H), static_cast<Word>(M), static_cast<Word>(Sec),
                       static_cast<Word>(MSec), Value);
}

}  // namespace

bool TryStrToDate(std::string_view S, TDateTime& Value) {
  TDateScanner Scan(S);
  return ScanDate(Scan, Value) && Scan.AtEnd();
}

bool TryStrToTime(std::string_view S, TDateTime& Value) {
  TDateScanner Scan(S);
  return ScanTime(Scan, Value) && Scan.AtEnd();
}

// A date, optionally followed by a time; a time alone is accepted too, as the platform does.
bool TryStrToDateTime(std::string_view S, TDateTime& Value) {
  TDateTime D = 0, T = 0;
  TDateScanner DateScan(S);
  if (ScanDate(DateScan, D)) {
    if (!DateScan.AtEnd() && !ScanTime(DateScan, T)) return false;
    if (!DateScan.AtEnd()) return false;
    Value = D < 0 ? D - T : D + T;
    return true;
  }
  return TryStrToTime(S, Value);
}

TDateTime StrToTime(std::string_view S) {
  TDateTime Result;
  if (!TryStrToTime(S, Result)) throw EConvertError("'" + std::string(S) + "' is not a valid time");
  return Result;
}

TDateTime StrToDateTime(std::string_view S) {
  TDateTime Result;
  if (!TryStrToDateTime(S, Result))
    throw EConvertError("'" + std::string(S) + "' is not a valid date and time");
  return Result;
}

TDateTime StrToDate(std::string_view S) {
  TDateTime Result;
  if (!TryStrToDate(S, Result)) throw EConvertError("'" + std::string(S) + "' is not a valid date");
  return Result;
}

TDateTime StrToDateDef(std::string_view S, TDateTime Default) {
  TDateTime Result;
  return TryStrToDate(S, Result) ? Result : Default;
}
