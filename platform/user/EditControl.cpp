// The EDIT control's window procedure: creation, text, the EM_* messages and notifications.
#include "platform/user/EditControl.h"

#include <algorithm>

#include "platform/gdi/Painting.h"
#include "platform/system/Strings.h"
#include "platform/user/Caret.h"
#include "platform/user/Cursors.h"
#include "platform/user/Input.h"
#include "platform/user/Timers.h"
#include "platform/user/WindowMessages.h"
#include "platform/user/WindowPaint.h"
#include "platform/user/Windows.h"

namespace {

// UTF-8 bytes of a UTF-16 text, as WM_GETTEXTLENGTH counts them.
Integer Utf8Length(const std::u16string& S) {
  Integer N = 0;
  for (std::size_t I = 0; I < S.size(); ++I) {
    const char16_t C = S[I];
    if (C < 0x80)
      N += 1;
    else if (C < 0x800)
      N += 2;
    else if (C >= 0xD800 && C <= 0xDBFF && I + 1 < S.size() && S[I + 1] >= 0xDC00 && S[I + 1] <= 0xDFFF)
      N += 4, ++I;
    else
      N += 3;
  }
  return N;
}

void ApplyCase(const TEditData& D, std::u16string& S) {
  const DWORD Style = EditStyle(D);
  if (!(Style & (ES_UPPERCASE | ES_LOWERCASE)) || S.empty()) return;
  const std::string U = Utf16ToUtf8(S);
  S = Utf8ToUtf16((Style & ES_UPPERCASE) ? AnsiUpperCase(U) : AnsiLowerCase(U));
}

std::u16string FromUtf8(LPARAM L) {
  const char* S = reinterpret_cast<const char*>(L);
  return S != nullptr ? Utf8ToUtf16(S) : std::u16string();
}

// The margin EC_USEFONTINFO gives: a third of the average character width, rounded up.
Integer FontMargin(const TEditData& D) {
  return (D.Metrics.AveCharWidth + 2) / 3;
}

void SetStyleBits(HWND Wnd, DWORD Bits, bool On) {
  const DWORD Old = static_cast<DWORD>(GetWindowLongPtr(Wnd, GWL_STYLE));
  const DWORD New = On ? (Old | Bits) : (Old & ~Bits);
  if (New != Old) SetWindowLongPtr(Wnd, GWL_STYLE, static_cast<LONG_PTR>(New));
}

// Cuts Text to at most Room units without splitting a "\r\n" or a surrogate pair.
void CutToRoom(std::u16string& Text, std::size_t Room) {
  if (Text.size() <= Room) return;
  std::size_t N = Room;
  if (N > 0 && Text[N - 1] >= 0xD800 && Text[N - 1] <= 0xDBFF) --N;
  if (N > 0 && Text[N - 1] == u'\r' && Text[N] == u'\n') --N;
  Text.resize(N);
}

bool ViewOverflows(TEditData& D) {
  const DWORD Style = EditStyle(D);
  if (!(Style & ES_MULTILINE)) {
    if (Style & ES_AUTOHSCROLL) return false;
    return D.Text.Lines()[0].Width > D.Format.Width();
  }
  if (Style & ES_AUTOVSCROLL) return false;
  return D.Text.LineCount() > EditVisibleLines(D);
}

void SetText(TEditData& D, std::u16string Text) {
  ApplyCase(D, Text);
  D.Text.SetText(Text);
  D.Anchor = D.Caret = 0;
  D.XOffset = 0;
  D.TopLine = 0;
  D.Modified = false;
  EditLayout(D);
  EditUpdateCaret(D);
  EditTextChanged(D);
}

void Create(TEditData& D, const CREATESTRUCT* CS) {
  TWindow* W = PeekWindow(D.Wnd);
  if (W == nullptr) return;
  // A multi-line control shows no password characters.
  if (W->Style & ES_MULTILINE) W->Style &= ~ES_PASSWORD;
  if (W->Style & ES_PASSWORD) D.PasswordChar = u'*';
  D.Metrics = FontMetricsOf(D.Font);
  if (CS != nullptr && CS->lpszName != nullptr && !IS_INTRESOURCE(CS->lpszName)) {
    std::u16string T = Utf8ToUtf16(CS->lpszName);
    ApplyCase(D, T);
    D.Text.SetText(T);
  }
  EditLayout(D);
}

void SetFont(TEditData& D, HFONT Font, bool Redraw) {
  D.Font = Font;
  D.Metrics = FontMetricsOf(Font);
  D.LeftMargin = D.RightMargin = FontMargin(D);
  EditLayout(D);
  if (D.Focused) {
    DestroyCaret();
    CreateCaret(D.Wnd, nullptr, 1, EditLineHeight(D));
    EditUpdateCaret(D);
    ShowCaret(D.Wnd);
  }
  if (Redraw) EditInvalidate(D);
}

void FocusChanged(TEditData& D, bool Focused) {
  D.Focused = Focused;
  if (Focused) {
    CreateCaret(D.Wnd, nullptr, 1, EditLineHeight(D));
    EditUpdateCaret(D);
    ShowCaret(D.Wnd);
  } else {
    EditStopTracking(D);
    DestroyCaret();
  }
  if (D.Anchor != D.Caret && !(EditStyle(D) & ES_NOHIDESEL)) EditInvalidate(D);
  NotifyCommand(D.Wnd, Focused ? EN_SETFOCUS : EN_KILLFOCUS);
}

LRESULT DlgCode(const TEditData& D, LPARAM L) {
  LRESULT R = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
  const DWORD Style = EditStyle(D);
  if (Style & ES_MULTILINE) R |= DLGC_WANTALLKEYS;
  const MSG* M = reinterpret_cast<const MSG*>(L);
  if (M != nullptr && M->message == WM_KEYDOWN) {
    // Enter without ES_WANTRETURN and Escape belong to the dialog's buttons.
    if ((M->wParam == VK_RETURN && !(Style & ES_WANTRETURN)) || M->wParam == VK_ESCAPE)
      R &= ~DLGC_WANTALLKEYS;
    // An open combo list takes both.
    if ((M->wParam == VK_RETURN || M->wParam == VK_ESCAPE) && D.Combo != nullptr &&
        SendMessage(D.Combo, CB_GETDROPPEDSTATE, 0, 0))
      R |= DLGC_WANTMESSAGE;
  }
  return R;
}

LRESULT GetSel(const TEditData& D, WPARAM WParam, LPARAM LParam) {
  const Integer S = SelMin(D), E = SelMax(D);
  if (WParam != 0) *reinterpret_cast<DWORD*>(WParam) = static_cast<DWORD>(S);
  if (LParam != 0) *reinterpret_cast<DWORD*>(LParam) = static_cast<DWORD>(E);
  if (S > 0xFFFF || E > 0xFFFF) return -1;
  return static_cast<LRESULT>(MAKELONG(static_cast<WORD>(S), static_cast<WORD>(E)));
}

void SetSel(TEditData& D, Integer Start, Integer End) {
  const Integer N = D.Text.Length();
  if (Start == -1) {  // deselect, the caret stays
    EditSetSel(D, D.Caret, D.Caret);
    return;
  }
  Start = Start < 0 ? N : std::min(Start, N);
  End = End < 0 ? N : std::min(End, N);
  EditSetSel(D, Start, End);
}

Integer LineIndex(TEditData& D, Integer Line) {
  if (Line == -1) Line = D.Text.LineFromChar(D.Caret);
  if (Line < 0 || Line >= D.Text.LineCount()) return -1;
  return D.Text.Lines()[static_cast<std::size_t>(Line)].Start;
}

Integer LineLength(TEditData& D, Integer Pos) {
  const auto& Lines = D.Text.Lines();
  if (Pos == -1) {  // the unselected units of the lines the selection touches
    const TEditLine& A = Lines[static_cast<std::size_t>(D.Text.LineFromChar(SelMin(D)))];
    const TEditLine& B = Lines[static_cast<std::size_t>(D.Text.LineFromChar(SelMax(D)))];
    return (SelMin(D) - A.Start) + std::max(0, B.End() - SelMax(D));
  }
  if (Pos < 0 || Pos > D.Text.Length()) return 0;
  return Lines[static_cast<std::size_t>(D.Text.LineFromChar(Pos))].Length;
}

Integer LineFromChar(TEditData& D, Integer Pos) {
  if (Pos == -1) Pos = D.Anchor != D.Caret ? SelMin(D) : D.Caret;
  return D.Text.LineFromChar(std::clamp(Pos, 0, D.Text.Length()));
}

Integer GetLine(TEditData& D, Integer Line, char* Buffer) {
  if (Buffer == nullptr) return 0;
  const std::size_t Size = *reinterpret_cast<const WORD*>(Buffer);
  std::u16string_view Units;
  if (!IsMultiLine(D)) {
    Units = D.Text.Str();
  } else {
    if (Line < 0 || Line >= D.Text.LineCount()) return 0;
    const TEditLine& L = D.Text.Lines()[static_cast<std::size_t>(Line)];
    Units = D.Text.Range(L.Start, L.End());
  }
  const std::string S = Utf16ToUtf8(Units);
  // No terminating zero, as the platform's: the whole buffer may take text.
  std::size_t N = std::min(S.size(), Size);
  if (N < S.size())
    while (N > 0 && (static_cast<unsigned char>(S[N]) & 0xC0) == 0x80) --N;
  std::copy_n(S.data(), N, Buffer);
  return static_cast<Integer>(N);
}

void SetMargins(TEditData& D, WPARAM Which, LPARAM L) {
  const WORD Left = LOWORD(static_cast<std::uintptr_t>(L)), Right = HIWORD(static_cast<std::uintptr_t>(L));
  if (Which & EC_LEFTMARGIN) D.LeftMargin = Left == EC_USEFONTINFO ? FontMargin(D) : Left;
  if (Which & EC_RIGHTMARGIN) D.RightMargin = Right == EC_USEFONTINFO ? FontMargin(D) : Right;
  EditLayout(D);
  EditUpdateCaret(D);
  EditInvalidate(D);
}

void SetRect(TEditData& D, const RECT* R, bool Redraw) {
  if (!IsMultiLine(D)) return;
  D.GivenSet = R != nullptr;
  if (R != nullptr) D.Given = *R;
  EditLayout(D);
  EditUpdateCaret(D);
  if (Redraw) EditInvalidate(D);
}

void SetTabStops(TEditData& D, WPARAM Count, LPARAM L) {
  D.TabStops.clear();
  const Integer* Stops = reinterpret_cast<const Integer*>(L);
  if (Stops != nullptr)
    for (WPARAM I = 0; I < Count; ++I) D.TabStops.push_back(Stops[I]);
  EditLayout(D);
  EditUpdateCaret(D);
  EditInvalidate(D);
}

Integer FirstVisible(TEditData& D) {
  if (IsMultiLine(D)) return D.TopLine;
  return EditCharFromX(D, 0, D.XOffset);
}

LRESULT PosFromChar(TEditData& D, Integer Pos) {
  if (Pos < 0 || Pos >= D.Text.Length()) return -1;
  const TPoint P = EditPosFromChar(D, Pos);
  return static_cast<LRESULT>(MAKELONG(static_cast<WORD>(P.X), static_cast<WORD>(P.Y)));
}

LRESULT CharFromPos(TEditData& D, LPARAM L) {
  Integer Line = 0;
  const Integer Pos = EditCharFromPoint(D, {GET_X_LPARAM(L), GET_Y_LPARAM(L)}, &Line);
  return static_cast<LRESULT>(MAKELONG(static_cast<WORD>(Pos), static_cast<WORD>(IsMultiLine(D) ? Line : 0)));
}

LRESULT EditWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  TEditData* PD = EditDataOf(Wnd);
  if (PD == nullptr) return DefWindowProc(Wnd, Msg, WParam, LParam);
  TEditData& D = *PD;
  switch (Msg) {
    case WM_CREATE:
      Create(D, reinterpret_cast<const CREATESTRUCT*>(LParam));
      return 0;
    case WM_DESTROY:
      EditStopTracking(D);
      if (D.Focused) DestroyCaret();
      D.Focused = false;
      return 0;
    case WM_SETTEXT:
      SetText(D, FromUtf8(LParam));
      return TRUE;
    case WM_GETTEXT:
      return CopyTextOut(Utf16ToUtf8(D.Text.Str()), reinterpret_cast<char*>(LParam), WParam);
    case WM_GETTEXTLENGTH:
      return Utf8Length(D.Text.Str());
    case WM_SETFONT:
      SetFont(D, reinterpret_cast<HFONT>(WParam), LOWORD(static_cast<std::uintptr_t>(LParam)) != 0);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(D.Font);
    case WM_SIZE:
      D.GivenSet = false;  // a new size resets the formatting rectangle
      EditLayout(D);
      EditUpdateCaret(D);
      EditInvalidate(D);
      return 0;
    case WM_STYLECHANGED:
      EditLayout(D);
      EditUpdateCaret(D);
      EditInvalidate(D);
      return 0;
    case WM_ENABLE:
      EditInvalidate(D);
      return 0;
    case WM_SETFOCUS:
      FocusChanged(D, true);
      return 0;
    case WM_KILLFOCUS:
      FocusChanged(D, false);
      return 0;
    case WM_PAINT:
    case WM_PRINTCLIENT:
      return PaintControl(Wnd, Msg, WParam, EditPaint);
    case WM_ERASEBKGND: {
      HDC DC = reinterpret_cast<HDC>(WParam);
      const bool Static = (EditStyle(D) & ES_READONLY) || !IsWindowEnabled(Wnd);
      HBRUSH B = ControlColorBrush(Wnd, DC, Static ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT);
      const RECT R = ClientRectOf(Wnd);
      FillRect(DC, &R, B);
      return 1;
    }
    case WM_GETDLGCODE:
      return DlgCode(D, LParam);
    case WM_CHAR:
      return EditChar(D, WParam);
    case WM_KEYDOWN:
      if (EditKeyDown(D, WParam, LParam)) return 0;
      return DefWindowProc(Wnd, Msg, WParam, LParam);
    case WM_SYSKEYDOWN:
      if (WParam == VK_BACK && (HIWORD(static_cast<std::uintptr_t>(LParam)) & KF_ALTDOWN)) {
        EditUndo(D);  // Alt+Backspace
        return 0;
      }
      if (D.Combo != nullptr && (WParam == VK_UP || WParam == VK_DOWN))
        return SendMessage(D.Combo, Msg, WParam, LParam);
      return DefWindowProc(Wnd, Msg, WParam, LParam);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_MOUSEMOVE:
      return EditMouse(D, Msg, WParam, LParam);
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(LParam) != Wnd) EditStopTracking(D);
      return 0;
    case WM_TIMER:
      if (WParam == kEditTrackTimer) {
        EditTimer(D);
        return 0;
      }
      return DefWindowProc(Wnd, Msg, WParam, LParam);
    case WM_VSCROLL:
      if (IsMultiLine(D)) EditVScroll(D, LOWORD(WParam), HIWORD(WParam));
      return 0;
    case WM_HSCROLL:
      EditHScroll(D, LOWORD(WParam), HIWORD(WParam));
      return 0;
    case WM_MOUSEWHEEL:
      if (!IsMultiLine(D)) return DefWindowProc(Wnd, Msg, WParam, LParam);
      return EditWheel(D, WParam);
    case WM_COPY:
      EditCopy(D);
      return 0;
    case WM_CUT:
      EditCut(D);
      return 0;
    case WM_PASTE:
      EditPaste(D);
      return 0;
    case WM_CLEAR:
      EditClear(D);
      return 0;
    case WM_UNDO:
    case EM_UNDO:
      return EditUndo(D) ? TRUE : FALSE;
    case WM_CONTEXTMENU:
      EditContextMenu(D, LParam);
      return 0;

