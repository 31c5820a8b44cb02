#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "platform/system/Exceptions.h"
#include "platform/system/IniFiles.h"
#include "tests/support/FileSizeLimit.h"

namespace {

using TLines = std::vector<std::string>;

void WriteFile(const std::string& Name, const std::string& Text) {
  std::ofstream(Name, std::ios::binary) << Text;
}

std::string ReadFile(const std::string& Name) {
  std::ifstream In(Name, std::ios::binary);
  std::stringstream S;
  S << In.rdbuf();
  return S.str();
}

TLines Lines(TStrings& L) {
  TLines R;
  for (Integer I = 0; I < L.GetCount(); ++I) R.push_back(L.GetStrings(I));
  return R;
}

const std::string Messy =
    "; settings\n"
    "orphan=before any section\n"
    "[Main]\n"
    "  Key One  =  value one  \n"
    "KEY2=a=b\r\n"
    "Quoted=\"  padded  \"\n"
    "Single='x'\n"
    "Half=\"y\n"
    ";Key3=commented\n"
    "empty=\n"
    "no separator\n"
    "\n"
    "[other]\r"
    "k=1\n"
    "[MAIN]\n"
    "late=2\n"
    "key2=dup\n";

}  // namespace

TEST(IniFiles, ProfileReadsFollowThePlatformRules) {
  TTempFolder Tmp;
  WriteFile(Tmp / "m.ini", Messy);
  TIniFile Ini(Tmp / "m.ini");
  struct {
    const char *Section, *Key, *Value;
  } Cases[] = {
      {"main", "key one", "value one"},  // sections and keys ignore case; blanks trimmed
      {"Main", "key2", "a=b"},           // the first '=' splits; the first of two keys wins
      {"Main", "quoted", "  padded  "},  // matching quotes are dropped
      {"Main", "single", "x"},
      {"Main", "half", "\"y"},
      {"Main", "Key3", "DEF"},  // comment
      {"Main", "empty", ""},    // present but empty: not the default
      {"Main", "no separator", "DEF"},
      {"main", "late", "2"},  // a repeated section adds to the first
      {"Main", "orphan", "DEF"},
      {"nosection", "k", "DEF"},
      {"OTHER", "K", "1"},
  };
  for (const auto& C : Cases)
    EXPECT_EQ(Ini.ReadString(C.Section, C.Key, "DEF"), C.Value) << C.Section << "/" << C.Key;

  TStringList L;
  L.Add("stale");
  Ini.ReadSections(&L);
  EXPECT_EQ(Lines(L), (TLines{"Main", "other"}));
  Ini.ReadSection("MAIN", &L);
  EXPECT_EQ(Lines(L), (TLines{"Key One", "KEY2", "Quoted", "Single", "Half", "empty", "late"}));
  Ini.ReadSectionValues("other", &L);
  EXPECT_EQ(Lines(L), (TLines{"k=1"}));
  EXPECT_TRUE(Ini.SectionExists("OTHER"));
  EXPECT_FALSE(Ini.SectionExists("none"));
  EXPECT_TRUE(Ini.ValueExists("main", "LATE"));
  EXPECT_FALSE(Ini.ValueExists("main", "Key3"));

  TIniFile Missing(Tmp / "none.ini");
  EXPECT_EQ(Missing.ReadInteger("a", "b", 42), 42);
  Missing.ReadSections(&L);
  EXPECT_EQ(L.GetCount(), 0);
}

