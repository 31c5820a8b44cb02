// TbsCustomEdit, TbsSkinNumEdit and TbsSkinCustomEdit: the native edit inside the skinned
// controls and the skinned one-line edit.
#include "skin/boxctrls/bsSkinBoxCtrls.h"

#include "platform/classes/Bitmap.h"
#include "platform/classes/ImgList.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Painting.h"
#include "platform/gdi/Text.h"
#include "platform/user/Caret.h"
#include "platform/user/ControlMessages.h"
#include "platform/user/Input.h"
#include "platform/user/User.h"
#include "skin/data/bsUtils.h"

namespace {

// The platform's decimal separator (always '.' here).
constexpr char DecimalSeparator = '.';

Integer FontHeightOf(TFont* Font) {
  HDC DC = GetDC(nullptr);
  HGDIOBJ Old = SelectObject(DC, Font->GetHandle());
  TEXTMETRICA M;
  GetTextMetrics(DC, &M);
  SelectObject(DC, Old);
  ReleaseDC(nullptr, DC);
  return M.tmHeight;
}

void FillDC(HDC DC, const TRect& R, TColor Color) {
  HBRUSH B = CreateSolidBrush(ColorToRGB(Color));
  FillRect(DC, &R, B);
  DeleteObject(B);
}

}  // namespace

// ---- TbsCustomEdit --------------------------------------------------------------------------

TbsCustomEdit::TbsCustomEdit(TComponent* AOwner) : TCustomMaskEdit(AOwner) {
  TControlStyle S = GetControlStyle();
  S.Include(csOpaque);
  SetControlStyle(S);
}

void TbsCustomEdit::SetTransparent(bool Value) {
  FTransparent = Value;
  if (HandleAllocated()) RecreateWnd();
}

bool TbsCustomEdit::TransparentActive() const {
  return FTransparent && !GetComponentState().Contains(csDesigning);
}

void TbsCustomEdit::CreateParams(TCreateParams& Params) {
  TCustomMaskEdit::CreateParams(Params);
  // The skinned owner draws every border.
  Params.Style &= ~WS_BORDER;
  Params.ExStyle &= ~WS_EX_CLIENTEDGE;
  if (FTransparent) Params.ExStyle |= WS_EX_TRANSPARENT;
  // A multi-line edit can take a formatting rectangle that leaves room for images.
  if (GetPasswordChar() != 0)
    Params.Style |= ES_PASSWORD;
  else
    Params.Style |= ES_MULTILINE;
}

