#include "skin/dialogs/bsSkinShellCtrls.h"

#include <algorithm>
#include <utility>

#include "platform/classes/Application.h"
#include "platform/classes/Bitmap.h"
#include "platform/classes/ImgList.h"
#include "platform/system/Files.h"
#include "platform/system/Format.h"
#include "platform/system/ScopeExit.h"
#include "platform/system/Strings.h"
#include "skin/boxctrls/bsSkinBoxCtrls.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/controls/bsSkinCtrlsBars.h"
#include "skin/controls/bsSkinCtrlsBevel.h"
#include "skin/controls/bsSkinCtrlsSplitter.h"
#include "skin/dialogs/bsDialogNames.h"
#include "skin/dialogs/bsDialogTexts.h"
#include "skin/dialogs/bsMessages.h"
#include "skin/dialogs/bsSkinShellComboBox.h"
#include "skin/dialogs/bsSkinShellListView.h"
#include "skin/dialogs/bsfilectrl.h"
#include "skin/form/SkinForm.h"

namespace {

bool HasSeparator(const std::string& S) {
  return S.find_first_of("/\\") != std::string::npos;
}

constexpr TViewStyle ViewStyles[4] = {vsIcon, vsSmallIcon, vsList, vsReport};

}  // namespace

// ---- The form -------------------------------------------------------------------------------

TbsOpenDlgForm::TbsOpenDlgForm(TComponent* AOwner, TCustomImageList* AToolBarImageList,
                               bool AToolButtonsTransparent, TbsSkinData* ACtrlSkinData, bool ASaveMode)
    : TbsOpenDlgForm(AOwner, AToolBarImageList, AToolButtonsTransparent, ACtrlSkinData, ASaveMode, false) {}

TbsOpenDlgForm::TbsOpenDlgForm(TComponent* AOwner, TCustomImageList* AToolBarImageList,
                               bool AToolButtonsTransparent, TbsSkinData* ACtrlSkinData, bool ASaveMode,
                               bool AFixedBottom)
    : TForm(AOwner),
      SaveMode(ASaveMode),
      CtrlSkinData(ACtrlSkinData),
      FToolBarImageList(AToolBarImageList),
      FToolButtonsTransparent(AToolButtonsTransparent) {
  Build(AFixedBottom);
}

TbsOpenDlgForm::~TbsOpenDlgForm() {
  for (LPITEMIDLIST P : FHistory) ShellFree(P);
}

std::string TbsOpenDlgForm::Text(const char* Key, const char* BuiltIn) const {
  return bsDialogText(CtrlSkinData, Key, BuiltIn);
}

TbsSkinSpeedButton* TbsOpenDlgForm::AddToolButton(const char* Glyph, Integer Image, const char* HintKey,
                                                  const char* Hint, void (TbsOpenDlgForm::*Click)(TObject*)) {
  auto* B = new TbsSkinSpeedButton(this);
  B->SetParent(ToolBar);
  // Right-aligned controls keep their left-to-right order by position: each new one goes
  // to the right of the last.
  B->SetLeft(FNextToolLeft);
  FNextToolLeft += 40;
  B->SetAlign(alRight);
  B->SetDefaultWidth(27);
  B->SetDefaultHeight(25);
  B->SetSkinDataName("toolbutton");
  if (FToolBarImageList != nullptr) {
    B->SetImageList(FToolBarImageList);
    B->SetImageIndex(Image);
  } else {
    TBitmap Bitmap;
    Bitmap.LoadFromResourceName(HInstance, Glyph);
    B->SetGlyph(&Bitmap);
  }
  B->SetHint(Text(HintKey, Hint));
  B->SetShowHint(true);
  B->SetFlat(FToolButtonsTransparent);
  if (Click != nullptr) B->OnClick = TNotifyEvent(this, Click);
  return B;
}

