#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "platform/system/Files.h"

namespace {

class TempTree : public ::testing::Test {
 protected:
  TTempFolder Tmp;
  const std::string Dir = Tmp.Path();
  std::string Path(const std::string& Name) const { return Dir + "/" + Name; }
  void Write(const std::string& Name, const std::string& Text) const {
    std::ofstream(Path(Name), std::ios::binary) << Text;
  }
  std::string Read(const std::string& Name) const {
    std::ifstream In(Path(Name), std::ios::binary);
    std::stringstream S;
    S << In.rdbuf();
    return S.str();
  }
};

}  // namespace

TEST(FileNames, SplitOnBothDelimiters) {
  struct Case {
    const char *Name, *Path, *Dir, *File, *Ext;
  };
  const Case Cases[] = {
      {"dir\\sub/a.txt", "dir\\sub/", "dir\\sub", "a.txt", ".txt"},
      {"C:\\dir\\a.txt", "C:\\dir\\", "C:\\dir", "a.txt", ".txt"},
      {"/a.txt", "/", "/", "a.txt", ".txt"},
      {"a.b.c", "", "", "a.b.c", ".c"},
      {"dir.x/name", "dir.x/", "dir.x", "name", ""},
      {"dir\\", "dir\\", "dir", "", ""},
      {"x//y", "x//", "x//", "y", ""},
      {"home/.bashrc", "home/", "home", ".bashrc", ".bashrc"},
      {"", "", "", "", ""},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    EXPECT_EQ(ExtractFilePath(C.Name), C.Path);
    EXPECT_EQ(ExtractFileDir(C.Name), C.Dir);
    EXPECT_EQ(ExtractFileName(C.Name), C.File);
    EXPECT_EQ(ExtractFileExt(C.Name), C.Ext);
    EXPECT_EQ(ExtractFileDrive(C.Name), "");
  }
}

TEST(FileNames, ChangeExtensionAndTrailingDelimiter) {
  EXPECT_EQ(ChangeFileExt("a.txt", ".bmp"), "a.bmp");
  EXPECT_EQ(ChangeFileExt("dir.x\\name", ".jpg"), "dir.x\\name.jpg");
  EXPECT_EQ(ChangeFileExt("a.tar.gz", ""), "a.tar");
  EXPECT_EQ(ChangeFileExt("noext", ".ini"), "noext.ini");

  EXPECT_EQ(IncludeTrailingPathDelimiter("dir"), "dir/");
  EXPECT_EQ(IncludeTrailingPathDelimiter("dir\\"), "dir\\");
  EXPECT_EQ(IncludeTrailingPathDelimiter("dir/"), "dir/");
  EXPECT_EQ(IncludeTrailingPathDelimiter(""), "/");
  EXPECT_EQ(ExcludeTrailingPathDelimiter("dir\\"), "dir");
  EXPECT_EQ(ExcludeTrailingPathDelimiter("dir//"), "dir/");
  EXPECT_EQ(ExcludeTrailingPathDelimiter("dir"), "dir");
  EXPECT_TRUE(IsPathDelimiter("a\\b", 2));
  EXPECT_FALSE(IsPathDelimiter("a\\b", 4));
}

TEST(FileNames, RelativePath) {
  struct Case {
    const char *Base, *Dest, *Expected;
  };
  const Case Cases[] = {
      {"/a/b/c.txt", "/a/d/e.txt", "../d/e.txt"},
      {"/a/b/", "/a/b/x/y.txt", "x/y.txt"},
      {"\\a\\b\\", "/a/e.txt", "../e.txt"},
      {"/a/b/c.ini", "/a/b/c.ini", "c.ini"},
      {"rel/x", "/abs/y", "/abs/y"},
  };
  for (const Case& C : Cases)
    EXPECT_EQ(ExtractRelativePath(C.Base, C.Dest), C.Expected) << C.Base << " " << C.Dest;
}

TEST(FileNames, MatchesMask) {
  struct Case {
    const char *Name, *Mask;
    bool Expected;
  };
  const Case Cases[] = {
      {"A.JPG", "*.jpg", true},      {"abc", "*.*", true},
      {"a.b.c", "*.*", true},        {".", "*.*", true},
      {"readme", "readme.*", true},  {"readme.txt", "readme.*", true},
      {"abc", "a?c", true},          {"ac", "a?c", false},
      {"abcd", "a*d*", true},        {"photo.jpeg", "*.jpg", false},
      {"x.jpg.bak", "*.jpg", false}, {"aaa", "*a*a*a", true},
      {"aa", "*a*a*a", false},       {"x", "", false},
      {"Ärger.txt", "ä*.TXT", true}, {"é.x", "?.x", true},
      {"Über", "über", true},        {"abc", "abc.", false},
  };
  for (const Case& C : Cases) EXPECT_EQ(MatchesMask(C.Name, C.Mask), C.Expected) << C.Name << " " << C.Mask;
}