void TbsCustomEdit::Invalidate() {
  if (!TransparentActive()) {
    TCustomMaskEdit::Invalidate();
    return;
  }
  TWinControl* P = GetParent();
  if (P == nullptr || !HandleAllocated()) return;
  if (P->HandleAllocated()) {
    // The parent's background under the text is painted again.
    const TPoint O = P->ScreenToClient(ClientToScreen({0, 0}));
    const TRect C = GetClientRect();
    const RECT R{O.X, O.Y, O.X + C.Right, O.Y + C.Bottom};
    InvalidateRect(P->GetHandle(), &R, TRUE);
  }
  RedrawWindow(GetHandle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

void TbsCustomEdit::Change() {
  TCustomMaskEdit::Change();
  if (TransparentActive()) Invalidate();
}

void TbsCustomEdit::WndProc(TMessage& Message) {
  const UINT Msg = Message.Msg;
  switch (Msg) {
    case WM_KEYDOWN:
      if (FReadOnly && Message.WParam == VK_DELETE) return;
      break;
    case WM_CUT:
    case WM_PASTE:
    case WM_CLEAR:
    case WM_UNDO:
      if (FReadOnly) return;
      break;
    case WM_CHAR:
      if (Message.WParam == VK_RETURN || Message.WParam == VK_ESCAPE) {
        // Enter and Escape belong to the form's default and cancel buttons; the window never
        // sees them, so it does not beep.
        if (OnKeyPress) {
          char Key = static_cast<char>(Message.WParam);
          OnKeyPress(this, Key);
        }
        if (TCustomForm* Form = GetParentForm(this))
          Form->Perform(CM_DIALOGKEY, Message.WParam, Message.LParam);
        return;
      }
      if (FReadOnly) return;
      break;
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORSTATIC:
      if (TransparentActive()) {
        auto* DC = reinterpret_cast<HDC>(Message.WParam);
        SetBkMode(DC, TRANSPARENT);
        SetTextColor(DC, ColorToRGB(GetFont()->GetColor()));
        Message.Result = reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
        return;
      }
      break;
    case WM_ERASEBKGND:
      // Nothing is erased: what lies behind shows through. (Invalidating from inside the erase
      // would only ask for the same paint again.)
      if (TransparentActive()) {
        Message.Result = 1;
        return;
      }
      break;
    case WM_CONTEXTMENU:
      // The built-in menu is the skin's popup menu, which shows nothing without a skin.
      if (GetPopupMenu() == nullptr) return;
      break;
    case WM_LBUTTONDOWN:
      Down = true;
      break;
    case WM_LBUTTONUP:
      Down = false;
      break;
    default:
      break;
  }
  TCustomMaskEdit::WndProc(Message);
  switch (Msg) {
    case WM_SETFONT:
      if (HandleAllocated())
        SendMessage(GetHandle(), EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELONG(2, 0));
      break;
    case WM_SETFOCUS:
      if (GetAutoSelect()) SelectAll();
      if (TransparentActive()) Invalidate();
      break;
    case CM_CANCELMODE:
      if (OnCancelMode) OnCancelMode(reinterpret_cast<TObject*>(Message.LParam));
      break;
    case WM_KEYDOWN:
    case WM_SETTEXT:
    case WM_MOVE:
    case WM_CUT:
    case WM_PASTE:
    case WM_CLEAR:
    case WM_UNDO:
    case WM_LBUTTONDOWN:
    case WM_KILLFOCUS:
      if (TransparentActive()) Invalidate();
      break;
    case WM_MOUSEMOVE:
      if (Down && TransparentActive()) Invalidate();
      break;
    default:
      break;
  }
}

// ---- TbsSkinNumEdit -------------------------------------------------------------------------

TbsSkinNumEdit::TbsSkinNumEdit(TComponent* AOwner) : TbsCustomEdit(AOwner) {}

bool TbsSkinNumEdit::IsValidChar(char Key) {
  const auto K = static_cast<unsigned char>(Key);
  bool Result = Key == '-' || (Key >= '0' && Key <= '9') || (FloatInput && Key == DecimalSeparator) ||
                (K < 32 && K != 13);
  if (Result && !EditorEnabled && (K == 8 || K >= 32)) Result = false;
  const std::string Text = GetText();
  if (Result && Key == DecimalSeparator && Text.find(DecimalSeparator) != std::string::npos) return false;
  if (Result && Key == '-' && Text.find('-') != std::string::npos) return false;
  return Result;
}

void TbsSkinNumEdit::KeyPress(char& Key) {
  if (!IsValidChar(Key)) {
    Key = 0;
    MessageBeep(0);
  }
  if (Key != 0) TbsCustomEdit::KeyPress(Key);
}

void TbsSkinNumEdit::KeyDown(Word& Key, TShiftState Shift) {
  if (Key == VK_UP) {
    if (OnStepUp) OnStepUp(this);
    return;
  }
  if (Key == VK_DOWN) {
    if (OnStepDown) OnStepDown(this);
    return;
  }
  TbsCustomEdit::KeyDown(Key, Shift);
}

void TbsSkinNumEdit::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_MOUSEWHEEL:
      if (static_cast<SHORT>(HIWORD(Message.WParam)) > 0) {
        if (OnStepDown) OnStepDown(this);
      } else if (OnStepUp) {
        OnStepUp(this);
      }
      Message.Result = 1;
      break;
    case CM_MOUSEENTER:
      TbsCustomEdit::Dispatch(Message);
      if (Message.LParam == 0 && OnEditMouseEnter) OnEditMouseEnter(this);
      break;
    case CM_MOUSELEAVE:
      TbsCustomEdit::Dispatch(Message);
      if (Message.LParam == 0 && OnEditMouseLeave) OnEditMouseLeave(this);
      break;
    default:
      TbsCustomEdit::Dispatch(Message);
      break;
  }
}

