#include "skin/dialogs/bsSkinShellCtrls.h"

#include <algorithm>
#include <utility>

#include "platform/classes/Application.h"
#include "platform/system/Files.h"
#include "platform/system/ScopeExit.h"
#include "platform/system/Strings.h"
#include "skin/boxctrls/bsSkinBoxCtrls.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/dialogs/bsMessages.h"
#include "skin/form/SkinForm.h"

namespace {

std::vector<std::string> Split(const std::string& S, char Separator) {
  std::vector<std::string> Parts;
  std::string Part;
  for (char C : S) {
    if (C == Separator) {
      Parts.push_back(Part);
      Part.clear();
    } else {
      Part += C;
    }
  }
  Parts.push_back(Part);
  return Parts;
}

std::string Trimmed(const std::string& S) {
  const auto B = S.find_first_not_of(' ');
  if (B == std::string::npos) return {};
  return S.substr(B, S.find_last_not_of(' ') - B + 1);
}

bool IsAbsolutePath(const std::string& S) {
  return !S.empty() && (S[0] == '/' || S[0] == '\\');
}

// A name typed in the dialog, relative to the folder shown unless it is a full path.
std::string JoinName(const std::string& Folder, const std::string& Name) {
  return IsAbsolutePath(Name) ? Name : IncludeTrailingPathDelimiter(Folder) + Name;
}

bool CaseLess(const std::string& A, const std::string& B) {
  return AnsiCompareText(A, B) < 0;
}

}  // namespace

// ---- The form -------------------------------------------------------------------------------

TbsOpenDlgForm::TbsOpenDlgForm(TComponent* AOwner, bool ASaveMode, TbsSkinData* ACtrlSkinData)
    : TForm(AOwner), SaveMode(ASaveMode), CtrlSkinData(ACtrlSkinData) {
  SetKeyPreview(true);
  SetPosition(poScreenCenter);
  SetClientWidth(450);
  SetClientHeight(290);
  BSF = new TbsSkinForm(this);
  const Integer CW = GetClientWidth();

  auto* TopPanel = new TbsSkinPanel(this);
  TopPanel->SetParent(this);
  TopPanel->SetAlign(alTop);
  TopPanel->SetHeight(25);
  TopPanel->SetBorderStyle(TbsSkinBorderStyle::bvNone);
  TopPanel->SetSkinData(CtrlSkinData);
  FolderLabel = new TbsSkinStdLabel(this);
  FolderLabel->SetParent(TopPanel);
  FolderLabel->SetBounds(10, 5, 100, 16);
  FolderLabel->SetSkinData(CtrlSkinData);

  BottomPanel = new TbsSkinPanel(this);
  BottomPanel->SetParent(this);
  // Its width first: the anchored controls below keep their distance to its right edge.
  BottomPanel->SetBounds(0, GetClientHeight() - 80, CW, 80);
  BottomPanel->SetAlign(alBottom);
  BottomPanel->SetBorderStyle(TbsSkinBorderStyle::bvNone);
  BottomPanel->SetSkinData(CtrlSkinData);

  FileList = new TbsSkinListBox(this);
  FileList->SetParent(this);
  FileList->SetAlign(alClient);
  FileList->SetSkinData(CtrlSkinData);
  FileList->OnListBoxClick = TNotifyEvent(this, &TbsOpenDlgForm::ListClick);
  FileList->OnListBoxDblClick = TNotifyEvent(this, &TbsOpenDlgForm::ListDblClick);
  FileList->OnListBoxKeyPress = TKeyPressEvent(this, &TbsOpenDlgForm::ListKeyPress);

  FileNameEdit = new TbsSkinEdit(this);
  FileNameEdit->SetParent(BottomPanel);
  FileNameEdit->SetBounds(70, 10, CW - 160, FileNameEdit->GetHeight());
  FileNameEdit->SetAnchors({akLeft, akTop, akRight});
  FileNameEdit->SetSkinData(CtrlSkinData);
  FileNameEdit->OnKeyPress = TKeyPressEvent(this, &TbsOpenDlgForm::EditKeyPress);

  FilterComboBox = new TbsSkinComboBox(this);
  FilterComboBox->SetParent(BottomPanel);
  FilterComboBox->SetDefaultHeight(21);
  FilterComboBox->SetBounds(70, 45, CW - 160, 21);
  FilterComboBox->SetAnchors({akLeft, akTop, akRight});
  FilterComboBox->SetSkinData(CtrlSkinData);
  // Runs for a choice from code (Execute) and by the user alike.
  FilterComboBox->OnClick = TNotifyEvent(this, &TbsOpenDlgForm::FilterChange);

  OpenButton = new TbsSkinButton(this);
  OpenButton->SetName("OpenButton");
  OpenButton->SetParent(BottomPanel);
  OpenButton->SetBounds(CW - 80, 10, 70, 25);
  OpenButton->SetDefaultHeight(25);
  OpenButton->SetCanFocused(true);
  OpenButton->SetCaption(SaveMode ? "&Save" : "&Open");
  OpenButton->SetAnchors({akTop, akRight});
  OpenButton->SetSkinData(CtrlSkinData);
  OpenButton->OnClick = TNotifyEvent(this, &TbsOpenDlgForm::OpenButtonClick);

  CancelButton = new TbsSkinButton(this);
  CancelButton->SetName("CancelButton");
  CancelButton->SetParent(BottomPanel);
  CancelButton->SetBounds(CW - 80, 45, 70, 25);
  CancelButton->SetDefaultHeight(25);
  CancelButton->SetCanFocused(true);
  CancelButton->SetCaption("Cancel");
  CancelButton->SetModalResult(mrCancel);
  CancelButton->SetCancel(true);
  CancelButton->SetAnchors({akTop, akRight});
  CancelButton->SetSkinData(CtrlSkinData);

  for (const auto& [Text, Top] : {std::pair<const char*, Integer>{"File name:", 10}, {"File type:", 45}}) {
    auto* Label = new TbsSkinStdLabel(this);
    Label->SetParent(BottomPanel);
    Label->SetLeft(10);
    Label->SetTop(Top + 3);
    Label->SetCaption(Text);
    Label->SetSkinData(CtrlSkinData);
  }
  SetActiveControl(FileNameEdit);
}

