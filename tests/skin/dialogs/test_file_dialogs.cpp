// The skinned file dialogs, answered through the modal hook: choosing a file of the start
// folder by mouse, typing a name, cancelling, file types and the save extension rules.
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "skin/boxctrls/bsSkinBoxCtrls.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/dialogs/bsMessages.h"
#include "skin/dialogs/bsSkinShellCtrls.h"
#include "tests/platform/system/TempFolder.h"
#include "tests/skin/SkinTestSupport.h"

namespace {

using namespace SkinTesting;

class TFileDialogsTest : public TSkinTest {
 protected:
  void SetUp() override {
    TSkinTest::SetUp();
    for (const char* Name : {"beach.jpg", "Autumn.jpg", "cat.bmp", "notes.txt"})
      std::ofstream(Folder / Name) << "x";
    std::filesystem::create_directory(Folder / "sub");
  }
  static TbsOpenDlgForm* OpenForm() {
    for (Integer I = 0; I < Application->GetComponentCount(); ++I)
      if (auto* F = dynamic_cast<TbsOpenDlgForm*>(Application->GetComponent(I))) return F;
    return nullptr;
  }
  // Acts once on the dialog, the first time its modal loop waits.
  void Answer(std::function<void(TbsOpenDlgForm*)> First) {
    Steps = 0;
    SetModalHook([this, First] {
      const Integer Step = Steps++;
      // A dialog the script failed to close ends the test instead of hanging it.
      if (Step > 100) {
        if (TbsOpenDlgForm* F = OpenForm()) F->SetModalResult(mrAbort);
        return;
      }
      if (Step == 0) {
        TbsOpenDlgForm* F = OpenForm();
        ASSERT_NE(F, nullptr);
        Shown.clear();
        for (Integer I = 0; I < F->FileList->GetItems()->GetCount(); ++I)
          Shown.push_back(F->FileList->GetItems()->GetStrings(I));
        Caption = F->GetCaption();
        First(F);
      }
    });
  }
  void Click(TControl* C, Integer X, Integer Y) {
    const TPoint P = At(C, X, Y);
    ScriptClick(P.X, P.Y);
  }
  TTempFolder Folder;
  Integer Steps = 0;
  std::vector<std::string> Shown;
  std::string Caption;
};

TEST_F(TFileDialogsTest, ChoosingAFileByMouse) {
  TbsSkinOpenDialog Dialog(nullptr);
  Dialog.SetInitialDir(Folder.Path());
  Dialog.SetTitle("Load picture");
  Dialog.SetFilter("JPEG pictures (*.jpg)|*.jpg|All files|*.*");
  Answer([this](TbsOpenDlgForm* F) {
    // Row 1 is "beach.jpg" (names in order, letter case ignored); then Open.
    Click(F->FileList->ListBox, 20, 20 + 10);
    Click(F->OpenButton, 10, 10);
  });
  ASSERT_TRUE(Dialog.Execute());
  EXPECT_EQ(Caption, "Load picture");
  EXPECT_EQ(Shown, (std::vector<std::string>{"Autumn.jpg", "beach.jpg"}));
  EXPECT_EQ(Dialog.GetFileName(), Folder / "beach.jpg");
  EXPECT_EQ(Dialog.GetFiles()->GetCount(), 1);
  // The folder of the last name is where the next run starts; the file type is kept.
  Dialog.SetFilterIndex(2);
  Answer([](TbsOpenDlgForm* F) { F->CancelButton->Click(); });
  EXPECT_FALSE(Dialog.Execute());
  EXPECT_EQ(Shown, (std::vector<std::string>{"Autumn.jpg", "beach.jpg", "cat.bmp", "notes.txt"}));
  EXPECT_EQ(Dialog.GetFileName(), Folder / "beach.jpg");
  EXPECT_EQ(Dialog.GetFilterIndex(), 2);
}

TEST_F(TFileDialogsTest, TypedNamesInOpenMode) {
  TbsSkinOpenDialog Dialog(nullptr);
  Dialog.SetInitialDir(Folder.Path());
  Dialog.SetFilter("JPEG pictures (*.jpg)|*.jpg");
  // A missing name keeps the dialog open; the completion finds "cat" nowhere, "Autumn" as .jpg.
  Answer([](TbsOpenDlgForm* F) {
    F->FileNameEdit->SetText("missing");
    F->Accept();
    EXPECT_EQ(F->GetModalResult(), mrNone);
    F->FileNameEdit->SetText("Autumn");
    F->Accept();
  });
  ASSERT_TRUE(Dialog.Execute());
  EXPECT_EQ(Dialog.GetFileName(), Folder / "Autumn.jpg");
}

TEST_F(TFileDialogsTest, SaveExtensions) {
  struct TCase {
    const char* Filter;
    const char* DefaultExt;
    const char* Typed;
    const char* Result;
  };
  const std::vector<TCase> Cases{
      {"JPEG Image File (*.jpg)|*.jpg", "", "photo", "photo.jpg"},
      {"All files|*.*", "txt", "photo", "photo.txt"},
      {"All files|*.*", "", "photo", "photo"},
      {"JPEG Image File (*.jpg)|*.jpg", "", "photo.png", "photo.png"},
  };
  for (const TCase& C : Cases) {
    TbsSkinSaveDialog Dialog(nullptr);
    EXPECT_EQ(Dialog.GetTitle(), "Save file");
    Dialog.SetInitialDir(Folder.Path());
    Dialog.SetFilter(C.Filter);
    Dialog.SetDefaultExt(C.DefaultExt);
    const std::string Typed = C.Typed;
    Answer([Typed](TbsOpenDlgForm* F) {
      F->FileNameEdit->SetText(Typed);
      F->Accept();
    });
    ASSERT_TRUE(Dialog.Execute()) << C.Filter << " " << C.Typed;
    EXPECT_EQ(Dialog.GetFileName(), Folder / C.Result) << C.Filter << " " << C.Typed;
  }
}

TEST_F(TFileDialogsTest, OverwriteQuestion) {
  TbsSkinSaveDialog Dialog(nullptr);
  Dialog.SetInitialDir(Folder.Path());
  Dialog.SetFilter("JPEG Image File (*.jpg)|*.jpg");
  Dialog.SetOverwritePromt(true);
  // Cancel on the question keeps the dialog open; then the dialog is cancelled. (The hook does
  // not run again inside itself: the question's answer is queued before it opens.)
  bool StillOpen = false;
  Answer([&](TbsOpenDlgForm* F) {
    F->FileNameEdit->SetText("beach");
    ScriptKeyPress(VK_ESCAPE);
    F->Accept();
    StillOpen = F->GetModalResult() == mrNone;
    F->CancelButton->Click();
  });
  EXPECT_FALSE(Dialog.Execute());
  EXPECT_TRUE(StillOpen);
}

TEST_F(TFileDialogsTest, FileTypeChangesTheTypedExtensionInSaveMode) {
  TbsSkinSavePictureDialog Dialog(nullptr);
  Dialog.SetInitialDir(Folder.Path());
  Dialog.SetFilter("JPEG (*.jpg)|*.jpg|Bitmaps (*.bmp)|*.bmp");
  Answer([](TbsOpenDlgForm* F) {
    F->FileNameEdit->SetText("photo.jpg");
    F->FilterComboBox->SetItemIndex(1);
    EXPECT_EQ(F->FileNameEdit->GetText(), "photo.bmp");
    F->Accept();
  });
  ASSERT_TRUE(Dialog.Execute());
  EXPECT_EQ(Shown, (std::vector<std::string>{"Autumn.jpg", "beach.jpg"}));
  EXPECT_EQ(Dialog.GetFileName(), Folder / "photo.bmp");
  EXPECT_EQ(Dialog.GetFilterIndex(), 2);
}

TEST_F(TFileDialogsTest, EnterInTheEditFiltersOrOpensFolders) {
  TbsSkinOpenPictureDialog Dialog(nullptr);
  EXPECT_EQ(Dialog.GetTitle(), "Open picture");
  Dialog.SetInitialDir(Folder.Path());
  Dialog.SetFilter("All|*.*");
  std::vector<std::string> Filtered;
  std::string Path;
  Answer([&](TbsOpenDlgForm* F) {
    F->FileNameEdit->SetText("*.bmp");
    char Enter = '\r';
    F->FileNameEdit->OnKeyPress(F->FileNameEdit, Enter);
    for (Integer I = 0; I < F->FileList->GetItems()->GetCount(); ++I)
      Filtered.push_back(F->FileList->GetItems()->GetStrings(I));
    F->FileNameEdit->SetText("sub/");
    F->FileNameEdit->OnKeyPress(F->FileNameEdit, Enter);
    Path = F->GetPath();
    F->CancelButton->Click();
  });
  EXPECT_FALSE(Dialog.Execute());
  EXPECT_EQ(Filtered, std::vector<std::string>{"cat.bmp"});
  EXPECT_EQ(Path, Folder / "sub");
}

}  // namespace
