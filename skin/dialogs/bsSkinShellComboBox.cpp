#include "skin/dialogs/bsSkinShellComboBox.h"

#include <algorithm>

#include "platform/shell/ShellFileInfo.h"
#include "platform/system/ScopeExit.h"
#include "platform/user/ImageLists.h"
#include "skin/dialogs/bsSkinShellListView.h"

TbsItemEx* TbsItemsEx::Insert(Integer Index) {
  Index = std::clamp(Index, 0, GetCount());
  FItems.insert(FItems.begin() + Index, std::make_unique<TbsItemEx>());
  return FItems[static_cast<std::size_t>(Index)].get();
}

TbsCustomShellComboBox::TbsCustomShellComboBox(TComponent* AOwner)
    : TbsSkinCustomComboBox(AOwner), FEntries(std::make_unique<TbsItemsEx>()) {
  SHFILEINFOA Info;
  FImages = reinterpret_cast<HIMAGELIST>(
      SHGetFileInfoA("C:\\", 0, &Info, sizeof(Info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
  if (FImages != nullptr) ImageList_GetIconSize(FImages, &FIconWidth, &FIconHeight);
  GetListBox()->OnDrawItem = TbsDrawSkinItemEvent(this, &TbsCustomShellComboBox::ListDrawItem);
  OnComboBoxDrawItem = TbsDrawSkinItemEvent(this, &TbsCustomShellComboBox::FaceDrawItem);
}

TbsCustomShellComboBox::~TbsCustomShellComboBox() {
  if (FShellListView != nullptr) FShellListView->RemoveFreeNotification(this);
  FEntries->Clear();
  FRootFolder.reset();
}

// ---- Entries -------------------------------------------------------------------------------

void TbsCustomShellComboBox::ClearEntries() {
  FEntries->Clear();
  GetItems()->Clear();
}

void TbsCustomShellComboBox::RefreshStrings() {
  TStrings* Items = GetItems();
  Items->BeginUpdate();
  auto End = ScopeExit([Items] { Items->EndUpdate(); });
  Items->Clear();
  for (Integer I = 0; I < FEntries->GetCount(); ++I) Items->Add(FEntries->GetItem(I)->Caption);
}

Integer TbsCustomShellComboBox::EntryImage(TbsShellFolder* Folder) const {
  return FUseShellImages ? SystemIconIndex(Folder->FullID, false, false) : -1;
}

TbsItemEx* TbsCustomShellComboBox::InsertEntry(Integer Index, std::unique_ptr<TbsShellFolder> Folder) {
  TbsItemEx* E = FEntries->Insert(Index);
  E->Caption = Folder->DisplayText();
  E->Indent = Folder->Depth;
  E->ImageIndex = E->SelectedImageIndex = EntryImage(Folder.get());
  E->Folder = std::move(Folder);
  return E;
}

std::unique_ptr<TbsShellFolder> TbsCustomShellComboBox::ChildFolder(TbsShellFolder* Parent,
                                                                    LPCITEMIDLIST Relative) {
  return std::make_unique<TbsShellFolder>(
      Parent, BindShellFolder(Parent->FolderInterface.Get(), Relative, nullptr), Relative);
}

TbsShellFolder* TbsCustomShellComboBox::EntryFolder(Integer Index) const {
  if (FEntries->GetCount() == 0 || Index < 0) return nullptr;
  return FEntries->GetItem(std::min(Index, FEntries->GetCount() - 1))->Folder.get();
}

Integer TbsCustomShellComboBox::IndexOfID(LPCITEMIDLIST Absolute) const {
  for (Integer I = FEntries->GetCount() - 1; I >= 0; --I)
    if (SameItemIDList(FEntries->GetItem(I)->Folder->FullID, Absolute)) return I;
  return -1;
}

void TbsCustomShellComboBox::InitItems() {
  if (GetComponentState().Contains(csLoading)) return;
  const bool Was = FUpdating;
  FUpdating = true;
  auto Done = ScopeExit([this, Was] { FUpdating = Was; });
  ClearEntries();
  TbsShellFolder* New = CreateRootFolder(FRootFolder.get(), FOldRoot, FRoot);
  FRootFolder.release();
  FRootFolder.reset(New);
  InsertEntry(0,
              std::make_unique<TbsShellFolder>(nullptr, FRootFolder->FolderInterface, FRootFolder->FullID));
  AddDefaultItems();
  RefreshStrings();
  SetItemIndex(0);
}

void TbsCustomShellComboBox::AddDefaultItems() {
  AddChildEntries(0, FRootFolder.get());
  if (FRoot != "rfDesktop") return;
  LPITEMIDLIST Drives = nullptr;
  if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &Drives))) return;
  TItemIDHolder Hold(Drives);
  const Integer I = IndexOfID(Drives);
  if (I >= 0) AddChildEntries(I, EntryFolder(I));
}