void TbsOpenDlgForm::SetPath(const std::string& Path) {
  FPath = ExcludeTrailingPathDelimiter(Path);
  if (FPath.empty()) FPath = "/";
  FolderLabel->SetCaption("Look in: " + FPath);
  ReadFolder();
  if (OnFolderChange) OnFolderChange(this);
}

void TbsOpenDlgForm::SetMask(const std::string& Mask) {
  FMask = Mask.empty() ? std::string("*.*") : Mask;
  ReadFolder();
}

void TbsOpenDlgForm::ReadFolder() {
  std::vector<std::string> Names;
  for (const std::string& Raw : Split(FMask, ';')) {
    const std::string Pattern = Trimmed(Raw);
    if (Pattern.empty()) continue;
    TSearchRec SR;
    if (FindFirst(IncludeTrailingPathDelimiter(FPath) + Pattern, 0, SR) == 0) {
      do {
        if ((SR.Attr & faDirectory) == 0) Names.push_back(SR.Name);
      } while (FindNext(SR) == 0);
    }
    FindClose(SR);
  }
  std::sort(Names.begin(), Names.end(), CaseLess);
  Names.erase(std::unique(Names.begin(), Names.end()), Names.end());
  TStrings* Items = FileList->GetItems();
  Items->BeginUpdate();
  Items->Clear();
  for (const std::string& N : Names) Items->Add(N);
  Items->EndUpdate();
  FileList->UpdateScrollBars();
}

void TbsOpenDlgForm::SetFilter(const std::string& Filter) {
  const std::vector<std::string> Parts = Split(Filter, '|');
  FMasks.clear();
  TStrings* Items = FilterComboBox->GetItems();
  Items->Clear();
  for (std::size_t I = 0; I + 1 < Parts.size(); I += 2) {
    Items->Add(Parts[I]);
    FMasks.push_back(Parts[I + 1]);
  }
}