    case EM_GETSEL:
      return GetSel(D, WParam, LParam);
    case EM_SETSEL:
      SetSel(D, static_cast<Integer>(WParam), static_cast<Integer>(LParam));
      return 0;
    case EM_REPLACESEL:
      EditReplaceSel(D, FromUtf8(LParam), WParam != 0);
      return 0;
    case EM_GETRECT:
      if (LParam != 0) *reinterpret_cast<RECT*>(LParam) = D.Format;
      return 0;
    case EM_SETRECT:
    case EM_SETRECTNP:
      SetRect(D, reinterpret_cast<const RECT*>(LParam), Msg == EM_SETRECT);
      return 0;
    case EM_SETMARGINS:
      SetMargins(D, WParam, LParam);
      return 0;
    case EM_GETMARGINS:
      return static_cast<LRESULT>(
          MAKELONG(static_cast<WORD>(D.LeftMargin), static_cast<WORD>(D.RightMargin)));
    case EM_GETLINECOUNT:
      return IsMultiLine(D) ? D.Text.LineCount() : 1;
    case EM_LINEINDEX:
      return LineIndex(D, static_cast<Integer>(WParam));
    case EM_LINELENGTH:
      return LineLength(D, static_cast<Integer>(WParam));
    case EM_LINEFROMCHAR:
      return LineFromChar(D, static_cast<Integer>(WParam));
    case EM_GETLINE:
      return GetLine(D, static_cast<Integer>(WParam), reinterpret_cast<char*>(LParam));
    case EM_LIMITTEXT:
      D.Limit = WParam != 0 ? static_cast<UINT>(WParam) : (IsMultiLine(D) ? 0xFFFFFFFFu : 0x7FFFFFFEu);
      return 0;
    case EM_GETLIMITTEXT:
      return static_cast<LRESULT>(D.Limit);
    case EM_CANUNDO:
      return D.Text.CanUndo() ? TRUE : FALSE;
    case EM_EMPTYUNDOBUFFER:
      D.Text.EmptyUndo();
      return 0;
    case EM_GETMODIFY:
      return D.Modified ? TRUE : FALSE;
    case EM_SETMODIFY:
      D.Modified = WParam != 0;
      return 0;
    case EM_SETPASSWORDCHAR:
      if (IsMultiLine(D)) return 0;
      D.PasswordChar = static_cast<char16_t>(WParam);
      SetStyleBits(Wnd, ES_PASSWORD, WParam != 0);
      EditLayout(D);
      EditUpdateCaret(D);
      EditInvalidate(D);
      return 0;
    case EM_GETPASSWORDCHAR:
      return D.PasswordChar;
    case EM_SETREADONLY:
      SetStyleBits(Wnd, ES_READONLY, WParam != 0);
      EditInvalidate(D);
      return TRUE;
    case EM_SETTABSTOPS:
      if (!IsMultiLine(D)) return FALSE;
      SetTabStops(D, WParam, LParam);
      return TRUE;
    case EM_SCROLLCARET:
      EditScrollCaret(D);
      EditUpdateCaret(D);
      return TRUE;
    case EM_SCROLL: {
      if (!IsMultiLine(D) || WParam > SB_PAGEDOWN) return FALSE;
      const Integer Lines = EditVScroll(D, static_cast<WORD>(WParam), 0);
      return static_cast<LRESULT>(MAKELONG(static_cast<WORD>(Lines), TRUE));
    }
    case EM_LINESCROLL:
      if (!IsMultiLine(D)) return FALSE;
      EditScrollTo(
          D, D.TopLine + static_cast<Integer>(LParam),
          WordWraps(D) ? D.XOffset : D.XOffset + static_cast<Integer>(WParam) * D.Metrics.AveCharWidth);
      return TRUE;
    case EM_GETFIRSTVISIBLELINE:
      return FirstVisible(D);
    case EM_GETTHUMB:
      return IsMultiLine(D) ? D.TopLine : 0;
    case EM_POSFROMCHAR:
      return PosFromChar(D, static_cast<Integer>(WParam));
    case EM_CHARFROMPOS:
      return CharFromPos(D, LParam);
    case EM_FMTLINES:
      return static_cast<LRESULT>(WParam != 0);
    case EM_SETHANDLE:
    case EM_GETHANDLE:
    case EM_SETWORDBREAKPROC:
    case EM_GETWORDBREAKPROC:
      return 0;
    default:
      return DefWindowProc(Wnd, Msg, WParam, LParam);
  }
}

}  // namespace

