// TbsSkinCustomComboBox: the skinned combo box with its drop-down list and optional editor.
#include <algorithm>

#include "platform/classes/Bitmap.h"
#include "platform/classes/ImgList.h"
#include "platform/classes/Screen.h"
#include "platform/gdi/Text.h"
#include "platform/system/Clock.h"
#include "platform/system/ScopeExit.h"
#include "platform/user/ControlMessages.h"
#include "platform/user/Input.h"
#include "platform/user/Timers.h"
#include "platform/user/User.h"
#include "skin/boxctrls/bsSkinBoxCtrls.h"
#include "skin/boxctrls/bsSkinGoneWatch.h"
#include "skin/data/bsUtils.h"

namespace {

constexpr UINT_PTR AutoScrollTimer = 1;

Integer TextHeightOf(TFont* Font) {
  HDC DC = GetDC(nullptr);
  HGDIOBJ Old = SelectObject(DC, Font->GetHandle());
  TEXTMETRICA M;
  GetTextMetrics(DC, &M);
  SelectObject(DC, Old);
  ReleaseDC(nullptr, DC);
  return M.tmHeight;
}

bool Inside(const TRect& R, Integer X, Integer Y) {
  return X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom;
}

}  // namespace

TbsSkinCustomComboBox::TbsSkinCustomComboBox(TComponent* AOwner) : TbsSkinCustomControl(AOwner) {
  SetTabStop(true);
  SetControlStyle(TControlStyle{csAcceptsControls, csCaptureMouse, csOpaque, csDoubleClicks, csReplicatable});
  TFont* F = GetFont();
  F->SetName("Arial");
  F->SetColor(clWindowText);
  F->SetStyle({});
  F->SetHeight(14);
  SetWidth(120);
  SetHeight(20);
  FListBox = new TbsPopupListBox(this);
  if (!GetComponentState().Contains(csDesigning)) FListBox->SetParent(this);
  TbsListBox* Inner = FListBox->ListBox;
  Inner->SetTabStop(false);
  Inner->OnMouseMove = TMouseMoveEvent(this, &TbsSkinCustomComboBox::ListMouseMove);
  FOldListWindowProc = Inner->WindowProc;
  Inner->WindowProc = TWndMethod(this, &TbsSkinCustomComboBox::ListWindowProc);
  PlaceParts();
  SetSkinDataName("combobox");
}

TbsSkinCustomComboBox::~TbsSkinCustomComboBox() {
  // The list and the editor outlive this part of the combo: they get their own window
  // procedures back first.
  StopAutoScroll();
  if (FEdit != nullptr) {
    FEdit->WindowProc = FOldEditWindowProc;
    delete FEdit;
    FEdit = nullptr;
  }
  if (FListBox != nullptr) {
    if (FListBox->ListBox != nullptr) FListBox->ListBox->WindowProc = FOldListWindowProc;
    delete FListBox;
    FListBox = nullptr;
  }
}

void TbsSkinCustomComboBox::Notification(TComponent* AComponent, TOperation Operation) {
  TbsSkinCustomControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FListBox) FListBox = nullptr;
  if (AComponent == FEdit) FEdit = nullptr;
}

// ---- Properties -----------------------------------------------------------------------------

void TbsSkinCustomComboBox::SetItemIndex(Integer Value) {
  SelectIndex(Value, false);
}

// A choice from code changes the text without OnChange, which the main window keeps for the
// user's choices (list, keys, wheel); OnClick and Change come either way.
void TbsSkinCustomComboBox::SelectIndex(Integer Value, bool ByUser) {
  FListBox->SetItemIndex(Value);
  const Integer I = FListBox->GetItemIndex();
  if (FListBox->GetItems()->GetCount() > 0 && I != -1) {
    FQuietText = !ByUser;
    auto Done = ScopeExit([this] { FQuietText = false; });
    SetText(FListBox->GetItems()->GetStrings(I));
  }
  SavedIndex = I;
  if (FEdit == nullptr) Repaint();
  const TComponentState S = GetComponentState();
  if (S.Contains(csDesigning) || S.Contains(csLoading)) return;
  if (OnClick) OnClick(this);
  Change();
}

void TbsSkinCustomComboBox::SetCharCase(TEditCharCase Value) {
  FCharCase = Value;
  if (FEdit != nullptr) FEdit->SetCharCase(Value);
}