// ---- TbsSkinCustomEdit ----------------------------------------------------------------------

namespace {

constexpr LRESULT HitButton = HTHSCROLL;  // 6
constexpr LRESULT HitOutside = 7;
constexpr LRESULT HitLeftImage = 104;
constexpr LRESULT HitRightImage = 105;
constexpr UINT_PTR HoverTimer = 1;

}  // namespace

TbsSkinCustomEdit::TbsSkinCustomEdit(TComponent* AOwner)
    : TbsCustomEdit(AOwner), FDefaultFont(std::make_unique<TFont>()) {
  TFont* F = GetFont();
  F->SetName("Arial");
  F->SetHeight(14);
  F->SetColor(clBlack);
  F->SetStyle({});
  FDefaultFont->Assign(F);
  FDefaultFont->OnChange = TNotifyEvent(this, &TbsSkinCustomEdit::DefaultFontChanged);
  SetAutoSize(false);
  SetBorderStyle(bsNone);
  SetTransparent(true);
  SetHeight(20);
}

TbsSkinCustomEdit::~TbsSkinCustomEdit() = default;

void TbsSkinCustomEdit::LoadSkinPart() {
  PartIndex = FSD == nullptr || FSD->Empty ? -1 : FSD->FindControlPart(FSkinDataName);
}

void TbsSkinCustomEdit::SetSkinData(TbsSkinData* Value) {
  FSD = Value;
  if (Value != nullptr) Value->FreeNotification(this);
  if (Value != nullptr && !Value->Empty && !GetComponentState().Contains(csDesigning)) ApplySkinChange();
}

void TbsSkinCustomEdit::Notification(TComponent* AComponent, TOperation Operation) {
  TbsCustomEdit::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FSD) FSD = nullptr;
  if (AComponent == FImages) FImages = nullptr;
}

void TbsSkinCustomEdit::Loaded() {
  TbsCustomEdit::Loaded();
}

void TbsSkinCustomEdit::SetDefaultColor(TColor Value) {
  FDefaultColor = Value;
  LoadSkinPart();
  if (PartIndex == -1) Invalidate();
}

void TbsSkinCustomEdit::SetDefaultFont(TFont* Value) {
  FDefaultFont->Assign(Value);
}

void TbsSkinCustomEdit::DefaultFontChanged(TObject*) {
  LoadSkinPart();
  if (PartIndex == -1) GetFont()->Assign(FDefaultFont.get());
}

void TbsSkinCustomEdit::SetDefaultWidth(Integer Value) {
  FDefaultWidth = Value;
  LoadSkinPart();
  if (PartIndex == -1 && Value > 0) SetWidth(Value);
}

void TbsSkinCustomEdit::SetDefaultHeight(Integer Value) {
  FDefaultHeight = Value;
  LoadSkinPart();
  if (PartIndex == -1 && Value > 0 && FUseSkinFont)
    SetHeight(Value);
  else
    AdjustHeight();
}

void TbsSkinCustomEdit::SetButtonMode(bool Value) {
  FButtonMode = Value;
  if (HandleAllocated()) RecreateWnd();
}

void TbsSkinCustomEdit::SetAlignment(TAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  if (HandleAllocated()) RecreateWnd();
}

void TbsSkinCustomEdit::SetImages(TCustomImageList* Value) {
  if (FImages == Value) return;
  FImages = Value;
  if (Value != nullptr) Value->FreeNotification(this);
  LoadSkinPart();
  if (!(PartIndex != -1 && FUseSkinFont)) AdjustHeight();
  Invalidate();
}

void TbsSkinCustomEdit::SetLeftImageIndex(Integer Value) {
  FLeftImageIndex = Value;
  Invalidate();
}

void TbsSkinCustomEdit::SetRightImageIndex(Integer Value) {
  FRightImageIndex = Value;
  Invalidate();
}

void TbsSkinCustomEdit::CreateParams(TCreateParams& Params) {
  TbsCustomEdit::CreateParams(Params);
  Params.ExStyle &= ~WS_EX_TRANSPARENT;
  Params.Style &= ~(ES_LEFT | ES_RIGHT | ES_CENTER);
  if (FAlignment == taRightJustify)
    Params.Style |= ES_RIGHT;
  else if (FAlignment == taCenter)
    Params.Style |= ES_CENTER;
}