void TbsOpenDlgForm::Build(bool FixedBottom) {
  SetKeyPreview(true);
  SetPosition(poScreenCenter);
  SetClientWidth(FixedBottom ? 550 : 450);
  SetClientHeight(290);
  BSF = new TbsSkinForm(this);
  const Integer CW = GetClientWidth();

  ToolBar = new TbsSkinToolBar(this);
  ToolBar->SetParent(this);
  ToolBar->SetAlign(alTop);
  ToolBar->SetDefaultHeight(25);
  ToolBar->SetBorderStyle(TbsSkinBorderStyle::bvNone);
  ToolBar->SetSkinDataName("toolpanel");
  ToolBar->SetImages(FToolBarImageList);
  auto* Spacer = new TbsSkinBevel(this);
  Spacer->SetParent(ToolBar);
  Spacer->SetAlign(alLeft);
  Spacer->SetWidth(10);
  Spacer->SetShape(bsSpacer);
  LookInLabel = new TbsSkinStdLabel(this);
  LookInLabel->SetParent(ToolBar);
  LookInLabel->SetAlign(alLeft);
  LookInLabel->SetAutoSize(true);
  LookInLabel->SetLayout(tlCenter);
  LookInLabel->SetCaption(Text("FLV_LOOKIN", "Look in: "));
  BackButton = AddToolButton("BS_BACK", 0, "MSG_BTN_BACK_HINT", "Go To Last Folder Visited",
                             &TbsOpenDlgForm::BackClick);
  UpButton = AddToolButton("BS_UP", 1, "MSG_BTN_UP_HINT", "Up One Level", &TbsOpenDlgForm::UpClick);
  NewFolderButton = AddToolButton("BS_NEWFOLDER", 2, "MSG_BTN_NEWFOLDER_HINT", "Create New Folder",
                                  &TbsOpenDlgForm::NewFolderClick);
  auto* RightSpacer = new TbsSkinBevel(this);
  RightSpacer->SetParent(ToolBar);
  RightSpacer->SetLeft(FNextToolLeft);
  FNextToolLeft += 40;
  RightSpacer->SetAlign(alRight);
  RightSpacer->SetWidth(10);
  RightSpacer->SetShape(bsSpacer);
  ViewMenuButton =
      AddToolButton("BS_LVSTYLE", 3, "MSG_BTN_VIEWMENU_HINT", "View Menu", &TbsOpenDlgForm::ViewMenuClick);
  ViewMenuButton->SetDefaultWidth(37);
  ViewMenuButton->SetSkinDataName("toolmenubutton");

  ViewMenu = new TPopupMenu(this);
  static const char* const ViewKeys[4][2] = {{"MSG_LV_ICON", "Large icons"},
                                             {"MSG_LV_SMALLICON", "Small icons"},
                                             {"MSG_LV_LIST", "List"},
                                             {"MSG_LV_DETAILS", "Details"}};
  for (Integer I = 0; I < 4; ++I) {
    auto* Item = new TMenuItem(this);
    Item->SetCaption(Text(ViewKeys[I][0], ViewKeys[I][1]));
    Item->SetRadioItem(true);
    Item->SetGroupIndex(1);
    Item->SetTag(I);
    Item->OnClick = TNotifyEvent(this, &TbsOpenDlgForm::ViewItemClick);
    ViewMenu->GetItems()->Add(Item);
    ViewItems[I] = Item;
  }

  FolderBox = new TbsSkinShellComboBox(this);
  FolderBox->SetParent(ToolBar);
  FolderBox->SetAlign(alClient);
  FolderBox->SetWidth(190);
  FolderBox->SetDropDownCount(10);

  BottomPanel = new TbsSkinPanel(this);
  BottomPanel->SetParent(this);
  // Its width first: the anchored controls below keep their distance to its right edge.
  BottomPanel->SetBounds(0, GetClientHeight() - 80, CW, 80);
  BottomPanel->SetAlign(alBottom);
  BottomPanel->SetBorderStyle(TbsSkinBorderStyle::bvNone);

  ListPanel = new TbsSkinPanel(this);
  ListPanel->SetParent(this);
  ListPanel->SetAlign(alClient);
  ListPanel->SetBorderStyle(TbsSkinBorderStyle::bvFrame);
  HScrollBar = new TbsSkinScrollBar(this);
  HScrollBar->SetParent(ListPanel);
  HScrollBar->SetAlign(alBottom);
  HScrollBar->SetDefaultHeight(19);
  HScrollBar->SetBothMarkerWidth(19);
  HScrollBar->SetEnabled(false);
  HScrollBar->SetSkinDataName("hscrollbar");
  VScrollBar = new TbsSkinScrollBar(this);
  VScrollBar->SetParent(ListPanel);
  VScrollBar->SetKind(sbVertical);
  VScrollBar->SetAlign(alRight);
  VScrollBar->SetDefaultWidth(19);
  VScrollBar->SetEnabled(false);
  VScrollBar->SetSkinDataName("vscrollbar");
  // The list view scrolls with its own bars; the skinned ones frame it as the skin draws them.
  HScrollBar->SetVisible(false);
  VScrollBar->SetVisible(false);

  FileList = new TbsSkinFileListView(this);
  FileList->SetParent(ListPanel);
  FileList->SetAlign(alClient);
  FileList->SetViewStyle(vsList);
  FileList->SetShowColumnHeaders(true);
  FileList->GetIconOptions()->SetAutoArrange(true);
  FileList->SetHideSelection(false);
  FileList->SetShellComboBox(FolderBox);
  FileList->OnChange = TLVChangeEvent(this, &TbsOpenDlgForm::ListChange);
  FileList->OnFolderShown = TNotifyEvent(this, &TbsOpenDlgForm::FolderShown);
  FileList->OnDblClick = TNotifyEvent(this, &TbsOpenDlgForm::ListDblClick);
  FileList->OnKeyPress = TKeyPressEvent(this, &TbsOpenDlgForm::ListKeyPress);

  const Integer FieldWidth = FixedBottom ? 280 : CW - 160;
  const Integer ButtonLeft = FixedBottom ? 370 : CW - 80;
  FileNameEdit = new TbsSkinEdit(this);
  FileNameEdit->SetParent(BottomPanel);
  FileNameEdit->SetBounds(70, 10, FieldWidth, FileNameEdit->GetHeight());
  if (!FixedBottom) FileNameEdit->SetAnchors({akLeft, akTop, akRight});
  FileNameEdit->OnKeyPress = TKeyPressEvent(this, &TbsOpenDlgForm::EditKeyPress);

  FilterComboBox = new TbsSkinFilterComboBox(this);
  FilterComboBox->SetParent(BottomPanel);
  FilterComboBox->SetDefaultHeight(21);
  FilterComboBox->SetBounds(70, 45, FieldWidth, 21);
  if (!FixedBottom) FilterComboBox->SetAnchors({akLeft, akTop, akRight});
  FilterComboBox->OnChange = TNotifyEvent(this, &TbsOpenDlgForm::FilterChange);

  OpenButton = new TbsSkinButton(this);
  OpenButton->SetName("OpenButton");
  OpenButton->SetParent(BottomPanel);
  OpenButton->SetBounds(ButtonLeft, 10, 70, 25);
  OpenButton->SetDefaultHeight(25);
  OpenButton->SetCanFocused(true);
  OpenButton->SetCaption(SaveMode ? Text("MSG_BTN_SAVE", "&Save") : Text("MSG_BTN_OPEN", "&Open"));
  if (!FixedBottom) OpenButton->SetAnchors({akTop, akRight});
  OpenButton->OnClick = TNotifyEvent(this, &TbsOpenDlgForm::OpenButtonClick);

  CancelButton = new TbsSkinButton(this);
  CancelButton->SetName("CancelButton");
  CancelButton->SetParent(BottomPanel);
  CancelButton->SetBounds(ButtonLeft, 45, 70, 25);
  CancelButton->SetDefaultHeight(25);
  CancelButton->SetCanFocused(true);
  CancelButton->SetCaption(Text("MSG_BTN_CANCEL", "Cancel"));
  CancelButton->SetModalResult(mrCancel);
  CancelButton->SetCancel(true);
  if (!FixedBottom) CancelButton->SetAnchors({akTop, akRight});

  NameLabel = new TbsSkinStdLabel(this);
  NameLabel->SetParent(BottomPanel);
  NameLabel->SetBounds(10, 10, 50, 16);
  NameLabel->SetAutoSize(true);
  NameLabel->SetCaption(Text("MSG_FILENAME", "File name:"));
  TypeLabel = new TbsSkinStdLabel(this);
  TypeLabel->SetParent(BottomPanel);
  TypeLabel->SetBounds(10, 45, 50, 16);
  TypeLabel->SetAutoSize(true);
  TypeLabel->SetCaption(Text("MSG_FILETYPE", "File type:"));
  SetActiveControl(FileNameEdit);
}