void TbsSkinCustomComboBox::SetHideSelection(bool Value) {
  FHideSelection = Value;
  if (FEdit != nullptr) FEdit->SetHideSelection(Value);
}

void TbsSkinCustomComboBox::SetDropDownCount(Integer Value) {
  if (Value > 0) FDropDownCount = Value;
}

void TbsSkinCustomComboBox::SetDefaultColor(TColor Value) {
  FDefaultColor = Value;
  if (PartIndex == -1) {
    Invalidate();
    if (FEdit != nullptr) FEdit->SetColor(Value);
  }
}

void TbsSkinCustomComboBox::SetToolButtonStyle(bool Value) {
  if (FToolButtonStyle == Value) return;
  FToolButtonStyle = Value;
  if (Value) {
    SetStyle(bscbFixedStyle);
    FUseSkinSize = false;
  }
  Repaint();
}

void TbsSkinCustomComboBox::SetImages(TCustomImageList* Value) {
  FListBox->SetImages(Value);
  Repaint();
}

void TbsSkinCustomComboBox::SetImageIndex(Integer Value) {
  FListBox->SetImageIndex(Value);
  Repaint();
}

void TbsSkinCustomComboBox::SetStyle(TbsSkinCustomComboBoxStyle Value) {
  if (GetComponentState().Contains(csDesigning) && FStyle == Value) return;
  FStyle = Value;
  if (Value == bscbEditStyle) {
    if (FEdit == nullptr) CreateEdit();
    if (!GetComponentState().Contains(csDesigning)) {
      FEdit->SetTabStop(GetTabStop());
      SetTabStop(false);
    }
    FEdit->SetText(GetText());
    if (HandleAllocated() && Focused() && FEdit->CanFocus()) FEdit->SetFocus();
  } else if (FEdit != nullptr) {
    TbsCustomEdit* E = FEdit;
    FEdit = nullptr;
    E->WindowProc = FOldEditWindowProc;
    E->SetVisible(false);
    delete E;
  }
  PlaceParts();
  if (HandleAllocated()) RecreateWnd();
  Repaint();
}

void TbsSkinCustomComboBox::Invalidate() {
  TbsSkinCustomControl::Invalidate();
  if (PartIndex != -1 && FEdit != nullptr) FEdit->Invalidate();
}

// ---- The editor -----------------------------------------------------------------------------

void TbsSkinCustomComboBox::CreateEdit() {
  FEdit = NumericEdit ? new TbsSkinNumEdit(this) : new TbsCustomEdit(this);
  FEdit->SetParent(this);
  FEdit->SetColor(FDefaultColor);
  FEdit->SetAutoSize(false);
  FEdit->SetHideSelection(FHideSelection);
  FEdit->SetVisible(true);
  FEdit->SetTransparent(false);
  FEdit->OnChange = TNotifyEvent(this, &TbsSkinCustomComboBox::EditChange);
  FOldEditWindowProc = FEdit->WindowProc;
  FEdit->WindowProc = TWndMethod(this, &TbsSkinCustomComboBox::EditWndProc);
  FEdit->OnCancelMode = TNotifyEvent(this, &TbsSkinCustomComboBox::EditCancelMode);
  FEdit->OnKeyDown = TKeyEvent(this, &TbsSkinCustomComboBox::EditKeyDown);
  FEdit->OnKeyPress = TKeyPressEvent(this, &TbsSkinCustomComboBox::EditKeyPress);
  FEdit->OnKeyUp = TKeyEvent(this, &TbsSkinCustomComboBox::EditKeyUp);
  FEdit->SetCharCase(FCharCase);
  FEdit->GetFont()->Assign(GetFont());
  PlaceParts();
}

// With a part that has a hot picture the editor's text takes the hot colour while the combo is
// hot (focused or under the pointer).
void TbsSkinCustomComboBox::SetEditHot(bool Hot) {
  if (FEdit == nullptr || PartIndex == -1 || IsEmptyRect(ActiveSkinRect) || !GetEnabled()) return;
  FEdit->GetFont()->SetColor(Hot ? ActiveFontColor : FontColor);
  Invalidate();
}

void TbsSkinCustomComboBox::EditKeyDown(TObject*, Word& Key, TShiftState Shift) {
  if (OnKeyDown) OnKeyDown(this, Key, Shift);
}

void TbsSkinCustomComboBox::EditKeyPress(TObject*, char& Key) {
  if (OnKeyPress) OnKeyPress(this, Key);
}

