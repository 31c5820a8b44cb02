// TControl: properties, geometry, message dispatch and painting requests; TSizeConstraints.
#include <algorithm>
#include <cstring>

#include "platform/classes/ActnList.h"
#include "platform/classes/Application.h"
#include "platform/classes/Controls.h"
#include "platform/classes/DragObjects.h"
#include "platform/classes/Forms.h"
#include "platform/classes/Menus.h"
#include "platform/classes/UserBridge.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/system/Format.h"
#include "platform/user/WindowMessages.h"
#include "platform/user/WindowPaint.h"

// ---- TSizeConstraints -----------------------------------------------------------------------

void TSizeConstraints::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TSizeConstraints*>(Source)) {
    FMinHeight = S->FMinHeight;
    FMaxHeight = S->FMaxHeight;
    FMinWidth = S->FMinWidth;
    FMaxWidth = S->FMaxWidth;
    Change();
    return;
  }
  TPersistent::Assign(Source);
}

void TSizeConstraints::SetMaxHeight(Integer Value) {
  if (Value == FMaxHeight) return;
  FMaxHeight = Value;
  if (Value > 0 && Value < FMinHeight) FMinHeight = Value;
  Change();
}

void TSizeConstraints::SetMaxWidth(Integer Value) {
  if (Value == FMaxWidth) return;
  FMaxWidth = Value;
  if (Value > 0 && Value < FMinWidth) FMinWidth = Value;
  Change();
}

void TSizeConstraints::SetMinHeight(Integer Value) {
  if (Value == FMinHeight) return;
  FMinHeight = Value;
  if (FMaxHeight > 0 && Value > FMaxHeight) FMaxHeight = Value;
  Change();
}

void TSizeConstraints::SetMinWidth(Integer Value) {
  if (Value == FMinWidth) return;
  FMinWidth = Value;
  if (FMaxWidth > 0 && Value > FMaxWidth) FMaxWidth = Value;
  Change();
}

void TSizeConstraints::Change() {
  if (OnChange) OnChange(this);
}

// ---- TControl -------------------------------------------------------------------------------

TAnchors AnchorAlign(TAlign Align) {
  switch (Align) {
    case alTop:
      return {akLeft, akTop, akRight};
    case alBottom:
      return {akLeft, akRight, akBottom};
    case alLeft:
      return {akLeft, akTop, akBottom};
    case alRight:
      return {akRight, akTop, akBottom};
    case alClient:
      return {akLeft, akTop, akRight, akBottom};
    default:
      return {akLeft, akTop};
  }
}

TControl::TControl(TComponent* AOwner) : TComponent(AOwner) {
  WindowProc = TWndMethod(this, &TControl::WndProc);
  FConstraints = std::make_unique<TSizeConstraints>(this);
  FConstraints->OnChange = TNotifyEvent(this, &TControl::DoConstraintsChange);
  FFont = std::make_unique<TFont>();
  FFont->OnChange = TNotifyEvent(this, &TControl::FontChanged);
}

TControl::~TControl() {
  Destroying();
  if (Application != nullptr) Application->ControlDestroyed(this);
  DragControlDestroyed(this);
  if (GetCaptureControl() == this) SetCaptureControl(nullptr);
  SetParent(nullptr);
}

// ---- Messages ----

LRESULT TControl::Perform(UINT Msg, WPARAM WParam, LPARAM LParam) {
  TMessage M{Msg, WParam, LParam, 0};
  if (WindowProc)
    WindowProc(M);
  else
    WndProc(M);
  return M.Result;
}

void TControl::WndProc(TMessage& Message) {
  const UINT Msg = Message.Msg;
  if (Msg >= WM_KEYFIRST && Msg <= WM_KEYLAST) {
    TCustomForm* Form = GetParentForm(this);
    if (Form != nullptr && Form->WantChildKey(this, Message)) return;
  } else if (Msg >= WM_MOUSEFIRST && Msg <= WM_MOUSELAST) {
    if (!FControlStyle.Contains(csDoubleClicks)) {
      switch (Message.Msg) {
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDBLCLK:
          Message.Msg -= WM_LBUTTONDBLCLK - WM_LBUTTONDOWN;
          break;
        default:
          break;
      }
    }
    switch (Message.Msg) {
      case WM_MOUSEMOVE:
        if (Application != nullptr) Application->HintMouseMessage(this, Message);
        break;
      case WM_LBUTTONDOWN:
      case WM_LBUTTONDBLCLK:
        // An automatic drag takes the press: no mouse-down or click of the control follows.
        if (FDragMode == dmAutomatic && FDragKind == dkDrag) {
          BeginDrag(true);
          return;
        }
        FControlState.Include(csLButtonDown);
        break;
      case WM_LBUTTONUP:
        FControlState.Exclude(csLButtonDown);
        break;
      default:
        break;
    }
  }
  Dispatch(Message);
}

void TControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_DRAG:
      CMDrag(Message);
      break;
    case WM_LBUTTONDOWN:
      WMLButtonDown(Message);
      break;
    case WM_RBUTTONDOWN:
      WMRButtonDown(Message);
      break;
    case WM_MBUTTONDOWN:
      WMMButtonDown(Message);
      break;
    case WM_LBUTTONDBLCLK:
      WMLButtonDblClk(Message);
      break;
    case WM_RBUTTONDBLCLK:
      WMRButtonDblClk(Message);
      break;
    case WM_MBUTTONDBLCLK:
      WMMButtonDblClk(Message);
      break;
    case WM_MOUSEMOVE:
      WMMouseMove(Message);
      break;
    case WM_LBUTTONUP:
      WMLButtonUp(Message);
      break;
    case WM_RBUTTONUP:
      WMRButtonUp(Message);
      break;
    case WM_MBUTTONUP:
      WMMButtonUp(Message);
      break;
    case WM_MOUSEWHEEL:
      WMMouseWheel(Message);
      break;
    case WM_CANCELMODE:
      WMCancelMode(Message);
      break;
    case WM_CONTEXTMENU:
      WMContextMenu(Message);
      break;
    case CM_VISIBLECHANGED:
      CMVisibleChanged(Message);
      break;
    case CM_ENABLEDCHANGED:
      CMEnabledChanged(Message);
      break;
    case CM_FONTCHANGED:
      CMFontChanged(Message);
      break;
    case CM_COLORCHANGED:
      CMColorChanged(Message);
      break;
    case CM_PARENTFONTCHANGED:
      CMParentFontChanged(Message);
      break;
    case CM_PARENTCOLORCHANGED:
      CMParentColorChanged(Message);
      break;
    case CM_PARENTSHOWHINTCHANGED:
      CMParentShowHintChanged(Message);
      break;
    case CM_HITTEST:
      CMHitTest(Message);
      break;
    case CM_MOUSEENTER:
      CMMouseEnter(Message);
      break;
    case CM_MOUSELEAVE:
      CMMouseLeave(Message);
      break;
    case CM_MOUSEWHEEL:
      CMMouseWheel(Message);
      break;
    default:
      DefaultHandler(Message);
      break;
  }
}

void TControl::DefaultHandler(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETTEXT: {
      auto* Buffer = reinterpret_cast<char*>(Message.LParam);
      const auto Size = static_cast<std::size_t>(Message.WParam);
      if (Buffer == nullptr || Size == 0) {
        Message.Result = 0;
        break;
      }
      const std::size_t N = std::min(FText.size(), Size - 1);
      std::memcpy(Buffer, FText.data(), N);
      Buffer[N] = 0;
      Message.Result = static_cast<LRESULT>(N);
      break;
    }
    case WM_GETTEXTLENGTH:
      Message.Result = static_cast<LRESULT>(FText.size());
      break;
    case WM_SETTEXT: {
      const auto* Text = reinterpret_cast<const char*>(Message.LParam);
      FText = Text != nullptr ? Text : "";
      Message.Result = TRUE;
      break;
    }
    default:
      break;
  }
}

// ---- Parent ----

void TControl::SetParent(TWinControl* AParent) {
  if (FParent == AParent) return;
  if (AParent == this) throw EInvalidOperation("A control cannot have itself as its parent");
  if (FParent != nullptr) FParent->RemoveControl(this);
  if (AParent != nullptr) {
    AParent->InsertControl(this);
    UpdateAnchorRules();
  }
}

void TControl::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent != nullptr && AComponent == FPopupMenu) FPopupMenu = nullptr;
}

void TControl::SetPopupMenu(TPopupMenu* Value) {
  FPopupMenu = Value;
  if (Value != nullptr) Value->FreeNotification(this);
}

void TControl::Loaded() {
  TComponent::Loaded();
  UpdateAnchorRules();
}

