// The shell folder layer: item-ID list helpers, folder objects over a temporary tree, root
// texts, display names and the column details.
#include <gtest/gtest.h>

#include <fstream>
#include <vector>

#include "platform/shell/ShlObj.h"
#include "platform/system/Strings.h"
#include "skin/dialogs/bsShellFolders.h"
#include "tests/platform/system/TempFolder.h"

namespace {

LPITEMIDLIST Elements(std::initializer_list<const char*> Names) {
  LPITEMIDLIST List = ILClone(nullptr);
  for (const char* N : Names) {
    LPITEMIDLIST E = ILCreateElement(SHID_FOLDER, N);
    LPITEMIDLIST Joined = ConcatItemIDLists(List, E);
    ShellFree(E);
    ShellFree(List);
    List = Joined;
  }
  return List;
}

TEST(ShellFolders, ItemIdLists) {
  TItemIDHolder Abc(Elements({"A", "B", "C"}));
  EXPECT_EQ(CountItemIDs(Abc.List), 3);
  // Each element: 2 size bytes, 1 kind byte, the name.
  EXPECT_EQ(ItemIDListSize(Abc.List), 3u * 4u + 2u);
  std::vector<LPITEMIDLIST> Ancestors = ItemIDAncestorList(Abc.List);
  ASSERT_EQ(Ancestors.size(), 3u);
  EXPECT_EQ(CountItemIDs(Ancestors[0]), 0);
  EXPECT_EQ(ItemIDListSize(Ancestors[0]), 2u);
  TItemIDHolder A(Elements({"A"})), AB(Elements({"A", "B"}));
  EXPECT_TRUE(ILIsEqual(Ancestors[1], A.List));
  EXPECT_TRUE(ILIsEqual(Ancestors[2], AB.List));
  FreeItemIDAncestorList(Ancestors);
  EXPECT_TRUE(Ancestors.empty());

  TItemIDHolder Last(LastItemIDCopy(Abc.List));
  TItemIDHolder C(Elements({"C"}));
  EXPECT_TRUE(ILIsEqual(Last.List, C.List));
  DropLastItemID(A.List);
  EXPECT_EQ(CountItemIDs(A.List), 0);
  EXPECT_EQ(ItemIDListSize(nullptr), 0u);
  DropLastItemID(nullptr);
  TItemIDHolder Copy(CopyItemIDList(Abc.List));
  EXPECT_TRUE(ILIsEqual(Copy.List, Abc.List));
  EXPECT_EQ(NextItemID(Abc.List), ILGetNext(Abc.List));
}

TEST(ShellFolders, DisplayNamesLoseQuestionMarksBeforeDigits) {
  struct TCase {
    const char* In;
    const char* Out;
  };
  for (const TCase& C :
       {TCase{"?12", "12"}, TCase{"?1?2", "12"}, TCase{"?a", "?a"}, TCase{"?", "?"}, TCase{"a?1", "a?1"}}) {
    STRRET S;
    S.uType = STRRET_CSTR;
    std::snprintf(S.cStr, sizeof(S.cStr), "%s", C.In);
    EXPECT_EQ(StrRetToText(nullptr, S), C.Out) << C.In;
  }
  EXPECT_EQ(ShellDisplayNameOf(nullptr, nullptr, SHGDN_NORMAL), "parentfolder = nil");
}

TEST(ShellFolders, ObjectTypesAndRootNames) {
  EXPECT_EQ(ObjectTypesToEnumFlags({otFolders}), 0x20u);
  EXPECT_EQ(ObjectTypesToEnumFlags({otNonFolders}), 0x40u);
  EXPECT_EQ(ObjectTypesToEnumFlags({otFolders, otNonFolders, otHidden}), 0xE0u);
  TRootFolder R;
  ASSERT_TRUE(RootFolderFromText("rfMyComputer", R));
  EXPECT_EQ(RootFolderCSIDL(R), CSIDL_DRIVES);
  ASSERT_TRUE(RootFolderFromText("rfTemplates", R));
  EXPECT_EQ(RootFolderCSIDL(R), CSIDL_TEMPLATES);
  EXPECT_FALSE(RootFolderFromText("/tmp", R));
}

class TShellTree : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directory(Folder / "sub");
    std::ofstream(Folder / "a.jpg") << "12345";
    std::ofstream(Folder / "pack.zip") << "zip";
  }
  TTempFolder Folder;
};