void TbsSkinCustomComboBox::EditKeyUp(TObject*, Word& Key, TShiftState Shift) {
  if (OnKeyUp) OnKeyUp(this, Key, Shift);
}

void TbsSkinCustomComboBox::EditCancelMode(TObject* Sender) {
  CancelMode(dynamic_cast<TControl*>(Sender));
}

// The list's window holds the items to search; it is made on demand, so that type-ahead works
// before the list was ever opened.
Integer TbsSkinCustomComboBox::FindItem(const std::string& S, Integer StartAfter) {
  TbsListBox* L = FListBox->ListBox;
  if (!L->HandleAllocated()) {
    if (!HandleAllocated()) return -1;
    L->HandleNeeded();
  }
  return static_cast<Integer>(SendMessage(L->GetHandle(), LB_FINDSTRING, static_cast<WPARAM>(StartAfter),
                                          reinterpret_cast<LPARAM>(S.c_str())));
}

void TbsSkinCustomComboBox::EditChange(TObject*) {
  TextFromEdit = true;
  const std::string T = FEdit->GetText();
  if (!T.empty()) {
    const Integer I = FindItem(T, -1);
    if (I >= 0) {
      TbsListBox* L = FListBox->ListBox;
      SendMessage(L->GetHandle(), FAutoComplete ? LB_SETCURSEL : LB_SETTOPINDEX, static_cast<WPARAM>(I), 0);
    }
  }
  SetText(T);
  TextFromEdit = false;
}

void TbsSkinCustomComboBox::EditStep(Integer Delta, bool Commit) {
  const Integer Count = FListBox->GetItems()->GetCount();
  const Integer I = FListBox->GetItemIndex();
  const bool CanMove = Delta < 0 ? I > 0 : I < Count - 1;
  if (!CanMove) return;
  FListBox->SetItemIndex(I + Delta);
  if (!Commit) return;
  SetText(FListBox->GetItems()->GetStrings(I + Delta));
  FEdit->SelectAll();
  if (OnClick) OnClick(this);
}

void TbsSkinCustomComboBox::AutoCompleteText() {
  const DWORD Now = GetTickCount();
  if (Now - LastKeyTick < 200) return;
  LastKeyTick = Now;
  const std::string T0 = FEdit->GetText();
  if (T0.empty()) return;
  const Integer Found = FindItem(T0, T0.size() == 1 ? FListBox->GetItemIndex() : -1);
  if (Found < 0) return;
  SelectIndex(Found, true);
  // The typed prefix stays; the completed rest is selected.
  FEdit->SetSelStart(static_cast<Integer>(T0.size()));
  FEdit->SetSelLength(static_cast<Integer>(FEdit->GetText().size() - T0.size()));
}

void TbsSkinCustomComboBox::EditWndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SETFOCUS:
      SetEditHot(true);
      break;
    case WM_KILLFOCUS:
      if (DroppedDown) CloseUp(false);
      SetEditHot(false);
      break;
    case WM_KEYDOWN:
      switch (Message.WParam) {
        case VK_RETURN:
          if (DroppedDown) CloseUp(true);
          break;
        case VK_ESCAPE:
          if (DroppedDown) CloseUp(false);
          break;
        case VK_PRIOR:
          if (DroppedDown)
            FListBox->SetItemIndex(std::max(0, FListBox->GetItemIndex() - (FDropDownCount + 1)));
          break;
        case VK_NEXT:
          if (DroppedDown)
            FListBox->SetItemIndex(std::min(FListBox->GetItems()->GetCount() - 1,
                                            FListBox->GetItemIndex() + FDropDownCount - 1));
          break;
        case VK_UP:
          EditStep(-1, true);
          return;
        case VK_DOWN:
          EditStep(1, true);
          return;
        default:
          break;
      }
      break;
    case WM_KEYUP:
      if (Message.WParam >= 48) {
        FOldEditWindowProc(Message);
        if (FAutoComplete) AutoCompleteText();
        return;
      }
      break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
      if (DroppedDown) CloseUp(false);
      break;
    case WM_MOUSEWHEEL:
      EditStep(static_cast<SHORT>(HIWORD(Message.WParam)) > 0 ? -1 : 1, !DroppedDown);
      break;
    default:
      break;
  }
  FOldEditWindowProc(Message);
}

// ---- Opening and closing the list -----------------------------------------------------------

