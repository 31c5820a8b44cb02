// TbsListBox, TbsSkinCustomListBox and TbsPopupListBox: the skinned list box and the combo
// box's drop-down list.
#include <algorithm>

#include "platform/classes/Application.h"
#include "platform/classes/Bitmap.h"
#include "platform/classes/ImgList.h"
#include "platform/gdi/Painting.h"
#include "platform/system/Clock.h"
#include "platform/system/ScopeExit.h"
#include "platform/user/ControlMessages.h"
#include "platform/user/User.h"
#include "skin/boxctrls/bsSkinBoxCtrls.h"
#include "skin/boxctrls/bsSkinGoneWatch.h"
#include "skin/data/bsLayered.h"
#include "skin/data/bsUtils.h"

// ---- TbsListBox -----------------------------------------------------------------------------

TbsListBox::TbsListBox(TComponent* AOwner) : TListBox(AOwner) {
  SetCtl3D(false);
  SetBorderStyle(bsNone);
  SetControlStyle(TControlStyle{csCaptureMouse, csOpaque, csDoubleClicks});
  // The rows and the background are painted here, from the frame's skin part.
  TControlState S = GetControlState();
  S.Include(csCustomPaint);
  SetControlState(S);
}

// A narrower list keeps the right edge of horizontally scrolled text in place.
void TbsListBox::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  const Integer OldWidth = GetWidth();
  TListBox::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (AWidth != OldWidth && HorzOffset >= 1) {
    HorzOffset = std::max(HorzOffset + OldWidth - AWidth, 0);
    Invalidate();
  }
}

void TbsListBox::CreateParams(TCreateParams& Params) {
  TListBox::CreateParams(Params);
  Params.Style &= ~WS_BORDER;
  Params.ExStyle &= ~WS_EX_CLIENTEDGE;
  Params.Style |= WS_TABSTOP;
  Params.WindowClass.style = CS_DBLCLKS;
}

// The bar is settled once the items are back. Counting them while they come back would drop
// the bar and make a new one, and a bar made while its frame is being shown stays without a
// window (the frame has already gone through its children): the first opened drop-down list
// showed no bar.
void TbsListBox::CreateHandle() {
  {
    FMakingWindow = true;
    auto Done = ScopeExit([this] { FMakingWindow = false; });
    TListBox::CreateHandle();
  }
  if (SkinListBox != nullptr) SkinListBox->UpdateScrollBars();
}

void TbsListBox::CreateWnd() {
  TListBox::CreateWnd();
  if (SkinListBox != nullptr) SkinListBox->ListBoxCreateWnd();
}

void TbsListBox::WndProc(TMessage& Message) {
  if (SkinListBox != nullptr) {
    bool Continue = true;
    SkinListBox->ListBoxWndProc(Message, Continue);
    if (!Continue) return;
  }
  switch (Message.Msg) {
    case WM_NCCALCSIZE:
      // The whole window is client area: the native scroll bars keep only their state.
      Message.Result = 0;
      return;
    case WM_NCHITTEST:
      Message.Result = HTCLIENT;
      return;
    case WM_ERASEBKGND:
      if (GetWidth() > 0 && GetHeight() > 0) EraseBackground(reinterpret_cast<HDC>(Message.WParam));
      Message.Result = 1;
      if (SkinListBox != nullptr) SkinListBox->UpdateScrollBars();
      return;
    case CM_ENTER:
      if (SkinListBox != nullptr) SkinListBox->ListBoxEnter();
      break;
    case CM_EXIT:
      if (SkinListBox != nullptr) SkinListBox->ListBoxExit();
      break;
    default:
      break;
  }
  TListBox::WndProc(Message);
  if (SkinListBox == nullptr) return;
  switch (Message.Msg) {
    case LB_ADDSTRING:
    case LB_INSERTSTRING:
    case LB_DELETESTRING:
    case LB_RESETCONTENT:
    case WM_SIZE:
      SkinListBox->UpdateScrollBars();
      break;
    case WM_LBUTTONDBLCLK:
      SkinListBox->ListBoxDblClick();
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      // The selected row's look follows the focus.
      Invalidate();
      break;
    case WM_MOUSEWHEEL: {
      const bool Up = static_cast<SHORT>(HIWORD(Message.WParam)) > 0;
      if (SkinListBox->MainScrollBar != nullptr) {
        SendMessage(GetHandle(), WM_VSCROLL, Up ? SB_LINEUP : SB_LINEDOWN, 0);
        SkinListBox->UpdateScrollBars();
      } else if (TbsSkinScrollBar* Bar = SkinListBox->ExtentScrollBar) {
        Bar->SetPosition(Bar->GetPosition() + (Up ? -Bar->GetSmallChange() : Bar->GetSmallChange()));
      }
      break;
    }
    case WM_VSCROLL:
    case WM_KEYDOWN:
    case LB_SETCURSEL:
    case LB_SETTOPINDEX:
      SkinListBox->UpdateScrollBars();
      break;
    default:
      break;
  }
}