// ---- Geometry -------------------------------------------------------------------------------

Integer TbsSkinCustomEdit::GetEditHeight() {
  const Integer H = FontHeightOf(GetFont());
  if (FImages != nullptr && FImages->GetHeight() > H + 2) return FImages->GetHeight();
  return H + 2 + 4;
}

void TbsSkinCustomEdit::AdjustHeight() {
  SetHeight(GetEditHeight());
}

void TbsSkinCustomEdit::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  LoadSkinPart();
  const TAlign A = GetAlign();
  if (PartIndex == -1 && A != alClient && A != alLeft && A != alRight) AHeight = GetEditHeight();
  TbsCustomEdit::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (HandleAllocated()) {
    Invalidate();
    SendMessage(GetHandle(), WM_NCPAINT, 0, 0);
  }
}

void TbsSkinCustomEdit::CalcRects() {
  const Integer W = GetWidth(), H = GetHeight();
  FButtonRect = FButtonMode ? Rect(W - H, 0, W, H) : TRect{};
  const Integer Right = FButtonMode ? FButtonRect.Left : W;
  FTextRect = Rect(2, 2, Right - 2, H - 2);
}

void TbsSkinCustomEdit::WMNCCalcSize(TMessage& Message) {
  LoadSkinPart();
  RECT* R = Message.WParam != 0 ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(Message.LParam)->rgrc[0]
                                : reinterpret_cast<RECT*>(Message.LParam);
  const Integer Right = FButtonMode ? R->Bottom - R->Top + 2 : 2;
  *R = Rect(R->Left + 2, R->Top + 2, R->Right - Right, R->Bottom - 2);
  if (R->Right < R->Left) R->Right = R->Left;
  Message.Result = 0;
}

void TbsSkinCustomEdit::PaintFrame(HDC DC) {
  CalcRects();
  TBitmap B;
  B.SetSize(GetWidth(), GetHeight());
  TCanvas* C = B.GetCanvas();
  TRect R = Rect(0, 0, GetWidth() - GetRectWidth(FButtonRect), GetHeight());
  DrawFrame3D(C, R, clBtnShadow, clBtnShadow);
  DrawFrame3D(C, R, clBtnFace, clBtnFace);
  C->GetBrush()->SetColor(FDefaultColor);
  C->FillRect(R);
  if (FButtonMode) {
    TColor Frame = clBtnShadow, Face = clBtnFace;
    if (ButtonDown && ButtonActive)
      Frame = clNavy, Face = static_cast<TColor>(RGB(133, 147, 181));
    else if (ButtonActive)
      Frame = clNavy, Face = static_cast<TColor>(RGB(182, 189, 210));
    C->GetPen()->SetColor(Frame);
    C->GetBrush()->SetColor(Face);
    C->Rectangle(FButtonRect);
  }
  TCanvas Target;
  Target.SetHandle(DC);
  Target.Draw(0, 0, &B);
  Target.SetHandle(nullptr);
}

void TbsSkinCustomEdit::WMNCPaint(TMessage&) {
  if (!HandleAllocated()) return;
  CalcRects();
  HDC DC = GetWindowDC(GetHandle());
  ExcludeClipRect(DC, FTextRect.Left, FTextRect.Top, FTextRect.Right, FTextRect.Bottom);
  PaintFrame(DC);
  ReleaseDC(GetHandle(), DC);
  Invalidate();
}

void TbsSkinCustomEdit::Invalidate() {
  if (GetParent() == nullptr || !HandleAllocated()) return;
  FAlreadyPainted = false;
  RedrawWindow(GetHandle(), nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE);
}

// ---- Painting through the erase step --------------------------------------------------------