void TbsSkinCustomComboBox::DropDown() {
  const Integer Count = FListBox->GetItems()->GetCount();
  if (Count == 0) return;
  ListEntered = false;
  StopAutoScroll();
  if (OnDropDown) OnDropDown(this);
  FListBox->SetWidth(FListBoxWidth > 0 ? FListBoxWidth : GetWidth());
  FListBox->SetRowCount(std::min(Count, FDropDownCount));
  TPoint P = ClientToScreen(Point(0, GetHeight()));
  TRect WorkArea = Screen != nullptr ? Screen->GetWorkAreaRect() : Rect(0, 0, 1024, 768);
  if (Screen != nullptr && HandleAllocated())
    if (TMonitor* M = Screen->MonitorFromWindow(GetHandle())) WorkArea = M->GetWorkareaRect();
  // Near the bottom of the work area the list opens above the combo.
  if (P.Y + FListBox->GetHeight() > WorkArea.Bottom) P.Y = P.Y - GetHeight() - FListBox->GetHeight();
  if (FEdit != nullptr && FEdit->CanFocus()) FEdit->SetFocus();
  SavedIndex = FListBox->GetItemIndex();
  if (SavedIndex == 0 && Count >= 2) {
    // The first row is drawn selected.
    FListBox->SetItemIndex(1);
    FListBox->SetItemIndex(0);
  }
  DroppedDown = true;
  if (FToolButtonStyle) Repaint();
  FListBox->SetTopIndex(std::max(FListBox->GetItemIndex(), 0));
  FListBox->SetSkinData(GetSkinData());
  // A fade-in lets messages through; one of them may free the combo.
  TbsGoneWatch Watch(this);
  FListBox->ShowPopup(P);
  if (Watch.Gone) return;
  FListBox->UpdateScrollBars();
}

void TbsSkinCustomComboBox::CloseUp(bool Accept) {
  StopAutoScroll();
  if (FListBox == nullptr || !FListBox->GetVisible()) return;
  FListBox->HidePopup();
  const Integer I = FListBox->GetItemIndex();
  if (I < 0) {
    FListBox->SetItemIndex(SavedIndex);
  } else if (Accept) {
    const std::string Item = FListBox->GetItems()->GetStrings(I);
    if (FEdit != nullptr) {
      FEdit->SetText(Item);
      FEdit->SelectAll();
    } else {
      SetText(Item);
      Repaint();
    }
    if (OnClick) OnClick(this);
    Change();
  } else {
    FListBox->SetItemIndex(SavedIndex);
  }
  DroppedDown = false;
  Repaint();
  if (OnCloseUp) OnCloseUp(this);
}

void TbsSkinCustomComboBox::CheckButtonClick(TObject*) {
  CloseUp(true);
}

void TbsSkinCustomComboBox::CancelMode(TControl* Sender) {
  if (Sender != nullptr && (Sender == this || Sender == FListBox || Sender == FListBox->ListBox ||
                            Sender == FListBox->MainScrollBar))
    return;
  CloseUp(false);
}

void TbsSkinCustomComboBox::StopAutoScroll() {
  if (HandleAllocated()) KillTimer(GetHandle(), AutoScrollTimer);
  AutoScrollMode = 0;
}

// ---- The list's input -----------------------------------------------------------------------

void TbsSkinCustomComboBox::ListMouseMove(TObject*, TShiftState, Integer X, Integer Y) {
  // The row under the pointer is the selected one.
  const Integer I = FListBox->ListBox->ItemAtPos(Point(X, Y), true);
  if (I >= 0 && I != FListBox->GetItemIndex()) FListBox->SetItemIndex(I);
}

void TbsSkinCustomComboBox::ListWindowProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_MOUSEACTIVATE:
      Message.Result = MA_NOACTIVATE;
      break;
    case WM_LBUTTONDOWN:
      // The combo takes the press over: the release over the list accepts the row.
      DraggingFromButton = true;
      ListEntered = true;
      SetMouseCapture(true);
      return;
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
      return;
    default:
      break;
  }
  FOldListWindowProc(Message);
}

