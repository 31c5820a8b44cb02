// The values of a skin text: how each kind is read, its default, and the value-less pieces of
// rectangles and points that stop a load.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/system/Exceptions.h"
#include "skin/data/bsSkinText.h"

namespace {

std::unique_ptr<TMemIniFile> IniOf(const std::string& Text) {
  TStringList Lines;
  Lines.SetText(Text);
  auto Ini = std::make_unique<TMemIniFile>("");
  Ini->SetStrings(&Lines);
  return Ini;
}

// A one-key section "[s]" with the key k set to Value, or no key when Value is null.
std::unique_ptr<TMemIniFile> KeyIni(const char* Value) {
  return IniOf(Value == nullptr ? "[s]\nother=1\n" : std::string("[s]\nk=") + Value + "\n");
}

TEST(SkinTextTest, RectanglesAndPointsKeepOnlyDigits) {
  struct TCase {
    const char* Text;
    TRect R;
  };
  const std::vector<TCase> Cases{
      {"1,2,3,4", {1, 2, 3, 4}},
      {" 12, 27 ,3,4", {12, 27, 3, 4}},
      // Signs and letters are dropped, so nothing is negative.
      {"-5,3,-0x10,1a2", {5, 3, 10, 12}},
      // Pieces beyond the fields are ignored.
      {"1,2,3,4,5,x", {1, 2, 3, 4}},
  };
  for (const TCase& C : Cases) EXPECT_EQ(ParseRect(C.Text), C.R) << C.Text;
  EXPECT_EQ(ParsePoint("12, 27"), (TPoint{12, 27}));
  EXPECT_EQ(ParsePoint("-5,3"), (TPoint{5, 3}));
  EXPECT_EQ(ParsePoint("1a2,3"), (TPoint{12, 3}));
  // A field without a digit, or missing, is a conversion error.
  for (const char* Bad : {"", "1,2,3", "1,,3,4", "a,b,c,d"})
    EXPECT_THROW(ParseRect(Bad), EConvertError) << Bad;
  for (const char* Bad : {"", "7", ",7"}) EXPECT_THROW(ParsePoint(Bad), EConvertError) << Bad;
}

TEST(SkinTextTest, RectangleAndPointDefaultsAndEmptyValues) {
  TRect R{9, 9, 9, 9};
  TPoint P{9, 9};
  ReadSkinRect(KeyIni(nullptr).get(), "s", "k", R);
  ReadSkinPoint(KeyIni(nullptr).get(), "s", "k", P);
  EXPECT_EQ(R, TRect{});
  EXPECT_EQ(P, TPoint{});
  // An empty value is not an absent key.
  EXPECT_THROW(ReadSkinRect(KeyIni("").get(), "s", "k", R), EConvertError);
}

TEST(SkinTextTest, WordsAndFlags) {
  struct TCase {
    const char* Value;  // null: key absent
    Integer Bool, Align, Stretch, Morph, Effect, Command;
  };
  const std::vector<TCase> Cases{
      {nullptr, 0, taCenter, stFull, mkDefault, ieBrightness, cmDefault},
      {"1", 1, taRightJustify, stHorz, mkDefault, ieGrayScale, cmOther},
      {"01", 1, taRightJustify, stHorz, mkDefault, ieGrayScale, cmOther},
      {"0x1", 1, taRightJustify, stHorz, mkDefault, ieGrayScale, cmOther},
      {"2", 0, taRightJustify, stHorz, mkDefault, ieGrayScale, cmOther},
      {"yes", 0, taRightJustify, stHorz, mkDefault, ieGrayScale, cmOther},
      {"taleftjustify", 0, taLeftJustify, stHorz, mkDefault, ieGrayScale, cmOther},
      {"tacenter", 0, taCenter, stHorz, mkDefault, ieGrayScale, cmOther},
      {"stfull", 0, taRightJustify, stFull, mkDefault, ieGrayScale, cmOther},
      // Words are compared exactly.
      {"STFULL", 0, taRightJustify, stHorz, mkDefault, ieGrayScale, cmOther},
      {"stvert", 0, taRightJustify, stVert, mkDefault, ieGrayScale, cmOther},
      {"mkpush", 0, taRightJustify, stHorz, mkPush, ieGrayScale, cmOther},
      {"mkleftslide", 0, taRightJustify, stHorz, mkLeftSlide, ieGrayScale, cmOther},
      {"ieinvert", 0, taRightJustify, stHorz, mkDefault, ieInvert, cmOther},
      {"iedarkness", 0, taRightJustify, stHorz, mkDefault, ieDarkness, cmOther},
      {"cmrollup", 0, taRightJustify, stHorz, mkDefault, ieGrayScale, cmRollUp},
      {"cmclose", 0, taRightJustify, stHorz, mkDefault, ieGrayScale, cmClose},
      {"cmminimizetotray", 0, taRightJustify, stHorz, mkDefault, ieGrayScale, cmOther},
  };
  for (const TCase& C : Cases) {
    auto Ini = KeyIni(C.Value);
    const std::vector<Integer> Got{ReadSkinBool(Ini.get(), "s", "k"),    ReadAlignment(Ini.get(), "s", "k"),
                                   ReadStretchType(Ini.get(), "s", "k"), ReadMorphKind(Ini.get(), "s", "k"),
                                   ReadEffect(Ini.get(), "s", "k"),      ReadCommand(Ini.get(), "s", "k")};
    EXPECT_EQ(Got, (std::vector<Integer>{C.Bool, C.Align, C.Stretch, C.Morph, C.Effect, C.Command}))
        << (C.Value ? C.Value : "(absent)");
  }
}

TEST(SkinTextTest, FontStylesAreFoundAnywhere) {
  const auto Styles = [](const char* V) { return ReadFontStyleWords(KeyIni(V).get(), "s", "k"); };
  EXPECT_EQ(Styles("fsbold,fsunderline"), (TFontStyles{fsBold, fsUnderline}));
  EXPECT_EQ(Styles("fsunderlinefsbold"), (TFontStyles{fsBold, fsUnderline}));
  EXPECT_EQ(Styles("fsitalic fsstrikeout fsitalic"), (TFontStyles{fsItalic, fsStrikeOut}));
  EXPECT_EQ(Styles("FSBOLD"), TFontStyles{});
  EXPECT_EQ(Styles(nullptr), TFontStyles{});
}

TEST(SkinTextTest, StringListsAppend) {
  TStringList Names;
  Names.Add("kept");
  ReadIniStringList(IniOf("[p]\nactivepicturescount=2\n0=a.bmp\n").get(), "p", "activepictures", &Names);
  EXPECT_EQ(Names.GetCount(), 3);
  EXPECT_EQ(Names.GetStrings(0), "kept");
  EXPECT_EQ(Names.GetStrings(1), "a.bmp");
  EXPECT_EQ(Names.GetStrings(2), "");
}

TEST(SkinTextTest, ASkinTextHasAllFiveSections) {
  const std::string Five =
      "[VERSION]\n[PICTURES]\n[FORMINFO]\n[SKINOBJECTS]\ncount=0\n[skincontrols]\ncount=0\n";
  EXPECT_TRUE(IsSkinIni(IniOf(Five).get()));
  EXPECT_FALSE(IsSkinIni(IniOf("[VERSION]\n[PICTURES]\n[FORMINFO]\n[SKINOBJECTS]\n").get()));
}

TEST(SkinTextTest, WritersReadBack) {
  TMemIniFile Ini("");
  WriteSkinRect(&Ini, "s", "r", TRect{1, 2, 30, 40});
  WriteFontStyleWords(&Ini, "s", "f", TFontStyles{fsStrikeOut, fsBold});
  WriteStretchType(&Ini, "s", "t", stVert);
  WriteStretchType(&Ini, "s", "bad", 7);
  WriteAlignment(&Ini, "s", "a", 5);
  EXPECT_EQ(Ini.ReadString("s", "r", ""), "1,2,30,40");
  EXPECT_EQ(Ini.ReadString("s", "f", ""), "fsbold,fsstrikeout");
  EXPECT_EQ(Ini.ReadString("s", "t", ""), "stvert");
  EXPECT_EQ(Ini.ReadString("s", "bad", "x"), "");
  EXPECT_EQ(Ini.ReadString("s", "a", ""), "tarightjustify");
}

}  // namespace
