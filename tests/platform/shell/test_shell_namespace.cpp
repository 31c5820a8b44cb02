// The shell namespace walked over a temporary tree: item-ID bytes, the desktop, Computer and
// file-system folders, attributes, names, details, icons, order, renaming and special folders.
#include <fcntl.h>
#include <sys/stat.h>

#include <cstring>
#include <ctime>

#include "ShellTestSupport.h"
#include "platform/shell/ShellFileInfo.h"
#include "platform/system/Files.h"
#include "platform/system/Strings.h"
#include "platform/user/Cursors.h"
#include "platform/user/ImageLists.h"

namespace {

std::vector<Byte> BytesOf(LPCITEMIDLIST ID) {
  const auto* P = reinterpret_cast<const Byte*>(ID);
  return std::vector<Byte>(P, P + ILGetSize(ID));
}

class TNamespaceTest : public TShellTree {
 protected:
  void SetUp() override {
    TShellTree::SetUp();
    WriteFile(Desktop + "/notes.txt", "notes");
    std::filesystem::create_directories(Desktop + "/Project");
    Photos = Home + "/photos";
    std::filesystem::create_directories(Photos + "/sub");
    WriteFile(Photos + "/a.jpg", std::string(2048, 'a'));
    WriteFile(Photos + "/b.PNG", "");
    WriteFile(Photos + "/zz.bin", std::string(1025, 'z'));
    WriteFile(Photos + "/.hidden", "h");
    ASSERT_EQ(::symlink("a.jpg", (Photos + "/link").c_str()), 0);
    std::filesystem::create_directories(Home + "/locked");
    WriteFile(Home + "/locked/keep.txt", "k");
    ::chmod((Home + "/locked/keep.txt").c_str(), 0444);
    ::chmod((Home + "/locked").c_str(), 0555);
    ASSERT_EQ(SHGetDesktopFolder(&DesktopFolder.P), S_OK);
  }

  // The folder object of a path.
  IShellFolder* FolderOf(const std::string& Path) {
    THeldID ID;
    EXPECT_EQ(
        DesktopFolder->ParseDisplayName(nullptr, nullptr, Utf8ToUtf16(Path).c_str(), nullptr, &ID.P, nullptr),
        S_OK)
        << Path;
    IShellFolder* F = nullptr;
    EXPECT_EQ(DesktopFolder->BindToObject(ID.P, nullptr, IID_IShellFolder, reinterpret_cast<void**>(&F)),
              S_OK);
    return F;
  }

  // Parses a name inside Folder; the caller frees the ID.
  static LPITEMIDLIST Child(IShellFolder* Folder, const std::string& Name) {
    LPITEMIDLIST ID = nullptr;
    Folder->ParseDisplayName(nullptr, nullptr, Utf8ToUtf16(Name).c_str(), nullptr, &ID, nullptr);
    return ID;
  }

  static std::vector<std::string> Names(IShellFolder* Folder, DWORD Flags) {
    std::vector<std::string> Out;
    for (LPITEMIDLIST ID : Children(Folder, Flags)) {
      Out.push_back(NameOf(Folder, ID, SHGDN_INFOLDER));
      ILFree(ID);
    }
    std::sort(Out.begin(), Out.end());
    return Out;
  }