// ---- Names ----------------------------------------------------------------------------------

std::string TbsOpenDlgForm::FolderText() {
  return IncludeTrailingPathDelimiter(SlashedPath(FileList->CurrentPath()));
}

std::string TbsOpenDlgForm::TypedPath(const std::string& Typed) {
  return ResolveTypedPath(FolderText(), Typed);
}

std::string TbsOpenDlgForm::SelectedFilePath() {
  const std::string S = SlashedPath(FileList->SelectedFilePath());
  const std::string T = FileNameEdit->GetText();
  // A name typed over the selection is the user's choice, not the selected file.
  if (S.empty() || (!T.empty() && ExtractFileName(S) != T)) return {};
  return S;
}

std::string TbsOpenDlgForm::CompletionExtension(bool WithDefaultExt) {
  if (WithDefaultExt && !DefaultExt.empty()) return "." + DefaultExt;
  const std::string Mask = FilterComboBox->GetMask();
  if (Mask.find(".*") != std::string::npos) return {};
  std::string First = Mask.substr(0, Mask.find(';'));
  First.erase(0, First.find_first_not_of(' '));
  return ExtractFileExt(First);
}

bool TbsOpenDlgForm::ConfirmOverwrite() {
  TbsSkinMessage Message(this);
  Message.SetSkinData(BSF->GetSkinData());
  Message.SetCtrlSkinData(CtrlSkinData);
  return Message.MessageDlg(Text("MSG_OVERWRITE", "Do you want to overwrite old file?"), mtWarning,
                            TMsgDlgButtons{mbOK, mbCancel}, 0) == mrOk;
}