void TbsListBox::Click() {
  if (SkinListBox != nullptr) SkinListBox->ListBoxClick();
  TListBox::Click();
}

void TbsListBox::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (SkinListBox != nullptr) SkinListBox->ListBoxMouseDown(Button, Shift, X, Y);
  TListBox::MouseDown(Button, Shift, X, Y);
}

void TbsListBox::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  if (SkinListBox != nullptr) SkinListBox->ListBoxMouseMove(Shift, X, Y);
  TListBox::MouseMove(Shift, X, Y);
}

void TbsListBox::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (SkinListBox != nullptr) SkinListBox->ListBoxMouseUp(Button, Shift, X, Y);
  TListBox::MouseUp(Button, Shift, X, Y);
}

void TbsListBox::KeyDown(Word& Key, TShiftState Shift) {
  if (SkinListBox != nullptr) {
    SkinListBox->ListBoxKeyDown(Key, Shift);
    // Left and Right scroll wide texts instead of moving the selection.
    if (TbsSkinScrollBar* Bar = SkinListBox->ExtentScrollBar;
        Bar != nullptr && (Key == VK_LEFT || Key == VK_RIGHT)) {
      Bar->SetPosition(Bar->GetPosition() +
                       (Key == VK_LEFT ? -Bar->GetSmallChange() : Bar->GetSmallChange()));
      Key = 0;
    }
  }
  TListBox::KeyDown(Key, Shift);
}

void TbsListBox::KeyUp(Word& Key, TShiftState Shift) {
  if (SkinListBox != nullptr) SkinListBox->ListBoxKeyUp(Key, Shift);
  TListBox::KeyUp(Key, Shift);
}

void TbsListBox::KeyPress(char& Key) {
  if (SkinListBox != nullptr) SkinListBox->ListBoxKeyPress(Key);
  TListBox::KeyPress(Key);
}

void TbsListBox::DrawItem(Integer Index, TRect Rect, TOwnerDrawState State) {
  if (SkinListBox == nullptr) {
    TListBox::DrawItem(Index, Rect, State);
    return;
  }
  SkinListBox->DrawListItem(GetCanvas(), Index, Rect, State);
}

// ---- TbsSkinCustomListBox -------------------------------------------------------------------

TbsSkinCustomListBox::TbsSkinCustomListBox(TComponent* AOwner) : TbsSkinCustomControl(AOwner) {
  SetControlStyle(TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csOpaque, csDoubleClicks,
                                csReplicatable});
  TFont* F = GetFont();
  F->SetName("Arial");
  F->SetHeight(14);
  F->SetColor(clWindowText);
  F->SetStyle({});
  ListBox = new TbsListBox(this);
  ListBox->SkinListBox = this;
  ListBox->SetStyle(lbOwnerDrawFixed);
  ListBox->SetItemHeight(FDefaultItemHeight);
  ListBox->SetParent(this);
  SetWidth(120);
  SetHeight(120);
  SetSkinDataName("listbox");
  FTabWidths = std::make_unique<TStringList>();
  FGlyph = std::make_unique<TBitmap>();
  FDefaultCaptionFont = std::make_unique<TFont>();
  FDefaultCaptionFont->SetName("Arial");
  FDefaultCaptionFont->SetHeight(14);
  FDefaultCaptionFont->OnChange = TNotifyEvent(this, &TbsSkinCustomListBox::CaptionFontChanged);
  PlaceInnerControls();
}

// The inner list and a bar are children: the parent-deletes-children rule frees them. The list
// outlives this part of the frame, so it stops calling it first.
TbsSkinCustomListBox::~TbsSkinCustomListBox() {
  if (ListBox != nullptr) ListBox->SkinListBox = nullptr;
}

