// The items' context menu: its commands, their verbs, opening files and folders, and the
// verbs that fail quietly.
#include <string>
#include <vector>

#include "ShellTestSupport.h"
#include "platform/classes/UtilityWindow.h"
#include "platform/shell/ShellAPI.h"
#include "platform/system/Files.h"
#include "platform/system/Strings.h"
#include "platform/user/Menus.h"
#include "platform/user/WindowMessages.h"

namespace {

class TContextMenuTest : public TShellTree {
 protected:
  void SetUp() override {
    TShellTree::SetUp();
    WriteFile(Home + "/picture.jpg", "jpg");
    std::filesystem::create_directories(Home + "/album");
    std::filesystem::create_directories(Home + "/locked");
    WriteFile(Home + "/locked/fixed.txt", "f");
    ::chmod((Home + "/locked").c_str(), 0555);
    SetShellOpenHook([this](const std::string& Target) {
      Opened.push_back(Target);
      return true;
    });
    ASSERT_EQ(SHGetDesktopFolder(&DesktopFolder.P), S_OK);
  }
  void TearDown() override {
    SetShellOpenHook(nullptr);
    TShellTree::TearDown();
  }

  // The menu of the item at Path, from its folder.
  IContextMenu* MenuOf(const std::string& Path) {
    THeldID ID;
    EXPECT_EQ(
        DesktopFolder->ParseDisplayName(nullptr, nullptr, Utf8ToUtf16(Path).c_str(), nullptr, &ID.P, nullptr),
        S_OK);
    THeldID Parent{ILClone(ID.P)};
    ILRemoveLastID(Parent.P);
    THeld<IShellFolder> Folder;
    EXPECT_EQ(DesktopFolder->BindToObject(Parent.P, nullptr, IID_IShellFolder, Folder.Out()), S_OK);
    LPCITEMIDLIST Last[] = {ILFindLastID(ID.P)};
    IContextMenu* Menu = nullptr;
    EXPECT_EQ(
        Folder->GetUIObjectOf(nullptr, 1, Last, IID_IContextMenu, nullptr, reinterpret_cast<void**>(&Menu)),
        S_OK);
    return Menu;
  }

  static std::vector<std::string> Captions(HMENU Menu) {
    std::vector<std::string> Out;
    for (Integer I = 0; I < GetMenuItemCount(Menu); ++I) {
      char Text[64] = {};
      GetMenuString(Menu, I, Text, sizeof(Text), MF_BYPOSITION);
      Out.push_back(Text);
    }
    return Out;
  }

  HRESULT Invoke(IContextMenu* Menu, LPCSTR Verb, HWND Owner = nullptr) {
    CMINVOKECOMMANDINFO Info;
    Info.hwnd = Owner;
    Info.lpVerb = Verb;
    return Menu->InvokeCommand(&Info);
  }