void TbsCustomShellComboBox::AddChildEntries(Integer Index, TbsShellFolder* Folder) {
  if (!Folder->FolderInterface) return;
  IEnumIDList* Enum = nullptr;
  const HRESULT R =
      Folder->FolderInterface->EnumObjects(nullptr, ObjectTypesToEnumFlags(FObjectTypes), &Enum);
  if (FAILED(R) || Enum == nullptr)
    throw EOSError("Cannot list the folders of \"" + Folder->DisplayText() + "\"");
  auto Held = TComPtr<IEnumIDList>::Attach(Enum);
  std::vector<LPITEMIDLIST> IDs;
  auto Free = ScopeExit([&IDs] {
    for (LPITEMIDLIST P : IDs) ShellFree(P);
  });
  LPITEMIDLIST ID = nullptr;
  ULONG Fetched = 0;
  while (Enum->Next(1, &ID, &Fetched) == S_OK && Fetched == 1) IDs.push_back(ID);
  IShellFolder* Sorter = Folder->FolderInterface.Get();
  std::stable_sort(IDs.begin(), IDs.end(), [Sorter](LPITEMIDLIST A, LPITEMIDLIST B) {
    return static_cast<short>(Sorter->CompareIDs(0, A, B) & 0xFFFF) < 0;
  });
  for (std::size_t K = 0; K < IDs.size(); ++K)
    InsertEntry(Index + 1 + static_cast<Integer>(K), ChildFolder(Folder, IDs[K]));
}

void TbsCustomShellComboBox::ShowPathTo(LPCITEMIDLIST Absolute) {
  const bool Was = FUpdating;
  FUpdating = true;
  auto Done = ScopeExit([this, Was] { FUpdating = Was; });
  // The ID may belong to an entry freed by the rebuilding.
  TItemIDHolder Target(CopyItemIDList(Absolute));
  InitItems();
  // A default entry (the root itself among them) is only selected.
  if (const Integer Entry = IndexOfID(Target.List); Entry >= 0) {
    SetItemIndex(Entry);
    return;
  }
  std::vector<LPITEMIDLIST> Ancestors = ItemIDAncestorList(Target.List);
  auto Free = ScopeExit([&Ancestors] { FreeItemIDAncestorList(Ancestors); });
  Integer Found = -1, Index = -1;
  for (Integer K = static_cast<Integer>(Ancestors.size()) - 1; K >= 0 && Index < 0; --K) {
    Index = IndexOfID(Ancestors[static_cast<std::size_t>(K)]);
    if (Index >= 0) Found = K;
  }
  if (Index < 0) {
    SetItemIndex(-1);
    return;
  }
  auto InsertAfter = [this, &Index](LPCITEMIDLIST Full) {
    TItemIDHolder Last(LastItemIDCopy(Full));
    InsertEntry(Index + 1, ChildFolder(EntryFolder(Index), Last.List));
    ++Index;
  };
  for (std::size_t K = static_cast<std::size_t>(Found) + 1; K < Ancestors.size(); ++K)
    InsertAfter(Ancestors[K]);
  if (IndexOfID(Target.List) < 0) InsertAfter(Target.List);
  RefreshStrings();
  SetItemIndex(IndexOfID(Target.List));
}

void TbsCustomShellComboBox::SyncToFolder(LPCITEMIDLIST Absolute) {
  if (FUpdating) return;
  const Integer I = GetItemIndex();
  if (I >= 0 && I < FEntries->GetCount() && SameItemIDList(EntryFolder(I)->FullID, Absolute)) return;
  FUpdating = true;
  auto Done = ScopeExit([this] { FUpdating = false; });
  ShowPathTo(Absolute);
}

void TbsCustomShellComboBox::Change() {
  TbsSkinCustomComboBox::Change();
  const Integer I = GetItemIndex();
  // The list is hidden before the choice is announced (the dropped-down flag still stands).
  if (FUpdating || I < 0 || I >= FEntries->GetCount() || GetListBox()->GetVisible()) return;
  FUpdating = true;
  auto Done = ScopeExit([this] { FUpdating = false; });
  TItemIDHolder Chosen(CopyItemIDList(EntryFolder(I)->FullID));
  if (FShellListView != nullptr) FShellListView->ShowFolderIfOther(Chosen.List);
  // One rebuild for the choice: the default entries and the path to it.
  ShowPathTo(Chosen.List);
}