void TbsOpenDlgForm::Close(const std::string& Result) {
  FileName = Result;
  SetModalResult(mrOk);
}

void TbsOpenDlgForm::Accept() {
  const std::string T = FileNameEdit->GetText();
  const std::string S = SelectedFilePath();
  if (T.empty()) return;
  const std::string Typed = TypedPath(T);
  // A typed name of an existing folder shows that folder.
  if (S.empty() && FolderExists(Typed)) {
    FileList->SetPath(Typed);
    FileNameEdit->SetText("");
    return;
  }
  std::string N = Typed;
  if (ExtractFileExt(ExtractFileName(N)).empty()) N += CompletionExtension(true);
  if (SaveMode) {
    if (Typed.find('*') != std::string::npos) return;
    // No such folder: nothing to save into.
    if (!FolderExists(ExtractFileDir(Typed))) return;
    if (OverwritePromt && FileExists(N) && !ConfirmOverwrite()) return;
    // The extension is completed by Execute.
    Close(Typed);
    return;
  }
  if (CheckFileExists) {
    const std::string Result = !S.empty() ? S : N;
    if (FileExists(Result)) Close(Result);
    return;
  }
  Close(!S.empty() ? S : N);
}

// ---- Handlers -------------------------------------------------------------------------------

void TbsOpenDlgForm::OpenButtonClick(TObject*) {
  Accept();
}

void TbsOpenDlgForm::EditKeyPress(TObject*, char& Key) {
  if (Key != '\r') return;
  Key = 0;
  const std::string T = FileNameEdit->GetText();
  if (T.find('*') != std::string::npos) {
    FileList->SetMask(T);
    return;
  }
  if (HasSeparator(T)) {
    const std::string Path = TypedPath(T);
    if (FolderExists(Path)) {
      FileList->SetPath(Path);
      FileNameEdit->SetText("");
      return;
    }
  }
  Accept();
}

void TbsOpenDlgForm::ListKeyPress(TObject*, char& Key) {
  if (Key == '\r' && !SelectedFilePath().empty()) Accept();
}

void TbsOpenDlgForm::ListDblClick(TObject*) {
  const std::string S = SelectedFilePath();
  if (S.empty()) return;
  if (SaveMode && OverwritePromt && !ConfirmOverwrite()) return;
  Close(S);
}

void TbsOpenDlgForm::ListChange(TObject*, TListItem*, TItemChange) {
  TbsShellFolder* F = FileList->SelectedFolder();
  const std::string Now = F != nullptr ? SlashedPath(F->ParsingText()) : std::string();
  // A move of the selection arrives as two item changes: one answer is enough.
  if (Now == FLastSelection) return;
  FLastSelection = Now;
  SelectionChanged();
}

void TbsOpenDlgForm::SelectionChanged() {
  const std::string S = SlashedPath(FileList->SelectedFilePath());
  if (!S.empty()) FileNameEdit->SetText(ExtractFileName(S));
  if (OnFolderChange) OnFolderChange(this);
}

