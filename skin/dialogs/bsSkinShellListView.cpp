#include "skin/dialogs/bsSkinShellListView.h"

#include <algorithm>

#include "platform/classes/Application.h"
#include "platform/classes/Screen.h"
#include "platform/gdi/Text.h"
#include "platform/shell/ShellFileInfo.h"
#include "platform/system/Files.h"
#include "platform/system/Format.h"
#include "platform/system/ScopeExit.h"
#include "platform/system/Strings.h"
#include "platform/user/Menus.h"
#include "platform/user/WindowMessages.h"
#include "skin/dialogs/bsDialogNames.h"
#include "skin/dialogs/bsDialogTexts.h"
#include "skin/dialogs/bsShellChangeNotifier.h"
#include "skin/dialogs/bsSkinShellComboBox.h"

namespace {

Integer Sign(Int64 V) {
  return V < 0 ? -1 : V > 0 ? 1 : 0;
}

UINT NavigateMessage() {
  static const UINT Msg = RegisterWindowMessage(SHELL_NAVIGATE_MESSAGE);
  return Msg;
}

}  // namespace

TbsCustomShellListView::TbsCustomShellListView(TComponent* AOwner)
    : TCustomListView(AOwner), FDefaultFont(std::make_unique<TFont>()) {
  SHFILEINFOA Info;
  FSmallImages = reinterpret_cast<HIMAGELIST>(
      SHGetFileInfoA("C:\\", 0, &Info, sizeof(Info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
  FLargeImages =
      reinterpret_cast<HIMAGELIST>(SHGetFileInfoA("C:\\", 0, &Info, sizeof(Info), SHGFI_SYSICONINDEX));
  FDefaultFont->SetName("Arial");
  FDefaultFont->SetHeight(14);
  SetOwnerData(true);
  SetHideSelection(false);
}

TbsCustomShellListView::~TbsCustomShellListView() {
  delete FNotifier;
  FNotifier = nullptr;
  if (FShellComboBox != nullptr) FShellComboBox->RemoveFreeNotification(this);
  FItems.clear();
  FShownFolder.reset();
}

// ---- Window --------------------------------------------------------------------------------

void TbsCustomShellListView::CreateWnd() {
  TCustomListView::CreateWnd();
  if (FSmallImages != nullptr) Perform(LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(FSmallImages));
  if (FLargeImages != nullptr)
    Perform(LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(FLargeImages));
  // A re-created window starts again at Root.
  CreateRoot();
  Refresh();
}

void TbsCustomShellListView::DestroyWnd() {
  ClearItems();
  TCustomListView::DestroyWnd();
}

void TbsCustomShellListView::Loaded() {
  TCustomListView::Loaded();
  Populate();
  const bool Auto = FAutoRefresh;
  FAutoRefresh = !Auto;
  SetAutoRefresh(Auto);
}

void TbsCustomShellListView::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomListView::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FShellComboBox) FShellComboBox = nullptr;
  if (AComponent == FSD) FSD = nullptr;
}

void TbsCustomShellListView::Dispatch(TMessage& Message) {
  if (IContextMenu2* Menu = TrackedContextMenu()) {
    if (Message.Msg == WM_INITMENUPOPUP || Message.Msg == WM_DRAWITEM || Message.Msg == WM_MENUCHAR ||
        Message.Msg == WM_MEASUREITEM) {
      Menu->HandleMenuMsg(Message.Msg, Message.WParam, Message.LParam);
      Message.Result = 0;
    }
  }
  if (Message.Msg == NavigateMessage()) {
    // The shell's "open" of a folder: shown here instead of in a new window.
    ShowFolderID(reinterpret_cast<LPCITEMIDLIST>(Message.LParam));
    Message.Result = 1;
    return;
  }
  if (Message.Msg == CN_NOTIFY) {
    auto* H = reinterpret_cast<NMHDR*>(Message.LParam);
    switch (H != nullptr ? H->code : 0) {
      case LVN_GETDISPINFO:
        FetchRow(*reinterpret_cast<NMLVDISPINFO*>(Message.LParam));
        Message.Result = 0;
        return;
      case LVN_ODFINDITEM:
        Message.Result = FindRow(*reinterpret_cast<NMLVFINDITEM*>(Message.LParam));
        return;
      case LVN_ENDLABELEDIT:
        EndLabelEdit(*reinterpret_cast<NMLVDISPINFO*>(Message.LParam));
        Message.Result = 0;
        return;
      case NM_DBLCLK:
        DoubleClick();
        break;
      default:
        break;
    }
  }
  TCustomListView::Dispatch(Message);
}

// ---- Rows ----------------------------------------------------------------------------------

void TbsCustomShellListView::ClearItems() {
  FSortKeys.clear();
  FItems.clear();
  if (!GetComponentState().Contains(csDestroying)) GetItems()->SetCount(0);
}

TbsShellFolder* TbsCustomShellListView::ItemFolder(Integer Index) const {
  if (Index < 0 || Index >= ItemCount()) return nullptr;
  return FItems[static_cast<std::size_t>(Index)].get();
}

Integer TbsCustomShellListView::SelectedIndex() {
  if (!HandleAllocated()) return -1;
  return static_cast<Integer>(Perform(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void TbsCustomShellListView::SelectIndex(Integer Index) {
  if (!HandleAllocated()) return;
  LVITEM It;
  It.stateMask = LVIS_SELECTED;
  It.state = 0;
  Perform(LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&It));
  if (Index < 0 || Index >= ItemCount()) return;
  It.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  It.state = LVIS_SELECTED | LVIS_FOCUSED;
  Perform(LVM_SETITEMSTATE, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&It));
  Perform(LVM_ENSUREVISIBLE, static_cast<WPARAM>(Index), 0);
}

TbsShellFolder* TbsCustomShellListView::SelectedFolder() {
  return ItemFolder(SelectedIndex());
}

std::string TbsCustomShellListView::CurrentPath() const {
  return FShownFolder ? FShownFolder->ParsingText() : std::string();
}

std::string TbsCustomShellListView::SelectedFilePath() {
  TbsShellFolder* F = SelectedFolder();
  if (F == nullptr || F->IsContainer()) return {};
  return F->DiskPath();
}

void TbsCustomShellListView::GetSelectedFiles(TStrings* List) {
  List->Clear();
  if (!HandleAllocated()) return;
  for (Integer I = static_cast<Integer>(Perform(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
       I >= 0; I = static_cast<Integer>(Perform(LVM_GETNEXTITEM, static_cast<WPARAM>(I), LVNI_SELECTED))) {
    TbsShellFolder* F = ItemFolder(I);
    if (F != nullptr && !F->IsContainer()) List->Add(F->DiskPath());
  }
}

void TbsCustomShellListView::FetchRow(NMLVDISPINFO& Info) {
  TbsShellFolder* F = ItemFolder(Info.item.iItem);
  if (F == nullptr) return;
  const Integer Sub = Info.item.iSubItem;
  if ((Info.item.mask & LVIF_TEXT) && Info.item.pszText != nullptr && Info.item.cchTextMax > 0) {
    std::string Text;
    if (Sub == 0) {
      ++FFetchCount;
      Text = F->DisplayText();
    } else if (GetViewStyle() == vsReport) {
      F->LoadColumnDetails(FShownFolder.get(), HandleAllocated() ? GetHandle() : nullptr,
                           GetColumns()->GetCount() - 1);
      Text = F->DetailText(Sub);
    }
    const std::size_t N = std::min(Text.size(), static_cast<std::size_t>(Info.item.cchTextMax - 1));
    Text.copy(Info.item.pszText, N);
    Info.item.pszText[N] = '\0';
  }
  if ((Info.item.mask & LVIF_IMAGE) && Sub == 0) Info.item.iImage = F->IconIndex(GetViewStyle() == vsIcon);
}

Integer TbsCustomShellListView::FindRow(const NMLVFINDITEM& Find) {
  const UINT Flags = Find.lvfi.flags;
  const Integer Count = ItemCount();
  if (!(Flags & (LVFI_PARTIAL | LVFI_STRING)) || Find.iStart == -1 || Find.lvfi.psz == nullptr || Count == 0)
    return -1;
  const std::string Wanted = AnsiUpperCase(Find.lvfi.psz);
  const Integer Start = std::clamp(Find.iStart, 0, Count);
  Integer I = Start;
  do {
    if (I >= Count) {
      if (!(Flags & LVFI_WRAP)) return -1;
      I = 0;
      if (I == Start) break;
    }
    if (AnsiUpperCase(ItemFolder(I)->DisplayText()).rfind(Wanted, 0) == 0) return I;
    ++I;
  } while (I != Start);
  return -1;
}

// ---- Showing folders -----------------------------------------------------------------------

void TbsCustomShellListView::CreateRoot() {
  TbsShellFolder* Old = FShownFolder.get();
  TbsShellFolder* New = CreateRootFolder(Old, FOldRoot, FRoot);
  // The old object is freed by now; the rows referred to it.
  FShownFolder.release();
  FShownFolder.reset(New);
  FSortKeys.clear();
  FItems.clear();
}

void TbsCustomShellListView::SetRoot(const TRoot& Value) {
  if (Value == FRoot) return;
  FOldRoot = FRoot;
  FRoot = Value;
  CreateRoot();
  FRootChanged = true;
  Refresh();
}

void TbsCustomShellListView::SetPath(const std::string& Path) {
  LPITEMIDLIST ID = nullptr;
  const std::u16string Wide = Utf8ToUtf16(Path);
  if (FAILED(DesktopFolderObject()->FolderInterface->ParseDisplayName(nullptr, nullptr, Wide.c_str(), nullptr,
                                                                      &ID, nullptr)) ||
      ID == nullptr)
    throw EInvalidPath(Format("Error setting path: \"%s\"", {Path}));
  TItemIDHolder Hold(ID);
  ShowFolderID(ID);
}

void TbsCustomShellListView::ShowFolderID(LPCITEMIDLIST Absolute) {
  if (FRefreshing || Absolute == nullptr) return;
  if (FShownFolder && SameItemIDList(FShownFolder->FullID, Absolute)) return;
  // The ID may belong to an object freed below.
  TItemIDHolder Copy(CopyItemIDList(Absolute));
  ClearItems();
  FShownFolder.reset();
  FRootChanged = false;
  FShownFolder.reset(CreateFolderFromID(Copy.List));
  Refresh();
  if (OnFolderShown) OnFolderShown(this);
}

void TbsCustomShellListView::GoUp() {
  if (!FShownFolder) return;
  TItemIDHolder Parent(CopyItemIDList(FShownFolder->FullID));
  DropLastItemID(Parent.List);
  ShowFolderID(Parent.List);
}

void TbsCustomShellListView::Refresh() {
  if (FRefreshing) return;
  FRefreshing = true;
  auto Done = ScopeExit([this] { FRefreshing = false; });
  const bool Auto = FAutoRefresh;
  SetAutoRefresh(false);
  if (!FRootChanged && FShellComboBox != nullptr && FShownFolder)
    FShellComboBox->SyncToFolder(FShownFolder->FullID);
  FRootChanged = false;
  Populate();
  if (GetViewStyle() == vsReport) BuildColumns();
  SetAutoRefresh(Auto);
}

void TbsCustomShellListView::Reload() {
  if (!FShownFolder) return;
  const Integer Selected = SelectedIndex();
  SelectIndex(-1);
  TItemIDHolder Copy(CopyItemIDList(FShownFolder->FullID));
  ClearItems();
  FShownFolder.reset();
  ShowFolderID(Copy.List);
  if (Selected >= 0 && Selected < ItemCount()) SelectIndex(Selected);
}

void TbsCustomShellListView::EditSelected() {
  const Integer I = SelectedIndex();
  if (I >= 0) Perform(LVM_EDITLABEL, static_cast<WPARAM>(I), 0);
}

bool TbsCustomShellListView::MatchesMask(const std::string& Mask, const std::string& FileName) {
  return MatchesFileMask(Mask, FileName);
}

void TbsCustomShellListView::Populate() {
  if (GetComponentState().Contains(csLoading) && !HandleAllocated()) return;
  if (!FShownFolder) return;
  ClearItems();
  const TCursor OldCursor = Screen->GetCursor();
  Screen->SetCursor(crHourGlass);
  auto Restore = ScopeExit([OldCursor] { Screen->SetCursor(OldCursor); });
  IEnumIDList* Enum = nullptr;
  std::string Longest;
  Integer LongestChars = 0;
  if (FShownFolder->FolderInterface &&
      SUCCEEDED(
          FShownFolder->FolderInterface->EnumObjects(nullptr, ObjectTypesToEnumFlags(FObjectTypes), &Enum)) &&
      Enum != nullptr) {
    auto Held = TComPtr<IEnumIDList>::Attach(Enum);
    LPITEMIDLIST ID = nullptr;
    ULONG Fetched = 0;
    while (Enum->Next(1, &ID, &Fetched) == S_OK && Fetched == 1) {
      TItemIDHolder Hold(ID);
      auto Item = std::make_unique<TbsShellFolder>(FShownFolder.get(), TComPtr<IShellFolder>(), ID);
      bool CanAdd = true;
      if (Item->IsContainer())
        Item->FolderInterface = BindShellFolder(FShownFolder->FolderInterface.Get(), ID, nullptr);
      else
        CanAdd = MatchesMask(FMask, ExtractFileName(Item->DiskPath()));
      if (OnAddFolder) OnAddFolder(this, Item.get(), CanAdd);
      if (!CanAdd) continue;
      const std::string Name = Item->DisplayText();
      const Integer Chars = static_cast<Integer>(Utf8ToUtf16(Name).size());
      if (Chars > LongestChars) {
        LongestChars = Chars;
        Longest = Name;
      }
      FItems.push_back(std::move(Item));
    }
  }
  if (FSorted) SortItems();
  GetItems()->SetCount(ItemCount());
  if (GetViewStyle() == vsList && !Longest.empty() && HandleAllocated()) {
    TCanvas* C = GetCanvas();
    C->SetFont(GetFont());
    RECT R{0, 0, 0, 0};
    DrawTextA(C->GetHandle(), Longest.c_str(), static_cast<Integer>(Longest.size()), &R, DT_CALCRECT);
    Perform(LVM_SETCOLUMNWIDTH, 0, R.Right - R.Left + 32);
  }
  Invalidate();
}

// ---- Sorting -------------------------------------------------------------------------------

const TbsCustomShellListView::TSortKey& TbsCustomShellListView::SortKeyOf(TbsShellFolder* Item) {
  auto [It, New] = FSortKeys.try_emplace(Item);
  if (!New) return It->second;
  TSortKey& Key = It->second;
  // A detail that cannot be read leaves the key invalid: the item keeps the default order.
  try {
    if (FSortColumn == 2) {
      Item->LoadColumnDetails(FShownFolder.get(), HandleAllocated() ? GetHandle() : nullptr, 4);
      Key.Type = Item->DetailText(2);
      Key.Valid = true;
    } else if (!Item->IsContainer()) {
      // By name, not by a search of the folder: a search per item made sorting quadratic.
      const std::string Path = Item->DiskPath();
      Key.Size = FileSizeByName(Path);
      Key.Modified = FileAge(Path);
      Key.Valid = Key.Size >= 0 && Key.Modified != -1;
    }
  } catch (const Exception&) {
    Key.Valid = false;
  }
  return Key;
}

Integer TbsCustomShellListView::CompareItems(TbsShellFolder* A, TbsShellFolder* B) {
  if (A == nullptr || B == nullptr || !FShownFolder) return 0;
  const bool FolderA = A->IsContainer(), FolderB = B->IsContainer();
  if (FolderA != FolderB) return FolderA ? -1 : 1;
  Integer Default = 0;
  if (FShownFolder->FolderInterface) {
    const HRESULT R = FShownFolder->FolderInterface->CompareIDs(0, A->ItemID, B->ItemID);
    Default = static_cast<short>(R & 0xFFFF);
  }
  if (!FColumnSorting || FSortColumn < 0 || FSortColumn > 3) return Default;
  Integer Result = 0;
  if (FSortColumn == 0) {
    Result = AnsiCompareText(A->DisplayText(), B->DisplayText());
  } else if (FolderA) {
    // Folders keep the shell's order at the top whichever way the files go.
    return Default;
  } else {
    const TSortKey& KA = SortKeyOf(A);
    const TSortKey& KB = SortKeyOf(B);
    if (!KA.Valid || !KB.Valid) return Default;
    if (FSortColumn == 1) Result = Sign(KA.Size - KB.Size);
    if (FSortColumn == 2) Result = AnsiCompareText(KA.Type, KB.Type);
    if (FSortColumn == 3) Result = Sign(KA.Modified - KB.Modified);
  }
  if (Result == 0) Result = Default;
  return FDescending ? -Result : Result;
}

void TbsCustomShellListView::SortItems() {
  std::stable_sort(
      FItems.begin(), FItems.end(),
      [this](const std::unique_ptr<TbsShellFolder>& A, const std::unique_ptr<TbsShellFolder>& B) {
        return CompareItems(A.get(), B.get()) < 0;
      });
}

void TbsCustomShellListView::SortByColumn(Integer Column) {
  FPrevSortColumn = FSortColumn;
  if (Column == FSortColumn) {
    FDescending = !FDescending;
  } else {
    FSortColumn = Column;
    FDescending = false;
  }
  FColumnSorting = true;
  auto Done = ScopeExit([this] {
    FColumnSorting = false;
    FSortKeys.clear();
  });
  SortItems();
  Invalidate();
}

void TbsCustomShellListView::ColClick(TListColumn* Column) {
  TCustomListView::ColClick(Column);
  const Integer Index = Column->GetIndex();
  if (Index != 0 && GetColumns()->GetCount() < 4) return;
  SortByColumn(Index);
}

// ---- Columns -------------------------------------------------------------------------------

void TbsCustomShellListView::AddColumn(const std::string& Caption, TAlignment Alignment, Integer Chars) {
  Integer XWidth = 7;
  if (HandleAllocated()) {
    GetCanvas()->SetFont(GetFont());
    XWidth = GetCanvas()->TextWidth("X");
  }
  TListColumn* C = GetColumns()->Add();
  C->SetCaption(Caption);
  C->SetAlignment(Alignment);
  C->SetWidth(Chars * XWidth);
}

void TbsCustomShellListView::BuildColumns() {
  if (!FShownFolder || !FShownFolder->FolderInterface) return;
  TListColumns* Columns = GetColumns();
  Columns->BeginUpdate();
  auto End = ScopeExit([Columns] { Columns->EndUpdate(); });
  Columns->Clear();
  FShownFolder->OwnerWindow = HandleAllocated() ? GetHandle() : nullptr;
  auto AlignmentOf = [](Integer Fmt) {
    return Fmt == LVCFMT_RIGHT ? taRightJustify : Fmt == LVCFMT_CENTER ? taCenter : taLeftJustify;
  };
  std::vector<std::string> Added;
  auto Seen = [&Added](const std::string& S) {
    return std::any_of(Added.begin(), Added.end(), [&S](const std::string& A) { return SameText(A, S); });
  };
  if (IShellFolder2* F2 = FShownFolder->Folder2Source()) {
    bool MetOn = false;
    for (UINT I = 0;; ++I) {
      SHELLDETAILS D;
      if (FAILED(F2->GetDetailsOf(nullptr, I, &D))) break;
      DWORD State = 0;
      F2->GetDefaultColumnState(I, &State);
      if (State & SHCOLSTATE_ONBYDEFAULT)
        MetOn = true;
      else if (MetOn)
        break;
      const std::string Caption = StrRetToText(nullptr, D.str);
      if (Caption.empty() || Seen(Caption)) continue;
      Added.push_back(Caption);
      AddColumn(Caption, AlignmentOf(D.fmt), D.cxChar);
    }
  } else if (IShellDetails* Details = FShownFolder->DetailsSource()) {
    for (UINT I = 0;; ++I) {
      SHELLDETAILS D;
      if (FAILED(Details->GetDetailsOf(nullptr, I, &D))) break;
      const std::string Caption = StrRetToText(nullptr, D.str);
      if (Seen(Caption)) break;
      if (Caption.empty()) continue;
      Added.push_back(Caption);
      AddColumn(Caption, AlignmentOf(D.fmt), D.cxChar);
    }
  } else {
    struct TBuiltIn {
      const char* Key;
      const char* Text;
      TAlignment Alignment;
      Integer Chars;
    };
    static constexpr TBuiltIn BuiltIn[] = {{"FLV_NAME", "Name", taLeftJustify, 25},
                                           {"FLV_SIZE", "Size", taRightJustify, 10},
                                           {"FLV_TYPE", "Type", taLeftJustify, 10},
                                           {"FLV_MODIFIED", "Modified", taLeftJustify, 14}};
    const Integer Count = (FShownFolder->ItemFlags() & 0x10) ? 4 : 1;
    for (Integer I = 0; I < Count; ++I)
      AddColumn(bsDialogText(FSD, BuiltIn[I].Key, BuiltIn[I].Text), BuiltIn[I].Alignment, BuiltIn[I].Chars);
  }
}

void TbsCustomShellListView::SetViewStyle(TViewStyle Value) {
  TCustomListView::SetViewStyle(Value);
  if (Value == vsReport) BuildColumns();
}

// ---- Properties ----------------------------------------------------------------------------

void TbsCustomShellListView::SetMask(const std::string& Value) {
  if (Value == FMask) return;
  FMask = Value;
  Refresh();
}

void TbsCustomShellListView::SetObjectTypes(TShellObjectTypes Value) {
  FObjectTypes = Value;
  if (!GetComponentState().Contains(csLoading)) Refresh();
}

void TbsCustomShellListView::SetSorted(bool Value) {
  if (FSorted == Value) return;
  FSorted = Value;
  Populate();
}

void TbsCustomShellListView::SetSkinData(TbsSkinData* Value) {
  FSD = Value;
  if (Value != nullptr) Value->FreeNotification(this);
}

void TbsCustomShellListView::SetDefaultFont(TFont* Value) {
  FDefaultFont->Assign(Value);
  SetFont(Value);
}

void TbsCustomShellListView::SetAutoRefresh(bool Value) {
  if (GetComponentState().Contains(csLoading)) {
    FAutoRefresh = Value;
    return;
  }
  FAutoRefresh = Value;
  delete FNotifier;
  FNotifier = nullptr;
  if (!Value || !FShownFolder) return;
  FNotifier = new TbsShellChangeNotifier(this);
  FNotifier->SetWatchSubTree(false);
  FNotifier->SetRoot(FShownFolder->ParsingText());
  FNotifier->SetOnChange(TbsShellChangeEvent(this, &TbsCustomShellListView::Reload));
}

void TbsCustomShellListView::SetShellComboBox(TbsCustomShellComboBox* Value) {
  if (Value == FShellComboBox) return;
  TbsCustomShellComboBox* Old = FShellComboBox;
  FShellComboBox = Value;
  if (Old != nullptr) {
    Old->RemoveFreeNotification(this);
    Old->SetShellListView(nullptr);
  }
  if (Value != nullptr) {
    Value->FreeNotification(this);
    Value->SetRoot(FRoot);
    Value->SetShellListView(this);
  }
}

// ---- Navigation and commands -----------------------------------------------------------------

void TbsCustomShellListView::DoubleClick() {
  if (!FAutoNavigate) return;
  TbsShellFolder* F = SelectedFolder();
  if (F != nullptr && F->IsContainer()) ShowFolderID(F->FullID);
}

void TbsCustomShellListView::KeyDown(Word& Key, TShiftState Shift) {
  TCustomListView::KeyDown(Key, Shift);
  if (!FAutoNavigate) return;
  switch (Key) {
    case VK_BACK:
      if (!IsEditing()) GoUp();
      break;
    case VK_RETURN:
      if (Shift.Contains(ssAlt)) {
        InvokeShellVerb(SelectedFolder(), "properties");
        Key = 0;
      } else if (TbsShellFolder* F = SelectedFolder(); F != nullptr && F->IsContainer()) {
        ShowFolderID(F->FullID);
      }
      break;
    case VK_F5:
      Reload();
      break;
    default:
      break;
  }
}

void TbsCustomShellListView::DoContextPopup(TPoint MousePos, bool& Handled) {
  TbsShellFolder* F = FAutoContextMenus ? SelectedFolder() : nullptr;
  if (F == nullptr) {
    TCustomListView::DoContextPopup(MousePos, Handled);
    return;
  }
  ShowShellContextMenu(this, F, MousePos.X, MousePos.Y);
  Handled = true;
  Reload();
}

void TbsCustomShellListView::ExecuteVerb(const std::string& Verb, bool& Handled) {
  // "open" runs with the process's working folder left alone: the shell opens by full path.
  if (SameText(Verb, "rename")) {
    EditSelected();
    Handled = true;
  }
}

void TbsCustomShellListView::VerbCompleted(const std::string& Verb, bool Success) {
  if (Success && (SameText(Verb, "delete") || SameText(Verb, "paste"))) Reload();
}

void TbsCustomShellListView::EndLabelEdit(NMLVDISPINFO& Info) {
  TbsShellFolder* F = ItemFolder(Info.item.iItem);
  if (F == nullptr || Info.item.pszText == nullptr) return;
  const std::string Name = Info.item.pszText;
  // A name the file system would read as a path (or as no name) is refused: the old one stays.
  if (!IsAcceptableItemName(Name) || Name == F->DisplayText()) return;
  try {
    F->RenameTo(Utf8ToUtf16(Name));
  } catch (const Exception&) {
    Application->HandleException(this);
  }
  Perform(LVM_REDRAWITEMS, static_cast<WPARAM>(Info.item.iItem), Info.item.iItem);
}
