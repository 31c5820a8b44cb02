#include <gtest/gtest.h>

#include "platform/system/Clock.h"
#include "platform/system/DateTime.h"
#include "platform/system/Exceptions.h"

TEST(DateTime, EncodeDateCountsDaysFrom30Dec1899) {
  struct {
    Word Y, M, D;
    double Expected;
  } const Cases[] = {{1899, 12, 30, 0},   {1899, 12, 29, -1},     {1900, 1, 1, 2},      {1900, 3, 1, 61},
                     {1970, 1, 1, 25569}, {2000, 1, 1, 36526},    {2000, 2, 29, 36585}, {2000, 3, 1, 36586},
                     {1, 1, 1, -693593},  {9999, 12, 31, 2958465}};
  for (const auto& C : Cases) {
    EXPECT_EQ(EncodeDate(C.Y, C.M, C.D), C.Expected) << C.Y << "-" << C.M << "-" << C.D;
    Word Y, M, D;
    DecodeDate(C.Expected, Y, M, D);
    EXPECT_EQ(Y * 10000 + M * 100 + D, C.Y * 10000 + C.M * 100 + C.D);
  }
}

TEST(DateTime, EveryDayOfTheCalendarRoundTrips) {
  // Each day decodes to the day after the one before it and encodes back to itself.
  Word PrevY = 1, PrevM = 1, PrevD = 0;
  int FirstBad = 0;
  for (int Day = -693593; Day <= 2958465 && FirstBad == 0; ++Day) {
    Word Y, M, D;
    DecodeDate(Day, Y, M, D);
    const bool NextDay = Y == PrevY && M == PrevM && D == PrevD + 1;
    const bool NextMonth = Y == PrevY && M == PrevM + 1 && D == 1;
    const bool NextYear = Y == PrevY + 1 && M == 1 && D == 1 && PrevM == 12 && PrevD == 31;
    TDateTime Back = -1e9;
    if (!(NextDay || NextMonth || NextYear) || !TryEncodeDate(Y, M, D, Back) || Back != Day) FirstBad = Day;
    PrevY = Y, PrevM = M, PrevD = D;
  }
  EXPECT_EQ(FirstBad, 0);
  EXPECT_EQ(PrevY * 10000 + PrevM * 100 + PrevD, 99991231);
}

TEST(DateTime, BadDatesAndTimesAreRejected) {
  struct {
    Word Y, M, D;
    bool Valid;
  } const Dates[] = {{2000, 2, 29, true},  {2004, 2, 29, true},  {1900, 2, 29, false}, {2001, 2, 29, false},
                     {2000, 4, 31, false}, {2000, 13, 1, false}, {2000, 0, 1, false},  {2000, 1, 0, false},
                     {0, 1, 1, false},     {10000, 1, 1, false}};
  for (const auto& C : Dates) {
    TDateTime Value;
    EXPECT_EQ(TryEncodeDate(C.Y, C.M, C.D, Value), C.Valid) << C.Y << "-" << C.M << "-" << C.D;
    EXPECT_EQ(IsLeapYear(C.Y) && C.M == 2 && C.D == 29, C.Valid && C.M == 2 && C.D == 29);
  }
  try {
    EncodeDate(2001, 2, 29);
    FAIL();
  } catch (const EConvertError& E) {
    EXPECT_EQ(E.GetMessage(), "Invalid argument to date encode");
  }
  try {
    EncodeTime(24, 0, 0, 0);
    FAIL();
  } catch (const EConvertError& E) {
    EXPECT_EQ(E.GetMessage(), "Invalid argument to time encode");
  }
  EXPECT_THROW(EncodeTime(0, 60, 0, 0), EConvertError);
  EXPECT_THROW(EncodeTime(0, 0, 0, 1000), EConvertError);
  EXPECT_THROW(EncodeDateTime(2011, 2, 30, 0, 0, 0, 0), EConvertError);
}

