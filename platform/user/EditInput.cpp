// The EDIT control's input: keys and characters, the mouse, the clipboard and the context menu.
#include <algorithm>
#include <cstring>

#include "platform/system/Strings.h"
#include "platform/user/Clipboard.h"
#include "platform/user/EditControl.h"
#include "platform/user/Input.h"
#include "platform/user/Menus.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/Timers.h"
#include "platform/user/WindowMessages.h"
#include "platform/user/WindowPos.h"
#include "platform/user/Windows.h"

namespace {

bool ReadOnly(const TEditData& D) {
  return (EditStyle(D) & ES_READONLY) != 0;
}

// Moves the caret to Pos, extending the selection with Shift, and shows it.
void MoveCaret(TEditData& D, Integer Pos, bool Extend) {
  EditSetSel(D, Extend ? D.Anchor : Pos, Pos);
  EditScrollCaret(D);
  EditUpdateCaret(D);
}

// The position Delta lines up or down at the caret's x.
Integer LineMove(TEditData& D, Integer Delta) {
  const Integer X = EditPosFromChar(D, D.Caret).X;
  return EditCharOnLine(D, D.Text.LineFromChar(D.Caret) + Delta, X);
}

// Deletes the selection, or the unit (a "\r\n" as one) before or after the caret.
void DeleteStep(TEditData& D, bool Forward) {
  if (D.Anchor == D.Caret) {
    const Integer Other = Forward ? D.Text.StepRight(D.Caret) : D.Text.StepLeft(D.Caret);
    if (Other == D.Caret) return;
    EditSetSel(D, D.Caret, Other);
  }
  EditReplaceSel(D, std::u16string(), true);
}

bool IsListKey(WPARAM Key) {
  return Key == VK_F4 || Key == VK_UP || Key == VK_DOWN || Key == VK_PRIOR || Key == VK_NEXT;
}

bool ComboDropped(const TEditData& D) {
  return D.Combo != nullptr && SendMessage(D.Combo, CB_GETDROPPEDSTATE, 0, 0) != 0;
}

// Selects up to the mouse point, held inside the view (the timer scrolls beyond it).
void TrackTo(TEditData& D) {
  TPoint P = D.TrackPoint;
  const TRect& F = D.Format;
  P.X = std::clamp(P.X, F.Left, std::max(F.Left, F.Right - 1));
  const Integer Bottom = F.Top + EditVisibleLines(D) * EditLineHeight(D);
  P.Y = std::clamp(P.Y, F.Top, std::max(F.Top, Bottom - 1));
  const Integer Pos = EditCharFromPoint(D, P);
  EditSetSel(D, D.Anchor, Pos);
}

std::u16string ClipboardText(HWND Wnd) {
  std::u16string Text;
  if (!OpenClipboard(Wnd)) return Text;
  if (HANDLE H = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* P = static_cast<const char16_t*>(GlobalLock(H))) {
      const std::size_t Max = GlobalSize(H) / sizeof(char16_t);
      std::size_t N = 0;
      while (N < Max && P[N] != 0) ++N;
      Text.assign(P, N);
      GlobalUnlock(H);
    }
  } else if (HANDLE H8 = GetClipboardData(CF_TEXT)) {
    if (const auto* P = static_cast<const char*>(GlobalLock(H8))) {
      Text = Utf8ToUtf16(std::string(P, strnlen(P, GlobalSize(H8))));
      GlobalUnlock(H8);
    }
  }
  CloseClipboard();
  return Text;
}

bool SetClipboardText(HWND Wnd, std::u16string_view Text) {
  if (!OpenClipboard(Wnd)) return false;
  EmptyClipboard();
  HGLOBAL H = GlobalAlloc(GMEM_MOVEABLE, (Text.size() + 1) * sizeof(char16_t));
  bool Done = false;
  if (H != nullptr) {
    if (auto* P = static_cast<char16_t*>(GlobalLock(H))) {
      std::copy(Text.begin(), Text.end(), P);
      P[Text.size()] = 0;
      GlobalUnlock(H);
      Done = SetClipboardData(CF_UNICODETEXT, H) != nullptr;
    }
    if (!Done) GlobalFree(H);
  }
  CloseClipboard();
  return Done;
}

}  // namespace