  std::string Photos;
  THeld<IShellFolder> DesktopFolder;
};

TEST(TItemIdLists, ElementsAreSizePrefixedKindAndUtf8Name) {
  THeldID A{ILCreateElement(SHID_FILE, "\xC3\xA4.txt")};
  EXPECT_EQ(BytesOf(A.P), (std::vector<Byte>{9, 0, 0x32, 0xC3, 0xA4, '.', 't', 'x', 't', 0, 0}));
  THeldID Folder{ILCreateElement(SHID_FOLDER, "f")};
  THeldID Both{ILCombine(Folder.P, A.P)};
  EXPECT_EQ(BytesOf(Both.P),
            (std::vector<Byte>{4, 0, 0x31, 'f', 9, 0, 0x32, 0xC3, 0xA4, '.', 't', 'x', 't', 0, 0}));
  EXPECT_EQ(ILFindLastID(Both.P), ILGetNext(Both.P));
  EXPECT_TRUE(ILRemoveLastID(Both.P));
  EXPECT_TRUE(ILIsEqual(Both.P, Folder.P));
  EXPECT_TRUE(ILRemoveLastID(Both.P));
  EXPECT_EQ(ILGetSize(Both.P), 2u) << "the desktop's empty list is its terminator";
  EXPECT_FALSE(ILRemoveLastID(Both.P));
  EXPECT_EQ(ILGetSize(nullptr), 0u);
  THeldID Empty{ILCombine(nullptr, nullptr)};
  EXPECT_EQ(ILGetSize(Empty.P), 2u);
}

TEST_F(TNamespaceTest, DesktopHoldsComputerHomeAndTheDesktopEntries) {
  EXPECT_EQ(Names(DesktopFolder.P, SHCONTF_FOLDERS),
            (std::vector<std::string>{"Computer", "Home", "Project"}));
  EXPECT_EQ(Names(DesktopFolder.P, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS),
            (std::vector<std::string>{"Computer", "Home", "Project", "notes.txt"}));
  const std::vector<LPITEMIDLIST> Items = Children(DesktopFolder.P, SHCONTF_FOLDERS);
  ASSERT_EQ(Items.size(), 3u);
  EXPECT_EQ(BytesOf(Items[0]),
            (std::vector<Byte>{11, 0, SHID_COMPUTER, 'C', 'o', 'm', 'p', 'u', 't', 'e', 'r', 0, 0}));
  EXPECT_EQ(NameOf(DesktopFolder.P, Items[1], SHGDN_FORPARSING), Home);
  EXPECT_EQ(NameOf(DesktopFolder.P, Items[2], SHGDN_FORPARSING), Desktop + "/Project");
  // The same four columns on the desktop: Computer and Home are system folders.
  THeld<IShellFolder2> Details;
  ASSERT_EQ(DesktopFolder->QueryInterface(IID_IShellFolder2, Details.Out()), S_OK);
  const std::vector<std::vector<std::string>> Expected = {
      {"Computer", "", "System Folder", ""}, {"Home", "", "System Folder"}, {"Project", "", "File Folder"}};
  for (std::size_t I = 0; I < Items.size(); ++I)
    for (UINT C = 0; C < Expected[I].size(); ++C) {
      SHELLDETAILS D;
      ASSERT_EQ(Details->GetDetailsOf(Items[I], C, &D), S_OK);
      EXPECT_EQ(StrRetToString(&D.str, Items[I]), Expected[I][C]) << I << "," << C;
    }
  for (LPITEMIDLIST ID : Items) ILFree(ID);
  THeldID DesktopID;
  ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &DesktopID.P), S_OK);
  EXPECT_EQ(NameOf(DesktopFolder.P, DesktopID.P, SHGDN_NORMAL), "Desktop");
  EXPECT_EQ(NameOf(DesktopFolder.P, DesktopID.P, SHGDN_FORPARSING), Desktop);
}

TEST_F(TNamespaceTest, ComputerListsTheRootAndRemovableMountsOnly) {
  THeldID ID;
  ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &ID.P), S_OK);
  THeld<IShellFolder> Computer;
  ASSERT_EQ(DesktopFolder->BindToObject(ID.P, nullptr, IID_IShellFolder, Computer.Out()), S_OK);
  std::vector<std::string> Normal, Parsing, Types;
  std::vector<Integer> Icons;
  THeld<IShellFolder2> Details;
  ASSERT_EQ(Computer->QueryInterface(IID_IShellFolder2, Details.Out()), S_OK);
  for (LPITEMIDLIST D : Children(Computer.P, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS)) {
    Normal.push_back(NameOf(Computer.P, D, SHGDN_INFOLDER));
    Parsing.push_back(NameOf(Computer.P, D, SHGDN_FORPARSING));
    SHELLDETAILS Type;
    Details->GetDetailsOf(D, 2, &Type);
    Types.push_back(StrRetToString(&Type.str, D));
    THeldID Full{ILCombine(ID.P, D)};
    SHFILEINFOA Info;
    SHGetFileInfoA(reinterpret_cast<LPCSTR>(Full.P), 0, &Info, sizeof(Info), SHGFI_PIDL | SHGFI_SYSICONINDEX);
    Icons.push_back(Info.iIcon);
    ILFree(D);
  }
  EXPECT_EQ(Types, (std::vector<std::string>{"Local Disk", "Removable Disk", "Removable Disk"}));
  EXPECT_EQ(Icons, (std::vector<Integer>{7, 8, 8}));
  EXPECT_EQ(Normal, (std::vector<std::string>{"File System", "stick", "backup disk"}));
  EXPECT_EQ(Parsing, (std::vector<std::string>{"/", "/media/stick", "/mnt/backup disk"}));
  EXPECT_TRUE(Children(Computer.P, SHCONTF_NONFOLDERS).empty());
  const std::string ComputerName = NameOf(DesktopFolder.P, ID.P, SHGDN_FORPARSING);
  EXPECT_EQ(ComputerName.rfind("::{", 0), 0u);
  EXPECT_EQ(NameOf(DesktopFolder.P, ID.P, SHGDN_NORMAL), "Computer");
  THeldID Again;
  ASSERT_EQ(DesktopFolder->ParseDisplayName(nullptr, nullptr, Utf8ToUtf16(ComputerName).c_str(), nullptr,
                                            &Again.P, nullptr),
            S_OK);
  EXPECT_TRUE(ILIsEqual(Again.P, ID.P));
}

