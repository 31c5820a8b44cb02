#include "skin/dialogs/bsfilectrl.h"

#include <algorithm>

#include "platform/classes/Screen.h"
#include "platform/system/Files.h"
#include "platform/system/Format.h"
#include "platform/system/ScopeExit.h"
#include "platform/system/Strings.h"

namespace {

[[noreturn]] void RaiseFolderError(const std::string& Path) {
  throw EInOutError(Format("Cannot open folder \"%s\"", {Path}));
}

}  // namespace

bool FolderExists(const std::string& Path) {
  const DWORD A = GetFileAttributes(Path);
  return A != INVALID_FILE_ATTRIBUTES && (A & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// ---- TbsSkinFileListBox ---------------------------------------------------------------------

TbsSkinFileListBox::TbsSkinFileListBox(TComponent* AOwner)
    : TbsSkinListBox(AOwner), FDirectory(GetCurrentDir()) {
  SetWidth(145);
  SetMultiSelect(false);
  SetSorted(true);
}

TbsSkinFileListBox::~TbsSkinFileListBox() {
  if (FFileEdit != nullptr) FFileEdit->RemoveFreeNotification(this);
  if (FFilterCombo != nullptr) FFilterCombo->RemoveFreeNotification(this);
}

void TbsSkinFileListBox::CreateWnd() {
  TbsSkinListBox::CreateWnd();
  ReadDirectory();
}

void TbsSkinFileListBox::Loaded() {
  TbsSkinListBox::Loaded();
  if (GetComponentState().Contains(csDesigning)) {
    FDirectory = GetCurrentDir();
    ReadDirectory();
  }
}

void TbsSkinFileListBox::Notification(TComponent* AComponent, TOperation Operation) {
  TbsSkinListBox::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FFileEdit) FFileEdit = nullptr;
  if (AComponent == FFilterCombo) FFilterCombo = nullptr;
}

void TbsSkinFileListBox::SetMask(const std::string& Value) {
  if (Value == FMask) return;
  FMask = Value;
  ReadDirectory();
}

void TbsSkinFileListBox::SetFileType(TbsFileType Value) {
  if (Value == FFileType) return;
  FFileType = Value;
  ReadDirectory();
}

void TbsSkinFileListBox::SetFileEdit(TCustomEdit* Value) {
  FFileEdit = Value;
  if (Value == nullptr) return;
  Value->FreeNotification(this);
  const std::string Name = SelectedName();
  Value->SetText(Name.empty() ? FMask : Name);
}

void TbsSkinFileListBox::SetFilterCombo(TbsSkinFilterComboBox* Value) {
  if (FFilterCombo != nullptr) FFilterCombo->RemoveFreeNotification(this);
  FFilterCombo = Value;
  if (Value != nullptr) Value->FreeNotification(this);
}

std::string TbsSkinFileListBox::SelectedName() {
  const Integer I = GetItemIndex();
  if (I < 0 || GetItems()->GetCount() == 0 || I >= GetItems()->GetCount() || !GetSelected(I)) return {};
  return GetItems()->GetStrings(I);
}

void TbsSkinFileListBox::ReadDirectory() {
  if (!HandleAllocated()) return;
  Integer Attr = 0;
  static constexpr Integer Bits[] = {faReadOnly, faHidden, faSysFile, faVolumeID, faDirectory, faArchive};
  for (Integer A = bsftReadOnly; A <= bsftArchive; ++A)
    if (FFileType.Contains(static_cast<TbsFileAttr>(A))) Attr |= Bits[A];
  if (!FolderExists(FDirectory)) RaiseFolderError(FDirectory);
  Clear();
  const TCursor Saved = Screen->GetCursor();
  auto Restore = ScopeExit([Saved] { Screen->SetCursor(Saved); });
  TStrings* Items = GetItems();
  std::string Rest = FMask;
  while (true) {
    const auto Semi = Rest.find(';');
    const std::string Piece = Rest.substr(0, Semi);
    TSearchRec SR;
    if (!Piece.empty() && FindFirst(IncludeTrailingPathDelimiter(FDirectory) + Piece, Attr, SR) == 0) {
      do {
        if (!FFileType.Contains(bsftNormal) && (SR.Attr & Attr) == 0) continue;
        const Integer At = Items->Add((SR.Attr & faDirectory) ? Format("[%s]", {SR.Name}) : SR.Name);
        if (At == 100) Screen->SetCursor(crHourGlass);
      } while (FindNext(SR) == 0);
    }
    FindClose(SR);
    if (Semi == std::string::npos) break;
    Rest.erase(0, Semi + 1);
  }
  UpdateScrollBars();
  NotifyChange();
}

void TbsSkinFileListBox::NotifyChange() {
  FLastIndex = GetItemIndex();
  if (FFileEdit != nullptr) {
    const std::string Name = SelectedName();
    FFileEdit->SetText(Name.empty() ? FMask : Name);
    FFileEdit->SelectAll();
  }
  if (OnChange) OnChange(this);
}

void TbsSkinFileListBox::ListBoxClick() {
  TbsSkinListBox::ListBoxClick();
  if (GetItemIndex() != FLastIndex) NotifyChange();
}

std::string TbsSkinFileListBox::GetFilePath() {
  const std::string Name = SelectedName();
  if (Name.empty()) return {};
  return IncludeTrailingPathDelimiter(FDirectory) + Name;
}

void TbsSkinFileListBox::SetDirectory(const std::string& Path) {
  // Folder names are compared as the file system does: exactly.
  if (Path == FDirectory) return;
  const std::string Resolved = ExcludeTrailingPathDelimiter(ResolveTypedPath(FDirectory, Path));
  const std::string Folder = Resolved.empty() ? "/" : Resolved;
  if (!FolderExists(Folder)) RaiseFolderError(Path);
  FDirectory = Folder;
  ReadDirectory();
}

void TbsSkinFileListBox::SelectFileName(const std::string& Name) {
  if (!SameText(Name, SelectedName())) {
    Integer Found = -1;
    for (Integer I = 0; I < GetItems()->GetCount() && Found < 0; ++I)
      if (AnsiCompareText(GetItems()->GetStrings(I), Name) == 0) Found = I;
    SetItemIndex(Found);
  }
  NotifyChange();
}

void TbsSkinFileListBox::ApplyPath(const std::string& Text) {
  if (Text.empty() || Text == GetFilePath()) return;
  std::string Folder, Name;
  if (Text.size() >= 2 && Text.front() == '[' && Text.back() == ']') {
    Folder = ResolveTypedPath(FDirectory, Text.substr(1, Text.size() - 2));
  } else {
    const std::string Full = ResolveTypedPath(FDirectory, Text);
    Folder = ExtractFileDir(Full);
    Name = ExtractFileName(Full);
    const bool Wild = Name.find_first_of("*?") != std::string::npos;
    // A name that is an existing folder is entered.
    if (!Name.empty() && !Wild && !FileExists(Full) && FolderExists(Full)) {
      Folder = Full;
      Name.clear();
    }
  }
  SetDirectory(Folder);
  if (Name.find_first_of("*?") != std::string::npos) {
    SetMask(Name);
  } else if (!Name.empty()) {
    SelectFileName(Name);
    if (FileExists(IncludeTrailingPathDelimiter(FDirectory) + Name) && SelectedName().empty()) {
      SetMask(Name);
      SelectFileName(Name);
    }
  }
}

// ---- TbsSkinFilterComboBox ------------------------------------------------------------------

TbsSkinFilterComboBox::TbsSkinFilterComboBox(TComponent* AOwner)
    : TbsSkinComboBox(AOwner), FFilterMasks(std::make_unique<TStringList>()) {
  SetStyle(bscbFixedStyle);
}

TbsSkinFilterComboBox::~TbsSkinFilterComboBox() {
  if (FFileList != nullptr) {
    FFileList->RemoveFreeNotification(this);
    FFileList->SetFilterCombo(nullptr);
  }
}

void TbsSkinFilterComboBox::SetFilter(const std::string& Value) {
  if (SameText(Value, FFilter)) return;
  FFilter = Value;
  FBuilt = false;
  if (HandleAllocated()) BuildFilterItems();
  Change();
}

void TbsSkinFilterComboBox::SetFileList(TbsSkinFileListBox* Value) {
  if (FFileList != nullptr) {
    FFileList->RemoveFreeNotification(this);
    FFileList->SetFilterCombo(nullptr);
  }
  FFileList = Value;
  if (Value != nullptr) {
    Value->FreeNotification(this);
    Value->SetFilterCombo(this);
  }
}

void TbsSkinFilterComboBox::BuildFilterItems() {
  GetItems()->Clear();
  FFilterMasks->Clear();
  for (const TbsFilterEntry& E : ParseFilter(FFilter)) {
    GetItems()->Add(E.Description);
    FFilterMasks->Add(E.Mask);
  }
  FBuilt = true;
  SetItemIndex(GetItems()->GetCount() > 0 ? 0 : -1);
}

std::string TbsSkinFilterComboBox::GetMask() {
  const Integer Count = FFilterMasks->GetCount();
  if (Count == 0) return "*.*";
  if (GetItemIndex() < 0) SetItemIndex(GetItems()->GetCount() - 1);
  const Integer I = GetItemIndex();
  return I >= 0 && I < Count ? FFilterMasks->GetStrings(I) : std::string("*.*");
}

void TbsSkinFilterComboBox::Change() {
  if (FFileList != nullptr) FFileList->SetMask(GetMask());
  TbsSkinComboBox::Change();
}

void TbsSkinFilterComboBox::Click() {
  TbsSkinComboBox::Click();
  Change();
}

void TbsSkinFilterComboBox::CreateWnd() {
  TbsSkinComboBox::CreateWnd();
  // Items built for the filter before the window keep their choice.
  if (!FBuilt) BuildFilterItems();
}

void TbsSkinFilterComboBox::Notification(TComponent* AComponent, TOperation Operation) {
  TbsSkinComboBox::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FFileList) FFileList = nullptr;
}
