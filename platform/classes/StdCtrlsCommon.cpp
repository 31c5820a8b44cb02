// What the standard controls share: the native classes, the owner-draw state, font heights
// measured without a window and the item lists of list and combo boxes.
#include <algorithm>

#include "platform/classes/StdCtrls.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Painting.h"
#include "platform/gdi/Text.h"
#include "platform/system/ScopeExit.h"
#include "platform/system/Strings.h"
#include "platform/user/CommonControls.h"
#include "platform/user/ControlMessages.h"
#include "platform/user/WindowMessages.h"
#include "platform/user/WindowPaint.h"

void InitNativeControls() {
  static const bool Done = [] {
    RegisterNativeControlClasses();
    RegisterCommonControlClasses();
    return true;
  }();
  (void)Done;
}

TOwnerDrawState OwnerDrawStateOf(UINT ItemState) {
  TOwnerDrawState State;
  for (Integer I = odSelected; I <= odComboBoxEdit; ++I)
    if (ItemState & (1u << I)) State.Include(static_cast<TOwnerDrawStateItem>(I));
  return State;
}

void DrawOwnerItem(TCanvas* Canvas, TWinControl* Control, const DRAWITEMSTRUCT& Item,
                   const std::function<void(Integer Index, TRect Rect, TOwnerDrawState State)>& Draw) {
  const TOwnerDrawState State = OwnerDrawStateOf(LOWORD(Item.itemState));
  const auto Index = static_cast<Integer>(Item.itemID);
  Canvas->Lock();
  auto Cleanup = ScopeExit([&] {
    Canvas->SetHandle(nullptr);
    Canvas->Unlock();
  });
  Canvas->SetHandle(Item.hDC);
  Canvas->SetFont(Control->GetFont());
  Canvas->SetBrush(Control->GetBrush());
  if (Index >= 0 && State.Contains(odSelected)) {
    Canvas->GetBrush()->SetColor(clHighlight);
    Canvas->GetFont()->SetColor(clHighlightText);
  }
  if (Index >= 0)
    Draw(Index, Item.rcItem, State);
  else
    Canvas->FillRect(Item.rcItem);
  if (State.Contains(odFocused)) DrawFocusRect(Item.hDC, &Item.rcItem);
}

Integer FontTextHeight(TFont* Font) {
  HDC DC = GetDC(nullptr);
  HGDIOBJ Old = SelectObject(DC, Font->GetHandle());
  SIZE Size{0, 0};
  GetTextExtentPoint32(DC, "0", 1, &Size);
  SelectObject(DC, Old);
  ReleaseDC(nullptr, DC);
  return Size.cy;
}

// ---- TNativeListStrings -----------------------------------------------------------------------

TNativeListStrings::TNativeListStrings(TWinControl* Control, const TNativeListMessages& Messages)
    : FControl(Control), FMsgs(Messages) {}

LRESULT TNativeListStrings::Send(UINT Msg, WPARAM WParam, LPARAM LParam) {
  return SendMessage(FControl->GetWindowHandle(), Msg, WParam, LParam);
}

void TNativeListStrings::Changed() {
  if (GetUpdateCount() == 0 && OnChange) OnChange(this);
}

void TNativeListStrings::CheckIndex(Integer Index) {
  if (Index < 0 || Index >= GetCount()) Error("List index out of bounds (%d)", Index);
}

Integer TNativeListStrings::GetCount() {
  if (!Windowed()) return static_cast<Integer>(FItems.size());
  return static_cast<Integer>(std::max<LRESULT>(0, Send(FMsgs.GetCount, 0, 0)));
}

std::string TNativeListStrings::Get(Integer Index) {
  CheckIndex(Index);
  if (!Windowed()) return FItems[static_cast<std::size_t>(Index)].S;
  const LRESULT Length = Send(FMsgs.GetTextLen, static_cast<WPARAM>(Index), 0);
  if (Length <= 0) return std::string();
  std::string Text(static_cast<std::size_t>(Length) + 1, '\0');
  const LRESULT Copied =
      Send(FMsgs.GetText, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(Text.data()));
  Text.resize(static_cast<std::size_t>(std::clamp<LRESULT>(Copied, 0, Length)));
  return Text;
}

TObject* TNativeListStrings::GetObject(Integer Index) {
  CheckIndex(Index);
  if (!Windowed()) return FItems[static_cast<std::size_t>(Index)].O;
  const LRESULT Data = Send(FMsgs.GetItemData, static_cast<WPARAM>(Index), 0);
  return Data == -1 ? nullptr : reinterpret_cast<TObject*>(Data);
}

void TNativeListStrings::PutObject(Integer Index, TObject* AObject) {
  CheckIndex(Index);
  if (!Windowed())
    FItems[static_cast<std::size_t>(Index)].O = AObject;
  else
    Send(FMsgs.SetItemData, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(AObject));
}