void TbsSkinCustomListBox::CreateParams(TCreateParams& Params) {
  TbsSkinCustomControl::CreateParams(Params);
  Params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TbsSkinCustomListBox::Notification(TComponent* AComponent, TOperation Operation) {
  TbsSkinCustomControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FImages) FImages = nullptr;
  if (AComponent == MainScrollBar) MainScrollBar = nullptr;
  if (AComponent == ExtentScrollBar) ExtentScrollBar = nullptr;
  if (AComponent == ListBox) ListBox = nullptr;
}

void TbsSkinCustomListBox::SetItems(TStrings* Value) {
  ListBox->SetItems(Value);
  UpdateScrollBars();
}

void TbsSkinCustomListBox::Clear() {
  ListBox->Clear();
  UpdateScrollBars();
}

void TbsSkinCustomListBox::SetColumns(Integer Value) {
  ListBox->SetColumns(Value);
  UpdateScrollBars();
}

void TbsSkinCustomListBox::SetSorted(bool Value) {
  if (MainScrollBar != nullptr) HideMainScrollBar();
  ListBox->SetSorted(Value);
}

void TbsSkinCustomListBox::SetRowCount(Integer Value) {
  FRowCount = Value;
  if (Value != 0) SetHeight(HeightForRows(Value));
  UpdateScrollBars();
}

void TbsSkinCustomListBox::SetDefaultItemHeight(Integer Value) {
  FDefaultItemHeight = Value;
  if (PartIndex == -1 || !FUseSkinItemHeight) ListBox->SetItemHeight(Value);
}

void TbsSkinCustomListBox::SetTabWidths(TStrings* Value) {
  FTabWidths->Assign(Value);
  if (FTabWidths->GetCount() > 0) ListBox->Invalidate();
}

// A part of another kind under the name has none of the list's fields: no part.
void TbsSkinCustomListBox::LoadSkinPart() {
  TbsSkinCustomControl::LoadSkinPart();
  if (PartIndex == -1) return;
  auto* P = dynamic_cast<TbsDataSkinListBox*>(BoundPart());
  if (P == nullptr) {
    PartIndex = -1;
    return;
  }
  ItemRect = P->ItemRect;
  ActiveItemRect = IsEmptyRect(P->ActiveItemRect) ? P->ItemRect : P->ActiveItemRect;
  FocusItemRect = IsEmptyRect(P->FocusItemRect) ? P->ItemRect : P->FocusItemRect;
  ItemLeftOffset = P->ItemLeftOffset;
  ItemRightOffset = P->ItemRightOffset;
  ItemTextRect = P->ItemTextRect;
  FontName = P->FontName;
  FontStyle = P->FontStyle;
  FontHeight = P->FontHeight;
  FontColor = P->FontColor;
  ActiveFontColor = P->ActiveFontColor;
  FocusFontColor = P->FocusFontColor;
  VScrollBarName = P->VScrollBarName;
  HScrollBarName = P->HScrollBarName;
  BothHScrollBarName = P->BothHScrollBarName;
  ShowFocus = P->ShowFocus;
  CaptionRect = P->CaptionRect;
  CaptionFontName = P->CaptionFontName;
  CaptionFontHeight = P->CaptionFontHeight;
  CaptionFontStyle = P->CaptionFontStyle;
  CaptionFontColor = P->CaptionFontColor;
  UpButtonRect = P->UpButtonRect;
  ActiveUpButtonRect = P->ActiveUpButtonRect;
  DownUpButtonRect = IsEmptyRect(P->DownUpButtonRect) ? P->ActiveUpButtonRect : P->DownUpButtonRect;
  DownButtonRect = P->DownButtonRect;
  ActiveDownButtonRect = P->ActiveDownButtonRect;
  DownDownButtonRect = IsEmptyRect(P->DownDownButtonRect) ? P->ActiveDownButtonRect : P->DownDownButtonRect;
  CheckButtonRect = P->CheckButtonRect;
  ActiveCheckButtonRect = P->ActiveCheckButtonRect;
  DownCheckButtonRect =
      IsEmptyRect(P->DownCheckButtonRect) ? P->ActiveCheckButtonRect : P->DownCheckButtonRect;
  DisabledButtonsRect = P->DisabledButtonsRect;
  ButtonsArea = P->ButtonsArea;
}

void TbsSkinCustomListBox::SetImages(TCustomImageList* Value) {
  FImages = Value;
  if (Value != nullptr) Value->FreeNotification(this);
  ListBox->Invalidate();
}