TEST_F(TNamespaceTest, AttributesFollowTheFileSystem) {
  struct TCase {
    std::string Folder, Name;
    DWORD Set, Clear;
  };
  const std::string Locked = Home + "/locked";
  const TCase Table[] = {
      {Photos, "a.jpg", SFGAO_FILESYSTEM | SFGAO_STREAM | SFGAO_CANRENAME,
       SFGAO_FOLDER | SFGAO_HIDDEN | SFGAO_LINK | SFGAO_READONLY | SFGAO_CANDELETE},
      {Photos, "sub",
       SFGAO_FOLDER | SFGAO_FILESYSTEM | SFGAO_FILESYSANCESTOR | SFGAO_HASSUBFOLDER | SFGAO_CANRENAME,
       SFGAO_STREAM | SFGAO_HIDDEN},
      {Photos, ".hidden", SFGAO_HIDDEN | SFGAO_GHOSTED, SFGAO_FOLDER},
      {Photos, "link", SFGAO_LINK | SFGAO_STREAM, SFGAO_FOLDER},
      {Locked, "keep.txt", SFGAO_READONLY, SFGAO_CANRENAME},
  };
  for (const TCase& T : Table) {
    SCOPED_TRACE(T.Name);
    THeld<IShellFolder> Folder{FolderOf(T.Folder)};
    THeldID ID{Child(Folder.P, T.Name)};
    ASSERT_NE(ID.P, nullptr);
    DWORD Attributes = 0xFFFFFFFFu;
    LPCITEMIDLIST IDs[] = {ID.P};
    ASSERT_EQ(Folder->GetAttributesOf(1, IDs, &Attributes), S_OK);
    EXPECT_EQ(Attributes & T.Set, T.Set);
    EXPECT_EQ(Attributes & T.Clear, 0u);
    DWORD Masked = SFGAO_LINK;
    Folder->GetAttributesOf(1, IDs, &Masked);
    EXPECT_EQ(Masked & ~SFGAO_LINK, 0u) << "only requested attributes come back";
  }
  THeldID Root;
  ASSERT_EQ(DesktopFolder->ParseDisplayName(nullptr, nullptr, u"C:", nullptr, &Root.P, nullptr), S_OK);
  DWORD RootAttributes = 0xFFFFFFFFu;
  LPCITEMIDLIST RootIDs[] = {Root.P};
  ASSERT_EQ(DesktopFolder->GetAttributesOf(1, RootIDs, &RootAttributes), S_OK);
  EXPECT_EQ(RootAttributes & (SFGAO_FOLDER | SFGAO_FILESYSTEM), SFGAO_FOLDER | SFGAO_FILESYSTEM);
  EXPECT_EQ(RootAttributes & (SFGAO_REMOVABLE | SFGAO_CANRENAME), 0u);
}

TEST_F(TNamespaceTest, HiddenItemsNeedTheirFlag) {
  THeld<IShellFolder> Folder{FolderOf(Photos)};
  EXPECT_EQ(Names(Folder.P, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS),
            (std::vector<std::string>{"a.jpg", "b.PNG", "link", "sub", "zz.bin"}));
  EXPECT_EQ(Names(Folder.P, SHCONTF_NONFOLDERS | SHCONTF_INCLUDEHIDDEN),
            (std::vector<std::string>{".hidden", "a.jpg", "b.PNG", "link", "zz.bin"}));
  EXPECT_EQ(Names(Folder.P, SHCONTF_FOLDERS), (std::vector<std::string>{"sub"}));
}