void TNativeListStrings::Put(Integer Index, std::string_view S) {
  // The item is replaced where it is (a sorted list puts it in its place), keeping its object.
  TObject* O = GetObject(Index);
  BeginUpdate();
  Delete(Index);
  if (FSorted)
    AddObject(S, O);
  else
    InsertObject(Index, S, O);
  EndUpdate();
}

Integer TNativeListStrings::SortedPlace(std::string_view S) {
  const std::string Key = AnsiLowerCase(S);
  auto It = std::upper_bound(FItems.begin(), FItems.end(), Key, [](const std::string& K, const TItem& Item) {
    return K < AnsiLowerCase(Item.S);
  });
  return static_cast<Integer>(It - FItems.begin());
}

Integer TNativeListStrings::Add(std::string_view S) {
  return AddObject(S, nullptr);
}

Integer TNativeListStrings::AddObject(std::string_view S, TObject* AObject) {
  Integer Index;
  if (!Windowed()) {
    Index = FSorted ? SortedPlace(S) : static_cast<Integer>(FItems.size());
    FItems.insert(FItems.begin() + Index, TItem{std::string(S), AObject});
  } else {
    const std::string Text(S);
    const LRESULT R = Send(FMsgs.AddString, 0, reinterpret_cast<LPARAM>(Text.c_str()));
    if (R < 0) throw EOutOfResources("Unable to insert a line");
    Index = static_cast<Integer>(R);
    if (AObject != nullptr)
      Send(FMsgs.SetItemData, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(AObject));
  }
  Changed();
  return Index;
}

void TNativeListStrings::Insert(Integer Index, std::string_view S) {
  InsertObject(Index, S, nullptr);
}

void TNativeListStrings::InsertObject(Integer Index, std::string_view S, TObject* AObject) {
  if (Index < 0 || Index > GetCount()) Error("List index out of bounds (%d)", Index);
  if (!Windowed()) {
    FItems.insert(FItems.begin() + Index, TItem{std::string(S), AObject});
  } else {
    const std::string Text(S);
    const LRESULT R =
        Send(FMsgs.InsertString, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(Text.c_str()));
    if (R < 0) throw EOutOfResources("Unable to insert a line");
    if (AObject != nullptr)
      Send(FMsgs.SetItemData, static_cast<WPARAM>(R), reinterpret_cast<LPARAM>(AObject));
  }
  Changed();
}

void TNativeListStrings::Delete(Integer Index) {
  CheckIndex(Index);
  if (!Windowed())
    FItems.erase(FItems.begin() + Index);
  else
    Send(FMsgs.DeleteString, static_cast<WPARAM>(Index), 0);
  Changed();
}

void TNativeListStrings::Exchange(Integer Index1, Integer Index2) {
  if (Index1 == Index2) return;
  CheckIndex(Index1);
  CheckIndex(Index2);
  BeginUpdate();
  const std::string S1 = Get(Index1), S2 = Get(Index2);
  TObject* O1 = GetObject(Index1);
  TObject* O2 = GetObject(Index2);
  // Done by hand so that a sorted list keeps the exchanged places too.
  const bool Sorted = FSorted;
  FSorted = false;
  Delete(Index1);
  InsertObject(Index1, S2, O2);
  Delete(Index2);
  InsertObject(Index2, S1, O1);
  FSorted = Sorted;
  EndUpdate();
}

void TNativeListStrings::Clear() {
  if (!Windowed())
    FItems.clear();
  else
    Send(FMsgs.ResetContent, 0, 0);
  Changed();
}

Integer TNativeListStrings::IndexOf(std::string_view S) {
  // Whole items compared without case, as the window's exact search does.
  const Integer N = GetCount();
  for (Integer I = 0; I < N; ++I)
    if (AnsiCompareText(Get(I), S) == 0) return I;
  return -1;
}

void TNativeListStrings::SetUpdateState(bool Updating) {
  if (Windowed()) {
    Send(WM_SETREDRAW, Updating ? FALSE : TRUE, 0);
    if (!Updating) FControl->Invalidate();
  }
  if (!Updating) Changed();
}

void TNativeListStrings::SaveFromWindow() {
  if (!Windowed()) return;
  std::vector<TItem> Items;
  const Integer N = GetCount();
  Items.reserve(static_cast<std::size_t>(N));
  for (Integer I = 0; I < N; ++I) Items.push_back(TItem{Get(I), GetObject(I)});
  FItems = std::move(Items);
}

void TNativeListStrings::RestoreToWindow() {
  if (!Windowed()) return;
  std::vector<TItem> Items = std::move(FItems);
  FItems.clear();
  Send(FMsgs.ResetContent, 0, 0);
  // A sorted window sorts them; another one takes them in the saved order.
  for (const TItem& Item : Items) {
    const LRESULT R =
        FSorted ? Send(FMsgs.AddString, 0, reinterpret_cast<LPARAM>(Item.S.c_str()))
                : Send(FMsgs.InsertString, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(Item.S.c_str()));
    if (R >= 0 && Item.O != nullptr)
      Send(FMsgs.SetItemData, static_cast<WPARAM>(R), reinterpret_cast<LPARAM>(Item.O));
  }
}