void TControl::SetName(const std::string& NewName) {
  const std::string OldName = GetName();
  const bool Loading = GetComponentState().Contains(csLoading);
  auto* OwnerControl = dynamic_cast<TControl*>(GetOwner());
  const bool OwnerLoading = OwnerControl != nullptr && OwnerControl->GetComponentState().Contains(csLoading);
  const bool ChangeText =
      FControlStyle.Contains(csSetCaption) && !Loading && !OwnerLoading && OldName == GetText();
  TComponent::SetName(NewName);
  if (ChangeText) SetText(NewName);
}

// ---- Geometry ----

void TControl::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  if (!CheckNewSize(AWidth, AHeight)) return;
  if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight) return;
  InvalidateControl(FVisible, false);
  FLeft = ALeft;
  FTop = ATop;
  FWidth = AWidth;
  FHeight = AHeight;
  UpdateAnchorRules();
  Invalidate();
  RequestAlign();
  if (!GetComponentState().Contains(csLoading)) Resize();
}

bool TControl::CheckNewSize(Integer& NewWidth, Integer& NewHeight) {
  Integer W = NewWidth, H = NewHeight;
  if (!CanResize(W, H)) return false;
  bool Ok = true;
  if (FAutoSize) {
    Integer W2 = W, H2 = H;
    Ok = (CanAutoSize(W2, H2) && W2 == W && H2 == H) || CanAutoSize(W, H);
  }
  if (!Ok) return false;
  DoConstrainedResize(W, H);
  NewWidth = W;
  NewHeight = H;
  return true;
}

bool TControl::CanResize(Integer& NewWidth, Integer& NewHeight) {
  bool Result = true;
  if (OnCanResize) OnCanResize(this, NewWidth, NewHeight, Result);
  return Result;
}

bool TControl::CanAutoSize(Integer&, Integer&) {
  return true;
}

void TControl::ConstrainedResize(Integer& MinWidth, Integer& MinHeight, Integer& MaxWidth,
                                 Integer& MaxHeight) {
  if (OnConstrainedResize) OnConstrainedResize(this, MinWidth, MinHeight, MaxWidth, MaxHeight);
}

void TControl::DoConstrainedResize(Integer& NewWidth, Integer& NewHeight) {
  Integer MinWidth = FConstraints->GetMinWidth(), MinHeight = FConstraints->GetMinHeight();
  Integer MaxWidth = FConstraints->GetMaxWidth(), MaxHeight = FConstraints->GetMaxHeight();
  ConstrainedResize(MinWidth, MinHeight, MaxWidth, MaxHeight);
  if (MinWidth > 0 && NewWidth < MinWidth)
    NewWidth = MinWidth;
  else if (MaxWidth > 0 && NewWidth > MaxWidth)
    NewWidth = MaxWidth;
  if (MinHeight > 0 && NewHeight < MinHeight)
    NewHeight = MinHeight;
  else if (MaxHeight > 0 && NewHeight > MaxHeight)
    NewHeight = MaxHeight;
}

void TControl::DoConstraintsChange(TObject*) {
  AdjustSize();
}

void TControl::AdjustSize() {
  if (!GetComponentState().Contains(csLoading)) SetBounds(FLeft, FTop, FWidth, FHeight);
}

void TControl::SetAutoSize(bool Value) {
  if (FAutoSize == Value) return;
  FAutoSize = Value;
  if (Value) AdjustSize();
}

void TControl::Resize() {
  if (OnResize) OnResize(this);
}

void TControl::RequestAlign() {
  if (FParent != nullptr) FParent->AlignControl(this);
}

TRect TControl::GetClientRect() {
  return Rect(0, 0, FWidth, FHeight);
}

void TControl::SetClientSize(TPoint Value) {
  const TRect Client = GetClientRect();
  SetBounds(FLeft, FTop, FWidth - Client.Right + Value.X, FHeight - Client.Bottom + Value.Y);
}

void TControl::SetClientWidth(Integer Value) {
  SetClientSize({Value, GetClientHeight()});
}
void TControl::SetClientHeight(Integer Value) {
  SetClientSize({GetClientWidth(), Value});
}

TPoint TControl::GetClientOrigin() {
  if (FParent == nullptr) throw EInvalidOperation(Format("Control '%s' has no parent window", {GetName()}));
  const TPoint P = FParent->GetClientOrigin();
  return {P.X + FLeft, P.Y + FTop};
}

TPoint TControl::ClientToScreen(TPoint Point) {
  const TPoint O = GetClientOrigin();
  return {Point.X + O.X, Point.Y + O.Y};
}

TPoint TControl::ScreenToClient(TPoint Point) {
  const TPoint O = GetClientOrigin();
  return {Point.X - O.X, Point.Y - O.Y};
}