void TbsOpenDlgForm::FilterChange(TObject*) {
  FileList->SetMask(FilterComboBox->GetMask());
  const std::string X = CompletionExtension(false);
  const std::string T = FileNameEdit->GetText();
  if (SaveMode && !X.empty() && !T.empty()) FileNameEdit->SetText(ChangeFileExt(T, X));
}

void TbsOpenDlgForm::FolderShown(TObject*) {
  FLastSelection.clear();
  TbsShellFolder* Shown = FileList->GetShownFolder();
  if (!FGoingBack && Shown != nullptr &&
      (FHistory.empty() || !SameItemIDList(FHistory.back(), Shown->FullID)))
    FHistory.push_back(CopyItemIDList(Shown->FullID));
  if (FileList->ItemCount() > 0 && FileList->HandleAllocated()) {
    LVITEM It;
    It.stateMask = LVIS_FOCUSED;
    It.state = LVIS_FOCUSED;
    FileList->Perform(LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&It));
  }
  if (OnFolderChange) OnFolderChange(this);
}

void TbsOpenDlgForm::BackClick(TObject*) {
  if (FHistory.size() < 2) return;
  FGoingBack = true;
  auto Done = ScopeExit([this] { FGoingBack = false; });
  LPITEMIDLIST Previous = FHistory[FHistory.size() - 2];
  FHistory.erase(FHistory.end() - 2);
  TItemIDHolder Hold(Previous);
  FileList->ShowFolderIfOther(Previous);
}

void TbsOpenDlgForm::UpClick(TObject*) {
  FileList->GoUp();
}

void TbsOpenDlgForm::NewFolderClick(TObject*) {
  const std::string Current = SlashedPath(FileList->CurrentPath());
  if (Current.find('/') == std::string::npos) return;
  ++NewFolderCount;
  std::string Name = Text("MSG_NEWFOLDER", "New Folder");
  // A skin text the file system would read as a path falls back to the built-in one.
  if (!IsAcceptableItemName(Name)) Name = "New Folder";
  if (NewFolderCount > 1) Name += "(" + IntToStr(NewFolderCount) + ")";
  const std::string Path = IncludeTrailingPathDelimiter(Current) + Name;
  if (DirectoryExists(Path)) return;
  if (!CreateDir(Path)) throw EInOutError(Format("Cannot create folder \"%s\"", {Path}));
  FileList->Refresh();
  Application->ProcessMessages();
  for (Integer I = 0; I < FileList->ItemCount(); ++I)
    if (FileList->ItemFolder(I)->DisplayText() == Name) {
      FileList->SelectIndex(I);
      FileList->SetFocus();
      FileList->EditSelected();
      break;
    }
}

void TbsOpenDlgForm::ViewMenuClick(TObject*) {
  const TPoint P = ViewMenuButton->ClientToScreen(TPoint{0, ViewMenuButton->GetHeight()});
  ViewMenu->Popup(P.X, P.Y);
}

void TbsOpenDlgForm::ViewItemClick(TObject* Sender) {
  auto* Item = dynamic_cast<TMenuItem*>(Sender);
  if (Item != nullptr) SetViewStyle(ViewStyles[std::clamp<Integer>(Item->GetTag(), 0, 3)]);
}

void TbsOpenDlgForm::SetViewStyle(TViewStyle Style) {
  for (Integer I = 0; I < 4; ++I) ViewItems[I]->SetChecked(ViewStyles[I] == Style);
  FileList->SetViewStyle(Style);
}

// ---- The picture form -------------------------------------------------------------------------