TEST_F(TShellTree, CreateRootFolder) {
  std::string Root = Folder.Path();
  TbsShellFolder* F = CreateRootFolder(nullptr, "rfDesktop", Root);
  EXPECT_EQ(F->ParsingText(), Folder.Path());
  EXPECT_EQ(F->DiskPath(), Folder.Path());
  EXPECT_TRUE(F->IsContainer());
  EXPECT_EQ(F->Depth, 0);
  // A special folder by name replaces it.
  Root = "rfDesktop";
  F = CreateRootFolder(F, Folder.Path(), Root);
  EXPECT_EQ(CountItemIDs(F->FullID), 0);
  // A missing folder: the text reverts, the message names the bad text, the old object stays.
  Root = Folder / "missing";
  try {
    CreateRootFolder(F, "rfDesktop", Root);
    ADD_FAILURE() << "no exception";
  } catch (const Exception& E) {
    EXPECT_EQ(E.GetMessage(), "Error setting path: \"" + Folder / "missing" + "\"");
  }
  EXPECT_EQ(Root, "rfDesktop");
  EXPECT_EQ(CountItemIDs(F->FullID), 0);
  // "C:" is the file system's root here and gains its separator.
  Root = "C:";
  F = CreateRootFolder(F, "rfDesktop", Root);
  EXPECT_EQ(Root, "C:\\");
  EXPECT_EQ(F->DiskPath(), "/");
  Root = "";
  EXPECT_THROW(CreateRootFolder(F, "C:\\", Root), Exception);
  delete F;
}

TEST_F(TShellTree, ItemsOfAFolder) {
  std::string Root = Folder.Path();
  std::unique_ptr<TbsShellFolder> Parent(CreateRootFolder(nullptr, "", Root));
  auto Child = [&](const char* Name, Byte Kind) {
    TItemIDHolder ID(ILCreateElement(Kind, Name));
    return std::make_unique<TbsShellFolder>(Parent.get(), TComPtr<IShellFolder>(), ID.List);
  };
  auto Jpg = Child("a.jpg", SHID_FILE);
  auto Zip = Child("pack.zip", SHID_FILE);
  auto Sub = Child("sub", SHID_FOLDER);
  EXPECT_EQ(Jpg->DisplayText(), "a.jpg");
  EXPECT_EQ(Jpg->DiskPath(), Folder / "a.jpg");
  EXPECT_EQ(Jpg->Depth, 1);
  EXPECT_FALSE(Jpg->IsContainer());
  EXPECT_FALSE(Zip->IsContainer());
  EXPECT_TRUE(Sub->IsContainer());
  EXPECT_TRUE(Parent->ItemFlags() & 0x10);
  // Details: empty before they are loaded, then the shell's column texts.
  EXPECT_EQ(Jpg->DetailText(1), "");
  Jpg->LoadColumnDetails(Parent.get(), nullptr, 4);
  EXPECT_EQ(Jpg->DetailCount(), 4);
  EXPECT_EQ(Jpg->DetailText(1), "1 KB");
  EXPECT_EQ(Jpg->DetailText(2), "JPG File");
  EXPECT_NE(Jpg->DetailText(3).find(':'), std::string::npos);
  EXPECT_EQ(Jpg->DetailText(9), "");
  const TWin32FindData Data = Jpg->FolderFindData();
  EXPECT_EQ(FindDataSize(Data), 5);
  EXPECT_GT(FindDataModified(Data), 0);
  EXPECT_EQ(FindDataSize(Sub->FolderFindData()), -1);
  // Renaming within the folder.
  EXPECT_TRUE(Jpg->RenameTo(u"b.jpg"));
  EXPECT_EQ(Jpg->DiskPath(), Folder / "b.jpg");
  EXPECT_TRUE(std::filesystem::exists(Folder / "b.jpg"));
  EXPECT_THROW(Jpg->RenameTo(u"sub"), Exception);
  EXPECT_EQ(Jpg->DiskPath(), Folder / "b.jpg");
}

TEST(ShellFolders, AcceptableItemNames) {
  for (const char* Bad : {"", ".", "..", "a/b", "a\\b", "/"}) EXPECT_FALSE(IsAcceptableItemName(Bad)) << Bad;
  for (const char* Good : {"New Folder", ".hidden", "Ünïcode", "a..b"})
    EXPECT_TRUE(IsAcceptableItemName(Good));
}

}  // namespace