TEST(DateTime, TimesDecodeToTheNearestMillisecond) {
  Word H, N, S, MS, Y, M, D;
  const TDateTime T = EncodeTime(23, 59, 59, 999);
  DecodeTime(T, H, N, S, MS);
  EXPECT_EQ(H * 10000000 + N * 100000 + S * 1000 + MS, 235959999);
  EXPECT_EQ(EncodeTime(12, 0, 0, 0), 0.5);

  // Half a millisecond short of midnight rounds into the next day.
  const TDateTime Late = 1.0 - 0.4 / MSecsPerDay;
  DecodeDate(Late, Y, M, D);
  DecodeTime(Late, H, N, S, MS);
  EXPECT_EQ(Y * 10000 + M * 100 + D, 18991231);
  EXPECT_EQ(H + N + S + MS, 0);

  // Before 1899 the days count back, the time of day forwards.
  const TDateTime Early = EncodeDateTime(1899, 12, 29, 6, 0, 0, 0);
  EXPECT_EQ(Early, -1.25);
  DecodeDate(Early, Y, M, D);
  DecodeTime(Early, H, N, S, MS);
  EXPECT_EQ(Y * 10000 + M * 100 + D, 18991229);
  EXPECT_EQ(H, 6);
  EXPECT_EQ(DayOfWeek(Early), 6);  // Friday

  EXPECT_EQ(DayOfWeek(0), 7);  // 30 Dec 1899 was a Saturday
  EXPECT_EQ(DayOfWeek(EncodeDate(2011, 3, 3) + 0.99), 5);
  EXPECT_EQ(DayOfWeek(EncodeDate(2024, 9, 1)), 1);
}

TEST(DateTime, FormatDateTimeLetters) {
  const TDateTime Morning = EncodeDateTime(2011, 3, 3, 9, 5, 7, 45);
  const TDateTime Evening = EncodeDateTime(2004, 12, 25, 21, 30, 0, 0);
  const TDateTime Midnight = EncodeDate(2004, 12, 25);
  const TDateTime Noon = Midnight + 0.5;
  struct {
    const char* Format;
    TDateTime Value;
    const char* Expected;
  } const Cases[] = {
      {"  d mmmm yyy   hh:mm", EncodeDate(2011, 3, 3) + EncodeTime(9, 5, 0, 0), "  3 March 2011   09:05"},
      {"d dd ddd dddd", Morning, "3 03 Thu Thursday"},
      {"m mm mmm mmmm mmmmm", Morning, "3 03 Mar March March"},
      {"yy yyyy yyyyy e ee g", Morning, "11 2011 2011 2011 2011 "},
      {"YY/MM/DD", EncodeDate(2005, 1, 2), "05/01/02"},
      {"h hh n nn s ss z zz zzz zzzz", Morning, "9 09 5 05 7 07 45 45 045 045"},
      {"hh:mm:ss", Morning, "09:05:07"},
      {"h mm", Morning, "9 05"},          // minutes: the last letter was an h
      {"mm", Morning, "03"},              // month
      {"hh dd mm", Morning, "09 03 03"},  // month: the last letter was a d
      {"hh:mm mm", Morning, "09:05 03"},  // only the first m after h is minutes
      {"ddddd | dddddd", Morning, "3/3/2011 | Thursday, March 3, 2011"},
      {"t | tt", Morning, "9:05 | 9:05:07"},
      {"c", Morning, "3/3/2011 9:05:07"},
      {"c", Midnight, "12/25/2004"},
      {"", Evening, "12/25/2004 21:30:00"},
      {"h:nn am/pm", Evening, "9:30 pm"},
      {"hh AM/PM", Evening, "09 PM"},
      {"h a/p | h A/P", Evening, "9 p | 9 P"},
      {"h ampm", Evening, "9 PM"},
      {"h am/pm", Midnight, "12 am"},
      {"h a/p", Noon, "12 p"},
      {"h ampm", Morning, "9 AM"},
      {"h", Evening, "21"},
      {"h 'am/pm'", Evening, "21 am/pm"},  // quoted text does not switch the clock
      {"'d' \"mm\" yyyy", Morning, "d mm 2011"},
      {"'it''s'", Morning, "its"},
      {"'open", Morning, "open"},
      {"a x Q @ 5", Morning, "a x Q @ 5"},
      {"mmmm d, yyyy", EncodeDate(1, 1, 1), "January 1, 0001"},
      {"dd mmm yyyy hh:nn:ss.zzz", EncodeDateTime(9999, 12, 31, 23, 59, 59, 999), "31 Dec 9999 23:59:59.999"},
  };
  for (const auto& C : Cases) EXPECT_EQ(FormatDateTime(C.Format, C.Value), C.Expected) << C.Format;
  EXPECT_EQ(FormatDateTime("  d mmmm yyy   hh:mm", EncodeDate(2011, 3, 3) + EncodeTime(9, 5, 0, 0)).size(),
            22u);

  EXPECT_EQ(DateToStr(Morning), "3/3/2011");
  EXPECT_EQ(TimeToStr(Evening), "21:30:00");
  EXPECT_EQ(DateTimeToStr(Morning), "3/3/2011 9:05:07");
}