void TControl::SetAlign(TAlign Value) {
  if (FAlign == Value) return;
  const TAlign OldAlign = FAlign;
  FAlign = Value;
  SetAnchors(AnchorAlign(Value));
  if (!GetComponentState().Contains(csLoading) && Value != alNone && Value != alCustom) {
    // A control aligned to an edge gets the size it had along that edge from the parent.
    if (OldAlign == alTop || OldAlign == alBottom) {
      if (Value == alRight || Value == alLeft) SetBounds(FLeft, FTop, FHeight, FWidth);
    } else if (OldAlign == alLeft || OldAlign == alRight) {
      if (Value == alTop || Value == alBottom) SetBounds(FLeft, FTop, FHeight, FWidth);
    }
  }
  RequestAlign();
}

void TControl::SetAnchors(TAnchors Value) {
  if (FAnchors == Value) return;
  FAnchors = Value;
  if (!GetComponentState().Contains(csLoading)) UpdateAnchorRules();
}

void TControl::UpdateAnchorRules() {
  if (FAnchorMove || GetComponentState().Contains(csLoading)) return;
  if (FAnchors == TAnchors{akLeft, akTop}) {
    FOriginalParentSize = {0, 0};
    return;
  }
  if (FAnchors.Contains(akRight))
    FAnchorRules.X = FAnchors.Contains(akLeft) ? FWidth : FLeft;
  else
    FAnchorRules.X = FLeft + FWidth / 2;
  if (FAnchors.Contains(akBottom))
    FAnchorRules.Y = FAnchors.Contains(akTop) ? FHeight : FTop;
  else
    FAnchorRules.Y = FTop + FHeight / 2;
  if (FParent != nullptr) FOriginalParentSize = FParent->ClientSizeForLayout();
}

// ---- Appearance ----

void TControl::SetVisible(bool Value) {
  if (FVisible == Value) return;
  VisibleChanging();
  FVisible = Value;
  Perform(CM_VISIBLECHANGED, Value ? 1 : 0, 0);
  RequestAlign();
}

void TControl::SetEnabled(bool Value) {
  if (FEnabled == Value) return;
  FEnabled = Value;
  Perform(CM_ENABLEDCHANGED, 0, 0);
}

std::string TControl::GetText() {
  const auto Length = static_cast<std::size_t>(Perform(WM_GETTEXTLENGTH, 0, 0));
  if (Length == 0) return {};
  std::string Text(Length + 1, '\0');
  const auto Copied =
      static_cast<std::size_t>(Perform(WM_GETTEXT, Text.size(), reinterpret_cast<LPARAM>(Text.data())));
  Text.resize(std::min(Copied, Length));
  return Text;
}

void TControl::SetText(const std::string& Value) {
  if (GetText() == Value) return;
  Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Value.c_str()));
  Perform(CM_TEXTCHANGED, 0, 0);
}

void TControl::SetColor(TColor Value) {
  if (FColor == Value) return;
  FColor = Value;
  FParentColor = false;
  Perform(CM_COLORCHANGED, 0, 0);
}

void TControl::SetParentColor(bool Value) {
  if (FParentColor == Value) return;
  FParentColor = Value;
  if (FParent != nullptr && !GetComponentState().Contains(csReading)) Perform(CM_PARENTCOLORCHANGED, 0, 0);
}

void TControl::FontChanged(TObject*) {
  FParentFont = false;
  Perform(CM_FONTCHANGED, 0, 0);
}

void TControl::SetParentFont(bool Value) {
  if (FParentFont == Value) return;
  FParentFont = Value;
  if (FParent != nullptr && !GetComponentState().Contains(csReading)) Perform(CM_PARENTFONTCHANGED, 0, 0);
}

void TControl::SetCursor(TCursor Value) {
  if (FCursor == Value) return;
  FCursor = Value;
  Perform(CM_CURSORCHANGED, 0, 0);
}

void TControl::SetShowHint(bool Value) {
  FParentShowHint = false;
  if (FShowHint == Value) return;
  FShowHint = Value;
  Perform(CM_SHOWHINTCHANGED, 0, 0);
}

void TControl::SetParentShowHint(bool Value) {
  if (FParentShowHint == Value) return;
  FParentShowHint = Value;
  if (FParent != nullptr && !GetComponentState().Contains(csReading)) Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
}

void TControl::Changed() {
  Perform(CM_CHANGED, 0, reinterpret_cast<LPARAM>(this));
}