bool EditKeyDown(TEditData& D, WPARAM Key, LPARAM Flags) {
  if (D.Combo != nullptr && (IsListKey(Key) || ((Key == VK_RETURN || Key == VK_ESCAPE) && ComboDropped(D)))) {
    SendMessage(D.Combo, WM_KEYDOWN, Key, Flags);
    return true;
  }
  const bool Shift = KeyIsDown(VK_SHIFT), Ctrl = KeyIsDown(VK_CONTROL);
  const bool Multi = IsMultiLine(D);
  switch (Key) {
    case VK_LEFT:
      MoveCaret(D, Ctrl ? D.Text.WordLeft(D.Caret) : D.Text.StepLeft(D.Caret), Shift);
      break;
    case VK_RIGHT:
      MoveCaret(D, Ctrl ? D.Text.WordRight(D.Caret) : D.Text.StepRight(D.Caret), Shift);
      break;
    case VK_UP:
    case VK_DOWN:
      if (!Multi)
        MoveCaret(D, Key == VK_UP ? D.Text.StepLeft(D.Caret) : D.Text.StepRight(D.Caret), Shift);
      else
        MoveCaret(D, LineMove(D, Key == VK_UP ? -1 : 1), Shift);
      break;
    case VK_PRIOR:
    case VK_NEXT: {
      if (!Multi) break;
      const Integer Page = EditVisibleLines(D) * (Key == VK_PRIOR ? -1 : 1);
      const Integer Pos = LineMove(D, Page);
      EditScrollTo(D, D.TopLine + Page, D.XOffset);
      MoveCaret(D, Pos, Shift);
      break;
    }
    case VK_HOME:
      if (Ctrl || !Multi)
        MoveCaret(D, 0, Shift);
      else
        MoveCaret(D, D.Text.Lines()[static_cast<std::size_t>(D.Text.LineFromChar(D.Caret))].Start, Shift);
      break;
    case VK_END:
      if (Ctrl || !Multi)
        MoveCaret(D, D.Text.Length(), Shift);
      else
        MoveCaret(D, EditLineEndPos(D, D.Text.LineFromChar(D.Caret)), Shift);
      break;
    case VK_DELETE:
      if (ReadOnly(D)) break;
      if (Shift)
        EditCut(D);
      else
        DeleteStep(D, true);
      break;
    case VK_INSERT:
      if (Ctrl)
        EditCopy(D);
      else if (Shift)
        EditPaste(D);
      break;
    default:
      return false;
  }
  return true;
}

LRESULT EditChar(TEditData& D, WPARAM WParam) {
  const char16_t Ch = static_cast<char16_t>(WParam);
  const bool Multi = IsMultiLine(D);
  const char16_t High = D.HighSurrogate;
  D.HighSurrogate = 0;
  switch (Ch) {
    case 0x08:  // Backspace
      if (ReadOnly(D))
        EditBeep();
      else
        DeleteStep(D, false);
      return 0;
    case 0x03:  // Ctrl+C
      EditCopy(D);
      return 0;
    case 0x16:  // Ctrl+V
      EditPaste(D);
      return 0;
    case 0x18:  // Ctrl+X
      EditCut(D);
      return 0;
    case 0x1A:  // Ctrl+Z
      EditUndo(D);
      return 0;
    case u'\r':
    case u'\n':
      if (D.Combo != nullptr) return 0;
      if (!Multi || ReadOnly(D))
        EditBeep();
      else
        EditReplaceSel(D, u"\r\n", true);
      return 0;
    case u'\t':
      if (D.Combo != nullptr) return 0;
      if (!Multi || ReadOnly(D))
        EditBeep();
      else
        EditReplaceSel(D, u"\t", true);
      return 0;
    case 0x1B:  // Escape
      if (!Multi && D.Combo == nullptr) EditBeep();
      return 0;
    default:
      break;
  }
  if (Ch < 0x20 || Ch == 0x7F) return 0;  // other control characters (Ctrl+A...) do nothing
  std::u16string Text(1, Ch);
  if (Ch >= 0xD800 && Ch <= 0xDBFF) {  // the first half of a pair: wait for the second
    D.HighSurrogate = Ch;
    return 0;
  }
  if (Ch >= 0xDC00 && Ch <= 0xDFFF) {
    if (High == 0) return 0;
    Text.insert(Text.begin(), High);
  }
  if (ReadOnly(D) || ((EditStyle(D) & ES_NUMBER) && (Ch < u'0' || Ch > u'9'))) {
    EditBeep();
    return 0;
  }
  EditReplaceSel(D, std::move(Text), true);
  return 0;
}

LRESULT EditMouse(TEditData& D, UINT Msg, WPARAM Keys, LPARAM Pos) {
  const TPoint P = MousePoint(Pos);
  const HWND Wnd = D.Wnd;
  switch (Msg) {
    case WM_LBUTTONDOWN: {
      if (!D.Focused) {
        SetFocus(Wnd);
        if (EditDataOf(Wnd) != &D) return 0;
      }
      const Integer At = EditCharFromPoint(D, P);
      MoveCaret(D, At, (Keys & MK_SHIFT) != 0);
      D.Tracking = true;
      D.TrackPoint = P;
      SetCapture(Wnd);
      SetTimer(Wnd, kEditTrackTimer, 100, nullptr);
      return 0;
    }
    case WM_MOUSEMOVE:
      if (D.Tracking) {
        D.TrackPoint = P;
        TrackTo(D);
      }
      return 0;
    case WM_LBUTTONUP:
      EditStopTracking(D);
      return 0;
    case WM_LBUTTONDBLCLK: {
      if (!D.Focused) {
        SetFocus(Wnd);
        if (EditDataOf(Wnd) != &D) return 0;
      }
      const auto [Start, End] = D.Text.WordAt(EditCharFromPoint(D, P));
      EditSetSel(D, Start, End);
      EditScrollCaret(D);
      EditUpdateCaret(D);
      return 0;
    }
    default:
      return 0;
  }
}

