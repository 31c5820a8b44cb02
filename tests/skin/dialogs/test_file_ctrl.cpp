// The file list box and the filter combo box: filter parsing, masks, bracketed folders, the
// attached edit and typed paths.
#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "skin/boxctrls/bsSkinBoxCtrls.h"
#include "skin/dialogs/bsfilectrl.h"
#include "tests/platform/system/TempFolder.h"
#include "tests/skin/SkinTestSupport.h"

namespace {

using namespace SkinTesting;

TEST(FilterParsing, Table) {
  struct TCase {
    const char* Filter;
    std::vector<std::string> Descriptions, Masks;
  };
  const TCase Cases[] = {
      {"All files|*.*", {"All files"}, {"*.*"}},
      {"JPEG|*.jpg;*.jpeg|Bitmaps|*.bmp", {"JPEG", "Bitmaps"}, {"*.jpg;*.jpeg", "*.bmp"}},
      // A trailing description without a "|" after it is dropped.
      {"A|*.a|B", {"A"}, {"*.a"}},
      {"no bars", {}, {}},
      {"", {}, {}},
      {"|", {""}, {""}},
      {"Empty mask||Next|*.n", {"Empty mask", "Next"}, {"", "*.n"}},
  };
  for (const TCase& C : Cases) {
    std::vector<std::string> D, M;
    for (const TbsFilterEntry& E : ParseFilter(C.Filter)) {
      D.push_back(E.Description);
      M.push_back(E.Mask);
    }
    EXPECT_EQ(D, C.Descriptions) << C.Filter;
    EXPECT_EQ(M, C.Masks) << C.Filter;
  }
}

class TFileCtrlTest : public TSkinTest {
 protected:
  void SetUp() override {
    TSkinTest::SetUp();
    for (const char* N : {"b.jpg", "a.png", "c.txt"}) std::ofstream(Folder / N) << "x";
    std::filesystem::create_directory(Folder / "sub");
    std::ofstream(Folder / "sub/inner.png") << "x";
    Host = NewForm("Host");
    List = NewControl<TbsSkinFileListBox>(Host, "Files", 10, 10);
    List->SetBounds(10, 10, 200, 200);
    Host->Show();
    Pump();
    List->SetDirectory(Folder.Path());
  }
  // The listed names in byte order (the list box sorts by its own rule).
  std::vector<std::string> Items() {
    std::vector<std::string> V;
    for (Integer I = 0; I < List->GetItems()->GetCount(); ++I) V.push_back(List->GetItems()->GetStrings(I));
    std::sort(V.begin(), V.end());
    return V;
  }
  TTempFolder Folder;
  TForm* Host = nullptr;
  TbsSkinFileListBox* List = nullptr;
};

TEST_F(TFileCtrlTest, TwoMasksAndBracketedFolders) {
  EXPECT_EQ(List->GetDirectory(), Folder.Path());
  List->SetMask("*.jpg;*.png");
  EXPECT_EQ(Items(), (std::vector<std::string>{"a.png", "b.jpg"}));
  List->SetMask("*.*");
  List->SetFileType({bsftDirectory});
  EXPECT_EQ(Items(), (std::vector<std::string>{"[..]", "[.]", "[sub]"}));
  List->SetFileType({bsftNormal, bsftDirectory});
  EXPECT_EQ(Items(), (std::vector<std::string>{"[..]", "[.]", "[sub]", "a.png", "b.jpg", "c.txt"}));
  // A missing folder raises and leaves the listing.
  EXPECT_THROW(List->SetDirectory(Folder / "missing"), EInOutError);
  EXPECT_EQ(List->GetDirectory(), Folder.Path());
}

TEST_F(TFileCtrlTest, EditFollowsTheSelectionAndPathsApply) {
  TEdit* Edit = NewControl<TEdit>(Host, "Edit", 220, 10);
  List->SetFileEdit(Edit);
  EXPECT_EQ(Edit->GetText(), "*.*");
  List->SelectFileName("C.TXT");
  EXPECT_EQ(Edit->GetText(), "c.txt");
  EXPECT_EQ(List->GetFilePath(), Folder / "c.txt");
  // A folder path with a pattern: that folder, that mask.
  List->ApplyPath(Folder / "sub/*.png");
  EXPECT_EQ(List->GetDirectory(), Folder / "sub");
  EXPECT_EQ(List->GetMask(), "*.png");
  EXPECT_EQ(Items(), std::vector<std::string>{"inner.png"});
  // A plain file name selects it; "..\" and a bracketed folder go up and down.
  List->ApplyPath("inner.png");
  EXPECT_EQ(List->GetFilePath(), Folder / "sub/inner.png");
  List->ApplyPath("..\\*.txt");
  EXPECT_EQ(List->GetDirectory(), Folder.Path());
  EXPECT_EQ(Items(), std::vector<std::string>{"c.txt"});
  List->SetMask("*.*");
  List->SetFileType({bsftNormal, bsftDirectory});
  List->ApplyPath("[sub]");
  EXPECT_EQ(List->GetDirectory(), Folder / "sub");
  // A file hidden by the mask becomes the mask and is selected.
  List->SetMask("*.jpg");
  List->ApplyPath(Folder / "sub/inner.png");
  EXPECT_EQ(List->GetMask(), "inner.png");
  EXPECT_EQ(List->GetFilePath(), Folder / "sub/inner.png");
  // The working folder stays where it was.
  EXPECT_NE(std::filesystem::current_path().string(), Folder / "sub");
}

TEST_F(TFileCtrlTest, FilterComboGivesMasksToItsList) {
  auto* Combo = NewControl<TbsSkinFilterComboBox>(Host, "Types", 220, 40);
  Pump();
  // Without entries: "*.*" and nothing selected.
  Combo->SetFilter("nothing here");
  EXPECT_EQ(Combo->GetItems()->GetCount(), 0);
  EXPECT_EQ(Combo->GetMask(), "*.*");
  EXPECT_EQ(Combo->GetItemIndex(), -1);
  Combo->SetFileList(List);
  EXPECT_EQ(List->GetFilterCombo(), Combo);
  Combo->SetFilter("Pictures|*.jpg;*.png|Texts|*.txt");
  EXPECT_EQ(Combo->GetItems()->GetCount(), 2);
  EXPECT_EQ(Combo->GetMask(), "*.jpg;*.png");
  EXPECT_EQ(Items(), (std::vector<std::string>{"a.png", "b.jpg"}));
  Combo->SetItemIndex(1);
  EXPECT_EQ(Combo->GetMask(), "*.txt");
  EXPECT_EQ(Items(), std::vector<std::string>{"c.txt"});
  // The same filter in other letters changes nothing.
  Combo->SetFilter("PICTURES|*.JPG;*.PNG|TEXTS|*.TXT");
  EXPECT_EQ(Combo->GetFilter(), "Pictures|*.jpg;*.png|Texts|*.txt");
  delete Combo;
  EXPECT_EQ(List->GetFilterCombo(), nullptr);
}

}  // namespace