void TbsSkinCustomEdit::DrawBackground(HDC DC) {
  CalcRects();
  if (IsEmptyRect(FTextRect)) return;
  FillDC(DC, Rect(0, 0, GetRectWidth(FTextRect), GetRectHeight(FTextRect)), FDefaultColor);
  if (FImages == nullptr) return;
  // The images at both ends of the text.
  TCanvas C;
  C.SetHandle(DC);
  const TRect Client = GetClientRect();
  auto DrawAt = [&](Integer Index, Integer X) {
    if (Index < 0 || Index >= FImages->GetCount()) return;
    const Integer Y = IntMax(Client.Top, Client.Top + Client.Height() / 2 - FImages->GetHeight() / 2);
    FImages->Draw(&C, X, Y, Index, GetEnabled());
  };
  DrawAt(FLeftImageIndex, Client.Left);
  DrawAt(FRightImageIndex, Client.Right - FImages->GetWidth());
  C.SetHandle(nullptr);
}

void TbsSkinCustomEdit::WMEraseBkgnd(TMessage& Message) {
  auto* DC = reinterpret_cast<HDC>(Message.WParam);
  DrawBackground(DC);
  // The native edit writes its text into the same DC over the background.
  FFromErase = true;
  TMessage Paint{WM_PAINT, Message.WParam, 0, 0};
  WndProc(Paint);
  FAlreadyPainted = true;
  FFromErase = false;
  if (Focused()) ShowCaret(GetHandle());
  Message.Result = 1;
}

void TbsSkinCustomEdit::WMPaint(TMessage& Message) {
  if (FAlreadyPainted || !FFromErase) {
    // BeginPaint brings the erase step, which paints everything.
    PAINTSTRUCT PS;
    BeginPaint(GetHandle(), &PS);
    EndPaint(GetHandle(), &PS);
    FAlreadyPainted = false;
    return;
  }
  if (GetEnabled()) {
    DefaultHandler(Message);
    return;
  }
  // A disabled edit's text is drawn here, in the grey of the default look.
  auto* DC = reinterpret_cast<HDC>(Message.WParam);
  TCanvas C;
  C.SetHandle(DC);
  C.SetFont(FDefaultFont.get());
  C.GetFont()->SetColor(clGrayText);
  C.GetBrush()->SetStyle(bsClear);
  const std::string Text = GetText();
  const TRect R = Rect(0, 0, GetRectWidth(FTextRect), GetRectHeight(FTextRect));
  const Integer TW = C.TextWidth(Text);
  Integer X = 2;
  if (FAlignment == taRightJustify)
    X = R.Right - TW - 1;
  else if (FAlignment == taCenter)
    X = R.Right / 2 - TW / 2;
  C.TextRect(R, X, 0, Text);
  C.SetHandle(nullptr);
}

// ---- Mouse ----------------------------------------------------------------------------------

bool TbsSkinCustomEdit::NeedsTracking() const {
  return FButtonMode || FImages != nullptr;
}

void TbsSkinCustomEdit::MouseEnterEdit() {
  MouseIn = true;
  if (OnMouseEnter) OnMouseEnter(this);
  if (NeedsTracking()) SetTimer(GetHandle(), HoverTimer, 100, nullptr);
}

void TbsSkinCustomEdit::MouseLeaveEdit() {
  MouseIn = false;
  if (ButtonActive || ButtonDown) {
    ButtonActive = ButtonDown = false;
    SendMessage(GetHandle(), WM_NCPAINT, 0, 0);
  }
  if (OnMouseLeave) OnMouseLeave(this);
}

void TbsSkinCustomEdit::WMNCHitTest(TMessage& Message) {
  if (!MouseIn) MouseEnterEdit();
  const TPoint P = ScreenToClient(LParamToPoint(Message.LParam));
  if (FImages != nullptr) {
    const TRect C = GetClientRect();
    if (FLeftImageIndex >= 0 && P.X >= C.Left && P.X < C.Left + FImages->GetWidth() && P.Y >= 0 &&
        P.Y < C.Bottom) {
      Message.Result = HitLeftImage;
      return;
    }
    if (FRightImageIndex >= 0 && P.X >= C.Right - FImages->GetWidth() && P.X < C.Right && P.Y >= 0 &&
        P.Y < C.Bottom) {
      Message.Result = HitRightImage;
      return;
    }
  }
  if (FButtonMode) {
    CalcRects();
    const TPoint W{P.X + 2, P.Y + 2};
    if (W.X >= FButtonRect.Left && W.X < FButtonRect.Right && W.Y >= FButtonRect.Top &&
        W.Y < FButtonRect.Bottom) {
      Message.Result = HitButton;
      return;
    }
    if (!(W.X >= FTextRect.Left && W.X < FTextRect.Right && W.Y >= FTextRect.Top && W.Y < FTextRect.Bottom)) {
      Message.Result = HitOutside;
      return;
    }
  }
  TbsCustomEdit::WndProc(Message);
}