void TbsSkinCustomComboBox::DragTrack() {
  TbsListBox* L = FListBox->ListBox;
  if (!L->HandleAllocated() || !FListBox->GetVisible()) return;
  POINT Cursor;
  GetCursorPos(&Cursor);
  const TPoint P = L->ScreenToClient(Cursor);
  const Integer H = L->GetHeight();
  const bool HasBar = FListBox->MainScrollBar != nullptr;
  Integer Mode = -1;
  if (P.Y < 0 && HasBar && ListEntered)
    Mode = 1;
  else if (P.Y > H && HasBar && ListEntered)
    Mode = 2;
  if (Mode != -1) {
    if (Mode != AutoScrollMode) {
      AutoScrollMode = Mode;
      SetTimer(GetHandle(), AutoScrollTimer, 25, nullptr);
    }
    return;
  }
  if (P.Y >= 0 && P.Y <= H) {
    StopAutoScroll();
    L->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(1, P.Y));
    ListEntered = true;
  }
}

// ---- Mouse ----------------------------------------------------------------------------------

void TbsSkinCustomComboBox::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TbsSkinCustomControl::MouseDown(Button, Shift, X, Y);
  if (FEdit == nullptr && !Focused() && CanFocus()) SetFocus();
  if (Button != mbLeft) return;
  if (ButtonHot || (FEdit == nullptr && Inside(TextArea, X, Y)) || FToolButtonStyle) {
    ButtonPressed = true;
    Repaint();
    if (FListBox->GetVisible()) {
      CloseUp(false);
    } else {
      ListEntered = false;
      DraggingFromButton = true;
      DropDown();
    }
  } else if (FListBox->GetVisible()) {
    CloseUp(false);
  }
}

void TbsSkinCustomComboBox::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  TbsSkinCustomControl::MouseMove(Shift, X, Y);
  if (DraggingFromButton) {
    DragTrack();
    return;
  }
  const bool Hot = Inside(ButtonArea, X, Y);
  if (Hot != ButtonHot) {
    ButtonHot = Hot;
    Repaint();
  }
}

void TbsSkinCustomComboBox::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (DraggingFromButton && ListEntered) {
    SetMouseCapture(false);
    DraggingFromButton = false;
    POINT Cursor;
    GetCursorPos(&Cursor);
    const bool OverList =
        FListBox->ListBox->HandleAllocated() && WindowFromPoint(Cursor) == FListBox->ListBox->GetHandle();
    CloseUp(OverList);
  } else {
    DraggingFromButton = false;
  }
  TbsSkinCustomControl::MouseUp(Button, Shift, X, Y);
  if (ButtonPressed) {
    ButtonPressed = false;
    Repaint();
  }
}

// ---- Keys -----------------------------------------------------------------------------------

void TbsSkinCustomComboBox::KeyDown(Word& Key, TShiftState Shift) {
  TbsSkinCustomControl::KeyDown(Key, Shift);
  if (FStyle != bscbFixedStyle) return;
  const Integer Count = FListBox->GetItems()->GetCount();
  const Integer I = FListBox->GetItemIndex();
  const bool Alt = Shift.Contains(ssAlt);
  switch (Key) {
    case VK_RETURN:
      if (DroppedDown) CloseUp(true);
      break;
    case VK_ESCAPE:
      if (DroppedDown) CloseUp(false);
      break;
    case VK_PRIOR:
      if (Count > 0) SelectIndex(std::max(0, I - (FDropDownCount + 1)), true);
      break;
    case VK_NEXT:
      if (Count > 0) SelectIndex(std::min(Count - 1, I + FDropDownCount - 1), true);
      break;
    case VK_LEFT:
    case VK_UP:
      if (Alt) {
        if (DroppedDown) CloseUp(false);
      } else if (I > 0) {
        SelectIndex(I - 1, true);
      }
      break;
    case VK_RIGHT:
    case VK_DOWN:
      if (Alt) {
        if (!DroppedDown) DropDown();
      } else if (I < Count - 1) {
        SelectIndex(I + 1, true);
      }
      break;
    default:
      break;
  }
}

void TbsSkinCustomComboBox::KeyPress(char& Key) {
  TbsSkinCustomControl::KeyPress(Key);
  if (FStyle != bscbFixedStyle || static_cast<unsigned char>(Key) < 32) return;
  std::string Search;
  if (FAutoComplete) {
    const DWORD Now = GetTickCount();
    if (Now - LastKeyTick >= 500) TypeAheadText.clear();
    LastKeyTick = Now;
    TypeAheadText += Key;
    Search = TypeAheadText;
  } else {
    Search = std::string(1, Key);
  }
  if (Search.empty()) return;
  // One letter walks through the items beginning with it; more letters search from the top.
  const Integer Found = FindItem(Search, Search.size() == 1 ? FListBox->GetItemIndex() : -1);
  if (Found >= 0) SelectIndex(Found, true);
}