std::string TbsOpenDlgForm::GetMask() {
  const Integer I = FilterComboBox->GetItemIndex();
  return I >= 0 && I < static_cast<Integer>(FMasks.size()) ? FMasks[static_cast<std::size_t>(I)]
                                                           : std::string();
}

std::string TbsOpenDlgForm::CompletionExtension(bool WithDefaultExt) {
  if (WithDefaultExt && !DefaultExt.empty()) return "." + DefaultExt;
  const std::string Mask = GetMask();
  if (Mask.find(".*") != std::string::npos) return {};
  return ExtractFileExt(Trimmed(Split(Mask, ';').front()));
}

std::string TbsOpenDlgForm::SelectedFilePath() {
  const Integer I = FileList->GetItemIndex();
  if (I < 0 || I >= FileList->GetItems()->GetCount()) return {};
  return IncludeTrailingPathDelimiter(FPath) + FileList->GetItems()->GetStrings(I);
}

bool TbsOpenDlgForm::ConfirmOverwrite() {
  TbsSkinMessage Message(nullptr);
  Message.SetSkinData(BSF->GetSkinData());
  Message.SetCtrlSkinData(CtrlSkinData);
  return Message.MessageDlg("Do you want to overwrite old file?", mtWarning, TMsgDlgButtons{mbOK, mbCancel},
                            0) == mrOk;
}

void TbsOpenDlgForm::Accept() {
  const std::string T = FileNameEdit->GetText();
  const std::string S = SelectedFilePath();
  std::string N;
  if (!SaveMode && CheckFileExists && S.empty() && !T.empty()) {
    N = JoinName(FPath, T);
    if (ExtractFileExt(N).empty()) N += CompletionExtension(true);
    // A name that does not exist leaves the dialog open.
    if (!FileExists(N)) return;
  }
  if (T.empty()) return;
  if (SaveMode) {
    if (JoinName(FPath, T).find('*') != std::string::npos) return;
    const std::string N0 = JoinName(FPath, T);
    N = N0;
    if (ExtractFileExt(N).empty()) N += CompletionExtension(true);
    if (OverwritePromt && FileExists(N) && !ConfirmOverwrite()) return;
    // The extension is completed by Execute.
    FileName = N0;
    SetModalResult(mrOk);
    return;
  }
  if (CheckFileExists) {
    FileName = !S.empty() ? S : N;
    if (FileExists(FileName))
      SetModalResult(mrOk);
    else
      FileName.clear();
    return;
  }
  if (!S.empty()) {
    FileName = S;
  } else {
    FileName = JoinName(FPath, T);
    if (ExtractFileExt(FileName).empty()) FileName += CompletionExtension(true);
  }
  SetModalResult(mrOk);
}

void TbsOpenDlgForm::OpenButtonClick(TObject*) {
  Accept();
}

void TbsOpenDlgForm::ListClick(TObject*) {
  const std::string S = SelectedFilePath();
  if (!S.empty()) FileNameEdit->SetText(ExtractFileName(S));
  if (OnFolderChange) OnFolderChange(this);
}

void TbsOpenDlgForm::ListDblClick(TObject*) {
  const std::string S = SelectedFilePath();
  if (S.empty()) return;
  if (SaveMode && OverwritePromt && !ConfirmOverwrite()) return;
  FileName = S;
  SetModalResult(mrOk);
}

void TbsOpenDlgForm::ListKeyPress(TObject*, char& Key) {
  if (Key == '\r' && !SelectedFilePath().empty()) Accept();
}

void TbsOpenDlgForm::EditKeyPress(TObject*, char& Key) {
  if (Key != '\r') return;
  const std::string T = FileNameEdit->GetText();
  if (T.find('*') != std::string::npos) {
    SetMask(T);
    return;
  }
  if (T.find('/') != std::string::npos || T.find('\\') != std::string::npos) {
    const std::string Folder = JoinName(FPath, T);
    if (DirectoryExists(Folder)) {
      SetPath(Folder);
      FileNameEdit->SetText("");
    }
    return;
  }
  Accept();
}