void TbsCustomShellComboBox::Click() {
  // Entered while the box rebuilds itself (a selection from code): only the event.
  if (FUpdating) {
    TbsSkinCustomComboBox::Click();
    return;
  }
  FUpdating = true;
  auto Done = ScopeExit([this] { FUpdating = false; });
  const Integer I = GetItemIndex();
  if (I >= 0 && I < FEntries->GetCount()) {
    TItemIDHolder Chosen(CopyItemIDList(EntryFolder(I)->FullID));
    ShowPathTo(Chosen.List);
  }
  TbsSkinCustomComboBox::Click();
}

void TbsCustomShellComboBox::RootChanged() {
  FUpdating = true;
  auto Done = ScopeExit([this] { FUpdating = false; });
  ClearEntries();
  InitItems();
  if (FShellListView != nullptr) FShellListView->SetRoot(FRoot);
}

// ---- Properties ----------------------------------------------------------------------------

void TbsCustomShellComboBox::SetRoot(const TRoot& Value) {
  if (Value == FRoot) return;
  FOldRoot = FRoot;
  FRoot = Value;
  RootChanged();
}

void TbsCustomShellComboBox::SetObjectTypes(TShellObjectTypes Value) {
  FObjectTypes = Value;
  RootChanged();
}

void TbsCustomShellComboBox::SetShellListView(TbsCustomShellListView* Value) {
  if (Value == FShellListView) return;
  TbsCustomShellListView* Old = FShellListView;
  FShellListView = Value;
  if (Old != nullptr) {
    Old->RemoveFreeNotification(this);
    Old->SetShellComboBox(nullptr);
  }
  if (Value != nullptr) {
    Value->FreeNotification(this);
    Value->SetRoot(FRoot);
    Value->SetShellComboBox(this);
  }
}

void TbsCustomShellComboBox::SetUseShellImages(bool Value) {
  FUseShellImages = Value;
  FIconWidth = FIconHeight = 16;
  if (Value && FImages != nullptr) ImageList_GetIconSize(FImages, &FIconWidth, &FIconHeight);
}

void TbsCustomShellComboBox::Notification(TComponent* AComponent, TOperation Operation) {
  TbsSkinCustomComboBox::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FShellListView) FShellListView = nullptr;
}

void TbsCustomShellComboBox::CreateWnd() {
  TbsSkinCustomComboBox::CreateWnd();
  SetUseShellImages(FUseShellImages);
  if (FEntries->GetCount() == 0) InitItems();
}

void TbsCustomShellComboBox::DestroyWnd() {
  TbsSkinCustomComboBox::DestroyWnd();
}

void TbsCustomShellComboBox::Loaded() {
  TbsSkinCustomComboBox::Loaded();
  InitItems();
}

// ---- Drawing -------------------------------------------------------------------------------

Integer TbsCustomShellComboBox::RowIconLeft(Integer Index, bool Face) const {
  if (Face || Index < 0 || Index >= FEntries->GetCount()) return 0;
  return FEntries->GetItem(Index)->Indent * FIconWidth / 2;
}

void TbsCustomShellComboBox::DrawEntry(TCanvas* C, Integer Index, TRect R, Integer Offset) {
  if (Index < 0 || Index >= FEntries->GetCount()) return;
  const TbsItemEx* E = FEntries->GetItem(Index);
  if (FUseShellImages && FImages != nullptr && E->ImageIndex >= 0)
    ImageList_DrawEx(FImages, E->ImageIndex, C->GetHandle(), R.Left + Offset,
                     R.Top + (R.Height() - FIconHeight) / 2, FIconWidth, FIconHeight, CLR_NONE, CLR_NONE,
                     ILD_NORMAL);
  C->GetBrush()->SetStyle(bsClear);
  const Integer TH = C->TextHeight("Wg");
  Integer Y = R.Top + R.Height() / 2 - TH / 2;
  if (C->GetFont()->GetHeight() % 2 != 0) --Y;
  C->TextOut(R.Left + Offset + FIconWidth + 4, Y, GetItems()->GetStrings(Index));
}

void TbsCustomShellComboBox::ListDrawItem(TObject*, TCanvas* Cnvs, Integer Index, TSize, TRect TextRct,
                                          TOwnerDrawState) {
  DrawEntry(Cnvs, Index, TextRct, RowIconLeft(Index, false));
}

void TbsCustomShellComboBox::FaceDrawItem(TObject*, TCanvas* Cnvs, Integer Index, TSize, TRect TextRct,
                                          TOwnerDrawState) {
  DrawEntry(Cnvs, Index, TextRct, 0);
}
