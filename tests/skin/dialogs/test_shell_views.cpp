// The shell list view and the look-in folder box over temporary folder trees: masks, sorting,
// type-ahead, rows fetched on demand, navigation and the box's entries.
#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "platform/user/CommonControls.h"
#include "skin/dialogs/bsSkinShellComboBox.h"
#include "skin/dialogs/bsSkinShellListView.h"
#include "tests/platform/system/TempFolder.h"
#include "tests/skin/SkinTestSupport.h"

namespace {

using namespace SkinTesting;

class TShellViewsTest : public TSkinTest {
 protected:
  TbsSkinFileListView* NewList(const std::string& Root, Integer W = 300, Integer H = 200) {
    TForm* F = NewForm("Host", 50, 50, W, H);
    auto* L = new TbsSkinFileListView(F);
    L->SetParent(F);
    L->SetAlign(alClient);
    L->SetRoot(Root);
    F->Show();
    Pump();
    return L;
  }
  static std::vector<std::string> Names(TbsCustomShellListView* L) {
    std::vector<std::string> N;
    for (Integer I = 0; I < L->ItemCount(); ++I) N.push_back(L->ItemFolder(I)->DisplayText());
    return N;
  }
  void Write(const std::string& Name, std::size_t Bytes, std::time_t Modified) {
    const std::string Path = Folder / Name;
    std::ofstream(Path) << std::string(Bytes, 'x');
    const auto T =
        std::filesystem::file_time_type::clock::now() - std::chrono::seconds(std::time(nullptr) - Modified);
    std::filesystem::last_write_time(Path, T);
  }
  TTempFolder Folder;
};

TEST_F(TShellViewsTest, MaskTable) {
  struct TCase {
    const char* Mask;
    const char* Name;
    bool Shown;
  };
  const TCase Cases[] = {
      {"*.jpg;*.jpeg", "a.jpg", true},
      {"*.jpg;*.jpeg", "b.JPEG", true},
      {"*.jpg;*.jpeg", "c.png", false},
      {"*", "README", true},
      {"*", "c.png", true},
      {"abc", "abc", false},
      {"*.*", "README", true},
      {"*.*", "A.JPG", true},
      {"*.jpg", "A.JPG", true},
      {"*.jpg|*.png", "c.png", true},
      {"", "a.jpg", false},
      {"*.jpg; *.png", "c.png", true},
      {"ä*.txt", "Äpfel.txt", true},
      {"?.jpg", "ab.jpg", false},
  };
  for (const TCase& C : Cases)
    EXPECT_EQ(TbsCustomShellListView::MatchesMask(C.Mask, C.Name), C.Shown) << C.Mask << " " << C.Name;
}

TEST_F(TShellViewsTest, ListsFoldersFirstAndMasksOnlyFiles) {
  for (const char* N : {"b.jpeg", "a.jpg", "c.png"}) std::ofstream(Folder / N) << "x";
  std::filesystem::create_directory(Folder / "zfolder");
  std::filesystem::create_directory(Folder / "afolder");
  TbsSkinFileListView* L = NewList(Folder.Path());
  EXPECT_EQ(L->CurrentPath(), Folder.Path());
  EXPECT_EQ(Names(L), (std::vector<std::string>{"afolder", "zfolder", "a.jpg", "b.jpeg", "c.png"}));
  L->SetMask("*.jpg;*.jpeg");
  EXPECT_EQ(Names(L), (std::vector<std::string>{"afolder", "zfolder", "a.jpg", "b.jpeg"}));
  L->SetMask("abc");
  EXPECT_EQ(Names(L), (std::vector<std::string>{"afolder", "zfolder"}));
  // OnAddFolder has the last word, over the mask too.
  struct TVeto {
    void Add(TObject*, TbsShellFolder* F, bool& CanAdd) { CanAdd = F->DisplayText() != "zfolder"; }
  } Veto;
  L->OnAddFolder = TAddFolderEvent(&Veto, &TVeto::Add);
  L->Refresh();
  EXPECT_EQ(Names(L), (std::vector<std::string>{"afolder", "a.jpg", "b.jpeg", "c.png"}));
}

TEST_F(TShellViewsTest, SortTableEachColumnTwice) {
  const std::time_t Now = std::time(nullptr);
  Write("b.txt", 3000, Now - 100);
  Write("a.jpg", 9000, Now - 300);
  Write("c.bmp", 1000, Now - 200);
  std::filesystem::create_directory(Folder / "y");
  std::filesystem::create_directory(Folder / "x");
  TbsSkinFileListView* L = NewList(Folder.Path());
  L->SetViewStyle(vsReport);
  ASSERT_EQ(L->GetColumns()->GetCount(), 4);
  struct TCase {
    Integer Column;
    std::vector<std::string> First, Second;
  };
  const TCase Cases[] = {
      {1, {"x", "y", "c.bmp", "b.txt", "a.jpg"}, {"x", "y", "a.jpg", "b.txt", "c.bmp"}},
      {3, {"x", "y", "a.jpg", "c.bmp", "b.txt"}, {"x", "y", "b.txt", "c.bmp", "a.jpg"}},
      {2, {"x", "y", "c.bmp", "a.jpg", "b.txt"}, {"x", "y", "b.txt", "a.jpg", "c.bmp"}},
      {0, {"x", "y", "a.jpg", "b.txt", "c.bmp"}, {"y", "x", "c.bmp", "b.txt", "a.jpg"}},
  };
  for (const TCase& C : Cases) {
    L->SortByColumn(C.Column);
    EXPECT_EQ(Names(L), C.First) << "column " << C.Column;
    EXPECT_FALSE(L->GetDescending());
    L->SortByColumn(C.Column);
    EXPECT_EQ(Names(L), C.Second) << "column " << C.Column << " again";
    EXPECT_TRUE(L->GetDescending());
  }
  // A re-read returns to the default order; an item that vanished sorts without an error.
  L->Refresh();
  EXPECT_EQ(Names(L), (std::vector<std::string>{"x", "y", "a.jpg", "b.txt", "c.bmp"}));
  std::filesystem::remove(Folder / "b.txt");
  EXPECT_NO_THROW(L->SortByColumn(1));
  EXPECT_EQ(L->ItemCount(), 5);
}

TEST_F(TShellViewsTest, TypeAheadWrapsAndKnowsUpperCaseOfAnyLetter) {
  for (const char* N : {"apple.txt", "Äpfel.txt", "banana.txt", "avocado.txt"})
    std::ofstream(Folder / N) << "x";
  TbsSkinFileListView* L = NewList(Folder.Path());
  const std::vector<std::string> N = Names(L);
  auto IndexOf = [&N](const char* Name) {
    return static_cast<Integer>(std::find(N.begin(), N.end(), Name) - N.begin());
  };
  ASSERT_LT(IndexOf("apple.txt"), IndexOf("avocado.txt"));
  ASSERT_LT(IndexOf("avocado.txt"), IndexOf("banana.txt"));
  auto Find = [L](const char* Text, Integer Start, bool Wrap) {
    LVFINDINFO F;
    F.flags = LVFI_PARTIAL | (Wrap ? LVFI_WRAP : 0);
    F.psz = Text;
    return static_cast<Integer>(
        L->Perform(LVM_FINDITEM, static_cast<WPARAM>(Start), reinterpret_cast<LPARAM>(&F)));
  };
  EXPECT_EQ(Find("A", -1, true), IndexOf("apple.txt"));
  EXPECT_EQ(Find("a", IndexOf("apple.txt"), true), IndexOf("avocado.txt"));
  // From the last "a" on, the search wraps round to the first.
  EXPECT_EQ(Find("a", IndexOf("avocado.txt"), true), IndexOf("apple.txt"));
  EXPECT_EQ(Find("a", IndexOf("avocado.txt"), false), -1);
  EXPECT_EQ(Find("äP", -1, true), IndexOf("Äpfel.txt"));
  EXPECT_EQ(Find("q", -1, true), -1);
}

TEST_F(TShellViewsTest, ThousandItemsFetchOnlyPaintedRows) {
  for (Integer I = 0; I < 1000; ++I) std::ofstream(Folder / ("f" + std::to_string(1000 + I) + ".txt")) << "x";
  TbsSkinFileListView* L = NewList(Folder.Path(), 200, 120);
  L->SetViewStyle(vsReport);
  Pump();
  EXPECT_EQ(L->ItemCount(), 1000);
  EXPECT_EQ(L->GetItems()->GetCount(), 1000);
  EXPECT_GT(L->GetFetchCount(), 0);
  EXPECT_LT(L->GetFetchCount(), 100);
}

TEST_F(TShellViewsTest, NavigationAndReselection) {
  std::filesystem::create_directories(Folder / "a/b");
  for (const char* N : {"1.txt", "2.txt", "3.txt"}) std::ofstream(Folder / N) << "x";
  TbsSkinFileListView* L = NewList(Folder.Path());
  struct TShown {
    Integer Count = 0;
    void Shown(TObject*) { ++Count; }
  } Shown;
  L->OnFolderShown = TNotifyEvent(&Shown, &TShown::Shown);
  L->SelectIndex(2);
  EXPECT_EQ(L->SelectedFilePath(), Folder / "2.txt");
  L->Reload();
  EXPECT_EQ(L->SelectedIndex(), 2);
  L->SetPath(Folder / "a");
  EXPECT_EQ(L->CurrentPath(), Folder / "a");
  EXPECT_EQ(Shown.Count, 2);
  // Enter on a folder opens it; Backspace goes up.
  L->SelectIndex(0);
  L->SetFocus();
  L->Perform(WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_EQ(L->CurrentPath(), Folder / "a/b");
  L->Perform(WM_KEYDOWN, VK_BACK, 0);
  EXPECT_EQ(L->CurrentPath(), Folder / "a");
  L->GoUp();
  EXPECT_EQ(L->CurrentPath(), Folder.Path());
  EXPECT_THROW(L->SetPath(Folder / "missing"), EInvalidPath);
  EXPECT_EQ(L->CurrentPath(), Folder.Path());
  // The working folder is never touched.
  const std::string Cwd = std::filesystem::current_path().string();
  L->SetPath(Folder / "a/b");
  EXPECT_EQ(std::filesystem::current_path().string(), Cwd);
}

TEST_F(TShellViewsTest, FolderBoxIndentsTheChainToTheShownFolder) {
  // The temporary folder is two levels below the file system's root: /tmp/<name>/deep.
  std::filesystem::create_directory(Folder / "deep");
  TForm* F = NewForm("Host", 50, 50, 400, 300);
  auto* Box = new TbsSkinShellComboBox(F);
  Box->SetParent(F);
  Box->SetBounds(10, 10, 300, 20);
  auto* L = new TbsSkinFileListView(F);
  L->SetParent(F);
  L->SetBounds(10, 40, 300, 200);
  L->SetShellComboBox(Box);
  EXPECT_EQ(Box->GetShellListView(), L);
  L->SetRoot(Folder.Path());
  F->Show();
  Pump();
  const Integer Shown = Box->GetItemIndex();
  ASSERT_GE(Shown, 0);
  EXPECT_EQ(Box->EntryFolder(Shown)->ParsingText(), Folder.Path());
  // Root first, the chain down to the shown folder with one more level each.
  std::vector<Integer> Chain;
  std::vector<std::string> Names;
  Integer Level = 4;
  for (Integer I = Shown; I >= 0 && Level >= 0; --I)
    if (Box->GetEntries()->GetItem(I)->Indent == Level) {
      Chain.insert(Chain.begin(), Level--);
      Names.insert(Names.begin(), Box->GetEntries()->GetItem(I)->Caption);
    }
  EXPECT_EQ(Chain, (std::vector<Integer>{0, 1, 2, 3, 4}));
  EXPECT_EQ(Names[0], "Desktop");
  EXPECT_EQ(Names[1], "Computer");
  EXPECT_EQ(Names[3], "tmp");
  EXPECT_EQ(Box->RowIconLeft(Shown, false), 4 * Box->GetIconWidth() / 2);
  EXPECT_EQ(Box->RowIconLeft(Shown, true), 0);
  // Choosing the root entry shows it in the list; the box then holds the default entries.
  const Integer Before = Box->GetEntries()->GetCount();
  Box->SetItemIndex(0);
  EXPECT_EQ(L->GetShownFolder() != nullptr ? CountItemIDs(L->GetShownFolder()->FullID) : -1, 0);
  EXPECT_EQ(Box->GetItemIndex(), 0);
  EXPECT_LT(Box->GetEntries()->GetCount(), Before);
  // Choosing the file system: shown, selected, and only default entries.
  Integer Root = -1;
  for (Integer I = 0; I < Box->GetEntries()->GetCount(); ++I)
    if (Box->EntryFolder(I)->ParsingText() == "/") Root = I;
  ASSERT_GE(Root, 0);
  Box->SetItemIndex(Root);
  EXPECT_EQ(L->CurrentPath(), "/");
  EXPECT_EQ(Box->EntryFolder(Box->GetItemIndex())->ParsingText(), "/");
  // A choice from the open list: shown once the list has closed.
  Box->DropDown();
  Box->GetListBox()->SetItemIndex(0);
  Box->CloseUp(true);
  EXPECT_EQ(L->GetShownFolder() != nullptr ? CountItemIDs(L->GetShownFolder()->FullID) : -1, 0);
  EXPECT_EQ(Box->GetItemIndex(), 0);
}

}  // namespace