  THeld<IShellFolder> DesktopFolder;
  std::vector<std::string> Opened;
};

TEST_F(TContextMenuTest, OffersOpenAndRenameWhereRenamingIsAllowed) {
  struct TCase {
    std::string Path;
    UINT Flags;
    std::vector<std::string> Expected;
  };
  const TCase Table[] = {
      {Home + "/picture.jpg", CMF_EXPLORE | CMF_CANRENAME, {"&Open", "Rena&me"}},
      {Home + "/picture.jpg", CMF_EXPLORE, {"&Open"}},
      {Home + "/locked/fixed.txt", CMF_EXPLORE | CMF_CANRENAME, {"&Open"}},
      {Home + "/album", CMF_EXPLORE | CMF_CANRENAME, {"&Open", "Rena&me"}},
  };
  for (const TCase& T : Table) {
    SCOPED_TRACE(T.Path);
    THeld<IContextMenu> Menu{MenuOf(T.Path)};
    HMENU Popup = CreatePopupMenu();
    const HRESULT R = Menu->QueryContextMenu(Popup, 0, 1, 0x7FFF, T.Flags);
    EXPECT_EQ(HRESULT_CODE(R), static_cast<Integer>(T.Expected.size()));
    EXPECT_EQ(Captions(Popup), T.Expected);
    EXPECT_EQ(GetMenuItemID(Popup, 0), 1u);
    EXPECT_EQ(GetMenuDefaultItem(Popup, FALSE, 0), 1u) << "Open is the default";
    DestroyMenu(Popup);
  }
  THeld<IContextMenu> Menu{MenuOf(Home + "/picture.jpg")};
  char Verb[256];
  ASSERT_EQ(Menu->GetCommandString(0, GCS_VERBA, nullptr, Verb, sizeof(Verb)), S_OK);
  EXPECT_STREQ(Verb, "open");
  ASSERT_EQ(Menu->GetCommandString(1, GCS_VERBA, nullptr, Verb, sizeof(Verb)), S_OK);
  EXPECT_STREQ(Verb, "rename");
  EXPECT_TRUE(FAILED(Menu->GetCommandString(2, GCS_VERBA, nullptr, Verb, sizeof(Verb))));
  THeld<IContextMenu2> Menu2;
  EXPECT_EQ(Menu->QueryInterface(IID_IContextMenu2, Menu2.Out()), S_OK);
}

TEST_F(TContextMenuTest, OpeningAFileHandsItToTheOpener) {
  THeld<IContextMenu> Menu{MenuOf(Home + "/picture.jpg")};
  EXPECT_EQ(Invoke(Menu.P, "open"), S_OK);
  EXPECT_EQ(Invoke(Menu.P, MAKEINTRESOURCE(0)), S_OK);
  EXPECT_EQ(Opened, (std::vector<std::string>{Home + "/picture.jpg", Home + "/picture.jpg"}));
}

TEST_F(TContextMenuTest, OtherVerbsFailQuietly) {
  THeld<IContextMenu> Menu{MenuOf(Home + "/picture.jpg")};
  for (LPCSTR Verb : {"rename", "delete", "properties", "print", MAKEINTRESOURCE(1), MAKEINTRESOURCE(9)})
    EXPECT_TRUE(FAILED(Invoke(Menu.P, Verb)));
  EXPECT_TRUE(Opened.empty());
  EXPECT_TRUE(std::filesystem::exists(Home + "/picture.jpg")) << "no verb deletes";
}

// Opening a folder asks the owner window to browse to it.
class TBrowser {
 public:
  TBrowser() : Wnd(AllocateHWnd(MakeDelegate(this, &TBrowser::WndProc))) {}
  ~TBrowser() { DeallocateHWnd(Wnd); }
  void WndProc(TMessage& M) {
    M.Result = 0;
    if (M.Msg != RegisterWindowMessage(SHELL_NAVIGATE_MESSAGE)) return;
    char Path[MAX_PATH];
    if (SHGetPathFromIDListA(reinterpret_cast<LPCITEMIDLIST>(M.LParam), Path)) Shown.push_back(Path);
    M.Result = Accept ? 1 : 0;
  }
  HWND Wnd;
  std::vector<std::string> Shown;
  bool Accept = true;
};

TEST_F(TContextMenuTest, OpeningAFolderAsksTheOwnerToBrowse) {
  THeld<IContextMenu> Menu{MenuOf(Home + "/album")};
  TBrowser Browser;
  EXPECT_EQ(Invoke(Menu.P, "open", Browser.Wnd), S_OK);
  EXPECT_EQ(Browser.Shown, (std::vector<std::string>{Home + "/album"}));
  Browser.Accept = false;
  EXPECT_TRUE(FAILED(Invoke(Menu.P, "open", Browser.Wnd)));
  EXPECT_TRUE(FAILED(Invoke(Menu.P, "open"))) << "no owner, nobody to browse";
  EXPECT_TRUE(Opened.empty()) << "folders are not handed to the opener";
}

}  // namespace
