#include "platform/classes/HintWindow.h"

#include <algorithm>

#include "platform/classes/Screen.h"
#include "platform/gdi/FrameControls.h"
#include "platform/gdi/Text.h"
#include "platform/gdi/TextLayout.h"
#include "platform/system/ScopeExit.h"
#include "platform/user/WindowPaint.h"
#include "platform/user/WindowPos.h"
#include "platform/user/Windows.h"

THintWindow::THintWindow(TComponent* AOwner) : TCustomControl(AOwner) {
  SetColor(clInfoBk);
  if (Screen != nullptr) GetCanvas()->SetFont(Screen->GetHintFont());
  GetCanvas()->GetBrush()->SetStyle(bsClear);
}

void THintWindow::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.Style = WS_POPUP | WS_BORDER;
  Params.WindowClass.style |= CS_SAVEBITS;
  Params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
}

void THintWindow::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_NCHITTEST:
      WMNCHitTest(Message);
      break;
    case WM_NCPAINT:
      WMNCPaint(Message);
      break;
    case WM_MOUSEACTIVATE:
      WMMouseActivate(Message);
      break;
    case CM_TEXTCHANGED:
      CMTextChanged(Message);
      break;
    default:
      TCustomControl::Dispatch(Message);
      break;
  }
}

void THintWindow::WMNCPaint(TMessage&) {
  HDC DC = GetWindowDC(GetHandle());
  RECT R = Rect(0, 0, GetWidth(), GetHeight());
  DrawEdge(DC, &R, BDR_RAISEDOUTER, BF_RECT);
  ReleaseDC(GetHandle(), DC);
}

void THintWindow::CMTextChanged(TMessage&) {
  // The size follows the text only while ActivateHint does not set it.
  if (FActivating) return;
  const TRect R = CalcHintRect(Screen != nullptr ? Screen->GetWidth() : 1024, GetText(), nullptr);
  SetWidth(R.Width());
  SetHeight(R.Height() + 4);
}

void THintWindow::Paint() {
  RECT R = GetClientRect();
  R.Left += 2;
  R.Top += 2;
  if (Screen != nullptr) GetCanvas()->GetFont()->SetColor(Screen->GetHintFont()->GetColor());
  const std::string Text = GetText();
  DrawText(GetCanvas()->GetHandle(), Text.c_str(), -1, &R, DT_LEFT | DT_NOPREFIX | DT_WORDBREAK);
}

TRect THintWindow::CalcHintRect(Integer MaxWidth, const std::string& AHint, void*) {
  RECT R = Rect(0, 0, MaxWidth, 0);
  DrawText(GetCanvas()->GetHandle(), AHint.c_str(), -1, &R,
           DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
  R.Right += 6;
  R.Bottom += 2;
  return R;
}

void THintWindow::ActivateHint(TRect Rect, const std::string& AHint) {
  FActivating = true;
  auto Cleanup = ScopeExit([&] { FActivating = false; });
  SetCaption(AHint);
  Rect.Bottom += 4;
  SetBounds(Rect.Left, Rect.Top, Rect.Width(), Rect.Height());
  const Integer ScreenW = Screen != nullptr ? Screen->GetDesktopWidth() : 1024;
  const Integer ScreenH = Screen != nullptr ? Screen->GetDesktopHeight() : 768;
  // Kept on the screen.
  if (Rect.Top + GetHeight() > ScreenH) Rect.Top = ScreenH - GetHeight();
  if (Rect.Left + GetWidth() > ScreenW) Rect.Left = ScreenW - GetWidth();
  Rect.Left = std::max(Rect.Left, 0);
  Rect.Top = std::max(Rect.Top, 0);
  SetWindowPos(GetHandle(), HWND_TOPMOST, Rect.Left, Rect.Top, GetWidth(), GetHeight(),
               SWP_SHOWWINDOW | SWP_NOACTIVATE);
  Invalidate();
}

void THintWindow::ActivateHintData(TRect Rect, const std::string& AHint, void*) {
  ActivateHint(Rect, AHint);
}

bool THintWindow::IsHintMsg(const MSG& Msg) {
  if (!HandleAllocated() || !IsWindowVisible(GetWindowHandle())) return false;
  const UINT M = Msg.message;
  return (M >= WM_KEYFIRST && M <= WM_KEYLAST) || M == CM_ACTIVATE || M == CM_DEACTIVATE ||
         M == CM_APPKEYDOWN || M == CM_APPSYSCOMMAND || M == WM_COMMAND ||
         (M > WM_MOUSEMOVE && M <= WM_MOUSELAST) || M == WM_NCMOUSEMOVE;
}