TbsOpenPictureDlgForm::TbsOpenPictureDlgForm(TComponent* AOwner, TCustomImageList* AToolBarImageList,
                                             bool AToolButtonsTransparent, TbsSkinData* ACtrlSkinData,
                                             bool ASaveMode)
    : TbsOpenDlgForm(AOwner, AToolBarImageList, AToolButtonsTransparent, ACtrlSkinData, ASaveMode, true) {
  PreviewPanel = new TbsSkinPanel(this);
  PreviewPanel->SetParent(this);
  PreviewPanel->SetAlign(alRight);
  PreviewPanel->SetWidth(200);
  PreviewPanel->SetBorderStyle(TbsSkinBorderStyle::bvFrame);
  Splitter = new TbsSkinSplitter(this);
  Splitter->SetParent(this);
  Splitter->SetAlign(alRight);
  Splitter->SetWidth(10);
  Splitter->SetDefaultSize(10);
  // Left of the preview: placed after it from the right.
  Splitter->SetLeft(PreviewPanel->GetLeft() - 10);
  PreviewBox = new TScrollBox(this);
  PreviewBox->SetParent(PreviewPanel);
  PreviewBox->SetAlign(alClient);
  PreviewBox->SetBorderStyle(bsNone);
  PreviewImage = new TImage(this);
  PreviewImage->SetParent(PreviewBox);
  PreviewImage->SetBounds(0, 0, 0, 0);

  StretchButton = AddToolButton("BS_STRETCH", 4, "MSG_BTN_STRETCH_HINT", "Stretch Picture", nullptr);
  StretchButton->OnClick = TNotifyEvent(this, &TbsOpenPictureDlgForm::StretchClick);
  StretchButton->SetGroupIndex(2);
  StretchButton->SetAllowAllUp(true);
}

void TbsOpenPictureDlgForm::FitImage() {
  if (StretchButton->GetDown()) return;
  TPicture* P = PreviewImage->GetPicture();
  PreviewImage->SetBounds(0, 0, P->GetWidth(), P->GetHeight());
}

void TbsOpenPictureDlgForm::LoadPreview(const std::string& Path) {
  try {
    PreviewImage->GetPicture()->LoadFromFile(Path);
  } catch (const Exception&) {
    // Nothing readable: an empty preview rather than the last picture.
    PreviewImage->GetPicture()->Assign(nullptr);
  }
  FitImage();
}

void TbsOpenPictureDlgForm::SelectionChanged() {
  const std::string S = SlashedPath(FileList->SelectedFilePath());
  const std::string T = ExtractFileName(S);
  FileNameEdit->SetText(T);
  if (!T.empty()) {
    LoadPreview(FolderText() + T);
  } else {
    PreviewImage->GetPicture()->Assign(nullptr);
    PreviewImage->SetBounds(0, 0, 0, 0);
  }
}

void TbsOpenPictureDlgForm::StretchClick(TObject*) {
  PreviewImage->SetVisible(false);
  if (StretchButton->GetDown()) {
    PreviewImage->SetStretch(true);
    PreviewImage->SetAlign(alClient);
  } else {
    PreviewImage->SetAlign(alNone);
    PreviewImage->SetStretch(false);
    FitImage();
  }
  PreviewImage->SetVisible(true);
}

// ---- The components -------------------------------------------------------------------------

TbsCustomFileDialog::TbsCustomFileDialog(TComponent* AOwner, std::string Title, std::string Filter)
    : TComponent(AOwner),
      FTitle(std::move(Title)),
      FFilter(std::move(Filter)),
      FDefaultFont(std::make_unique<TFont>()),
      FFiles(std::make_unique<TStringList>()) {
  FDefaultFont->SetName("Arial");
  FDefaultFont->SetHeight(14);
  FDefaultFont->SetStyle({});
}

TbsCustomFileDialog::~TbsCustomFileDialog() = default;

void TbsCustomFileDialog::SetFileName(const std::string& Value) {
  FFileName = Value;
  if (FForm != nullptr && !FPicture) FForm->FileNameEdit->SetText(Value);
}

void TbsCustomFileDialog::SetSkinData(TbsSkinData* Value) {
  FSD = Value;
  if (Value != nullptr) Value->FreeNotification(this);
}

void TbsCustomFileDialog::SetCtrlSkinData(TbsSkinData* Value) {
  FCtrlSkinData = Value;
  if (Value != nullptr) Value->FreeNotification(this);
}

void TbsCustomFileDialog::SetToolBarImageList(TCustomImageList* Value) {
  FToolBarImageList = Value;
  if (Value != nullptr) Value->FreeNotification(this);
}

void TbsCustomFileDialog::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FSD) FSD = nullptr;
  if (AComponent == FCtrlSkinData) FCtrlSkinData = nullptr;
  if (AComponent == FToolBarImageList) FToolBarImageList = nullptr;
}

TbsOpenDlgForm* TbsCustomFileDialog::CreateForm() {
  return new TbsOpenDlgForm(Application, FToolBarImageList, FToolButtonsTransparent, FCtrlSkinData,
                            FSaveMode);
}

std::string TbsCustomFileDialog::FilterExtension(TbsOpenDlgForm* Form) {
  return Form->CompletionExtension(false);
}