TEST(IniFiles, TypedValuesFallBackToTheDefault) {
  TMemIniFile Ini("");
  struct {
    const char* Text;
    Integer Int;
    bool Bool;
    Double Float;
  } Cases[] = {
      {"12", 12, true, 12},   {"$1F", 31, true, 7.5},  {"0x1f", 31, true, 7.5}, {"-3", -3, true, -3},
      {"0", 0, false, 0},     {"abc", 7, false, 7.5},  {"", 7, false, 7.5},     {"1.5", 7, false, 1.5},
      {"1,5", 7, false, 7.5}, {"True", 7, false, 7.5}, {"1e3", 7, false, 1000},
  };
  for (const auto& C : Cases) {
    Ini.WriteString("S", "v", C.Text);
    EXPECT_EQ(Ini.ReadInteger("S", "v", 7), C.Int) << C.Text;
    EXPECT_EQ(Ini.ReadBool("S", "v", false), C.Bool) << C.Text;
    EXPECT_EQ(Ini.ReadFloat("S", "v", 7.5), C.Float) << C.Text;
  }
  EXPECT_TRUE(Ini.ReadBool("S", "missing", true));
  Ini.WriteBool("S", "b", true);
  Ini.WriteBool("S", "c", false);
  Ini.WriteInteger("S", "i", -5);
  Ini.WriteFloat("S", "f", 0.1);
  EXPECT_EQ(Ini.ReadString("S", "b", ""), "1");
  EXPECT_EQ(Ini.ReadString("S", "c", ""), "0");
  EXPECT_EQ(Ini.ReadString("S", "i", ""), "-5");
  EXPECT_EQ(Ini.ReadString("S", "f", ""), "0.1");
  Ini.WriteDate("S", "d", 40544.0);  // 1 Jan 2011
  EXPECT_EQ(Ini.ReadDate("S", "d", 0), 40544.0);
  EXPECT_EQ(Ini.ReadDate("S", "f", -1), -1);
}

TEST(IniFiles, EveryProfileWriteReachesTheFileAtOnce) {
  TTempFolder Tmp;
  const std::string Name = Tmp.Path() + "\\s.ini";  // either separator
  TIniFile Writer(Name), Reader(Name);
  EXPECT_EQ(Reader.ReadString("Settings", "Skin", "none"), "none");
  Writer.WriteInteger("Settings", "Skin", 2);
  EXPECT_EQ(ReadFile(Tmp / "s.ini"), "[Settings]\r\nSkin=2\r\n");
  EXPECT_EQ(Reader.ReadInteger("settings", "skin", 0), 2);
  Writer.WriteString("SETTINGS", "skin", "  5  ");  // stored as given, read trimmed
  EXPECT_EQ(Reader.ReadString("Settings", "Skin", ""), "5");
  EXPECT_EQ(ReadFile(Tmp / "s.ini"), "[Settings]\r\nSkin=  5  \r\n");
  Writer.WriteString("Settings", "Note", "one\r\n[Evil]\r\nx=1");  // no lines of its own
  EXPECT_EQ(Reader.ReadString("Settings", "Note", ""), "one");
  EXPECT_FALSE(Reader.SectionExists("Evil"));
}

TEST(IniFiles, ProfileWritesKeepOtherLinesAndComments) {
  TTempFolder Tmp;
  WriteFile(Tmp / "c.ini",
            "; top\n"
            "[A]\n"
            "x=1 ; kept\n"
            "\n"
            "; about B\n"
            "[B]\n"
            "y=2\n");
  TIniFile Ini(Tmp / "c.ini");
  Ini.WriteString("a", "new", "n");
  Ini.WriteString("B", "Y", "3");
  Ini.WriteString("C", "z", "4");
  EXPECT_EQ(ReadFile(Tmp / "c.ini"),
            "; top\r\n[A]\r\nx=1 ; kept\r\nnew=n\r\n\r\n; about B\r\n[B]\r\ny=3\r\n\r\n[C]\r\nz=4\r\n");
  Ini.DeleteKey("A", "X");
  Ini.EraseSection("b");
  Ini.DeleteKey("none", "x");
  // A section goes with everything up to the next header.
  EXPECT_EQ(ReadFile(Tmp / "c.ini"), "; top\r\n[A]\r\nnew=n\r\n\r\n; about B\r\n[C]\r\nz=4\r\n");
  EXPECT_EQ(Ini.ReadString("B", "y", "gone"), "gone");
}

TEST(IniFiles, ProfileWriteToAMissingFolderRaises) {
  TTempFolder Tmp;
  const std::string Name = Tmp / "missing/x.ini";
  TIniFile Ini(Name);
  try {
    Ini.WriteInteger("S", "k", 1);
    ADD_FAILURE() << "no exception";
  } catch (const EIniFileException& E) {
    EXPECT_EQ(E.GetMessage(), "Unable to write to " + Name);
  }
}