TEST_F(TempTree, ExpandFileNameIsAbsoluteAndLexical) {
  std::string Saved = GetCurrentDir();
  ASSERT_TRUE(SetCurrentDir(Dir));
  std::string Here = GetCurrentDir();  // /tmp may itself be a link
  EXPECT_EQ(ExpandFileName("a\\..\\b/./c.txt"), Here + "/b/c.txt");
  EXPECT_EQ(ExpandFileName(".."), ExtractFileDir(Here));
  EXPECT_EQ(ExpandFileName("sub\\"), Here + "/sub/");
  ASSERT_TRUE(SetCurrentDir(Saved));
  EXPECT_EQ(ExpandFileName("/x/y/../../.."), "/");
  EXPECT_EQ(ExpandFileName("/x//y/"), "/x/y/");
  EXPECT_EQ(ExpandFileName(""), "");
}

TEST_F(TempTree, FindFirstFiltersByAttributes) {
  Write("a.txt", "12345");
  Write("B.TXT", "");
  Write("c.jpg", "x");
  Write(".hidden", "");
  ASSERT_EQ(::mkdir(Path("sub").c_str(), 0777), 0);

  auto List = [&](const std::string& Mask, Integer Attr, Integer& Result) {
    std::vector<std::string> Names;
    TSearchRec F;
    Result = FindFirst(Dir + "\\" + Mask, Attr, F);
    for (Integer R = Result; R == 0; R = FindNext(F)) Names.push_back(F.Name);
    FindClose(F);
    return Names;
  };
  using V = std::vector<std::string>;
  struct Case {
    const char* Mask;
    Integer Attr;
    Integer Result;
    V Names;
  };
  const Case Cases[] = {
      {"*", 0, 0, V{"a.txt", "B.TXT", "c.jpg"}},
      {"*", faAnyFile, 0, V{".", "..", ".hidden", "a.txt", "B.TXT", "c.jpg", "sub"}},
      {"*.*", faDirectory, 0, V{".", "..", "a.txt", "B.TXT", "c.jpg", "sub"}},
      {"*.txt", faArchive, 0, V{"a.txt", "B.TXT"}},
      {"A.TXT", 0, 0, V{"a.txt"}},
      {"sub", 0, 18, V{}},  // found, but folders were not asked for
      {"*.png", faAnyFile, 2, V{}},
      {"missing/*", faAnyFile, 3, V{}},
      {"", faAnyFile, 2, V{}},
  };
  for (const Case& C : Cases) {
    Integer Result = -1;
    EXPECT_EQ(List(C.Mask, C.Attr, Result), C.Names) << C.Mask << " " << C.Attr;
    EXPECT_EQ(Result, C.Result) << C.Mask << " " << C.Attr;
  }

  TSearchRec F;
  ASSERT_EQ(FindFirst(Path("a.txt"), faAnyFile, F), 0);
  EXPECT_EQ(F.Size, 5);
  EXPECT_EQ(F.Attr, faArchive);
  EXPECT_STREQ(F.FindData.cFileName, "a.txt");
  EXPECT_EQ(F.FindData.nFileSizeLow, 5u);
  EXPECT_EQ(F.Time, FileAge(Path("a.txt")));
  EXPECT_EQ(FindNext(F), 18);
  FindClose(F);
  FindClose(F);  // twice is harmless
  ASSERT_EQ(FindFirst(Path("sub"), faDirectory, F), 0);
  EXPECT_EQ(F.Attr, faDirectory);
  EXPECT_EQ(F.Size, 0);
}

TEST_F(TempTree, FoldersAreCreatedAndRemoved) {
  EXPECT_TRUE(ForceDirectories(Dir + "\\x\\y/z"));
  EXPECT_TRUE(DirectoryExists(Path("x/y/z")));
  EXPECT_FALSE(FileExists(Path("x/y/z")));
  EXPECT_TRUE(ForceDirectories(Dir + "/x/y/z/"));  // already there
  EXPECT_FALSE(ForceDirectories(""));
  Write("file", "");
  EXPECT_FALSE(ForceDirectories(Path("file/q")));

  EXPECT_FALSE(CreateDir(Path("x")));
  EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
  EXPECT_FALSE(CreateDir(Path("nope/deeper")));
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
  EXPECT_FALSE(RemoveDir(Path("x")));
  EXPECT_EQ(GetLastError(), ERROR_DIR_NOT_EMPTY);
  EXPECT_TRUE(RemoveDir(Path("x/y/z")));
  EXPECT_FALSE(DirectoryExists(Path("x/y/z")));
  EXPECT_FALSE(DeleteFile(Path("x")));  // a folder
  EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
}

TEST_F(TempTree, CopyFileHonoursFailIfExists) {
  Write("a", "first");
  Write("b", "second");
  EXPECT_FALSE(CopyFile(Path("a"), Path("b"), TRUE));
  EXPECT_EQ(GetLastError(), ERROR_FILE_EXISTS);
  EXPECT_EQ(Read("b"), "second");
  EXPECT_TRUE(CopyFile(Path("a"), Path("b"), FALSE));
  EXPECT_EQ(Read("b"), "first");
  EXPECT_TRUE(CopyFile(Dir + "\\a", Dir + "\\c", TRUE));
  EXPECT_EQ(Read("c"), "first");
  EXPECT_EQ(FileAge(Path("c")), FileAge(Path("a")));

  EXPECT_FALSE(CopyFile(Path("a"), Path("a"), FALSE));  // onto itself: never truncated
  EXPECT_EQ(Read("a"), "first");
  EXPECT_FALSE(CopyFile(Path("missing"), Path("d"), FALSE));
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  EXPECT_FALSE(FileExists(Path("d")));
  EXPECT_EQ(FileSizeByName(Path("a")), 5);
  EXPECT_EQ(FileSizeByName(Dir), -1);
}