TEST_F(TNamespaceTest, NamesInFolderComeByOffsetIntoTheId) {
  THeld<IShellFolder> Folder{FolderOf(Photos)};
  THeldID ID{Child(Folder.P, "a.jpg")};
  STRRET S;
  ASSERT_EQ(Folder->GetDisplayNameOf(ID.P, SHGDN_INFOLDER, &S), S_OK);
  EXPECT_EQ(S.uType, STRRET_OFFSET);
  EXPECT_EQ(S.uOffset, 3u);
  EXPECT_EQ(StrRetToString(&S, ID.P), "a.jpg");
  EXPECT_EQ(NameOf(Folder.P, ID.P, SHGDN_FORPARSING), Photos + "/a.jpg");
  EXPECT_EQ(NameOf(Folder.P, ID.P, SHGDN_NORMAL), "a.jpg");
}

TEST_F(TNamespaceTest, DetailsAreNameSizeTypeAndModified) {
  THeld<IShellFolder> Plain{FolderOf(Photos)};
  THeld<IShellFolder2> Folder;
  ASSERT_EQ(Plain->QueryInterface(IID_IShellFolder2, Folder.Out()), S_OK);
  THeld<IShellDetails> Details;
  ASSERT_EQ(Plain->CreateViewObject(nullptr, IID_IShellDetails, Details.Out()), S_OK);
  const char* Titles[] = {"Name", "Size", "Type", "Modified"};
  for (UINT C = 0; C < 4; ++C) {
    SHELLDETAILS D;
    ASSERT_EQ(Folder->GetDetailsOf(nullptr, C, &D), S_OK);
    EXPECT_EQ(StrRetToString(&D.str, nullptr), Titles[C]);
    EXPECT_EQ(D.fmt, C == 1 ? LVCFMT_RIGHT : LVCFMT_LEFT);
    DWORD State = 0;
    ASSERT_EQ(Folder->GetDefaultColumnState(C, &State), S_OK);
    EXPECT_TRUE(State & SHCOLSTATE_ONBYDEFAULT);
    ASSERT_EQ(Details->GetDetailsOf(nullptr, C, &D), S_OK);
    EXPECT_EQ(StrRetToString(&D.str, nullptr), Titles[C]);
  }
  SHELLDETAILS Past;
  EXPECT_EQ(Folder->GetDetailsOf(nullptr, 4, &Past), E_FAIL);

  // 5 March 2024, 14:07 local time.
  struct tm Local = {};
  Local.tm_year = 124, Local.tm_mon = 2, Local.tm_mday = 5, Local.tm_hour = 14, Local.tm_min = 7,
  Local.tm_isdst = -1;
  const timespec Times[2] = {{std::mktime(&Local), 0}, {std::mktime(&Local), 0}};
  ASSERT_EQ(::utimensat(AT_FDCWD, (Photos + "/a.jpg").c_str(), Times, 0), 0);
  struct TRow {
    const char* Name;
    std::vector<std::string> Texts;  // columns 0..2
  };
  const TRow Rows[] = {
      {"a.jpg", {"a.jpg", "2 KB", "JPG File"}},
      {"zz.bin", {"zz.bin", "2 KB", "BIN File"}},
      {"b.PNG", {"b.PNG", "0 KB", "PNG File"}},
      {"sub", {"sub", "", "File Folder"}},
  };
  for (const TRow& R : Rows) {
    SCOPED_TRACE(R.Name);
    THeldID ID{Child(Plain.P, R.Name)};
    for (UINT C = 0; C < 3; ++C) {
      SHELLDETAILS D;
      ASSERT_EQ(Folder->GetDetailsOf(ID.P, C, &D), S_OK);
      EXPECT_EQ(StrRetToString(&D.str, ID.P), R.Texts[C]);
    }
  }
  THeldID A{Child(Plain.P, "a.jpg")};
  SHELLDETAILS Modified;
  ASSERT_EQ(Folder->GetDetailsOf(A.P, 3, &Modified), S_OK);
  EXPECT_EQ(StrRetToString(&Modified.str, A.P), "05/03/2024 14:07");
}