void TbsOpenDlgForm::FilterChange(TObject*) {
  SetMask(GetMask());
  const std::string X = CompletionExtension(false);
  const std::string T = FileNameEdit->GetText();
  if (SaveMode && !X.empty() && !T.empty()) FileNameEdit->SetText(ChangeFileExt(T, X));
}

// ---- Running a dialog -----------------------------------------------------------------------

bool ExecuteFileDialog(TbsFileDialogSettings& S, TStrings* Files) {
  auto* Form = new TbsOpenDlgForm(Application, S.SaveMode, S.CtrlSkinData);
  auto Free = ScopeExit([Form] { delete Form; });
  Form->OverwritePromt = S.OverwritePromt;
  Form->OnFolderChange = S.OnFolderChange;
  Form->CheckFileExists = S.CheckFileExists;
  Form->DefaultExt = S.DefaultExt;
  Form->SetCaption(S.Title);
  TbsSkinForm* BSF = Form->BSF;
  BSF->SetBorderIcons({});
  BSF->SetSkinData(S.SkinData);
  BSF->SetMenusSkinData(S.CtrlSkinData);
  BSF->SetMinWidth(S.DialogMinWidth);
  BSF->SetMinHeight(S.DialogMinHeight);
  BSF->SetAlphaBlend(S.AlphaBlend);
  BSF->SetAlphaBlendAnimation(S.AlphaBlendAnimation);
  BSF->SetAlphaBlendValue(S.AlphaBlendValue);
  if (S.DefaultFont != nullptr) {
    Form->OpenButton->SetDefaultFont(S.DefaultFont);
    Form->CancelButton->SetDefaultFont(S.DefaultFont);
    Form->FileList->SetDefaultFont(S.DefaultFont);
  }

  // The folder of FileName, else InitialDir, else the program's folder.
  std::string Folder;
  const std::string NameFolder = ExtractFileDir(S.FileName);
  if (!NameFolder.empty() && DirectoryExists(NameFolder))
    Folder = NameFolder;
  else if (!S.InitialDir.empty() && DirectoryExists(S.InitialDir))
    Folder = S.InitialDir;
  else
    Folder = ExtractFileDir(Application->GetExeName());
  Form->SetFilter(S.Filter);
  Form->FilterComboBox->SetItemIndex(S.FilterIndex - 1);
  Form->SetPath(Folder);

  Integer W = S.DialogWidth > 0 ? S.DialogWidth : S.DefaultDialogWidth;
  Integer H = S.DialogHeight > 0 ? S.DialogHeight : S.DefaultDialogHeight;
  if (S.SkinData != nullptr && !S.SkinData->Empty) {
    W = std::max(W, BSF->GetMinWidth());
    H = std::max(H, BSF->GetMinHeight());
  }
  Form->SetClientWidth(W);
  Form->SetClientHeight(H);
  Form->FileNameEdit->SetText(ExtractFileName(S.FileName));

  const bool Accepted = Form->ShowModal() == mrOk;
  S.FilterIndex = Form->FilterComboBox->GetItemIndex() + 1;
  S.DialogWidth = Form->GetClientWidth();
  S.DialogHeight = Form->GetClientHeight();
  if (!Accepted) return false;
  S.FileName = Form->FileName;
  if (S.SaveMode && Form->GetMask().find(".*") == std::string::npos && ExtractFileExt(S.FileName).empty())
    S.FileName += Form->CompletionExtension(false);
  if (S.SaveMode && ExtractFileExt(S.FileName).empty() && !S.DefaultExt.empty())
    S.FileName += "." + S.DefaultExt;
  if (Files != nullptr) {
    Files->Clear();
    Files->Add(S.FileName);
  }
  return true;
}

// ---- TbsSkinOpenDialog ----------------------------------------------------------------------