TEST_F(TempTree, RenameNeverReplaces) {
  Write("a", "A");
  Write("b", "B");
  EXPECT_FALSE(RenameFile(Path("a"), Path("b")));
  EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
  EXPECT_EQ(Read("a"), "A");
  EXPECT_EQ(Read("b"), "B");
  EXPECT_TRUE(RenameFile(Dir + "\\a", Dir + "\\c"));
  EXPECT_FALSE(FileExists(Path("a")));
  EXPECT_EQ(Read("c"), "A");
  EXPECT_FALSE(RenameFile(Path("a"), Path("d")));
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}

TEST_F(TempTree, AttributesAndReadOnly) {
  Write("f.txt", "x");
  Write(".dot", "");
  EXPECT_EQ(FileGetAttr(Path("f.txt")), faArchive);
  EXPECT_EQ(FileGetAttr(Path(".dot")), faArchive | faHidden);
  EXPECT_EQ(FileGetAttr(Dir + "/"), faDirectory);
  EXPECT_EQ(GetFileAttributes(Dir), FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_EQ(FileGetAttr(Path("missing")), -1);
  EXPECT_EQ(GetFileAttributes(Path("missing")), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(GetFileAttributes(Path("missing/x")), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);

  ASSERT_EQ(FileSetAttr(Path("f.txt"), faReadOnly), 0);
  EXPECT_EQ(FileGetAttr(Path("f.txt")), faArchive | faReadOnly);
  EXPECT_EQ(GetFileAttributes(Path("f.txt")) & FILE_ATTRIBUTE_READONLY, FILE_ATTRIBUTE_READONLY);
  EXPECT_FALSE(DeleteFile(Path("f.txt")));
  EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
  Write("g.txt", "y");
  EXPECT_FALSE(CopyFile(Path("g.txt"), Path("f.txt"), FALSE));
  EXPECT_EQ(Read("f.txt"), "x");
  // A copy keeps the read-only attribute.
  EXPECT_TRUE(CopyFile(Path("f.txt"), Path("h.txt"), TRUE));
  EXPECT_EQ(FileGetAttr(Path("h.txt")) & faReadOnly, faReadOnly);

  ASSERT_EQ(FileSetAttr(Path("f.txt"), 0), 0);
  EXPECT_EQ(FileGetAttr(Path("f.txt")), faArchive);
  EXPECT_TRUE(DeleteFile(Path("f.txt")));
  EXPECT_FALSE(FileExists(Path("f.txt")));
  EXPECT_NE(FileSetAttr(Path("f.txt"), 0), 0);
}

TEST_F(TempTree, FileDateRoundTrip) {
  Write("f", "");
  // 17 May 2020 13:45:30 local time.
  const Integer Age = (40 << 25) | (5 << 21) | (17 << 16) | (13 << 11) | (45 << 5) | 15;
  ASSERT_EQ(FileSetDate(Path("f"), Age), 0);
  EXPECT_EQ(FileAge(Path("f")), Age);
  EXPECT_EQ(FileAge(Dir), -1);
  EXPECT_EQ(FileAge(Path("missing")), -1);
  EXPECT_NE(FileSetDate(Path("missing"), Age), 0);
}

TEST_F(TempTree, TempFileNamesAreUniqueAndCreated) {
  std::set<std::string> Names;
  const std::regex Shape(std::regex_replace(Dir, std::regex("[.^$|()\\[\\]{}*+?\\\\]"), "\\$&") +
                         "/IMG[0-9A-F]{1,4}\\.tmp");
  for (int I = 0; I < 50; ++I) {
    std::string Name;
    UINT Number = GetTempFileName(Dir, "IMGX", 0, Name);
    ASSERT_NE(Number, 0u);
    EXPECT_TRUE(std::regex_match(Name, Shape)) << Name;
    EXPECT_TRUE(FileExists(Name));
    EXPECT_EQ(FileSizeByName(Name), 0);
    Names.insert(Name);
  }
  EXPECT_EQ(Names.size(), 50u);

  std::string Name;
  EXPECT_EQ(GetTempFileName(Dir + "/", "ab", 0x1ABCD, Name), 0x1ABCDu);
  EXPECT_EQ(Name, Dir + "/abABCD.tmp");
  EXPECT_FALSE(FileExists(Name));  // a given number creates nothing
  EXPECT_EQ(GetTempFileName(Path("missing"), "IMG", 0, Name), 0u);
  EXPECT_EQ(GetLastError(), ERROR_DIRECTORY);
}
