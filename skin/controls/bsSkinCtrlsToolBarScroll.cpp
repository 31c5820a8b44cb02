// TbsSkinToolBar's scrolling: two buttons in the non-client area that scroll the children when
// they are wider than the bar.
#include "platform/classes/Bitmap.h"
#include "platform/user/Input.h"
#include "platform/user/Timers.h"
#include "platform/user/User.h"
#include "platform/user/WindowPaint.h"
#include "platform/user/WindowPos.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/data/bsUtils.h"

namespace {

constexpr Integer ScrollButtonWidth = 12;
constexpr UINT_PTR ScrollTimer = 1;
constexpr UINT_PTR LeaveTimer = 2;

}  // namespace

void TbsSkinToolBar::AdjustClientRect(TRect& Rect) {
  TbsSkinPanel::AdjustClientRect(Rect);
  if (!FCanScroll || !ScrollButtonsShown()) return;
  const Integer CW = GetClientWidth(), CH = GetClientHeight();
  Rect = ::Rect(-ScrollPos, 0, -ScrollPos + IntMax(ContentRight, CW), CH);
  if (PartIndex == -1 || Designing()) {
    Rect.Top = 1, Rect.Bottom = CH - 1;
  } else if (!(GetBorderStyle() == TbsSkinBorderStyle::bvNone && SizingMode == 1)) {
    Rect.Top = NewClientRect.Top, Rect.Bottom = NewClientRect.Bottom;
  }
}