TEST_F(TNamespaceTest, FileInfoGivesTheSystemIconsAndTypeNames) {
  struct TCase {
    std::string Path;  // empty: the desktop
    Integer Closed, Open;
  };
  const TCase Table[] = {
      {"", 5, 5},
      {Photos, 3, 4},
      {Photos + "/a.jpg", 2, 2},
      {Desktop + "/notes.txt", 1, 1},
      {Photos + "/zz.bin", 0, 0},
      {"C:\\", 7, 7},
  };
  for (const TCase& T : Table) {
    SCOPED_TRACE(T.Path);
    THeldID ID;
    if (T.Path.empty())
      ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &ID.P), S_OK);
    else
      ASSERT_EQ(DesktopFolder->ParseDisplayName(nullptr, nullptr, Utf8ToUtf16(T.Path).c_str(), nullptr, &ID.P,
                                                nullptr),
                S_OK);
    SHFILEINFOA Info;
    const auto Small =
        reinterpret_cast<HIMAGELIST>(SHGetFileInfoA(reinterpret_cast<LPCSTR>(ID.P), 0, &Info, sizeof(Info),
                                                    SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    ASSERT_NE(Small, nullptr);
    EXPECT_EQ(Info.iIcon, T.Closed);
    const auto Large =
        reinterpret_cast<HIMAGELIST>(SHGetFileInfoA(reinterpret_cast<LPCSTR>(ID.P), 0, &Info, sizeof(Info),
                                                    SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_OPENICON));
    EXPECT_EQ(Info.iIcon, T.Open);
    Integer Cx = 0, Cy = 0;
    ASSERT_TRUE(ImageList_GetIconSize(Small, &Cx, &Cy));
    EXPECT_EQ(Cx, 16);
    ASSERT_TRUE(ImageList_GetIconSize(Large, &Cx, &Cy));
    EXPECT_EQ(Cx, 32);
    EXPECT_EQ(ImageList_GetImageCount(Large), 11);
  }
  THeldID Computer, HomeID;
  ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &Computer.P), S_OK);
  ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_PROFILE, &HomeID.P), S_OK);
  SHFILEINFOA Info;
  SHGetFileInfoA(reinterpret_cast<LPCSTR>(Computer.P), 0, &Info, sizeof(Info),
                 SHGFI_PIDL | SHGFI_SYSICONINDEX);
  EXPECT_EQ(Info.iIcon, 6);
  SHGetFileInfoA(reinterpret_cast<LPCSTR>(HomeID.P), 0, &Info, sizeof(Info), SHGFI_PIDL | SHGFI_SYSICONINDEX);
  EXPECT_EQ(Info.iIcon, 9);

  SHFILEINFOA Named;
  ASSERT_EQ(SHGetFileInfoA((Photos + "/a.jpg").c_str(), 0, &Named, sizeof(Named),
                           SHGFI_DISPLAYNAME | SHGFI_TYPENAME | SHGFI_ICON | SHGFI_SMALLICON),
            1u);
  EXPECT_STREQ(Named.szDisplayName, "a.jpg");
  EXPECT_STREQ(Named.szTypeName, "JPG File");
  ASSERT_NE(Named.hIcon, nullptr);
  EXPECT_EQ(Named.hIcon->Width, 16);
  EXPECT_TRUE(DestroyIcon(Named.hIcon)) << "the caller owns the icon";
  SHFILEINFOA Unseen;
  EXPECT_NE(SHGetFileInfoA("/nowhere/x.jpeg", 0, &Unseen, sizeof(Unseen),
                           SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX),
            0u);
  EXPECT_EQ(Unseen.iIcon, 2);
  EXPECT_EQ(SHGetFileInfoA("/nowhere/x.jpeg", 0, &Unseen, sizeof(Unseen), SHGFI_SYSICONINDEX), 0u);
}

TEST_F(TNamespaceTest, SpecialFoldersComeFromTheKnownFolders) {
  struct TCase {
    Integer Csidl;
    std::string Path;  // empty: no path
  };
  const TCase Table[] = {
      {CSIDL_DESKTOP, Desktop},
      {CSIDL_DESKTOPDIRECTORY, Desktop},
      {CSIDL_PERSONAL, Home + "/Documents"},
      {CSIDL_PROFILE, Home},
      {CSIDL_DRIVES, ""},
  };
  for (const TCase& T : Table) {
    SCOPED_TRACE(T.Csidl);
    THeldID ID;
    ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, T.Csidl, &ID.P), S_OK);
    char Path[MAX_PATH];
    EXPECT_EQ(SHGetPathFromIDListA(ID.P, Path), T.Path.empty() ? FALSE : TRUE);
    EXPECT_EQ(Path, T.Path);
  }
  for (Integer Missing :
       {CSIDL_BITBUCKET, CSIDL_NETWORK, CSIDL_PRINTERS, CSIDL_CONTROLS, CSIDL_FONTS, CSIDL_INTERNET}) {
    LPITEMIDLIST ID = reinterpret_cast<LPITEMIDLIST>(1);
    EXPECT_TRUE(FAILED(SHGetSpecialFolderLocation(nullptr, Missing, &ID))) << Missing;
    EXPECT_EQ(ID, nullptr);
  }
}