// ---- Messages -------------------------------------------------------------------------------

void TbsSkinCustomComboBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_TEXTCHANGED:
      TbsSkinCustomControl::Dispatch(Message);
      if (FEdit != nullptr && !TextFromEdit) FEdit->SetText(GetText());
      if (!FQuietText && OnChange) OnChange(this);
      if (TextFromEdit) Change();
      break;
    case CM_WANTSPECIALKEY: {
      const WPARAM K = Message.WParam;
      if (K == VK_LEFT || K == VK_UP || K == VK_RIGHT || K == VK_DOWN)
        Message.Result = 1;
      else
        TbsSkinCustomControl::Dispatch(Message);
      break;
    }
    case CM_ENABLEDCHANGED:
      TbsSkinCustomControl::Dispatch(Message);
      if (FEdit != nullptr)
        FEdit->GetFont()->SetColor(!GetEnabled()     ? DisabledTextColor()
                                   : PartIndex == -1 ? GetDefaultFont()->GetColor()
                                                     : FontColor);
      Repaint();
      break;
    case CM_CANCELMODE:
      TbsSkinCustomControl::Dispatch(Message);
      CancelMode(reinterpret_cast<TControl*>(Message.LParam));
      break;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      TbsSkinCustomControl::Dispatch(Message);
      if (Message.LParam != 0) break;
      MouseInside = Message.Msg == CM_MOUSEENTER;
      if (!MouseInside && ButtonHot) {
        ButtonHot = false;
        Repaint();
      }
      if (FEdit != nullptr && !FEdit->Focused()) SetEditHot(MouseInside);
      if (FToolButtonStyle) Invalidate();
      break;
    case WM_SETFOCUS:
      if (FEdit != nullptr && FEdit->CanFocus()) {
        FEdit->SetFocus();
        SetEditHot(true);
        break;
      }
      TbsSkinCustomControl::Dispatch(Message);
      Repaint();
      break;
    case WM_KILLFOCUS:
      TbsSkinCustomControl::Dispatch(Message);
      if (FEdit == nullptr && DroppedDown) CloseUp(false);
      Repaint();
      if (FEdit != nullptr) SetEditHot(false);
      break;
    case WM_TIMER:
      TbsSkinCustomControl::Dispatch(Message);
      if (Message.WParam == AutoScrollTimer) {
        const Integer I = FListBox->GetItemIndex();
        if (AutoScrollMode == 1 && I >= 1)
          FListBox->SetItemIndex(I - 1);
        else if (AutoScrollMode == 2 && I < FListBox->GetItems()->GetCount() - 1)
          FListBox->SetItemIndex(I + 1);
      }
      break;
    case WM_MOUSEWHEEL:
      if (FEdit == nullptr) {
        const Integer Delta = static_cast<SHORT>(HIWORD(Message.WParam)) > 0 ? -1 : 1;
        const Integer I = FListBox->GetItemIndex();
        const Integer Next = I + Delta;
        if (Next >= 0 && Next < FListBox->GetItems()->GetCount()) {
          if (DroppedDown)
            FListBox->SetItemIndex(Next);
          else
            SelectIndex(Next, true);
        }
        Message.Result = 1;
      } else {
        TbsSkinCustomControl::Dispatch(Message);
      }
      break;
    case WM_SIZE:
      TbsSkinCustomControl::Dispatch(Message);
      PlaceParts();
      break;
    default:
      TbsSkinCustomControl::Dispatch(Message);
      break;
  }
}

// ---- Layout and painting --------------------------------------------------------------------

void TbsSkinCustomComboBox::PlaceParts() {
  const Integer W = GetWidth(), H = GetHeight();
  if (PartIndex == -1 || FToolButtonStyle) {
    ButtonArea = Rect(W - 19, 2, W - 2, H - 2);
    TextArea = Rect(2, 2, ButtonArea.Left - 1, H - 2);
  } else {
    const Integer DW = W - SkinRect.Width();
    ButtonArea = ButtonRect;
    if (ButtonArea.Left >= SkinRect.Width() - RightTopPoint.X)
      ButtonArea = Bounds(ButtonArea.Left + DW, ButtonArea.Top, ButtonArea.Width(), ButtonArea.Height());
    TextArea = PartClientRect;
    TextArea.Right += DW;
    if (!FUseSkinSize) {
      ButtonArea.Bottom += H - SkinRect.Height();
      TextArea.Bottom += H - SkinRect.Height();
    }
  }
  if (FEdit == nullptr) return;
  const Integer E = TextHeightOf(FEdit->GetFont());
  FEdit->SetBounds(TextArea.Left, TextArea.Top + TextArea.Height() / 2 - E / 2, std::max(TextArea.Width(), 0),
                   E);
}