void TbsSkinCustomListBox::SetImageIndex(Integer Value) {
  FImageIndex = Value;
  ListBox->Invalidate();
}

Integer TbsSkinCustomListBox::HeightForRows(Integer N) {
  LoadSkinPart();
  const Integer Bar = ExtentScrollBar != nullptr ? ExtentScrollBar->GetHeight() : 0;
  if (PartIndex == -1) return N * ListBox->GetItemHeight() + 4 + Bar;
  return SkinRect.Height() - PartClientRect.Height() + N * ListBox->GetItemHeight() + Bar;
}

void TbsSkinCustomListBox::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  TbsSkinCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  // Without a window there is no WM_SIZE to lay the inner list out.
  if (!HandleAllocated()) PlaceInnerControls();
  if (PartIndex == -1) Repaint();
}

void TbsSkinCustomListBox::DefaultFontChanged() {
  if (PartIndex == -1) GetFont()->Assign(GetDefaultFont());
}

void TbsSkinCustomListBox::ApplySkinChange() {
  TbsSkinCustomControl::ApplySkinChange();
  SkinUpdating = true;
  if (PartIndex == -1) {
    ListBox->SetItemHeight(FDefaultItemHeight);
    GetFont()->Assign(GetDefaultFont());
  } else if (FUseSkinItemHeight && ItemRect.Height() > 0) {
    ListBox->SetItemHeight(ItemRect.Height());
  }
  if (MainScrollBar != nullptr) {
    MainScrollBar->SetSkinDataName(BarPartName());
    MainScrollBar->SetSkinData(GetSkinData());
  }
  if (ExtentScrollBar != nullptr) SetExtentBarMode();
  if (FRowCount != 0) SetHeight(HeightForRows(FRowCount));
  PlaceInnerControls();
  SkinUpdating = false;
  UpdateScrollBars();
  ListBox->Invalidate();
}

namespace {

// Frees a hidden bar once the message being handled is done.
UINT FreeBarMessage() {
  static const UINT Msg = RegisterWindowMessage("bsSkinListBoxFreeBar");
  return Msg;
}

}  // namespace

// ---- Layout and the external bar ------------------------------------------------------------

void TbsSkinCustomListBox::PlaceInnerControls() {
  if (ListBox == nullptr) return;
  const Integer W = GetWidth(), H = GetHeight();
  const Integer C = FCaptionMode ? FDefaultCaptionHeight : 1;
  const bool Part = PartIndex != -1;
  if (Part) {
    ListArea = PartClientRect;
    ListArea.Right += W - SkinRect.Width();
    ListArea.Bottom += H - SkinRect.Height();
  }
  // The horizontal bar along the bottom first; the rest is shared by the list and the
  // vertical bar.
  Integer XH = 0;
  if (ListBox->GetColumns() <= 0 && ExtentScrollBar != nullptr && ExtentScrollBar->GetVisible()) {
    if (Part) {
      const Integer BH = ExtentScrollBar->GetHeight();
      ExtentScrollBar->SetBounds(ListArea.Left, ListArea.Bottom - BH, ListArea.Width(), BH);
      XH = BH;
    } else {
      ExtentScrollBar->SetBounds(1, H - 20, W - 2, 19);
      XH = ExtentScrollBar->GetHeight() - 1;
    }
  }
  if (MainScrollBar != nullptr && MainScrollBar->GetVisible()) {
    if (Part) {
      const Integer BW = MainScrollBar->GetWidth();
      MainScrollBar->SetBounds(ListArea.Right - BW, ListArea.Top, BW, ListArea.Height() - XH);
      InnerRect = Rect(ListArea.Left, ListArea.Top, ListArea.Right - BW, ListArea.Bottom - XH);
    } else {
      MainScrollBar->SetBounds(W - 20, C, 19, H - C - XH - 1);
      InnerRect = Rect(2, C + 1, MainScrollBar->GetLeft(), H - XH - 2);
    }
  } else {
    InnerRect = Part ? Rect(ListArea.Left, ListArea.Top, ListArea.Right, ListArea.Bottom - XH)
                     : Rect(2, C + 1, W - 2, H - 2 - XH);
  }
  ListBox->SetBounds(InnerRect.Left, InnerRect.Top, IntMax(InnerRect.Width(), 0),
                     IntMax(InnerRect.Height(), 0));
}

void TbsSkinCustomListBox::SetHorizontalExtent(bool Value) {
  FHorizontalExtent = Value;
  UpdateScrollBars();
}