void TbsSkinToolBar::ShowScrollButtons(bool Value) {
  LeftScrollButton.Visible = RightScrollButton.Visible = Value;
  FLeaveTimerRunning = false;
  // The non-client area is measured again.
  if (HandleAllocated())
    SetWindowPos(GetHandle(), nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TbsSkinToolBar::UpdateScroll() {
  if (!FCanScroll || GetWidth() == 0) return;
  Integer A = 0;
  for (Integer I = 0; I < GetControlCount(); ++I) {
    TControl* C = GetControl(I);
    if (C->GetVisible()) A = IntMax(A, C->GetLeft() + C->GetWidth());
  }
  if (A == 0) {
    if (ScrollButtonsShown()) ShowScrollButtons(false);
    return;
  }
  const Integer CW = GetClientWidth(), Total = ScrollPos + A;
  if (Total > CW) {
    if (!ScrollButtonsShown()) ShowScrollButtons(true);
    const Integer NowCW = GetClientWidth();
    if (ScrollPos > 0 && A < NowCW && GrowBy > 0) {
      // The bar grew while scrolled: the children come back by what it gained.
      GrowBy = IntMin(GrowBy, ScrollPos);
      ScrollBy(GrowBy, 0);
      ScrollPos -= GrowBy;
    } else if (GrowBy == 0 && Total - 1 < ContentRight && ScrollPos > 0 && A < NowCW) {
      // Children went or shrank at the end.
      ScrollBy(NowCW - A, 0);
      ScrollPos -= NowCW - A;
    }
    ContentRight = ScrollPos + A - 1;
    VisibleWidth = NowCW;
    GrowBy = 0;
    AppliedPos = ScrollPos;
    return;
  }
  if (ScrollPos > 0) ScrollBy(ScrollPos, 0);
  ScrollPos = ContentRight = VisibleWidth = GrowBy = AppliedPos = 0;
  if (ScrollButtonsShown()) ShowScrollButtons(false);
}

void TbsSkinToolBar::ScrollPage(Integer Direction) {
  const Integer Step = FScrollOffset != 0 ? FScrollOffset : GetClientWidth();
  if (Direction == 1)
    ScrollPos = IntMax(ScrollPos - Step, 0);
  else if (Direction == 2)
    ScrollPos = IntMin(ScrollPos + Step, ContentRight - VisibleWidth + 1);
  if (ScrollPos == AppliedPos) {
    if (HandleAllocated()) KillTimer(GetHandle(), ScrollTimer);
    return;
  }
  ScrollBy(-(ScrollPos - AppliedPos), 0);
  AppliedPos = ScrollPos;
  Repaint();
}

void TbsSkinToolBar::PaintScrollButtons() {
  if (!HandleAllocated() || !FCanScroll || !ScrollButtonsShown()) return;
  // The button part is looked up afresh: a skin that is reloading has none.
  LoadSkinPart();
  const HDC DC = GetWindowDC(GetHandle());
  DrawScrollButton(DC, LeftScrollButton, true);
  DrawScrollButton(DC, RightScrollButton, false);
  ReleaseDC(GetHandle(), DC);
}

void TbsSkinToolBar::DrawScrollButton(HDC DC, const TbsToolBarScrollButton& Button, bool Left) {
  const Integer W = GetRectWidth(Button.Rect), H = GetRectHeight(Button.Rect);
  if (W <= 0 || H <= 0) return;
  TBitmap B;
  B.SetSize(W, H);
  TCanvas* C = B.GetCanvas();
  const bool Pressed = Button.Hot && (Button.Down || FHotScroll);
  TColor ArrowColor = clBtnText;
  TBitmap* Picture =
      ScrollButtonPart != nullptr ? SkinPictureAt(FSD, ScrollButtonPart->PictureIndex) : nullptr;
  if (Picture != nullptr) {
    TbsSkinPartGeometry G;
    G.CopyPartGeometry(FSD, ScrollButtonPart);
    const TbsDataSkinButtonControl& P = *ScrollButtonPart;
    TRect Src = P.SkinRect;
    ArrowColor = P.FontColor;
    if (!IsEmptyRect(P.DownSkinRect) && Pressed) {
      Src = P.DownSkinRect;
      ArrowColor = P.DownFontColor;
    } else if (Button.Hot && !IsEmptyRect(P.ActiveSkinRect)) {
      Src = P.ActiveSkinRect;
      ArrowColor = P.ActiveFontColor;
    }
    BuildMenuPiece(&B, G, Picture, Src, W, H, true);
  } else {
    DrawPlainFace(C, Rect(0, 0, W, H),
                  Pressed      ? TbsPlainFace::Down
                  : Button.Hot ? TbsPlainFace::Hot
                               : TbsPlainFace::Plain,
                  bsHotFrameColor);
  }
  DrawSmallArrowGlyph(C, Rect(0, 0, W, H), ArrowColor, Left ? 1 : 2);
  TCanvas Target;
  Target.SetHandle(DC);
  Target.Draw(Button.Rect.Left, Button.Rect.Top, &B);
  Target.SetHandle(nullptr);
}

void TbsSkinToolBar::ClearHotScroll(bool CheckCursor) {
  if (CheckCursor) {
    POINT P{};
    GetCursorPos(&P);
    if (WindowFromPoint(P) == GetHandle()) return;
    KillTimer(GetHandle(), LeaveTimer);
    FLeaveTimerRunning = false;
  }
  bool Changed = false;
  for (TbsToolBarScrollButton* B : {&LeftScrollButton, &RightScrollButton})
    if (B->Hot && B->Visible) {
      B->Hot = false;
      Changed = true;
      break;
    }
  if (!Changed) return;
  KillTimer(GetHandle(), ScrollTimer);
  PaintScrollButtons();
}

void TbsSkinToolBar::PressScrollButton(LRESULT Hit, bool Down) {
  TbsToolBarScrollButton& B = Hit == HTSCROLLLEFT_SKIN ? LeftScrollButton : RightScrollButton;
  const Integer Direction = Hit == HTSCROLLLEFT_SKIN ? 1 : 2;
  B.Down = Down;
  PaintScrollButtons();
  if (Down) {
    ScrollDirection = Direction;
    SetTimer(GetHandle(), ScrollTimer, static_cast<UINT>(FScrollTimerInterval), nullptr);
    return;
  }
  KillTimer(GetHandle(), ScrollTimer);
  ScrollDirection = 0;
  // A press shorter than one interval scrolls one page, here.
  ScrollPage(Direction);
}

bool TbsSkinToolBar::DispatchScroll(TMessage& Message) {
  if (!FCanScroll) return false;
  switch (Message.Msg) {
    case WM_NCCALCSIZE: {
      LoadSkinPart();
      TbsSkinPanel::Dispatch(Message);
      if (!ScrollButtonsShown()) return true;
      RECT* R = Message.WParam != 0 ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(Message.LParam)->rgrc[0]
                                    : reinterpret_cast<RECT*>(Message.LParam);
      R->Left += ScrollButtonWidth;
      R->Right -= ScrollButtonWidth;
      return true;
    }
    case WM_SIZE:
      TbsSkinPanel::Dispatch(Message);
      if (ScrollButtonsShown()) {
        LeftScrollButton.Rect = Rect(0, 0, ScrollButtonWidth, GetHeight());
        RightScrollButton.Rect = Rect(GetWidth() - ScrollButtonWidth, 0, GetWidth(), GetHeight());
        PaintScrollButtons();
      }
      return true;
    case WM_NCPAINT:
      PaintScrollButtons();
      return true;
    case WM_NCHITTEST: {
      if (Designing()) return false;
      if (!FLeaveTimerRunning) {
        FLeaveTimerRunning = true;
        if (ScrollButtonsShown()) SetTimer(GetHandle(), LeaveTimer, 100, nullptr);
      }
      RECT W{};
      GetWindowRect(GetHandle(), &W);
      const Integer X = GET_X_LPARAM(Message.LParam) - W.Left;
      if (LeftScrollButton.Visible && X < ScrollButtonWidth) {
        Message.Result = HTSCROLLLEFT_SKIN;
      } else if (RightScrollButton.Visible && X >= ScrollButtonWidth + GetClientWidth()) {
        Message.Result = HTSCROLLRIGHT_SKIN;
      } else {
        TbsSkinPanel::Dispatch(Message);
      }
      return true;
    }
    case WM_SETCURSOR: {
      const LRESULT Hit = LOWORD(Message.LParam);
      if (Hit == HTSCROLLLEFT_SKIN || Hit == HTSCROLLRIGHT_SKIN)
        Message.LParam = MAKELPARAM(HTCLIENT, HIWORD(Message.LParam));
      TbsSkinPanel::Dispatch(Message);
      return true;
    }
    case WM_NCMOUSEMOVE: {
      const LRESULT Hit = static_cast<LRESULT>(Message.WParam);
      if (Hit != HTSCROLLLEFT_SKIN && Hit != HTSCROLLRIGHT_SKIN) return false;
      TbsToolBarScrollButton& B = Hit == HTSCROLLLEFT_SKIN ? LeftScrollButton : RightScrollButton;
      TbsToolBarScrollButton& Other = Hit == HTSCROLLLEFT_SKIN ? RightScrollButton : LeftScrollButton;
      if (B.Hot) return true;
      B.Hot = true;
      Other.Hot = false;
      PaintScrollButtons();
      if (FHotScroll) {
        ScrollDirection = Hit == HTSCROLLLEFT_SKIN ? 1 : 2;
        SetTimer(GetHandle(), ScrollTimer, static_cast<UINT>(FScrollTimerInterval), nullptr);
      }
      return true;
    }
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
    case WM_NCLBUTTONUP: {
      const LRESULT Hit = static_cast<LRESULT>(Message.WParam);
      if (Hit != HTSCROLLLEFT_SKIN && Hit != HTSCROLLRIGHT_SKIN) return false;
      PressScrollButton(Hit, Message.Msg != WM_NCLBUTTONUP);
      return true;
    }
    case WM_TIMER:
      TbsSkinPanel::Dispatch(Message);
      if (Message.WParam == ScrollTimer)
        ScrollPage(ScrollDirection);
      else if (Message.WParam == LeaveTimer)
        ClearHotScroll(true);
      return true;
    case WM_MOUSEMOVE:
      TbsSkinPanel::Dispatch(Message);
      ClearHotScroll(false);
      return true;
    case WM_DESTROY:
      KillTimer(GetHandle(), ScrollTimer);
      KillTimer(GetHandle(), LeaveTimer);
      TbsSkinPanel::Dispatch(Message);
      return true;
    case WM_WINDOWPOSCHANGED:
      TbsSkinPanel::Dispatch(Message);
      if (GetAlign() == alNone) UpdateScroll();
      return true;
    default:
      return false;
  }
}