// A part of another kind under the name has none of the combo's fields: no part.
void TbsSkinCustomComboBox::LoadSkinPart() {
  TbsSkinCustomControl::LoadSkinPart();
  if (PartIndex == -1) return;
  auto* P = dynamic_cast<TbsDataSkinComboBox*>(BoundPart());
  if (P == nullptr) {
    PartIndex = -1;
    return;
  }
  ActiveSkinRect = P->ActiveSkinRect;
  ActiveFontColor = P->ActiveFontColor;
  ItemRect = P->ItemRect;
  FocusItemRect = IsEmptyRect(P->FocusItemRect) ? P->ItemRect : P->FocusItemRect;
  ActiveItemRect = P->ActiveItemRect;
  ItemLeftOffset = P->ItemLeftOffset;
  ItemRightOffset = P->ItemRightOffset;
  ItemTextRect = P->ItemTextRect;
  FontName = P->FontName;
  FontStyle = P->FontStyle;
  FontHeight = P->FontHeight;
  FontColor = P->FontColor;
  FocusFontColor = P->FocusFontColor;
  ButtonRect = P->ButtonRect;
  ActiveButtonRect = P->ActiveButtonRect;
  DownButtonRect = P->DownButtonRect;
  UnEnabledButtonRect = P->UnEnabledButtonRect;
  ListBoxName = P->ListBoxName;
  ItemStretchEffect = P->ItemStretchEffect;
  FocusItemStretchEffect = P->FocusItemStretchEffect;
  ShowFocus = P->ShowFocus;
}

// Without the skin's height only the width is fitted; the height stays free.
void TbsSkinCustomComboBox::FitPartToSize(Integer& AWidth, Integer& AHeight) {
  if (FUseSkinSize) {
    TbsSkinCustomControl::FitPartToSize(AWidth, AHeight);
    return;
  }
  if (PartIndex == -1) return;
  const Integer DX = AWidth - SkinRect.Width();
  NewLeftTopPoint = LeftTopPoint;
  NewRightTopPoint = Point(RightTopPoint.X + DX, RightTopPoint.Y);
  NewClientRect = PartClientRect;
  NewClientRect.Right += DX;
}

void TbsSkinCustomComboBox::UpdatePartRegion() {
  if (FUseSkinSize) TbsSkinCustomControl::UpdatePartRegion();
}

void TbsSkinCustomComboBox::DefaultFontChanged() {
  GetFont()->Assign(GetDefaultFont());
}

void TbsSkinCustomComboBox::ApplySkinChange() {
  TbsSkinCustomControl::ApplySkinChange();
  PlaceParts();
  if (FEdit != nullptr) {
    TFont* F = FEdit->GetFont();
    if (PartIndex != -1 && GetUseSkinFont()) {
      F->SetStyle(FontStyle);
      F->SetHeight(FontHeight);
      F->SetName(FontName);
      F->SetColor(FontColor);
    } else {
      F->Assign(GetDefaultFont());
      if (PartIndex != -1) F->SetColor(FontColor);
    }
    if (PartIndex != -1 && !IsEmptyRect(ActiveSkinRect) && (FEdit->Focused() || MouseInside))
      F->SetColor(ActiveFontColor);
    FEdit->SetTransparent(PartIndex != -1);
    if (!GetEnabled()) F->SetColor(DisabledTextColor());
  }
  Repaint();
  FListBox->SetSkinDataName(PartIndex != -1 ? ListBoxName : std::string());
  FListBox->SetSkinData(GetSkinData());
  FListBox->UpdateScrollBars();
  PlaceParts();
  if (FEdit != nullptr && PartIndex != -1) {
    Integer W = GetWidth(), H = GetHeight();
    FitPartToSize(W, H);
    if (W != GetWidth() || H != GetHeight()) SetBounds(GetLeft(), GetTop(), W, H);
  }
}