void TControl::CMVisibleChanged(TMessage&) {
  InvalidateControl(true, FVisible && FControlStyle.Contains(csOpaque));
}
void TControl::CMEnabledChanged(TMessage&) {
  Invalidate();
}
void TControl::CMFontChanged(TMessage&) {
  Invalidate();
}
void TControl::CMColorChanged(TMessage&) {
  Invalidate();
}

void TControl::CMParentFontChanged(TMessage& Message) {
  if (!FParentFont) return;
  if (Message.WParam != 0)
    SetFont(reinterpret_cast<TFont*>(Message.LParam));
  else if (FParent != nullptr)
    SetFont(FParent->GetFont());
  FParentFont = true;
}

void TControl::CMParentColorChanged(TMessage& Message) {
  if (!FParentColor) return;
  if (Message.WParam != 0)
    SetColor(static_cast<TColor>(Message.LParam));
  else if (FParent != nullptr)
    SetColor(FParent->GetColor());
  FParentColor = true;
}

void TControl::CMParentShowHintChanged(TMessage&) {
  if (!FParentShowHint || FParent == nullptr) return;
  SetShowHint(FParent->GetShowHint());
  FParentShowHint = true;
}

void TControl::CMHitTest(TMessage& Message) {
  Message.Result = HTCLIENT;
}

// ---- Painting and z-order ----

bool TControl::IsVisibleOnScreen() {
  for (TControl* C = this; C != nullptr; C = C->FParent)
    if (!C->FVisible) return false;
  return true;
}

void TControl::InvalidateControl(bool IsVisible, bool IsOpaque) {
  if (!IsVisible || FParent == nullptr || !FParent->HandleAllocated()) return;
  const TRect R = GetBoundsRect();
  const bool Opaque = IsOpaque || FParent->FControlStyle.Contains(csOpaque);
  InvalidateRect(FParent->GetWindowHandle(), &R, Opaque ? FALSE : TRUE);
}

void TControl::Invalidate() {
  InvalidateControl(FVisible, FControlStyle.Contains(csOpaque));
}

void TControl::Update() {
  if (FParent != nullptr) FParent->Update();
}

void TControl::Repaint() {
  if (!FVisible || FParent == nullptr || !FParent->HandleAllocated()) return;
  if (FControlStyle.Contains(csOpaque)) {
    const HWND Wnd = FParent->GetWindowHandle();
    HDC DC = GetDC(Wnd);
    IntersectClipRect(DC, FLeft, FTop, FLeft + FWidth, FTop + FHeight);
    FParent->PaintControls(DC, this);
    ReleaseDC(Wnd, DC);
  } else {
    Invalidate();
    Update();
  }
}

void TControl::SetZOrder(bool TopMost) {
  if (FParent == nullptr) return;
  auto& List = FParent->FControls;
  auto It = std::find(List.begin(), List.end(), this);
  if (It == List.end()) return;
  const bool AtPlace = TopMost ? (It == List.end() - 1) : (It == List.begin());
  if (AtPlace) return;
  List.erase(It);
  if (TopMost)
    List.push_back(this);
  else
    List.insert(List.begin(), this);
  InvalidateControl(FVisible, true);
}

HDC TControl::GetDeviceContext(HWND& WindowHandle) {
  if (FParent == nullptr) throw EInvalidOperation(Format("Control '%s' has no parent window", {GetName()}));
  HDC DC = FParent->GetDeviceContext(WindowHandle);
  SetViewportOrgEx(DC, FLeft, FTop, nullptr);
  IntersectClipRect(DC, 0, 0, FWidth, FHeight);
  return DC;
}

// ---- Helpers ----

TCustomForm* GetParentForm(TControl* Control) {
  if (Control == nullptr) return nullptr;
  while (Control->GetParent() != nullptr) Control = Control->GetParent();
  return dynamic_cast<TCustomForm*>(Control);
}

TCustomForm* ValidParentForm(TControl* Control) {
  TCustomForm* Form = GetParentForm(Control);
  if (Form == nullptr)
    throw EInvalidOperation(
        Format("Control '%s' has no parent window", {Control ? Control->GetName() : std::string()}));
  return Form;
}

std::string GetShortHint(const std::string& Hint) {
  const auto P = Hint.find('|');
  return P == std::string::npos ? Hint : Hint.substr(0, P);
}

std::string GetLongHint(const std::string& Hint) {
  const auto P = Hint.find('|');
  return P == std::string::npos ? Hint : Hint.substr(P + 1);
}
