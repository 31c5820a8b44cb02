// The skinned file and picture dialogs on temporary folder trees, answered through the modal
// hook: choosing and typing names, the save extension rules, the overwrite question, typed
// paths, folders, history, the preview and what a component keeps between runs.
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "platform/classes/Bitmap.h"
#include "platform/user/Input.h"
#include "skin/boxctrls/bsSkinBoxCtrls.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/controls/bsSkinCtrlsBars.h"
#include "skin/dialogs/bsMessages.h"
#include "skin/dialogs/bsSkinShellComboBox.h"
#include "skin/dialogs/bsSkinShellCtrls.h"
#include "skin/dialogs/bsSkinShellListView.h"
#include "skin/dialogs/bsfilectrl.h"
#include "skin/form/SkinForm.h"
#include "tests/platform/system/TempFolder.h"
#include "tests/skin/SkinTestSupport.h"

namespace {

using namespace SkinTesting;

class TFileDialogsTest : public TSkinTest {
 protected:
  void SetUp() override {
    TSkinTest::SetUp();
    for (const char* Name : {"beach.jpg", "Autumn.jpg", "notes.txt"}) std::ofstream(Folder / Name) << "x";
    TBitmap B;
    B.SetSize(40, 30);
    B.SaveToFile(Folder / "cat.bmp");
    std::filesystem::create_directory(Folder / "sub");
  }
  static TbsOpenDlgForm* OpenForm() {
    for (Integer I = 0; I < Application->GetComponentCount(); ++I)
      if (auto* F = dynamic_cast<TbsOpenDlgForm*>(Application->GetComponent(I))) return F;
    return nullptr;
  }
  static std::vector<std::string> Names(TbsOpenDlgForm* F) {
    std::vector<std::string> N;
    for (Integer I = 0; I < F->FileList->ItemCount(); ++I)
      N.push_back(F->FileList->ItemFolder(I)->DisplayText());
    return N;
  }
  static Integer RowOf(TbsOpenDlgForm* F, const std::string& Name) {
    for (Integer I = 0; I < F->FileList->ItemCount(); ++I)
      if (F->FileList->ItemFolder(I)->DisplayText() == Name) return I;
    return -1;
  }
  static void PressEnter(TbsOpenDlgForm* F) {
    char Enter = '\r';
    F->EditKeyPress(F->FileNameEdit, Enter);
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
        Shown = Names(F);
        Caption = F->GetCaption();
        First(F);
      }
    });
  }
  TTempFolder Folder;
  Integer Steps = 0;
  std::vector<std::string> Shown;
  std::string Caption;
};

TEST_F(TFileDialogsTest, ChoosingAFileOfTheStartFolder) {
  TbsSkinOpenDialog Dialog(nullptr);
  Dialog.SetInitialDir(Folder.Path());
  Dialog.SetTitle("Load picture");
  Dialog.SetFilter("JPEG pictures (*.jpg)|*.jpg|All files|*.*");
  std::string Edit;
  Answer([&](TbsOpenDlgForm* F) {
    F->FileList->SelectIndex(RowOf(F, "beach.jpg"));
    Edit = F->FileNameEdit->GetText();
    F->OpenButton->Click();
  });
  ASSERT_TRUE(Dialog.Execute());
  EXPECT_EQ(Caption, "Load picture");
  EXPECT_EQ(Shown, (std::vector<std::string>{"sub", "Autumn.jpg", "beach.jpg"}));
  EXPECT_EQ(Edit, "beach.jpg");
  EXPECT_EQ(Dialog.GetFileName(), Folder / "beach.jpg");
  ASSERT_EQ(Dialog.GetFiles()->GetCount(), 1);
  EXPECT_EQ(Dialog.GetFiles()->GetStrings(0), Folder / "beach.jpg");
  // The folder of the last name is where the next run starts; the file type is kept.
  Dialog.SetFilterIndex(2);
  Dialog.SetInitialDir("");
  Answer([](TbsOpenDlgForm* F) { F->CancelButton->Click(); });
  EXPECT_FALSE(Dialog.Execute());
  EXPECT_EQ(Shown, (std::vector<std::string>{"sub", "Autumn.jpg", "beach.jpg", "cat.bmp", "notes.txt"}));
  EXPECT_EQ(Dialog.GetFileName(), Folder / "beach.jpg");
  EXPECT_EQ(Dialog.GetFilterIndex(), 2);
}