void TbsSkinCustomListBox::SetExtentBarMode() {
  TbsSkinScrollBar* Bar = ExtentScrollBar;
  const bool Both = MainScrollBar != nullptr;
  if (PartIndex == -1) {
    Bar->SetSkinDataName("");
    Bar->SetBothSkinDataName("");
    Bar->SetBoth(Both);
    if (Both) Bar->SetBothMarkerWidth(19);
  } else {
    const std::string& Name = Both ? BothHScrollBarName : HScrollBarName;
    Bar->SetBothSkinDataName(Name);
    Bar->SetSkinDataName(Name);
    Bar->SetBoth(Both);
  }
  Bar->SetSkinData(GetSkinData());
}

void TbsSkinCustomListBox::UpdateExtentScrollBar() {
  if (!FHorizontalExtent || SkinUpdating) {
    if (ExtentScrollBar != nullptr) HideExtentScrollBar();
    return;
  }
  TCanvas* C = ListBox->GetCanvas();
  if (PartIndex != -1 && GetUseSkinFont()) {
    C->GetFont()->SetName(FontName);
    C->GetFont()->SetStyle(FontStyle);
    C->GetFont()->SetHeight(FontHeight);
  } else {
    C->GetFont()->Assign(ListBox->GetFont());
  }
  Integer Widest = 0;
  for (Integer I = 0; I < ListBox->GetItems()->GetCount(); ++I)
    Widest = std::max(Widest, ItemTextWidth(I, C));
  Integer Available = PartIndex == -1 ? ListBox->GetWidth() - 4
                                      : ListBox->GetWidth() + ItemTextRect.Width() - ItemRect.Width();
  if (FImages != nullptr) Available -= FImages->GetWidth() + 4;
  if (Available >= Widest) {
    if (ExtentScrollBar != nullptr) HideExtentScrollBar();
    return;
  }
  if (ExtentScrollBar == nullptr) {
    ExtentScrollBar = new TbsSkinScrollBar(this);
    ExtentScrollBar->SetKind(sbHorizontal);
    ExtentScrollBar->SetBounds(0, 0, 20, 100);
    ExtentScrollBar->SetPageSize(0);
    ExtentScrollBar->OnChange = TNotifyEvent(this, &TbsSkinCustomListBox::ExtentScrollBarChange);
    SetExtentBarMode();
    ExtentScrollBar->SetParent(this);
    ExtentScrollBar->SetVisible(true);
    PlaceInnerControls();
    Repaint();
  }
  const Integer Step = C->TextWidth("0");
  ExtentScrollBar->SetRange(0, Widest, ExtentScrollBar->GetPosition(), std::max(Available, 1));
  ExtentScrollBar->SetSmallChange(Step);
  ExtentScrollBar->SetLargeChange(Step);
}

void TbsSkinCustomListBox::ExtentScrollBarChange(TObject*) {
  if (ExtentScrollBar == nullptr) return;
  ListBox->HorzOffset = ExtentScrollBar->GetPosition();
  ListBox->Invalidate();
}

void TbsSkinCustomListBox::HideExtentScrollBar() {
  ListBox->HorzOffset = 0;
  TbsSkinScrollBar* Bar = ExtentScrollBar;
  ExtentScrollBar = nullptr;
  DiscardBar(Bar);
  PlaceInnerControls();
  ListBox->Invalidate();
}

void TbsSkinCustomListBox::UpdateScrollBars() {
  if (ListBox == nullptr || ListBox->MakingWindow() || GetComponentState().Contains(csDestroying)) return;
  UpdateExtentScrollBar();
  const Integer Count = ListBox->GetItems()->GetCount();
  const Integer ItemHeight = IntMax(ListBox->GetItemHeight(), 1);
  const Integer Visible = ListBox->GetHeight() / ItemHeight;
  // The native list scrolls over 0 .. Count - 1 with the top row as position.
  const Integer Max = Count - 1;
  const Integer Pos = ListBox->GetTopIndex();
  if ((FRowCount <= 0 || FRowCount != Count) && Max > 0 && Pos <= Max && Visible < Count) {
    if (MainScrollBar == nullptr) {
      MainScrollBar = new TbsSkinScrollBar(this);
      MainScrollBar->SetKind(sbVertical);
      MainScrollBar->SetBounds(0, 0, 20, 100);
      MainScrollBar->SetPageSize(0);
      MainScrollBar->SetSkinDataName(BarPartName());
      MainScrollBar->OnChange = TNotifyEvent(this, &TbsSkinCustomListBox::MainScrollBarChange);
      MainScrollBar->SetSkinData(GetSkinData());
      if (ExtentScrollBar != nullptr) SetExtentBarMode();
      MainScrollBar->SetParent(this);
      PlaceInnerControls();
      MainScrollBar->SetVisible(true);
      Repaint();
    }
    MainScrollBar->SetRange(0, Max, Pos, Visible);
    MainScrollBar->SetLargeChange(IntMax(Visible, 1));
    return;
  }
  if (MainScrollBar != nullptr) HideMainScrollBar();
}

