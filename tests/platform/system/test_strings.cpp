#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/system/Exceptions.h"
#include "platform/system/Strings.h"

namespace {

template <class F>
std::string ConvertErrorOf(F Call) {
  try {
    Call();
  } catch (const EConvertError& E) {
    return E.GetMessage();
  }
  return "<no error>";
}

TEST(Strings, OneBasedPositions) {
  EXPECT_EQ(Pos("lo", "hello lo"), 4);
  EXPECT_EQ(Pos("x", "hello"), 0);
  EXPECT_EQ(Pos("", "hello"), 0);
  EXPECT_EQ(PosEx("lo", "hello lo", 5), 7);
  EXPECT_EQ(PosEx("lo", "hello lo", 0), 0);
  EXPECT_EQ(PosEx("o", "hello", 6), 0);
  EXPECT_EQ(PosEx("o", "hello", 5), 5);
  EXPECT_EQ(Pos(u"\u00e9t", u"caf\u00e9t"), 4);
}

TEST(Strings, CopyClampsIndexAndCount) {
  struct {
    Integer Index, Count;
    const char* Want;
  } Cases[] = {
      {1, 3, "abc"}, {2, 100, "bcdef"}, {0, 2, "ab"},
      {-5, 2, "ab"}, {6, 1, "f"},       {7, 1, ""},
      {3, 0, ""},    {3, -1, ""},       {2, 0x7FFFFFFF, "bcdef"},
  };
  for (const auto& C : Cases) {
    EXPECT_EQ(Copy("abcdef", C.Index, C.Count), C.Want) << C.Index << "," << C.Count;
  }
  EXPECT_EQ(Copy(u"abcdef", 0, 2), u"ab");
}

TEST(Strings, DeleteAndInsertOutOfRange) {
  struct {
    Integer Index, Count;
    const char* Want;
  } Deletes[] = {
      {2, 2, "adef"},   {5, 100, "abcd"}, {0, 2, "abcdef"},
      {7, 1, "abcdef"}, {2, 0, "abcdef"}, {2, -3, "abcdef"},
  };
  for (const auto& C : Deletes) {
    std::string S = "abcdef";
    Delete(S, C.Index, C.Count);
    EXPECT_EQ(S, C.Want) << C.Index << "," << C.Count;
  }
  struct {
    Integer Index;
    const char* Want;
  } Inserts[] = {{1, "XYabc"}, {2, "aXYbc"}, {4, "abcXY"}, {99, "abcXY"}, {0, "XYabc"}, {-3, "XYabc"}};
  for (const auto& C : Inserts) {
    std::string S = "abc";
    Insert("XY", S, C.Index);
    EXPECT_EQ(S, C.Want) << C.Index;
  }
  std::u16string W = u"abc";
  Delete(W, 2, 1);
  Insert(u"Z", W, 2);
  EXPECT_EQ(W, u"aZc");
}

TEST(Strings, TrimRemovesControlCharactersButNotUtf8) {
  EXPECT_EQ(Trim(" \t\r\n ab c\x01 "), "ab c");
  EXPECT_EQ(TrimLeft("  ab  "), "ab  ");
  EXPECT_EQ(TrimRight("  ab  "), "  ab");
  EXPECT_EQ(Trim("   "), "");
  EXPECT_EQ(Trim("\xc3\xa9 "), "\xc3\xa9");  // é: bytes above 0x7F are no blanks
}

TEST(Strings, CaseAsciiAndAllLetters) {
  EXPECT_EQ(UpperCase("abc \xc3\xa9z"), "ABC \xc3\xa9Z");
  EXPECT_EQ(LowerCase("ABC \xc3\x89Z"), "abc \xc3\x89z");
  EXPECT_EQ(AnsiUpperCase("stra\xc3\x9f"
                          "e \xc3\xa9t\xc3\xa9 \xce\xb1"),
            "STRA\xc3\x9f"
            "E \xc3\x89T\xc3\x89 \xce\x91");
  EXPECT_EQ(AnsiLowerCase("\xc3\x89T\xc3\x89"), "\xc3\xa9t\xc3\xa9");
  EXPECT_EQ(AnsiUpperCase("a\xff"
                          "b"),
            "A\xff"
            "B");  // broken bytes pass through
}

TEST(Strings, Comparisons) {
  EXPECT_LT(CompareStr("abc", "abd"), 0);
  EXPECT_GT(CompareStr("b", "a"), 0);
  EXPECT_LT(CompareStr("ab", "abc"), 0);
  EXPECT_EQ(CompareStr("a", "a"), 0);
  EXPECT_GT(CompareStr("\xc3\xa9", "z"), 0);  // code point order
  EXPECT_EQ(CompareText("HeLLo", "hello"), 0);
  EXPECT_LT(CompareText("a", "_"), 0);  // letters compare as upper case
  EXPECT_NE(CompareText("\xc3\xa9", "\xc3\x89"), 0);
  EXPECT_TRUE(SameText("ABC", "abc"));
  EXPECT_FALSE(SameText("ABC", "abcd"));
  EXPECT_EQ(AnsiCompareText("\xc3\xa9t\xc3\xa9", "\xc3\x89T\xc3\x89"), 0);
  EXPECT_LT(AnsiCompareText("\xc3\xa9", "\xc3\x89x"), 0);
  EXPECT_GT(AnsiCompareText("b", "A"), 0);
  EXPECT_NE(AnsiCompareText("\xff", "\xfe"), 0);  // broken bytes still differ
  EXPECT_TRUE(AnsiSameText("\xce\xb1\xce\xb2", "\xce\x91\xce\x92"));
}

TEST(Strings, StringReplaceFlags) {
  struct {
    const char *S, *Old, *New;
    TReplaceFlags Flags;
    const char* Want;
  } Cases[] = {
      {"a-b-c", "-", "+", 0, "a+b-c"},
      {"a-b-c", "-", "+", rfReplaceAll, "a+b+c"},
      {"aXbxc", "x", "", rfReplaceAll, "aXbc"},
      {"aXbxc", "x", "__", rfReplaceAll | rfIgnoreCase, "a__b__c"},
      {"aXbxc", "x", "_", rfIgnoreCase, "a_bxc"},
      {"aaa", "aa", "b", rfReplaceAll, "ba"},
      {"abc", "", "x", rfReplaceAll, "abc"},
      {"\xc3\x89t\xc3\xa9", "\xc3\xa9", "e", rfReplaceAll | rfIgnoreCase, "ete"},
      {"x\xff"
       "X",
       "x", "y", rfReplaceAll | rfIgnoreCase,
       "y\xff"
       "y"},
  };
  for (const auto& C : Cases) {
    EXPECT_EQ(StringReplace(C.S, C.Old, C.New, C.Flags), C.Want) << C.S << " " << C.Old;
  }
}

TEST(Strings, Quoting) {
  EXPECT_EQ(StringOfChar('-', 3), "---");
  EXPECT_EQ(StringOfChar('-', -1), "");
  EXPECT_EQ(QuotedStr("it's"), "'it''s'");
  EXPECT_EQ(AnsiQuotedStr("a\"b", '"'), "\"a\"\"b\"");
  EXPECT_EQ(AnsiDequotedStr("\"a\"\"b\"", '"'), "a\"b");
  EXPECT_EQ(AnsiDequotedStr("abc", '"'), "abc");
  EXPECT_EQ(AnsiDequotedStr("\"\"", '"'), "");
  EXPECT_EQ(AnsiDequotedStr("\"ab", '"'), "ab");
}

TEST(Strings, IntToStrAndHex) {
  EXPECT_EQ(IntToStr(0), "0");
  EXPECT_EQ(IntToStr(-42), "-42");
  EXPECT_EQ(IntToStr(std::numeric_limits<Int64>::min()), "-9223372036854775808");
  EXPECT_EQ(IntToHex(255, 4), "00FF");
  EXPECT_EQ(IntToHex(0xABCDEF, 2), "ABCDEF");
  EXPECT_EQ(IntToHex(0, 0), "0");
  EXPECT_EQ(IntToHex(-1, 2), "FFFFFFFFFFFFFFFF");
}

TEST(Strings, StrToIntForms) {
  struct {
    const char* S;
    Int64 Want;
  } Good[] = {
      {"0", 0},
      {"123", 123},
      {"+7", 7},
      {"-2147483648", -2147483648LL},
      {"2147483647", 2147483647},
      {"$FF", 255},
      {"0x1f", 31},
      {"0XA", 10},
      {"-$10", -16},
      {"$FFFFFFFF", -1},
      {"007", 7},
  };
  for (const auto& C : Good) EXPECT_EQ(StrToInt(C.S), C.Want) << C.S;
  const char* Bad[] = {"",   " 1",         "1 ",          "abc",        "1.5", "+",   "-",  "$",
                       "0x", "2147483648", "-2147483649", "$100000000", "12a", "--1", "1e3"};
  for (const char* S : Bad) {
    EXPECT_EQ(ConvertErrorOf([&] { StrToInt(S); }), "'" + std::string(S) + "' is not a valid integer value");
  }
  EXPECT_EQ(StrToInt64("-9223372036854775808"), std::numeric_limits<Int64>::min());
  EXPECT_EQ(StrToInt64("4294967296"), 4294967296LL);
  EXPECT_EQ(StrToInt64("$FFFFFFFFFFFFFFFF"), -1);
  EXPECT_EQ(ConvertErrorOf([] { StrToInt64("9223372036854775808"); }),
            "'9223372036854775808' is not a valid integer value");
  EXPECT_EQ(StrToIntDef("x", -3), -3);
  EXPECT_EQ(StrToInt64Def("12", -3), 12);
  Integer V = 5;
  EXPECT_FALSE(TryStrToInt("9999999999", V));
  EXPECT_EQ(V, 5);
}

TEST(Strings, StrToFloatForms) {
  struct {
    const char* S;
    Extended Want;
  } Good[] = {
      {"1.5", 1.5L}, {"-2", -2},    {" 3.25 ", 3.25L},   {".5", 0.5L},
      {"5.", 5},     {"1e3", 1000}, {"+1.5E-2", 0.015L}, {"1e-5000", 0},
  };
  for (const auto& C : Good) EXPECT_EQ(StrToFloat(C.S), C.Want) << C.S;
  EXPECT_EQ(StrToFloat("0.1"), 0.1L);  // full Extended precision
  const char* Bad[] = {"",     "   ",  "1,5", "abc", "1e",     "e5", ".",
                       "1.5x", "0x10", "inf", "nan", "1e5000", "- 1"};
  for (const char* S : Bad) {
    EXPECT_EQ(ConvertErrorOf([&] { StrToFloat(S); }),
              "'" + std::string(S) + "' is not a valid floating point value");
  }
  EXPECT_EQ(StrToFloatDef("?", 7), 7);
}

TEST(Strings, FloatToStrGeneral) {
  struct {
    Extended V;
    const char* Want;
  } Cases[] = {
      {0, "0"},
      {-0.0L, "0"},
      {0.1, "0.1"},
      {1.0 / 3, "0.333333333333333"},
      {2.0 / 3, "0.666666666666667"},
      {-1.5, "-1.5"},
      {100, "100"},
      {1e20, "1E20"},
      {1e15, "1E15"},
      {123456789012345.0, "123456789012345"},
      {1.5e-5, "1.5E-5"},
      {0.0001, "0.0001"},
      {0.00012, "0.00012"},
      {1e-5, "1E-5"},
      {999999999999999.9, "1E15"},
      {1.23456789e-100L, "1.23456789E-100"},
      {std::numeric_limits<Extended>::infinity(), "INF"},
      {-std::numeric_limits<Extended>::infinity(), "-INF"},
      {std::numeric_limits<Extended>::quiet_NaN(), "NAN"},
  };
  for (const auto& C : Cases) EXPECT_EQ(FloatToStr(C.V), C.Want) << static_cast<double>(C.V);
}

TEST(Strings, FloatToStrFFormats) {
  struct {
    Extended V;
    TFloatFormat F;
    Integer Precision, Digits;
    const char* Want;
  } Cases[] = {
      {1234.5, ffFixed, 15, 2, "1234.50"},
      {1234.5, ffFixed, 15, 0, "1235"},
      {2.5, ffFixed, 15, 0, "3"},  // halves away from zero
      {-2.5, ffFixed, 15, 0, "-3"},
      {0.125, ffFixed, 15, 2, "0.13"},
      {1.005, ffFixed, 15, 2, "1.00"},  // 1.00499999... in binary
      {0.05, ffFixed, 15, 3, "0.050"},
      {0.4, ffFixed, 15, 0, "0"},
      {0.6, ffFixed, 15, 0, "1"},
      {-0.001, ffFixed, 15, 2, "0.00"},
      {9.999, ffFixed, 15, 2, "10.00"},
      {0, ffFixed, 15, 2, "0.00"},
      {1e20, ffFixed, 15, 2, "1E20"},
      {1234567.891, ffNumber, 15, 2, "1,234,567.89"},
      {-123456, ffNumber, 15, 0, "-123,456"},
      {999.5, ffNumber, 15, 0, "1,000"},
      {12.3, ffNumber, 15, 1, "12.3"},
      {1234.5, ffCurrency, 15, 2, "$1,234.50"},
      {-5, ffCurrency, 15, 2, "-$5.00"},
      {1234.5, ffExponent, 15, 3, "1.23450000000000E+003"},
      {1234.5, ffExponent, 4, 0, "1.235E+3"},
      {-0.00012, ffExponent, 3, 2, "-1.20E-04"},
      {0, ffExponent, 3, 2, "0.00E+00"},
      {1e100, ffExponent, 2, 1, "1.0E+100"},
      {1234.5, ffGeneral, 4, 0, "1235"},
      {1234.5, ffGeneral, 3, 0, "1.23E3"},
      {1e20, ffGeneral, 15, 3, "1E020"},
      {std::numeric_limits<Extended>::infinity(), ffFixed, 15, 2, "INF"},
  };
  for (const auto& C : Cases) {
    EXPECT_EQ(FloatToStrF(C.V, C.F, C.Precision, C.Digits), C.Want)
        << static_cast<double>(C.V) << " format " << C.F << " " << C.Precision << " " << C.Digits;
  }
}

TEST(Strings, FloatTextRoundTrips) {
  const Extended Values[] = {0.1L, 1.0L / 3, 123.456L, 1e-300L, 6.02214076e23L};
  for (Extended V : Values) {
    EXPECT_NEAR(static_cast<double>(StrToFloat(FloatToStr(V)) / V), 1.0, 1e-14) << static_cast<double>(V);
  }
}

TEST(Strings, Booleans) {
  EXPECT_EQ(BoolToStr(true), "-1");
  EXPECT_EQ(BoolToStr(false), "0");
  EXPECT_EQ(BoolToStr(true, true), "True");
  EXPECT_TRUE(StrToBool("true"));
  EXPECT_FALSE(StrToBool("FALSE"));
  EXPECT_TRUE(StrToBool("-1"));
  EXPECT_FALSE(StrToBool("0"));
  EXPECT_TRUE(StrToBoolDef("maybe", true));
  EXPECT_EQ(ConvertErrorOf([] { StrToBool("yes"); }), "'yes' is not a valid boolean value");
}

TEST(Strings, Utf8ToUtf16) {
  struct {
    const char* In;
    std::u16string Want;
  } Cases[] = {
      {"abc", u"abc"},
      {"\xc3\xa9\xe2\x82\xac", u"\u00e9\u20ac"},
      {"\xf0\x9f\x98\x80", u"\xd83d\xde00"},  // U+1F600 as a surrogate pair
      {"a\xff"
       "b",
       u"a\ufffdb"},        // byte never in UTF-8
      {"\xc3", u"\ufffd"},  // truncated at the end
      {"\xe2\x82"
       "a",
       u"\ufffd"
       "a"},                                              // one U+FFFD for the broken prefix
      {"\xc0\xaf", u"\ufffd\ufffd"},                      // overlong
      {"\xed\xa0\x80", u"\ufffd\ufffd\ufffd"},            // encoded surrogate
      {"\xf4\x90\x80\x80", u"\ufffd\ufffd\ufffd\ufffd"},  // beyond U+10FFFF
      {"\x80", u"\ufffd"},                                // lone continuation byte
  };
  for (const auto& C : Cases) EXPECT_EQ(Utf8ToUtf16(C.In), C.Want) << C.In;
}

TEST(Strings, Utf16ToUtf8) {
  struct {
    std::u16string In;
    const char* Want;
  } Cases[] = {
      {u"abc", "abc"},
      {u"\u00e9\u20ac", "\xc3\xa9\xe2\x82\xac"},
      {u"\xd83d\xde00", "\xf0\x9f\x98\x80"},
      {u"\xdbff\xdfff", "\xf4\x8f\xbf\xbf"},
      {std::u16string(1, char16_t(0xD83D)), "\xef\xbf\xbd"},  // lone high surrogate at the end
      {u"\xd83d"
       "a",
       "\xef\xbf\xbd"
       "a"},
      {u"\xde00\xd83d", "\xef\xbf\xbd\xef\xbf\xbd"},  // pair in the wrong order
  };
  for (const auto& C : Cases) EXPECT_EQ(Utf16ToUtf8(C.In), C.Want);
  EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16("x\xf0\x9f\x98\x80y\xc3\xa9")), "x\xf0\x9f\x98\x80y\xc3\xa9");
}

}  // namespace