TEST_F(TFileDialogsTest, TypedNamesInOpenMode) {
  TbsSkinOpenDialog Dialog(nullptr);
  Dialog.SetInitialDir(Folder.Path());
  Dialog.SetFilter("JPEG pictures (*.jpg)|*.jpg");
  // A missing name keeps the dialog open; "Autumn" completes to the .jpg that exists.
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

TEST_F(TFileDialogsTest, TypedPathsAreResolvedNotJoined) {
  TTempFolder Other;
  std::ofstream(Other / "far.jpg") << "x";
  std::filesystem::create_directory(Other / "deep");
  // A full path to a file opens it, whatever folder is shown; "\" separates too.
  TbsSkinOpenDialog Dialog(nullptr);
  Dialog.SetInitialDir(Folder.Path());
  Answer([&](TbsOpenDlgForm* F) {
    // A folder path shows that folder; a relative one is taken from the shown folder.
    F->FileNameEdit->SetText(Other / "deep");
    PressEnter(F);
    EXPECT_EQ(F->FileList->CurrentPath(), Other / "deep");
    EXPECT_EQ(F->FileNameEdit->GetText(), "");
    F->FileNameEdit->SetText("..\\");
    PressEnter(F);
    EXPECT_EQ(F->FileList->CurrentPath(), Other.Path());
    // A missing file with a separator does nothing.
    F->FileNameEdit->SetText("deep/none.jpg");
    PressEnter(F);
    EXPECT_EQ(F->GetModalResult(), mrNone);
    F->FileNameEdit->SetText(Folder / "beach.jpg");
    PressEnter(F);
  });
  ASSERT_TRUE(Dialog.Execute());
  EXPECT_EQ(Dialog.GetFileName(), Folder / "beach.jpg");

  // Save mode: a path into a missing folder does nothing; into an existing one it is the name.
  TbsSkinSaveDialog Save(nullptr);
  Save.SetInitialDir(Folder.Path());
  Save.SetFilter("JPEG (*.jpg)|*.jpg");
  Answer([&](TbsOpenDlgForm* F) {
    F->FileNameEdit->SetText(Other / "missing/x");
    PressEnter(F);
    EXPECT_EQ(F->GetModalResult(), mrNone);
    F->FileNameEdit->SetText(Other / "deep\\result");
    PressEnter(F);
  });
  ASSERT_TRUE(Save.Execute());
  EXPECT_EQ(Save.GetFileName(), Other / "deep/result.jpg");
}

TEST_F(TFileDialogsTest, SaveNameTable) {
  struct TCase {
    const char* Filter;
    const char* DefaultExt;
    const char* Typed;
    const char* Result;
  };
  const TCase Cases[] = {
      {"JPEG Image File (*.jpg)|*.jpg", "", "photo", "photo.jpg"},
      {"All files|*.*", "txt", "photo", "photo.txt"},
      {"All files|*.*", "", "photo", "photo"},
      {"JPEG Image File (*.jpg)|*.jpg", "", "photo.png", "photo.png"},
      // The filter's extension comes first; the default one only completes what is left.
      {"JPEG Image File (*.jpg)|*.jpg", "bmp", "photo", "photo.jpg"},
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
  // The picture dialog has no default extension: the filter's completes the name.
  TbsSkinSavePictureDialog Picture(nullptr);
  Picture.SetInitialDir(Folder.Path());
  Picture.SetFilter("JPEG Image File (*.jpg)|*.jpg");
  Answer([](TbsOpenDlgForm* F) {
    F->FileNameEdit->SetText("result");
    F->Accept();
  });
  ASSERT_TRUE(Picture.Execute());
  EXPECT_EQ(Picture.GetFileName(), Folder / "result.jpg");
}

TEST_F(TFileDialogsTest, OverwriteQuestionCancelKeepsTheFormAndTheName) {
  TbsSkinSaveDialog Dialog(nullptr);
  Dialog.SetInitialDir(Folder.Path());
  Dialog.SetFilter("JPEG Image File (*.jpg)|*.jpg");
  Dialog.SetOverwritePromt(true);
  // The question's answer is queued before it opens: Escape is Cancel, Enter is OK.
  bool StillOpen = false;
  std::string Kept;
  Answer([&](TbsOpenDlgForm* F) {
    F->FileNameEdit->SetText("beach");
    ScriptKeyPress(VK_ESCAPE);
    F->Accept();
    StillOpen = F->GetModalResult() == mrNone;
    Kept = F->FileNameEdit->GetText();
    ScriptKeyPress(VK_RETURN);
    F->Accept();
  });
  ASSERT_TRUE(Dialog.Execute());
  EXPECT_TRUE(StillOpen);
  EXPECT_EQ(Kept, "beach");
  EXPECT_EQ(Dialog.GetFileName(), Folder / "beach.jpg");
  // A new name is not asked about.
  Answer([](TbsOpenDlgForm* F) {
    F->FileNameEdit->SetText("fresh");
    F->Accept();
  });
  ASSERT_TRUE(Dialog.Execute());
  EXPECT_EQ(Dialog.GetFileName(), Folder / "fresh.jpg");
}

TEST_F(TFileDialogsTest, FileTypeSwitchAndMaskByEnter) {
  TbsSkinSavePictureDialog Dialog(nullptr);
  Dialog.SetInitialDir(Folder.Path());
  Dialog.SetFilter("JPEG (*.jpg)|*.jpg|Bitmaps (*.bmp)|*.bmp");
  std::vector<std::string> AfterSwitch, Filtered;
  Answer([&](TbsOpenDlgForm* F) {
    F->FileNameEdit->SetText("photo.jpg");
    // The user's choice: the combo's own change event.
    F->FilterComboBox->SetItemIndex(1);
    F->FilterChange(F->FilterComboBox);
    EXPECT_EQ(F->FileNameEdit->GetText(), "photo.bmp");
    AfterSwitch = Names(F);
    F->FileNameEdit->SetText("*.txt");
    PressEnter(F);
    EXPECT_EQ(F->GetModalResult(), mrNone);
    Filtered = Names(F);
    F->FileNameEdit->SetText("photo.bmp");
    F->Accept();
  });
  ASSERT_TRUE(Dialog.Execute());
  EXPECT_EQ(Shown, (std::vector<std::string>{"sub", "Autumn.jpg", "beach.jpg"}));
  EXPECT_EQ(AfterSwitch, (std::vector<std::string>{"sub", "cat.bmp"}));
  EXPECT_EQ(Filtered, (std::vector<std::string>{"sub", "notes.txt"}));
  EXPECT_EQ(Dialog.GetFileName(), Folder / "photo.bmp");
  EXPECT_EQ(Dialog.GetFilterIndex(), 2);
}

TEST_F(TFileDialogsTest, NewFolderThreeTimesAndRefusedSkinText) {
  TbsSkinSaveDialog Dialog(nullptr);
  Dialog.SetInitialDir(Folder.Path());
  std::vector<std::string> Editing;
  Answer([&](TbsOpenDlgForm* F) {
    for (Integer I = 0; I < 3; ++I) {
      F->NewFolderClick(F->NewFolderButton);
      Editing.push_back(
          F->FileList->SelectedFolder() != nullptr ? F->FileList->SelectedFolder()->DisplayText() : "");
      EXPECT_TRUE(F->FileList->IsEditing());
    }
    F->CancelButton->Click();
  });
  EXPECT_FALSE(Dialog.Execute());
  for (const char* N : {"New Folder", "New Folder(2)", "New Folder(3)"})
    EXPECT_TRUE(std::filesystem::is_directory(Folder / N)) << N;
  EXPECT_EQ(Editing, (std::vector<std::string>{"New Folder", "New Folder(2)", "New Folder(3)"}));
  // A new run counts afresh; existing names are skipped and the count goes on.
  Answer([&](TbsOpenDlgForm* F) {
    for (Integer I = 0; I < 4; ++I) F->NewFolderClick(F->NewFolderButton);
    F->CancelButton->Click();
  });
  EXPECT_FALSE(Dialog.Execute());
  EXPECT_TRUE(std::filesystem::is_directory(Folder / "New Folder(4)"));
  EXPECT_FALSE(std::filesystem::exists(Folder / "New Folder(5)"));
}

TEST_F(TFileDialogsTest, BackWalksTheHistory) {
  std::filesystem::create_directories(Folder / "sub/leaf");
  TbsSkinOpenDialog Dialog(nullptr);
  Dialog.SetInitialDir(Folder.Path());
  std::vector<std::string> Paths;
  Answer([&](TbsOpenDlgForm* F) {
    // One entry: nothing happens.
    EXPECT_EQ(F->HistoryCount(), 1);
    F->BackClick(F->BackButton);
    Paths.push_back(F->FileList->CurrentPath());
    F->FileList->SetPath(Folder / "sub");
    F->FileList->SetPath(Folder / "sub/leaf");
    F->BackClick(F->BackButton);
    Paths.push_back(F->FileList->CurrentPath());
    F->BackClick(F->BackButton);
    Paths.push_back(F->FileList->CurrentPath());
    F->UpClick(F->UpButton);
    Paths.push_back(F->FileList->CurrentPath());
    F->CancelButton->Click();
  });
  EXPECT_FALSE(Dialog.Execute());
  EXPECT_EQ(Paths, (std::vector<std::string>{Folder.Path(), Folder / "sub", Folder.Path(), "/tmp"}));
}

// What the skinned frame adds to a client size it is given once the form shows (the frame
// is the form library's; the dialog hands it the sizes it keeps).
Integer FrameGrowth() {
  TForm F(nullptr);
  new TbsSkinForm(&F);
  F.SetClientWidth(300);
  F.Show();
  Application->ProcessMessages();
  return F.GetClientWidth() - 300;
}

TEST_F(TFileDialogsTest, KeptBetweenRuns) {
  const Integer Growth = FrameGrowth();
  TbsSkinOpenPictureDialog Dialog(nullptr);
  Dialog.SetInitialDir(Folder.Path());
  Dialog.SetFilter("JPEG|*.jpg|Bitmaps|*.bmp");
  Integer FirstWidth = 0, FirstPreview = 0;
  bool FirstStretch = true;
  Answer([&](TbsOpenDlgForm* Form) {
    auto* F = dynamic_cast<TbsOpenPictureDlgForm*>(Form);
    ASSERT_NE(F, nullptr);
    FirstWidth = F->GetClientWidth();
    FirstPreview = F->PreviewPanel->GetWidth();
    FirstStretch = F->StretchButton->GetDown();
    F->SetClientWidth(640);
    F->SetClientHeight(400);
    F->PreviewPanel->SetWidth(300);
    F->SetViewStyle(vsReport);
    F->StretchButton->SetDown(true);
    F->StretchClick(F->StretchButton);
    F->FilterComboBox->SetItemIndex(1);
    F->CancelButton->Click();
  });
  EXPECT_FALSE(Dialog.Execute());
  EXPECT_EQ(FirstWidth, 550 + Growth);
  EXPECT_EQ(FirstPreview, 190);
  EXPECT_FALSE(FirstStretch);
  EXPECT_EQ(Dialog.GetDialogWidth(), 640);
  EXPECT_EQ(Dialog.GetFilterIndex(), 2);
  Integer W = 0, H = 0, Preview = 0;
  TViewStyle Style = vsIcon;
  bool Stretched = false, ImageStretched = false;
  Answer([&](TbsOpenDlgForm* Form) {
    auto* F = static_cast<TbsOpenPictureDlgForm*>(Form);
    W = F->GetClientWidth();
    H = F->GetClientHeight();
    Preview = F->PreviewPanel->GetWidth();
    Style = F->FileList->GetViewStyle();
    Stretched = F->StretchButton->GetDown();
    ImageStretched = F->PreviewImage->GetStretch();
    F->CancelButton->Click();
  });
  EXPECT_FALSE(Dialog.Execute());
  EXPECT_EQ(W, 640 + Growth);
  EXPECT_EQ(H, 400 + Growth);
  EXPECT_EQ(Preview, 300);
  EXPECT_EQ(Style, vsReport);
  EXPECT_TRUE(Stretched);
  EXPECT_TRUE(ImageStretched);
  EXPECT_EQ(Shown, (std::vector<std::string>{"sub", "cat.bmp"}));
}

TEST_F(TFileDialogsTest, PreviewFollowsTheSelectionAndSurvivesBadFiles) {
  std::ofstream(Folder / "broken.bmp") << "not a bitmap";
  TbsSkinOpenPictureDialog Dialog(nullptr);
  Dialog.SetFilter("Bitmaps|*.bmp");
  // An unreadable preset name opens the dialog with an empty preview.
  Dialog.SetFileName(Folder / "broken.bmp");
  Integer StartWidth = -1, PictureWidth = -1, AfterBroken = -1, AfterFolder = -1;
  std::string EditAfterFolder = "?";
  Answer([&](TbsOpenDlgForm* Form) {
    auto* F = static_cast<TbsOpenPictureDlgForm*>(Form);
    StartWidth = F->PreviewImage->GetPicture()->GetWidth();
    F->FileList->SelectIndex(RowOf(F, "cat.bmp"));
    PictureWidth = F->PreviewImage->GetWidth();
    F->FileList->SelectIndex(RowOf(F, "broken.bmp"));
    AfterBroken = F->PreviewImage->GetPicture()->GetWidth();
    F->FileList->SelectIndex(RowOf(F, "sub"));
    AfterFolder = F->PreviewImage->GetWidth();
    EditAfterFolder = F->FileNameEdit->GetText();
    F->CancelButton->Click();
  });
  EXPECT_FALSE(Dialog.Execute());
  EXPECT_EQ(StartWidth, 0);
  EXPECT_EQ(PictureWidth, 40);
  EXPECT_EQ(AfterBroken, 0);
  EXPECT_EQ(AfterFolder, 0);
  EXPECT_EQ(EditAfterFolder, "");
}

TEST_F(TFileDialogsTest, StartFolderFallsBackToTheProgramFolder) {
  TbsSkinOpenDialog Dialog(nullptr);
  Dialog.SetFileName(Folder / "missing/a.jpg");
  std::string Path, Edit;
  Answer([&](TbsOpenDlgForm* F) {
    Path = F->FileList->CurrentPath();
    Edit = F->FileNameEdit->GetText();
    F->CancelButton->Click();
  });
  EXPECT_FALSE(Dialog.Execute());
  EXPECT_EQ(Path, ExtractFileDir(Application->GetExeName()));
  EXPECT_EQ(Edit, "a.jpg");
}

}  // namespace