namespace {

// The folder a run starts in: the folder of the name, else InitialDir, else the program's.
std::string StartFolder(const std::string& FileName, const std::string& InitialDir) {
  const std::string NameFolder = ExtractFileDir(SlashedPath(FileName));
  if (!NameFolder.empty() && FolderExists(NameFolder)) return ExpandFileName(NameFolder);
  if (!InitialDir.empty() && FolderExists(SlashedPath(InitialDir)))
    return ExpandFileName(SlashedPath(InitialDir));
  return ExtractFileDir(Application->GetExeName());
}

}  // namespace

bool TbsCustomFileDialog::Execute() {
  if (OnShow) OnShow(this);
  TbsOpenDlgForm* Form = CreateForm();
  FForm = Form;
  auto End = ScopeExit([this, Form] {
    if (OnClose) OnClose(this);
    FForm = nullptr;
    delete Form;
  });
  Form->OverwritePromt = FOverwritePromt;
  Form->CheckFileExists = FCheckFileExists;
  if (!FPicture) {
    Form->OnFolderChange = OnFolderChange;
    Form->DefaultExt = FDefaultExt;
  }
  Form->SetCaption(FTitle);
  TbsSkinForm* BSF = Form->BSF;
  BSF->SetBorderIcons({});
  BSF->SetSkinData(FSD);
  BSF->SetMenusSkinData(FCtrlSkinData);
  BSF->SetMinWidth(FDialogMinWidth);
  BSF->SetMinHeight(FDialogMinHeight);
  BSF->SetAlphaBlend(FAlphaBlend);
  BSF->SetAlphaBlendAnimation(FAlphaBlendAnimation);
  BSF->SetAlphaBlendValue(FAlphaBlendValue);

  Form->OpenButton->SetDefaultFont(FDefaultFont.get());
  Form->CancelButton->SetDefaultFont(FDefaultFont.get());
  Form->FolderBox->SetDefaultFont(FDefaultFont.get());
  Form->FileList->SetDefaultFont(FDefaultFont.get());
  Form->SetViewStyle(FViewStyle);

  TbsSkinFileListView* List = Form->FileList;
  List->SetHeaderSkinDataName(FLVHeaderSkinDataName);
  List->SetSkinData(FCtrlSkinData);
  if (FCtrlSkinData != nullptr) {
    List->SetDrawSkin(FCtrlSkinData->GetDlgListViewDrawSkin());
    List->SetItemSkinDataName(FCtrlSkinData->GetDlgListViewItemSkinDataName());
  }
  List->SetMultiSelect(FMultiSelection);
  if (FShowHiddenFiles) {
    TShellObjectTypes Types = List->GetObjectTypes();
    Types.Include(otHidden);
    List->SetObjectTypes(Types);
  }

  // The file type first, so that the folder is read once, with its mask.
  Form->FilterComboBox->SetFilter(FFilter);
  Form->FilterComboBox->BuildFilterItems();
  Form->FilterComboBox->SetItemIndex(FFilterIndex - 1);
  // A choice from code fires no OnChange: the dialog runs its own handler.
  Form->FilterChange(Form->FilterComboBox);
  List->SetRoot(StartFolder(FFileName, FInitialDir));

  for (TControl* C : std::initializer_list<TControl*>{Form->BottomPanel, Form->ListPanel})
    static_cast<TbsSkinPanel*>(C)->SetSkinData(FCtrlSkinData);
  Form->ToolBar->SetSkinData(FCtrlSkinData);
  Form->LookInLabel->SetSkinData(FCtrlSkinData);
  for (TbsSkinSpeedButton* B :
       {Form->BackButton, Form->UpButton, Form->NewFolderButton, Form->ViewMenuButton})
    B->SetSkinData(FCtrlSkinData);
  Form->HScrollBar->SetSkinData(FCtrlSkinData);
  Form->VScrollBar->SetSkinData(FCtrlSkinData);
  Form->FileNameEdit->SetSkinData(FCtrlSkinData);
  Form->FilterComboBox->SetSkinData(FCtrlSkinData);
  Form->OpenButton->SetSkinData(FCtrlSkinData);
  Form->CancelButton->SetSkinData(FCtrlSkinData);
  Form->NameLabel->SetSkinData(FCtrlSkinData);
  Form->TypeLabel->SetSkinData(FCtrlSkinData);
  Form->FolderBox->SetSkinDataName("combobox");
  Form->FolderBox->SetSkinData(FCtrlSkinData);

  Integer W = FDialogWidth > 0 ? FDialogWidth : FDefaultDialogWidth;
  Integer H = FDialogHeight > 0 ? FDialogHeight : 290;
  if (FSD != nullptr && !FSD->Empty) {
    W = std::max(W, BSF->GetMinWidth());
    H = std::max(H, BSF->GetMinHeight());
  }
  Form->SetClientWidth(W);
  Form->SetClientHeight(H);
  PrepareForm(Form);

  // The window now, so that the list shows its folder before the form appears.
  List->HandleNeeded();
  Form->FileNameEdit->SetText(ExtractFileName(SlashedPath(FFileName)));
  Form->FolderShown(List);
  if (FPicture && FileExists(SlashedPath(FFileName)))
    static_cast<TbsOpenPictureDlgForm*>(Form)->LoadPreview(SlashedPath(FFileName));

  const bool Accepted = Form->ShowModal() == mrOk;
  FFilterIndex = Form->FilterComboBox->GetItemIndex() + 1;
  FDialogWidth = Form->GetClientWidth();
  FDialogHeight = Form->GetClientHeight();
  FViewStyle = List->GetViewStyle();
  FormClosed(Form);
  if (!Accepted) return false;
  FFileName = Form->FileName;
  const bool NoExtension = ExtractFileExt(ExtractFileName(FFileName)).empty();
  if (FSaveMode && NoExtension && Form->FilterComboBox->GetMask().find(".*") == std::string::npos)
    FFileName += FilterExtension(Form);
  List->GetSelectedFiles(FFiles.get());
  if (FSaveMode && !FPicture && ExtractFileExt(ExtractFileName(FFileName)).empty() && !FDefaultExt.empty())
    FFileName += "." + FDefaultExt;
  return true;
}