// The frame may be walking its children right now (a window being made asks for the bars):
// the bar leaves them at once and goes later.
void TbsSkinCustomListBox::DiscardBar(TbsSkinScrollBar* Bar) {
  Bar->SetVisible(false);
  Bar->SetParent(nullptr);
  if (HandleAllocated())
    PostMessage(GetHandle(), FreeBarMessage(), 0, reinterpret_cast<LPARAM>(Bar));
  else
    delete Bar;
}

void TbsSkinCustomListBox::HideMainScrollBar() {
  TbsSkinScrollBar* Bar = MainScrollBar;
  MainScrollBar = nullptr;
  DiscardBar(Bar);
  if (ExtentScrollBar != nullptr) SetExtentBarMode();
  PlaceInnerControls();
}

std::string TbsSkinCustomListBox::BarPartName() const {
  return PartIndex == -1 ? std::string() : VScrollBarName;
}

void TbsSkinCustomListBox::MainScrollBarChange(TObject*) {
  if (MainScrollBar != nullptr) ListBox->SetTopIndex(MainScrollBar->GetPosition());
}

// ---- Forwarding -----------------------------------------------------------------------------

Integer TbsSkinCustomListBox::ItemTextWidth(Integer Index, TCanvas* Cnvs) {
  return Cnvs->TextWidth(ListBox->GetItems()->GetStrings(Index));
}

void TbsSkinCustomListBox::ListBoxMouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (OnListBoxMouseDown) OnListBoxMouseDown(this, Button, Shift, X, Y);
}

void TbsSkinCustomListBox::ListBoxMouseMove(TShiftState Shift, Integer X, Integer Y) {
  if (OnListBoxMouseMove) OnListBoxMouseMove(this, Shift, X, Y);
}

void TbsSkinCustomListBox::ListBoxMouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (OnListBoxMouseUp) OnListBoxMouseUp(this, Button, Shift, X, Y);
}

void TbsSkinCustomListBox::ListBoxClick() {
  if (OnListBoxClick) OnListBoxClick(this);
}

void TbsSkinCustomListBox::ListBoxDblClick() {
  if (OnListBoxDblClick) OnListBoxDblClick(this);
}

void TbsSkinCustomListBox::ListBoxKeyDown(Word& Key, TShiftState Shift) {
  if (OnListBoxKeyDown) OnListBoxKeyDown(this, Key, Shift);
}

void TbsSkinCustomListBox::ListBoxKeyUp(Word& Key, TShiftState Shift) {
  if (OnListBoxKeyUp) OnListBoxKeyUp(this, Key, Shift);
}

void TbsSkinCustomListBox::ListBoxKeyPress(char& Key) {
  if (OnListBoxKeyPress) OnListBoxKeyPress(this, Key);
}

// ---- Painting -------------------------------------------------------------------------------

void TbsSkinCustomListBox::Dispatch(TMessage& Message) {
  if (Message.Msg == FreeBarMessage()) {
    // Still owned by the frame unless it went with it meanwhile.
    auto* Bar = reinterpret_cast<TbsSkinScrollBar*>(Message.LParam);
    for (Integer I = 0; I < GetComponentCount(); ++I)
      if (GetComponent(I) == Bar) {
        delete Bar;
        break;
      }
    return;
  }
  switch (Message.Msg) {
    case WM_SIZE:
      TbsSkinCustomControl::Dispatch(Message);
      PlaceInnerControls();
      UpdateScrollBars();
      if (MainScrollBar != nullptr) MainScrollBar->Repaint();
      break;
    case WM_TIMER:
      TbsSkinCustomControl::Dispatch(Message);
      CaptionTimer();
      break;
    case CM_MOUSEENTER:
      TbsSkinCustomControl::Dispatch(Message);
      TrackCaptionButton(-1, -1);
      break;
    case CM_MOUSELEAVE: {
      TbsSkinCustomControl::Dispatch(Message);
      bool Changed = false;
      for (TCaptionButton& B : CaptionButtons) {
        Changed = Changed || B.MouseIn;
        B.MouseIn = false;
      }
      if (Changed) Repaint();
      break;
    }
    case CM_TEXTCHANGED:
      TbsSkinCustomControl::Dispatch(Message);
      if (FCaptionMode) Repaint();
      break;
    default:
      TbsSkinCustomControl::Dispatch(Message);
      break;
  }
}