TEST_F(TNamespaceTest, ParsingAcceptsPathsAndRefusesWhatIsNotThere) {
  THeldID Root, RootSlash;
  ULONG Eaten = 0;
  ASSERT_EQ(DesktopFolder->ParseDisplayName(nullptr, nullptr, u"C:", &Eaten, &Root.P, nullptr), S_OK);
  EXPECT_EQ(Eaten, 2u);
  EXPECT_EQ(BytesOf(Root.P), (std::vector<Byte>{11, 0, SHID_COMPUTER, 'C', 'o', 'm', 'p', 'u', 't', 'e', 'r',
                                                4, 0, SHID_DRIVE, '/', 0, 0}));
  ASSERT_EQ(DesktopFolder->ParseDisplayName(nullptr, nullptr, u"C:\\", nullptr, &RootSlash.P, nullptr), S_OK);
  EXPECT_TRUE(ILIsEqual(Root.P, RootSlash.P));

  const std::u16string Backslashed = Utf8ToUtf16(Photos + "\\sub\\..\\a.jpg");
  THeldID File;
  DWORD Attributes = SFGAO_FOLDER | SFGAO_STREAM;
  ASSERT_EQ(
      DesktopFolder->ParseDisplayName(nullptr, nullptr, Backslashed.c_str(), nullptr, &File.P, &Attributes),
      S_OK);
  EXPECT_EQ(Attributes, SFGAO_STREAM);
  EXPECT_EQ(NameOf(DesktopFolder.P, File.P, SHGDN_FORPARSING), Photos + "/a.jpg");

  const char16_t* Failures[] = {u"D:\\", u"", u"relative-name-not-on-desktop"};
  for (const char16_t* Text : Failures) {
    LPITEMIDLIST ID = nullptr;
    EXPECT_TRUE(FAILED(DesktopFolder->ParseDisplayName(nullptr, nullptr, Text, nullptr, &ID, nullptr)));
    EXPECT_EQ(ID, nullptr);
  }
  LPITEMIDLIST Missing = nullptr;
  EXPECT_EQ(DesktopFolder->ParseDisplayName(nullptr, nullptr, Utf8ToUtf16(Photos + "/missing").c_str(),
                                            nullptr, &Missing, nullptr),
            HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));

  THeld<IShellFolder> Folder{FolderOf(Photos)};
  THeldID Sub{Child(Folder.P, "sub")};
  EXPECT_NE(Sub.P, nullptr);
  EXPECT_EQ(Child(Folder.P, "../photos"), nullptr) << "no way out of the folder";
  EXPECT_EQ(Child(Folder.P, "/etc"), nullptr);
  THeldID Jpg{Child(Folder.P, "a.jpg")};
  IShellFolder* NoFolder = nullptr;
  EXPECT_TRUE(
      FAILED(Folder->BindToObject(Jpg.P, nullptr, IID_IShellFolder, reinterpret_cast<void**>(&NoFolder))));
  EXPECT_EQ(NoFolder, nullptr);
}

TEST_F(TNamespaceTest, MalformedIdsNameNothing) {
  THeld<IShellFolder> Folder{FolderOf(Photos)};
  const std::vector<std::vector<Byte>> Bad = {
      {2, 0, 0, 0},                                        // an element without a kind
      {5, 0, 0x99, 'a', 'b', 0, 0},                        // an unknown kind
      {6, 0, SHID_FILE, 'a', '/', 'b', 0, 0},              // a name with a separator
      {5, 0, SHID_FOLDER, '.', '.', 0, 0},                 // the parent
      {5, 0, SHID_COMPUTER, 'a', 'b', 0, 0},               // Computer below a folder
      {4, 0, SHID_FILE, 'x', 4, 0, SHID_FILE, 'y', 0, 0},  // a file inside a file
  };
  for (const auto& Bytes : Bad) {
    STRRET S;
    EXPECT_EQ(Folder->GetDisplayNameOf(reinterpret_cast<LPCITEMIDLIST>(Bytes.data()), SHGDN_NORMAL, &S),
              E_INVALIDARG)
        << static_cast<int>(Bytes[2]);
  }
}