TbsSkinOpenDialog::TbsSkinOpenDialog(TComponent* AOwner)
    : TbsCustomFileDialog(AOwner, "Open file", "All files|*.*") {}

TbsSkinSaveDialog::TbsSkinSaveDialog(TComponent* AOwner) : TbsSkinOpenDialog(AOwner) {
  FSaveMode = true;
  FTitle = "Save file";
}

TbsSkinOpenPictureDialog::TbsSkinOpenPictureDialog(TComponent* AOwner)
    : TbsCustomFileDialog(AOwner, "Open picture",
                          "All (*.bmp;*.ico;*.emf;*.wmf)|*.bmp;*.ico;*.emf;*.wmf|Bitmaps (*.bmp)|*.bmp|"
                          "Icons (*.ico)|*.ico|Enhanced Metafiles (*.emf)|*.emf|Metafiles (*.wmf)|*.wmf") {
  FPicture = true;
  FDefaultDialogWidth = 550;
  FAlphaBlendValue = 200;
}

TbsOpenDlgForm* TbsSkinOpenPictureDialog::CreateForm() {
  return new TbsOpenPictureDlgForm(Application, GetToolBarImageList(), GetToolButtonsTransparent(),
                                   GetCtrlSkinData(), FSaveMode);
}

void TbsSkinOpenPictureDialog::PrepareForm(TbsOpenDlgForm* Form) {
  auto* F = static_cast<TbsOpenPictureDlgForm*>(Form);
  F->PreviewPanel->SetWidth(FPreviewWidth);
  F->PreviewPanel->SetSkinData(GetCtrlSkinData());
  F->StretchButton->SetSkinData(GetCtrlSkinData());
  F->Splitter->SetSkinData(GetCtrlSkinData());
  if (FStretchPicture || FStretchState) {
    F->StretchButton->SetDown(true);
    F->StretchClick(F->StretchButton);
  }
}

void TbsSkinOpenPictureDialog::FormClosed(TbsOpenDlgForm* Form) {
  auto* F = static_cast<TbsOpenPictureDlgForm*>(Form);
  FStretchState = F->StretchButton->GetDown();
  FPreviewWidth = F->PreviewPanel->GetWidth();
}

TbsSkinSavePictureDialog::TbsSkinSavePictureDialog(TComponent* AOwner) : TbsSkinOpenPictureDialog(AOwner) {
  FSaveMode = true;
  FTitle = "Save file";
}