TEST(DateTime, StrToDateReadsMonthDayYear) {
  TFakeClock Clock(0, EncodeDate(2011, 3, 3));
  SetClockSource(&Clock);
  struct {
    const char* Text;
    Word Y, M, D;
  } const Cases[] = {
      {"3/4/2011", 2011, 3, 4}, {" 12 / 31 / 1999 ", 1999, 12, 31},
      {"3/4", 2011, 3, 4},      {"2/29/2000", 2000, 2, 29},
      {"3/4/61", 1961, 3, 4},   {"3/4/60", 2060, 3, 4},
      {"3/4/11", 2011, 3, 4},   {"3/4/011", 11, 3, 4},
      {"03/04/0099", 99, 3, 4}, {"3/4/0", 2000, 3, 4},
  };
  for (const auto& C : Cases) EXPECT_EQ(StrToDate(C.Text), EncodeDate(C.Y, C.M, C.D)) << C.Text;

  for (const char* Bad : {"", " ", "2/30/2011", "13/1/2011", "0/1/2011", "3/4/2011x", "3/4/2011 9:00",
                          "3-4-2011", "a/b/c", "3/4/10000", "3/4/0000", "3//2011", "/3/4"}) {
    TDateTime Value = 42;
    EXPECT_FALSE(TryStrToDate(Bad, Value)) << Bad;
    EXPECT_EQ(StrToDateDef(Bad, -7), -7) << Bad;
  }
  try {
    StrToDate("2/30/2011");
    FAIL();
  } catch (const EConvertError& E) {
    EXPECT_EQ(E.GetMessage(), "'2/30/2011' is not a valid date");
  }
  EXPECT_EQ(StrToDate(DateToStr(EncodeDate(1987, 11, 9))), EncodeDate(1987, 11, 9));
  SetClockSource(nullptr);
}

TEST(DateTimeParse, TimesAndDateTimesAsTheFixedSettingsWriteThem) {
  struct TCase {
    const char* Text;
    bool Ok;
    TDateTime Expected;
  };
  const TCase Cases[] = {
      {"9:05", true, EncodeTime(9, 5, 0, 0)},
      {"09:05:30", true, EncodeTime(9, 5, 30, 0)},
      {"12:00 AM", true, EncodeTime(0, 0, 0, 0)},
      {"1:15 pm", true, EncodeTime(13, 15, 0, 0)},
      {"24:00", false, 0},
      {"13:00 PM", false, 0},
      {"9", false, 0},
  };
  for (const TCase& C : Cases) {
    TDateTime Value = -1;
    EXPECT_EQ(TryStrToTime(C.Text, Value), C.Ok) << C.Text;
    if (C.Ok) {
      EXPECT_DOUBLE_EQ(Value, C.Expected) << C.Text;
    }
  }
  const TDateTime Moment = EncodeDate(2011, 3, 3) + EncodeTime(9, 5, 7, 0);
  TDateTime Back = 0;
  ASSERT_TRUE(TryStrToDateTime(DateTimeToStr(Moment), Back));
  EXPECT_NEAR(Back, Moment, 1e-9);
  EXPECT_THROW(StrToDateTime("3/3/2011 nine"), EConvertError);
}