namespace {

std::unique_ptr<TFont> NewDialogFont() {
  auto F = std::make_unique<TFont>();
  F->SetName("Arial");
  F->SetHeight(14);
  F->SetStyle({});
  return F;
}

}  // namespace

TbsCustomFileDialog::TbsCustomFileDialog(TComponent* AOwner, std::string Title, std::string Filter)
    : TComponent(AOwner),
      FTitle(std::move(Title)),
      FFilter(std::move(Filter)),
      FDefaultFont(NewDialogFont()),
      FFiles(std::make_unique<TStringList>()) {}

TbsCustomFileDialog::~TbsCustomFileDialog() = default;

void TbsCustomFileDialog::SetSkinData(TbsSkinData* Value) {
  FSD = Value;
  if (Value != nullptr) Value->FreeNotification(this);
}

void TbsCustomFileDialog::SetCtrlSkinData(TbsSkinData* Value) {
  FCtrlSkinData = Value;
  if (Value != nullptr) Value->FreeNotification(this);
}

void TbsCustomFileDialog::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FSD) FSD = nullptr;
  if (AComponent == FCtrlSkinData) FCtrlSkinData = nullptr;
}

bool TbsCustomFileDialog::Execute() {
  if (OnShow) OnShow(this);
  auto Close = ScopeExit([this] {
    if (OnClose) OnClose(this);
  });
  TbsFileDialogSettings S;
  S.SaveMode = FSaveMode;
  S.Title = FTitle;
  S.InitialDir = FInitialDir;
  S.Filter = FFilter;
  S.FilterIndex = FFilterIndex;
  S.FileName = FFileName;
  S.DefaultExt = FDefaultExt;
  S.CheckFileExists = FCheckFileExists;
  S.OverwritePromt = FOverwritePromt;
  S.DialogWidth = FDialogWidth;
  S.DialogHeight = FDialogHeight;
  S.DialogMinWidth = FDialogMinWidth;
  S.DialogMinHeight = FDialogMinHeight;
  if (FDefaultDialogWidth != 0) S.DefaultDialogWidth = FDefaultDialogWidth;
  if (FAlphaBlendValue != 0) S.AlphaBlendValue = FAlphaBlendValue;
  S.SkinData = FSD;
  S.CtrlSkinData = FCtrlSkinData;
  S.DefaultFont = FDefaultFont.get();
  S.OnFolderChange = OnFolderChange;
  const bool Accepted = ExecuteFileDialog(S, FFiles.get());
  FFilterIndex = S.FilterIndex;
  FDialogWidth = S.DialogWidth;
  FDialogHeight = S.DialogHeight;
  if (Accepted) FFileName = S.FileName;
  return Accepted;
}

TbsSkinOpenDialog::TbsSkinOpenDialog(TComponent* AOwner)
    : TbsCustomFileDialog(AOwner, "Open file", "All files|*.*") {}

TbsSkinSaveDialog::TbsSkinSaveDialog(TComponent* AOwner) : TbsSkinOpenDialog(AOwner) {
  FSaveMode = true;
  FTitle = "Save file";
}

// ---- TbsSkinOpenPictureDialog ---------------------------------------------------------------

TbsSkinOpenPictureDialog::TbsSkinOpenPictureDialog(TComponent* AOwner)
    : TbsCustomFileDialog(AOwner, "Open picture",
                          "All (*.bmp;*.ico;*.emf;*.wmf)|*.bmp;*.ico;*.emf;*.wmf|Bitmaps (*.bmp)|*.bmp|"
                          "Icons (*.ico)|*.ico|Enhanced Metafiles (*.emf)|*.emf|Metafiles (*.wmf)|*.wmf") {
  FDefaultDialogWidth = 550;
  FAlphaBlendValue = 200;
}

TbsSkinSavePictureDialog::TbsSkinSavePictureDialog(TComponent* AOwner) : TbsSkinOpenPictureDialog(AOwner) {
  FSaveMode = true;
  FTitle = "Save file";
}