void TbsSkinCustomEdit::WndProc(TMessage& Message) {
  if (GetComponentState().Contains(csDesigning)) {
    TbsCustomEdit::WndProc(Message);
    return;
  }
  switch (Message.Msg) {
    case WM_ERASEBKGND:
      WMEraseBkgnd(Message);
      return;
    case WM_PAINT:
      WMPaint(Message);
      return;
    case WM_NCCALCSIZE:
      WMNCCalcSize(Message);
      return;
    case WM_NCPAINT:
      WMNCPaint(Message);
      return;
    case WM_NCHITTEST:
      WMNCHitTest(Message);
      return;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      // This edit reports entering and leaving through its own tracking.
      if (Message.LParam == 0) {
        if (GetParent() != nullptr) GetParent()->Perform(Message.Msg, 0, reinterpret_cast<LPARAM>(this));
        return;
      }
      break;
    case WM_TIMER:
      if (Message.WParam == HoverTimer) {
        POINT P;
        GetCursorPos(&P);
        if (WindowFromPoint(P) != GetHandle()) {
          KillTimer(GetHandle(), HoverTimer);
          MouseLeaveEdit();
        }
        return;
      }
      break;
    case WM_NCMOUSEMOVE:
      if (FButtonMode) {
        const bool Active = Message.WParam == static_cast<WPARAM>(HitButton);
        if (Active != ButtonActive) {
          ButtonActive = Active;
          SendMessage(GetHandle(), WM_NCPAINT, 0, 0);
        }
      }
      break;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
      if (Message.WParam == static_cast<WPARAM>(HitButton)) {
        ButtonDown = true;
        ButtonActive = true;
        SendMessage(GetHandle(), WM_NCPAINT, 0, 0);
        return;
      }
      break;
    case WM_NCLBUTTONUP:
      if (Message.WParam == static_cast<WPARAM>(HitButton) && ButtonDown) {
        ButtonDown = false;
        SendMessage(GetHandle(), WM_NCPAINT, 0, 0);
        if (!Focused() && CanFocus()) SetFocus();
        if (OnButtonClick) OnButtonClick(this);
        return;
      }
      if (Message.WParam == static_cast<WPARAM>(HitLeftImage)) {
        if (OnLeftButtonClick) OnLeftButtonClick(this);
        return;
      }
      if (Message.WParam == static_cast<WPARAM>(HitRightImage)) {
        if (OnRightButtonClick) OnRightButtonClick(this);
        return;
      }
      break;
    case WM_MOUSEMOVE:
      if (ButtonActive && !ButtonDown) {
        ButtonActive = false;
        SendMessage(GetHandle(), WM_NCPAINT, 0, 0);
      }
      break;
    case WM_DESTROY:
      KillTimer(GetHandle(), HoverTimer);
      MouseIn = false;
      break;
    default:
      break;
  }
  TbsCustomEdit::WndProc(Message);
  switch (Message.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_SIZE:
      if (HandleAllocated()) SendMessage(GetHandle(), WM_NCPAINT, 0, 0);
      Invalidate();
      break;
    case CM_ENABLEDCHANGED:
      Invalidate();
      break;
    default:
      break;
  }
}

void TbsSkinCustomEdit::ApplySkinChange() {
  LoadSkinPart();
  if (PartIndex == -1) {
    GetFont()->Assign(FDefaultFont.get());
    if (FDefaultWidth > 0) SetWidth(FDefaultWidth);
    if (FDefaultHeight > 0) SetHeight(FDefaultHeight);
  }
  if (HandleAllocated()) RecreateWnd();
  if (!FUseSkinFont) AdjustHeight();
  if (HandleAllocated()) SendMessage(GetHandle(), WM_NCPAINT, 0, 0);
  Invalidate();
}