// ---- TbsPopupListBox ------------------------------------------------------------------------

TbsPopupListBox::TbsPopupListBox(TComponent* AOwner) : TbsSkinListBox(AOwner) {
  TControlStyle S = GetControlStyle();
  S.Include(csAcceptsControls);
  S.Include(csNoDesignVisible);
  S.Include(csReplicatable);
  SetControlStyle(S);
  SetCtl3D(false);
  SetParentCtl3D(false);
  SetVisible(false);
}

void TbsPopupListBox::CreateParams(TCreateParams& Params) {
  TbsSkinListBox::CreateParams(Params);
  Params.Style = WS_POPUP | WS_CLIPCHILDREN;
  Params.ExStyle = WS_EX_TOOLWINDOW;
  Params.WindowClass.style |= CS_SAVEBITS;
  if (IsWindowsXPOrLater()) Params.WindowClass.style |= CS_DROPSHADOW;
}

void TbsPopupListBox::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_MOUSEACTIVATE) {
    // A click in the list never takes the activation from the form.
    Message.Result = MA_NOACTIVATE;
    return;
  }
  TbsSkinListBox::Dispatch(Message);
}

void TbsPopupListBox::HidePopup() {
  if (HandleAllocated())
    SetWindowPos(GetHandle(), nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
  SetVisible(false);
}

Byte TbsPopupListBox::FadeStep(Byte Target) {
  return static_cast<Byte>(std::max(Target / 15, 1));
}

void TbsPopupListBox::ShowPopup(TPoint P) {
  auto* Combo = dynamic_cast<TbsSkinCustomComboBox*>(GetOwner());
  const bool CanLayer = IsLayeredWindowAvailable() && Combo != nullptr;
  const bool Blend = CanLayer && Combo->GetAlphaBlend();
  const Byte Target = CanLayer ? Combo->GetAlphaBlendValue() : 255;
  if (CanLayer) {
    const HWND Wnd = GetHandle();
    const LONG Ex = GetWindowLong(Wnd, GWL_EXSTYLE);
    if (Blend && !Layered)
      SetWindowLong(Wnd, GWL_EXSTYLE, Ex | static_cast<LONG>(WS_EX_LAYERED));
    else if (!Blend && Layered)
      SetWindowLong(Wnd, GWL_EXSTYLE, Ex & ~static_cast<LONG>(WS_EX_LAYERED));
    Layered = Blend;
    if (Blend && CurrentAlpha != Target) {
      CurrentAlpha = Combo->GetAlphaBlendAnimation() ? 0 : Target;
      SetWindowAlpha(Wnd, CurrentAlpha);
    }
  }
  SetWindowPos(GetHandle(), HWND_TOP, P.X, P.Y, 0, 0, SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOSIZE);
  SetVisible(true);
  if (Blend && Combo->GetAlphaBlendAnimation()) FadeIn(Target);
}

// Messages go on while the list fades in; a handler among them may close the list or free the
// combo with it, which ends the fade at once.
void TbsPopupListBox::FadeIn(Byte Target) {
  TbsGoneWatch Watch(this);
  auto Over = [&] { return Watch.Gone || !GetVisible() || !HandleAllocated(); };
  Application->ProcessMessages();
  const Byte Step = FadeStep(Target);
  Integer Alpha = 0;
  DWORD Last = GetTickCount();
  while (!Over() && Alpha < Target) {
    if (GetTickCount() - Last > 5) {
      Alpha = std::min<Integer>(Alpha + Step, Target);
      SetWindowAlpha(GetHandle(), static_cast<Byte>(Alpha));
      Last = GetTickCount();
      if (OnFadeStep) OnFadeStep(this, static_cast<Byte>(Alpha));
    }
    Application->ProcessMessages();
    if (!Over()) Sleep(1);
  }
}