TEST_F(TNamespaceTest, CompareIdsPutsFoldersFirstThenOrdersByColumn) {
  THeld<IShellFolder> Folder{FolderOf(Photos)};
  std::vector<LPITEMIDLIST> Items = Children(Folder.P, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS);
  auto SortedBy = [&](LPARAM Column) {
    std::sort(Items.begin(), Items.end(), [&](LPCITEMIDLIST A, LPCITEMIDLIST B) {
      return static_cast<short>(HRESULT_CODE(Folder->CompareIDs(Column, A, B))) < 0;
    });
    std::vector<std::string> Out;
    for (LPITEMIDLIST ID : Items) Out.push_back(NameOf(Folder.P, ID, SHGDN_INFOLDER));
    return Out;
  };
  EXPECT_EQ(SortedBy(0), (std::vector<std::string>{"sub", "a.jpg", "b.PNG", "link", "zz.bin"}));
  EXPECT_EQ(SortedBy(1), (std::vector<std::string>{"sub", "b.PNG", "zz.bin", "a.jpg", "link"}));
  EXPECT_EQ(SortedBy(2), (std::vector<std::string>{"sub", "zz.bin", "link", "a.jpg", "b.PNG"}));
  THeldID Same{Child(Folder.P, "a.jpg")}, Built{ILCreateElement(SHID_FILE, "a.jpg")};
  EXPECT_EQ(HRESULT_CODE(Folder->CompareIDs(0, Same.P, Built.P)), 0);
  THeldID Upper{ILCreateElement(SHID_FILE, "A.jpg")};
  EXPECT_NE(HRESULT_CODE(Folder->CompareIDs(0, Same.P, Upper.P)), 0)
      << "names differing in case are two items";
  for (LPITEMIDLIST ID : Items) ILFree(ID);
}

TEST_F(TNamespaceTest, RenamingStaysInTheFolderAndNeverReplaces) {
  THeld<IShellFolder> Folder{FolderOf(Photos)};
  THeldID A{Child(Folder.P, "a.jpg")};
  THeldID Renamed;
  ASSERT_EQ(Folder->SetNameOf(nullptr, A.P, u"c.jpg", SHGDN_NORMAL, &Renamed.P), S_OK);
  EXPECT_EQ(NameOf(Folder.P, Renamed.P, SHGDN_INFOLDER), "c.jpg");
  EXPECT_TRUE(std::filesystem::exists(Photos + "/c.jpg"));
  EXPECT_FALSE(std::filesystem::exists(Photos + "/a.jpg"));

  THeldID B{Child(Folder.P, "b.PNG")};
  LPITEMIDLIST None = nullptr;
  EXPECT_TRUE(FAILED(Folder->SetNameOf(nullptr, B.P, u"c.jpg", SHGDN_NORMAL, &None)));
  EXPECT_EQ(std::filesystem::file_size(Photos + "/c.jpg"), 2048u) << "the other file is kept";
  EXPECT_TRUE(std::filesystem::exists(Photos + "/b.PNG"));
  for (const char16_t* Bad : {u"", u"x/y", u"x\\y", u".."})
    EXPECT_TRUE(FAILED(Folder->SetNameOf(nullptr, B.P, Bad, SHGDN_NORMAL, &None)));
  EXPECT_EQ(None, nullptr);

  THeld<IShellFolder> Locked{FolderOf(Home + "/locked")};
  THeldID Keep{Child(Locked.P, "keep.txt")};
  EXPECT_EQ(Locked->SetNameOf(nullptr, Keep.P, u"moved.txt", SHGDN_NORMAL, nullptr),
            HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED));
  EXPECT_TRUE(std::filesystem::exists(Home + "/locked/keep.txt"));
}

TEST_F(TNamespaceTest, AFolderThatWentAwayFailsToList) {
  THeld<IShellFolder> Folder{FolderOf(Photos + "/sub")};
  std::filesystem::remove(Photos + "/sub");
  IEnumIDList* Enum = nullptr;
  EXPECT_TRUE(FAILED(Folder->EnumObjects(nullptr, SHCONTF_FOLDERS, &Enum)));
  EXPECT_EQ(Enum, nullptr);
}

}  // namespace