TEditData* EditDataOf(HWND Wnd) {
  return BoundControlData<TEditData>(Wnd);
}

DWORD EditStyle(const TEditData& D) {
  return LiveWindowStyle(D.Wnd);
}

bool WordWraps(const TEditData& D) {
  const DWORD S = EditStyle(D);
  return (S & ES_MULTILINE) && !(S & ES_AUTOHSCROLL);
}

void EditBeep() {
  MessageBeep(0);
}

void EditTextChanged(TEditData& D) {
  if (D.Notify) NotifyCommand(D.Wnd, EN_UPDATE);
  EditInvalidate(D);
  if (D.Notify) NotifyCommand(D.Wnd, EN_CHANGE);
}

void EditSetSel(TEditData& D, Integer Anchor, Integer Caret) {
  const Integer N = D.Text.Length();
  Anchor = std::clamp(Anchor, 0, N);
  Caret = std::clamp(Caret, 0, N);
  if (Anchor == D.Anchor && Caret == D.Caret) return;
  const bool Shown = D.Anchor != D.Caret || Anchor != Caret;
  D.Anchor = Anchor;
  D.Caret = Caret;
  if (Shown) EditInvalidate(D);
  EditUpdateCaret(D);
}

bool EditReplaceSel(TEditData& D, std::u16string Text, bool Undoable) {
  ApplyCase(D, Text);
  const Integer S = SelMin(D), E = SelMax(D);
  const UInt64 Keep = static_cast<UInt64>(D.Text.Length() - (E - S));
  const UInt64 Room = D.Limit > Keep ? D.Limit - Keep : 0;
  bool MaxText = false;
  if (Text.size() > Room) {
    CutToRoom(Text, static_cast<std::size_t>(Room));
    MaxText = true;
  }
  if (Text.empty() && S == E) {
    if (MaxText) NotifyCommand(D.Wnd, EN_MAXTEXT);
    return false;
  }
  // A view that does not scroll takes only what it can show: keep what to go back to.
  const DWORD Style = EditStyle(D);
  const bool Fixed = (Style & ES_MULTILINE) ? !(Style & ES_AUTOVSCROLL) : !(Style & ES_AUTOHSCROLL);
  std::u16string OldText;
  TEditUndo OldUndo;
  if (Fixed) {
    OldText = D.Text.Str();
    OldUndo = D.Text.UndoRecord();
  }
  const Integer OldAnchor = D.Anchor, OldCaret = D.Caret;
  D.Text.Replace(S, E, Text, Undoable);
  if (!Undoable) D.Text.EmptyUndo();
  D.Anchor = D.Caret = S + static_cast<Integer>(Text.size());
  EditLayout(D);
  if (Fixed && ViewOverflows(D)) {
    D.Text.Restore(std::move(OldText), std::move(OldUndo));
    D.Anchor = OldAnchor;
    D.Caret = OldCaret;
    EditLayout(D);
    NotifyCommand(D.Wnd, EN_MAXTEXT);
    return false;
  }
  D.Modified = true;
  EditScrollCaret(D);
  EditUpdateCaret(D);
  if (MaxText) NotifyCommand(D.Wnd, EN_MAXTEXT);
  EditTextChanged(D);
  return true;
}

bool EditUndo(TEditData& D) {
  if ((EditStyle(D) & ES_READONLY) || !D.Text.CanUndo()) return false;
  const auto [Start, End] = D.Text.Undo();
  D.Anchor = Start;
  D.Caret = End;
  D.Modified = true;
  EditLayout(D);
  EditScrollCaret(D);
  EditUpdateCaret(D);
  EditTextChanged(D);
  return true;
}

void SetEditCombo(HWND Edit, HWND Combo) {
  if (TEditData* D = EditDataOf(Edit)) D->Combo = Combo;
}

void RegisterEditClass() {
  if (FindWindowClass("EDIT") != nullptr) return;
  WNDCLASSEX WC;
  WC.style = CS_DBLCLKS | CS_GLOBALCLASS;
  WC.lpfnWndProc = MakeWndProc(EditWndProc);
  WC.hCursor = LoadCursor(nullptr, IDC_IBEAM);
  WC.lpszClassName = "EDIT";
  RegisterClassEx(&WC);
}
