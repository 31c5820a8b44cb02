#include <gtest/gtest.h>

#include "platform/system/Exceptions.h"
#include "platform/system/Format.h"

namespace {

struct TFormatCase {
  const char* Fmt;
  std::initializer_list<TVarRec> Args;
  const char* Want;
};

std::string ErrorOf(const char* Fmt, std::initializer_list<TVarRec> Args) {
  try {
    Format(Fmt, Args);
  } catch (const EConvertError& E) {
    return E.GetMessage();
  }
  return "<no error>";
}

TEST(Format, IntegerDirectives) {
  const TFormatCase Cases[] = {
      {"%d x %d", {640, 480}, "640 x 480"},
      {"%d", {-12}, "-12"},
      {"%.3d", {7}, "007"},
      {"%.3d", {-7}, "-007"},
      {"%.1d", {1234}, "1234"},
      {"%6d|", {42}, "    42|"},
      {"%-6d|", {42}, "42    |"},
      {"%6.3d", {-5}, "  -005"},
      {"%05d", {3}, "    3"},  // a leading zero is part of the width, not a fill
      {"%d", {-9223372036854775807LL - 1}, "-9223372036854775808"},
      {"%u", {-1}, "4294967295"},
      {"%u", {-5000000000LL}, "18446744068709551616"},
      {"%x", {255}, "FF"},
      {"%X", {255}, "FF"},
      {"%x", {-1}, "FFFFFFFF"},
      {"%x", {-4294967296LL}, "FFFFFFFF00000000"},
      {"%x", {4294967295U}, "FFFFFFFF"},
      {"%.4x", {10}, "000A"},
      {"%D", {true}, "1"},
  };
  for (const auto& C : Cases) EXPECT_EQ(Format(C.Fmt, C.Args), C.Want) << C.Fmt;
}

TEST(Format, FloatDirectives) {
  const TFormatCase Cases[] = {
      {"%e", {1000.0}, "1.00000000000000E+003"},
      {"%.3e", {-0.001234}, "-1.23E-003"},
      {"%f", {3.14159}, "3.14"},
      {"%.0f", {2.5}, "3"},
      {"%.f", {3.5}, "4"},
      {"%.4f", {1.0f}, "1.0000"},
      {"%f", {-0.001}, "0.00"},
      {"%8.1f|", {3.14159}, "     3.1|"},
      {"%-8.1f|", {3.14159}, "3.1     |"},
      {"%g", {0.1}, "0.1"},
      {"%g", {1e20}, "1E20"},
      {"%g", {0.0001}, "0.0001"},
      {"%g", {0.00001}, "1E-5"},
      {"%.3g", {1234.5}, "1.23E3"},
      {"%n", {1234567.891}, "1,234,567.89"},
      {"%.0n", {-1234.0}, "-1,234"},
      {"%m", {1234.5}, "$1,234.50"},
      {"%.1m", {-2.0}, "-$2.0"},
  };
  for (const auto& C : Cases) EXPECT_EQ(Format(C.Fmt, C.Args), C.Want) << C.Fmt;
}

TEST(Format, StringsPointersAndLiterals) {
  int Object = 0;
  const void* Null = nullptr;
  const TFormatCase Cases[] = {
      {"%s: %s", {"Frame", std::string("x.png")}, "Frame: x.png"},
      {"[%5s]", {"ab"}, "[   ab]"},
      {"[%-5s]", {"ab"}, "[ab   ]"},
      {"[%.2s]", {"abcdef"}, "[ab]"},
      {"[%5.2s]", {"abcdef"}, "[   ab]"},
      {"[%.2s]", {"\xc3\xa9\xc3\xa8\xc3\xaa"}, "[\xc3\xa9\xc3\xa8]"},  // characters, not bytes
      {"[%3s]", {"\xc3\xa9"}, "[  \xc3\xa9]"},
      {"%s", {'c'}, "c"},
      {"%s", {std::u16string(u"\u00e9")}, "\xc3\xa9"},
      {"%S", {""}, ""},
      {"%p", {Null}, "0000000000000000"},
      {"100%%", {}, "100%"},
      {"%%d", {1}, "%d"},
      {"no directives", {1}, "no directives"},
  };
  for (const auto& C : Cases) EXPECT_EQ(Format(C.Fmt, C.Args), C.Want) << C.Fmt;
  char Want[32];
  std::snprintf(Want, sizeof Want, "%016llX",
                static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(&Object)));
  EXPECT_EQ(Format("%p", {static_cast<const void*>(&Object)}), Want);
}

TEST(Format, StarAndIndex) {
  const TFormatCase Cases[] = {
      {"[%*d]", {5, 42}, "[   42]"},    {"[%-*d]", {4, 7}, "[7   ]"},
      {"[%.*f]", {3, 1.5}, "[1.500]"},  {"[%*.*f]", {7, 1, 2.25}, "[    2.3]"},
      {"%1:s %0:s", {"a", "b"}, "b a"}, {"%1:s %s %0:s", {"a", "b", "c"}, "b c a"},
      {"%0:s%0:s", {"x"}, "xx"},        {"%1:5d|", {0, 42}, "   42|"},
      {"%1:-4d|", {0, 42}, "42  |"},
  };
  for (const auto& C : Cases) EXPECT_EQ(Format(C.Fmt, C.Args), C.Want) << C.Fmt;
}

TEST(Format, InvalidOrIncompatibleRaises) {
  const TFormatCase Cases[] = {
      {"%d", {"text"}, nullptr},  {"%s", {5}, nullptr},      {"%f", {5}, nullptr},
      {"%e", {5}, nullptr},       {"%g", {5}, nullptr},      {"%n", {5}, nullptr},
      {"%m", {5}, nullptr},       {"%d", {1.5}, nullptr},    {"%x", {1.5}, nullptr},
      {"%p", {5}, nullptr},       {"%d %d", {1}, nullptr},   {"%d", {}, nullptr},
      {"%z", {1}, nullptr},       {"abc%", {1}, nullptr},    {"%5", {1}, nullptr},
      {"%*d", {"w", 1}, nullptr}, {"%2:d", {1, 2}, nullptr}, {"%99999999999d", {1}, nullptr},
  };
  for (const auto& C : Cases) {
    EXPECT_EQ(ErrorOf(C.Fmt, C.Args),
              "Format '" + std::string(C.Fmt) + "' invalid or incompatible with argument")
        << C.Fmt;
  }
}

}  // namespace