void EditTimer(TEditData& D) {
  if (!D.Tracking) {
    KillTimer(D.Wnd, kEditTrackTimer);
    return;
  }
  const TPoint P = D.TrackPoint;
  const TRect& F = D.Format;
  Integer Top = D.TopLine, X = D.XOffset;
  if (IsMultiLine(D)) {
    if (P.Y < F.Top)
      --Top;
    else if (P.Y >= F.Top + EditVisibleLines(D) * EditLineHeight(D))
      ++Top;
  }
  const Integer Step = std::max(1, D.Metrics.AveCharWidth);
  if (P.X < F.Left)
    X -= Step;
  else if (P.X >= F.Right)
    X = std::min(X + Step, std::max(X, D.Text.MaxWidth() - F.Width() + 1));
  EditScrollTo(D, Top, X);
  TrackTo(D);
}

void EditStopTracking(TEditData& D) {
  if (!D.Tracking) return;
  D.Tracking = false;
  KillTimer(D.Wnd, kEditTrackTimer);
  if (GetCapture() == D.Wnd) ReleaseCapture();
}

LRESULT EditWheel(TEditData& D, WPARAM WParam) {
  const Integer Step = WheelLinesPerNotch(EditVisibleLines(D));
  const Integer Notches = TakeWheelNotches(D.WheelRest, WParam);
  if (Notches != 0 && Step > 0) {
    NotifyCommand(D.Wnd, EN_VSCROLL);
    EditScrollTo(D, D.TopLine - Notches * Step, D.XOffset);
  }
  return 0;
}

void EditCopy(TEditData& D) {
  if (D.PasswordChar != 0 || D.Anchor == D.Caret) return;
  SetClipboardText(D.Wnd, D.Text.Range(SelMin(D), SelMax(D)));
}

void EditCut(TEditData& D) {
  if (ReadOnly(D) || D.PasswordChar != 0 || D.Anchor == D.Caret) return;
  if (SetClipboardText(D.Wnd, D.Text.Range(SelMin(D), SelMax(D)))) EditReplaceSel(D, std::u16string(), true);
}

void EditPaste(TEditData& D) {
  if (ReadOnly(D)) return;
  std::u16string Text = ClipboardText(D.Wnd);
  // A single-line control takes the first line only.
  if (!IsMultiLine(D)) {
    const std::size_t Cut = Text.find_first_of(u"\r\n");
    if (Cut != std::u16string::npos) Text.resize(Cut);
  }
  if (Text.empty()) return;
  EditReplaceSel(D, std::move(Text), true);
}

void EditClear(TEditData& D) {
  if (ReadOnly(D) || D.Anchor == D.Caret) return;
  EditReplaceSel(D, std::u16string(), true);
}

void EditContextMenu(TEditData& D, LPARAM ScreenPos) {
  const HWND Wnd = D.Wnd;
  Integer X = GET_X_LPARAM(ScreenPos), Y = GET_Y_LPARAM(ScreenPos);
  if (X == -1 && Y == -1) {  // from the keyboard: the control's centre
    RECT R;
    GetWindowRect(Wnd, &R);
    X = R.Left + R.Width() / 2;
    Y = R.Top + R.Height() / 2;
  }
  if (GetFocus() != Wnd) {
    SetFocus(Wnd);
    if (EditDataOf(Wnd) != &D) return;
  }
  const bool RO = ReadOnly(D), Sel = D.Anchor != D.Caret, Password = D.PasswordChar != 0;
  const bool All = SelMin(D) == 0 && SelMax(D) == D.Text.Length();
  const bool CanPaste = IsClipboardFormatAvailable(CF_UNICODETEXT) || IsClipboardFormatAvailable(CF_TEXT);
  auto State = [](bool On) { return MF_STRING | (On ? MF_ENABLED : MF_GRAYED); };
  HMENU M = CreatePopupMenu();
  AppendMenu(M, State(D.Text.CanUndo() && !RO), WM_UNDO, "&Undo");
  AppendMenu(M, MF_SEPARATOR, 0, nullptr);
  AppendMenu(M, State(Sel && !RO && !Password), WM_CUT, "Cu&t");
  AppendMenu(M, State(Sel && !Password), WM_COPY, "&Copy");
  AppendMenu(M, State(CanPaste && !RO), WM_PASTE, "&Paste");
  AppendMenu(M, State(Sel && !RO), WM_CLEAR, "&Delete");
  AppendMenu(M, MF_SEPARATOR, 0, nullptr);
  AppendMenu(M, State(!All), EM_SETSEL, "Select &All");
  const UINT Cmd = static_cast<UINT>(
      TrackPopupMenu(M, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, X, Y,
                     0, Wnd, nullptr));
  DestroyMenu(M);
  if (!IsWindow(Wnd)) return;
  if (Cmd == EM_SETSEL)
    SendMessage(Wnd, EM_SETSEL, 0, -1);
  else if (Cmd == WM_UNDO || Cmd == WM_CUT || Cmd == WM_COPY || Cmd == WM_PASTE || Cmd == WM_CLEAR)
    SendMessage(Wnd, Cmd, 0, 0);
}