TEST(IniFiles, WritesThatFailPartWayLeaveTheFileAsItWas) {
  TTempFolder Tmp;
  const std::string Name = Tmp / "s.ini";
  const std::string Old = "[S]\r\nkept=1\r\n";
  WriteFile(Name, Old);
  TIniFile Ini(Name);
  TMemIniFile Mem(Name);
  Mem.WriteString("S", "big", std::string(20000, 'x'));
  {
    TFileSizeLimit Limit(1024);
    EXPECT_THROW(Ini.WriteString("S", "big", std::string(20000, 'x')), EIniFileException);
    EXPECT_ANY_THROW(Mem.UpdateFile());
  }
  EXPECT_EQ(ReadFile(Name), Old);
}

TEST(IniFiles, MemIniFileRoundTrip) {
  TTempFolder Tmp;
  WriteFile(Tmp / "m.ini", Messy);
  TMemIniFile Ini(Tmp / "m.ini");
  EXPECT_EQ(Ini.ReadString("MAIN", "key one", "DEF"), "value one");
  EXPECT_EQ(Ini.ReadString("main", "Quoted", "DEF"), "\"  padded  \"");  // kept as written
  EXPECT_EQ(Ini.ReadString("main", "late", "DEF"), "2");
  EXPECT_EQ(Ini.ReadString("main", "orphan", "DEF"), "DEF");
  EXPECT_EQ(Ini.ReadString("main", "Key3", "DEF"), "DEF");
  TStringList L;
  Ini.ReadSections(&L);
  EXPECT_EQ(Lines(L), (TLines{"Main", "other"}));

  Ini.WriteString("Other", "K", "  one  ");
  EXPECT_EQ(Ini.ReadString("other", "k", ""), "  one  ");
  Ini.WriteString("New", "a", "b");
  Ini.DeleteKey("main", "KEY2");
  Ini.EraseSection("nothing");
  Ini.UpdateFile();
  const std::string Expected =
      "[Main]\r\nKey One=value one\r\nQuoted=\"  padded  \"\r\nSingle='x'\r\nHalf=\"y\r\nempty=\r\nno "
      "separator\r\n"
      "late=2\r\n\r\n[other]\r\nK=  one  \r\n\r\n[New]\r\na=b\r\n\r\n";
  EXPECT_EQ(ReadFile(Tmp / "m.ini"), Expected);

  TMemIniFile Again(Tmp / "m.ini");
  EXPECT_EQ(Again.ReadString("OTHER", "k", ""), "one");  // trimmed when read from the file

  Again.SetCaseSensitive(true);
  EXPECT_EQ(Again.ReadString("main", "late", "DEF"), "DEF");
  EXPECT_EQ(Again.ReadString("Main", "late", "DEF"), "2");
  EXPECT_EQ(Again.ReadString("Main", "LATE", "DEF"), "DEF");

  Again.Rename(Tmp / "absent.ini", true);
  Again.ReadSections(&L);
  EXPECT_EQ(L.GetCount(), 0);
  Again.Rename(Tmp / "m.ini", true);
  EXPECT_EQ(Again.ReadString("New", "a", ""), "b");
}

TEST(IniFiles, MemIniFileFromStrings) {
  TStringList Text;
  Text.SetText("key=ignored\n[Skin]\n  Color = $FF  \n;x=1\n[skin]\nWidth=10\n[Empty]\n");
  TMemIniFile Ini("");
  Ini.SetStrings(&Text);
  EXPECT_EQ(Ini.ReadInteger("SKIN", "color", 0), 255);
  EXPECT_EQ(Ini.ReadInteger("skin", "width", 0), 10);
  EXPECT_FALSE(Ini.SectionExists("Empty"));  // no keys
  TStringList Out;
  Ini.GetStrings(&Out);
  EXPECT_EQ(Lines(Out), (TLines{"[Skin]", "Color=$FF", "Width=10", "", "[Empty]", ""}));
  Ini.ReadSectionValues("skin", &Out);
  EXPECT_EQ(Lines(Out), (TLines{"Color=$FF", "Width=10"}));
  Ini.UpdateFile();  // no file name: nothing written, nothing raised
}
