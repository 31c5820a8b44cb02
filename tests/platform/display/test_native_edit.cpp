// The built-in EDIT control: typing, selecting, the clipboard and undo, notifications, limits,
// the line queries of a multi-line edit, scrolling, the context menu and the classic look.
#include <cstring>

#include "TextControlTest.h"
#include "platform/user/Clipboard.h"
#include "platform/user/Menus.h"
#include "platform/user/ScrollBars.h"

namespace textctl {
namespace {

class TEditTest : public TTextControlTest {
 protected:
  HWND Edit(DWORD Style, const char* Text = "", Integer W = 200, Integer H = 24) {
    HWND E = Control("EDIT", Style, 10, 10, W, H, 101, Text);
    EXPECT_NE(E, nullptr) << GetLastError();
    SetFocus(E);
    RunUntilIdle();
    TakeCodes(E);
    return E;
  }
  static std::pair<DWORD, DWORD> Sel(HWND E) {
    DWORD S = 0, End = 0;
    SendMessage(E, EM_GETSEL, reinterpret_cast<WPARAM>(&S), reinterpret_cast<LPARAM>(&End));
    return {S, End};
  }
  static TPoint PosOf(HWND E, Integer Index) {
    const LRESULT R = SendMessage(E, EM_POSFROMCHAR, static_cast<WPARAM>(Index), 0);
    return {static_cast<SHORT>(LOWORD(static_cast<std::uintptr_t>(R))),
            static_cast<SHORT>(HIWORD(static_cast<std::uintptr_t>(R)))};
  }
  static std::string ClipboardString() {
    std::string S;
    if (!OpenClipboard(nullptr)) return S;
    if (HANDLE H = GetClipboardData(CF_TEXT)) {
      S = static_cast<const char*>(GlobalLock(H));
      GlobalUnlock(H);
    }
    CloseClipboard();
    return S;
  }
  static void SetClipboardString(const std::string& S) {
    OpenClipboard(nullptr);
    EmptyClipboard();
    if (S.empty()) {  // nothing at all, not an empty text
      CloseClipboard();
      return;
    }
    HGLOBAL H = GlobalAlloc(GMEM_MOVEABLE, S.size() + 1);
    std::memcpy(GlobalLock(H), S.c_str(), S.size() + 1);
    GlobalUnlock(H);
    SetClipboardData(CF_TEXT, H);
    CloseClipboard();
  }
};

TEST_F(TEditTest, TypingAndEditingKeys) {
  HWND E = Edit(ES_AUTOHSCROLL);
  Type("hello world");
  EXPECT_EQ(Text(E), "hello world");
  EXPECT_EQ(Sel(E), (std::pair<DWORD, DWORD>{11, 11}));
  Keys(VK_BACK);
  Keys(VK_HOME);
  Keys(VK_DELETE);
  EXPECT_EQ(Text(E), "ello worl");
  Keys(VK_RIGHT, kmControl);  // to the next word
  EXPECT_EQ(Sel(E), (std::pair<DWORD, DWORD>{5, 5}));
  Type("big ");
  EXPECT_EQ(Text(E), "ello big worl");
  EXPECT_EQ(SendMessage(E, EM_GETMODIFY, 0, 0), TRUE);
  // Typing replaces the selection.
  SendMessage(E, EM_SETSEL, 0, 4);
  Type("J");
  EXPECT_EQ(Text(E), "J big worl");
  EXPECT_EQ(SendMessage(E, WM_GETTEXTLENGTH, 0, 0), 10);
}

TEST_F(TEditTest, SelectionByKeysAndMouse) {
  HWND E = Edit(ES_AUTOHSCROLL, "hello big world");
  Keys(VK_HOME);
  Keys(VK_RIGHT, kmShift);
  Keys(VK_RIGHT, kmShift);
  EXPECT_EQ(Sel(E), (std::pair<DWORD, DWORD>{0, 2}));
  Keys(VK_RIGHT, kmShift | kmControl);
  EXPECT_EQ(Sel(E), (std::pair<DWORD, DWORD>{0, 6}));
  Keys(VK_END, kmShift);
  EXPECT_EQ(Sel(E), (std::pair<DWORD, DWORD>{0, 15}));
  // The caret is where the selection ended: Shift+Left shrinks it from there.
  Keys(VK_LEFT, kmShift);
  EXPECT_EQ(Sel(E), (std::pair<DWORD, DWORD>{0, 14}));
  // EM_SETSEL: the caret at the end position, -1 start deselects, (0, -1) selects all.
  SendMessage(E, EM_SETSEL, 9, 3);
  EXPECT_EQ(Sel(E), (std::pair<DWORD, DWORD>{3, 9}));
  Keys(VK_LEFT, kmShift);
  EXPECT_EQ(Sel(E), (std::pair<DWORD, DWORD>{2, 9}));
  SendMessage(E, EM_SETSEL, 0, -1);
  EXPECT_EQ(Sel(E), (std::pair<DWORD, DWORD>{0, 15}));
  SendMessage(E, EM_SETSEL, static_cast<WPARAM>(-1), 0);
  EXPECT_EQ(Sel(E), (std::pair<DWORD, DWORD>{15, 15}));
  EXPECT_EQ(SendMessage(E, EM_GETSEL, 0, 0), MAKELONG(15, 15));

  // A drag from the middle of character 2 to the middle of character 7.
  const TPoint A = PosOf(E, 2), B = PosOf(E, 7);
  const TPoint From = ScreenOf(E, A.X, A.Y + 3), To = ScreenOf(E, B.X, B.Y + 3);
  Display->Drag(From, To);
  RunUntilIdle();
  EXPECT_EQ(Sel(E), (std::pair<DWORD, DWORD>{2, 7}));
  EXPECT_EQ(GetCapture(), nullptr);
  Clock.Advance(1000);
  // Shift+click extends from the anchor; a double click takes the word and its blank.
  const TPoint C = PosOf(E, 12);
  const TPoint CS = ScreenOf(E, C.X, C.Y + 3);
  Display->MoveTo(CS.X, CS.Y);
  Display->KeyDown(VK_SHIFT);
  Display->Click(CS.X, CS.Y);
  Display->KeyUp(VK_SHIFT);
  RunUntilIdle();
  EXPECT_EQ(Sel(E), (std::pair<DWORD, DWORD>{2, 12}));
  Clock.Advance(1000);
  const TPoint W = PosOf(E, 7);
  const TPoint WS = ScreenOf(E, W.X + 2, W.Y + 3);
  Display->DoubleClick(WS.X, WS.Y);
  RunUntilIdle();
  EXPECT_EQ(Sel(E), (std::pair<DWORD, DWORD>{6, 10}));
}

TEST_F(TEditTest, ClipboardAndUndo) {
  HWND E = Edit(ES_AUTOHSCROLL, "hello world");
  SendMessage(E, EM_SETSEL, 6, 11);
  Keys('C', kmControl);
  EXPECT_EQ(ClipboardString(), "world");
  Keys('X', kmControl);
  EXPECT_EQ(Text(E), "hello ");
  EXPECT_EQ(ClipboardString(), "world");
  Keys(VK_HOME);
  Keys('V', kmControl);
  EXPECT_EQ(Text(E), "worldhello ");
  // One undo takes the paste back; a second one redoes it, selecting what came back.
  Keys('Z', kmControl);
  EXPECT_EQ(Text(E), "hello ");
  Keys('Z', kmControl);
  EXPECT_EQ(Text(E), "worldhello ");
  EXPECT_EQ(Sel(E), (std::pair<DWORD, DWORD>{0, 5}));
  // Typed characters in a row are one undo step; Backspaces in a row too.
  SendMessage(E, EM_SETSEL, 11, 11);
  Type("abc");
  Keys(VK_BACK);
  Keys(VK_BACK);
  EXPECT_EQ(Text(E), "worldhello a");
  Keys('Z', kmControl);
  EXPECT_EQ(Text(E), "worldhello abc");
  // The key forms: Shift+Del cuts, Ctrl+Ins copies, Shift+Ins pastes.
  SendMessage(E, EM_SETSEL, 0, 5);
  Keys(VK_DELETE, kmShift);
  EXPECT_EQ(Text(E), "hello abc");
  EXPECT_EQ(ClipboardString(), "world");
  SendMessage(E, EM_SETSEL, 0, 5);
  Keys(VK_INSERT, kmControl);
  EXPECT_EQ(ClipboardString(), "hello");
  SendMessage(E, EM_SETSEL, 9, 9);
  Keys(VK_INSERT, kmShift);
  EXPECT_EQ(Text(E), "hello abchello");
  // A single-line edit pastes the first line only; WM_CLEAR deletes the selection.
  SetClipboardString("one\r\ntwo");
  SendMessage(E, WM_PASTE, 0, 0);
  EXPECT_EQ(Text(E), "hello abchelloone");
  SendMessage(E, EM_SETSEL, 0, 6);
  SendMessage(E, WM_CLEAR, 0, 0);
  EXPECT_EQ(Text(E), "abchelloone");
  EXPECT_EQ(SendMessage(E, EM_CANUNDO, 0, 0), TRUE);
  SendMessage(E, EM_EMPTYUNDOBUFFER, 0, 0);
  EXPECT_EQ(SendMessage(E, EM_CANUNDO, 0, 0), FALSE);
  EXPECT_EQ(SendMessage(E, EM_UNDO, 0, 0), FALSE);
  // WM_SETTEXT empties the undo buffer and the modified flag.
  SendMessage(E, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("x"));
  EXPECT_EQ(SendMessage(E, EM_CANUNDO, 0, 0), TRUE);
  SetWindowText(E, "new");
  EXPECT_EQ(SendMessage(E, EM_CANUNDO, 0, 0), FALSE);
  EXPECT_EQ(SendMessage(E, EM_GETMODIFY, 0, 0), FALSE);
}

// Every change of the text, and only a change, tells the parent: EN_UPDATE, then EN_CHANGE.
TEST_F(TEditTest, ChangeNotifications) {
  HWND E = Edit(ES_AUTOHSCROLL, "abc");
  const std::vector<WORD> Change{EN_UPDATE, EN_CHANGE};
  struct TStep {
    const char* What;
    std::function<void()> Act;
    std::vector<WORD> Codes;
  };
  const std::vector<TStep> Steps{
      {"typing", [&] { Type("d"); }, Change},
      {"backspace", [&] { Keys(VK_BACK); }, Change},
      {"caret move", [&] { Keys(VK_LEFT); }, {}},
      {"selection", [&] { SendMessage(E, EM_SETSEL, 0, 2); }, {}},
      {"cut", [&] { SendMessage(E, WM_CUT, 0, 0); }, Change},
      {"paste", [&] { SendMessage(E, WM_PASTE, 0, 0); }, Change},
      {"undo", [&] { SendMessage(E, WM_UNDO, 0, 0); }, Change},
      {"clear nothing", [&] { SendMessage(E, EM_SETSEL, 1, 1), SendMessage(E, WM_CLEAR, 0, 0); }, {}},
      {"replace", [&] { SendMessage(E, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("zz")); }, Change},
      {"set text", [&] { SetWindowText(E, "abc"); }, Change},
      {"read-only typing", [&] { SendMessage(E, EM_SETREADONLY, TRUE, 0), Type("q"); }, {}},
      {"focus", [&] { SetFocus(Host), SetFocus(E); }, {EN_KILLFOCUS, EN_SETFOCUS}},
  };
  for (const TStep& S : Steps) {
    S.Act();
    RunUntilIdle();
    EXPECT_EQ(TakeCodes(E), S.Codes) << S.What;
  }
  EXPECT_EQ(Text(E), "abc");
}

TEST_F(TEditTest, LimitAndNumbers) {
  HWND E = Edit(ES_AUTOHSCROLL);
  EXPECT_EQ(SendMessage(E, EM_GETLIMITTEXT, 0, 0), 32767);
  SendMessage(E, EM_LIMITTEXT, 5, 0);
  Type("1234567");
  EXPECT_EQ(Text(E), "12345");
  const std::vector<WORD> Codes = TakeCodes(E);
  EXPECT_EQ(std::count(Codes.begin(), Codes.end(), EN_MAXTEXT), 2);
  EXPECT_EQ(std::count(Codes.begin(), Codes.end(), EN_CHANGE), 5);
  // A replacement is cut to the room left; WM_SETTEXT is not limited.
  SendMessage(E, EM_SETSEL, 1, 3);
  SendMessage(E, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("abcdef"));
  EXPECT_EQ(Text(E), "1ab45");
  SetWindowText(E, "longer than five");
  EXPECT_EQ(Text(E), "longer than five");
  SendMessage(E, EM_LIMITTEXT, 0, 0);
  EXPECT_EQ(SendMessage(E, EM_GETLIMITTEXT, 0, 0), 0x7FFFFFFE);

  HWND N = Edit(ES_NUMBER | ES_AUTOHSCROLL);
  Type("1a2-3.");
  EXPECT_EQ(Text(N), "123");
  // ES_NUMBER filters typing only, as the platform does.
  SendMessage(N, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("x"));
  EXPECT_EQ(Text(N), "123x");

  HWND U = Edit(ES_UPPERCASE | ES_AUTOHSCROLL);
  Type("abc");
  EXPECT_EQ(Text(U), "ABC");
  // Without ES_AUTOHSCROLL a single-line edit takes only what fits.
  HWND F = Edit(0, "", 40);
  Type("wwwwwwwwwwwwwwwwwwww");
  const std::string Fitted = Text(F);
  EXPECT_LT(Fitted.size(), 20u);
  EXPECT_GT(Fitted.size(), 0u);
  SIZE Sz;
  HDC DC = GetDC(F);
  SelectObject(DC, Font);
  GetTextExtentPoint32(DC, Fitted.c_str(), static_cast<Integer>(Fitted.size()), &Sz);
  ReleaseDC(F, DC);
  RECT R;
  SendMessage(F, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&R));
  EXPECT_LE(Sz.cx, R.Width());
}

TEST_F(TEditTest, MultiLineQueries) {
  HWND E = Edit(ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL, "first\r\nsecond line\r\n\r\nlast", 200, 100);
  const Integer H = Metrics.tmHeight;
  EXPECT_EQ(SendMessage(E, EM_GETLINECOUNT, 0, 0), 4);
  struct TCase {
    Integer Pos, Line, LineStart, LineLength;
  };
  // "first" 0-4, CRLF 5-6, "second line" 7-17, CRLF 18-19, "" 20, CRLF 20-21, "last" 22-25.
  const TCase Cases[] = {{0, 0, 0, 5},   {5, 0, 0, 5},   {7, 1, 7, 11},  {17, 1, 7, 11},
                         {18, 1, 7, 11}, {20, 2, 20, 0}, {22, 3, 22, 4}, {26, 3, 22, 4}};
  for (const TCase& C : Cases) {
    EXPECT_EQ(SendMessage(E, EM_LINEFROMCHAR, static_cast<WPARAM>(C.Pos), 0), C.Line) << C.Pos;
    EXPECT_EQ(SendMessage(E, EM_LINEINDEX, static_cast<WPARAM>(C.Line), 0), C.LineStart) << C.Pos;
    EXPECT_EQ(SendMessage(E, EM_LINELENGTH, static_cast<WPARAM>(C.Pos), 0), C.LineLength) << C.Pos;
  }
  EXPECT_EQ(SendMessage(E, EM_LINEINDEX, 4, 0), -1);
  // EM_POSFROMCHAR: lines one font height apart; a line break sits after its line's text;
  // past the text there is no position.
  RECT F;
  SendMessage(E, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&F));
  EXPECT_EQ(PosOf(E, 0).Y, F.Top);
  EXPECT_EQ(PosOf(E, 7).Y, F.Top + H);
  EXPECT_EQ(PosOf(E, 22).Y, F.Top + 3 * H);
  EXPECT_EQ(PosOf(E, 7).X, PosOf(E, 0).X);
  EXPECT_GT(PosOf(E, 5).X, PosOf(E, 4).X);
  EXPECT_EQ(SendMessage(E, EM_POSFROMCHAR, 26, 0), -1);
  // EM_CHARFROMPOS finds the character back (LOWORD) with its line (HIWORD).
  for (Integer Pos : {1, 9, 16, 23}) {
    const TPoint P = PosOf(E, Pos);
    const LRESULT R = SendMessage(E, EM_CHARFROMPOS, 0, MAKELPARAM(P.X, P.Y + 2));
    EXPECT_EQ(LOWORD(static_cast<std::uintptr_t>(R)), Pos);
    EXPECT_EQ(HIWORD(static_cast<std::uintptr_t>(R)),
              SendMessage(E, EM_LINEFROMCHAR, static_cast<WPARAM>(Pos), 0));
  }
  char Buffer[32] = {};
  *reinterpret_cast<WORD*>(Buffer) = sizeof(Buffer);
  EXPECT_EQ(SendMessage(E, EM_GETLINE, 1, reinterpret_cast<LPARAM>(Buffer)), 11);
  EXPECT_EQ(std::string(Buffer, 11), "second line");
  // EM_LINELENGTH(-1): the unselected characters of the lines the selection touches.
  SendMessage(E, EM_SETSEL, 3, 10);
  EXPECT_EQ(SendMessage(E, EM_LINELENGTH, static_cast<WPARAM>(-1), 0), 3 + 8);
  EXPECT_EQ(SendMessage(E, EM_LINEFROMCHAR, static_cast<WPARAM>(-1), 0), 0);
  // Enter types a line break; Up and Down keep the column.
  SendMessage(E, EM_SETSEL, 9, 9);
  Keys(VK_UP);
  EXPECT_EQ(SendMessage(E, EM_LINEFROMCHAR, static_cast<WPARAM>(-1), 0), 0);
  Keys(VK_DOWN);
  Keys(VK_DOWN);
  EXPECT_EQ(SendMessage(E, EM_LINEFROMCHAR, static_cast<WPARAM>(-1), 0), 2);
  Keys(VK_END, kmControl);
  Keys(VK_RETURN);
  EXPECT_EQ(Text(E), "first\r\nsecond line\r\n\r\nlast\r\n");
  EXPECT_EQ(SendMessage(E, EM_GETLINECOUNT, 0, 0), 5);
}

TEST_F(TEditTest, WordWrap) {
  // As wide as "aaaa bb": "aaaa bbbb cccc" breaks after the blanks.
  SIZE Sz;
  HDC DC = GetDC(Host);
  SelectObject(DC, Font);
  GetTextExtentPoint32(DC, "aaaa bb", 7, &Sz);
  ReleaseDC(Host, DC);
  HWND E = Edit(ES_MULTILINE, "", Sz.cx, 100);
  SendMessage(E, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
  SetWindowText(E, "aaaa bbbb cccc dddddddddddddddddddddddd");
  const Integer Lines = static_cast<Integer>(SendMessage(E, EM_GETLINECOUNT, 0, 0));
  ASSERT_GE(Lines, 3);
  for (Integer L = 1; L < Lines; ++L) {
    const Integer Start = static_cast<Integer>(SendMessage(E, EM_LINEINDEX, static_cast<WPARAM>(L), 0));
    const std::string T = Text(E);
    // A wrapped line starts after a blank, or inside a word too long for a line.
    EXPECT_TRUE(T[static_cast<std::size_t>(Start) - 1] == ' ' ||
                T.substr(static_cast<std::size_t>(Start), 1) == "d")
        << L;
  }
  EXPECT_EQ(SendMessage(E, EM_LINEINDEX, 1, 0), 5);
  EXPECT_EQ(SendMessage(E, EM_LINELENGTH, 5, 0), 5);  // "bbbb " with its hanging blank
}

TEST_F(TEditTest, ScrollingKeepsTheCaretInView) {
  std::string Lines;
  for (Integer I = 0; I < 10; ++I) Lines += "line " + std::to_string(I) + (I < 9 ? "\r\n" : "");
  const Integer H = Metrics.tmHeight;
  HWND E = Edit(ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL, Lines.c_str(), 150, 3 * H);
  EXPECT_EQ(SendMessage(E, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
  SCROLLINFO SI;
  SI.fMask = SIF_ALL;
  ASSERT_TRUE(GetScrollInfo(E, SB_VERT, &SI));
  EXPECT_EQ(SI.nMax, 9);
  EXPECT_EQ(SI.nPage, 3u);
  Keys(VK_END, kmControl);
  EXPECT_EQ(SendMessage(E, EM_GETFIRSTVISIBLELINE, 0, 0), 7);
  GetScrollInfo(E, SB_VERT, &SI);
  EXPECT_EQ(SI.nPos, 7);
  SendMessage(E, EM_LINESCROLL, 0, -5);
  EXPECT_EQ(SendMessage(E, EM_GETFIRSTVISIBLELINE, 0, 0), 2);
  EXPECT_EQ(SendMessage(E, EM_SCROLL, SB_LINEDOWN, 0), MAKELONG(1, TRUE));
  EXPECT_EQ(TakeCodes(E), (std::vector<WORD>{EN_VSCROLL}));
  SendMessage(E, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 5), 0);
  EXPECT_EQ(SendMessage(E, EM_GETFIRSTVISIBLELINE, 0, 0), 5);
  SendMessage(E, EM_SETSEL, 0, 0);
  SendMessage(E, EM_SCROLLCARET, 0, 0);
  EXPECT_EQ(SendMessage(E, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
  // Selecting with the mouse below the view scrolls a line a tick while the button is held.
  const TPoint Start = ScreenOf(E, 1, 1), Below = ScreenOf(E, 20, 3 * H + 30);
  Display->MoveTo(Start.X, Start.Y);
  Display->ButtonDown();
  Display->MoveTo(Below.X, Below.Y);
  RunUntilIdle();
  EXPECT_EQ(GetCapture(), E);
  for (Integer Tick = 0; Tick < 4; ++Tick) {
    Clock.Advance(100);
    RunUntilIdle();
  }
  EXPECT_EQ(SendMessage(E, EM_GETFIRSTVISIBLELINE, 0, 0), 4);
  Display->ButtonUp();
  RunUntilIdle();
  EXPECT_EQ(GetCapture(), nullptr);
  // The selection reaches the last visible line (line 6).
  EXPECT_EQ(SendMessage(E, EM_LINEFROMCHAR, static_cast<WPARAM>(-1), 0), 0);
  DWORD SelEnd = 0;
  SendMessage(E, EM_GETSEL, 0, reinterpret_cast<LPARAM>(&SelEnd));
  EXPECT_EQ(SendMessage(E, EM_LINEFROMCHAR, SelEnd, 0), 6);
  Clock.Advance(1000);

  // A single-line edit slides sideways so the caret stays inside.
  HWND S = Edit(ES_AUTOHSCROLL, "", 60);
  Type("a much longer text than the edit can show");
  const TPoint Caret = PosOf(S, 40);
  RECT C;
  GetClientRect(S, &C);
  EXPECT_GE(Caret.X, 0);
  EXPECT_LT(Caret.X, C.Right);
  EXPECT_GT(SendMessage(S, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
  Keys(VK_HOME);
  EXPECT_EQ(SendMessage(S, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
}

TEST_F(TEditTest, ReadOnlyAndPassword) {
  HWND R = Edit(ES_READONLY | ES_AUTOHSCROLL, "fixed");
  Type("x");
  Keys(VK_BACK);
  EXPECT_EQ(Text(R), "fixed");
  SendMessage(R, EM_SETSEL, 0, 3);
  SendMessage(R, WM_COPY, 0, 0);
  EXPECT_EQ(ClipboardString(), "fix");
  SendMessage(R, WM_CUT, 0, 0);
  EXPECT_EQ(Text(R), "fixed");
  SendMessage(R, EM_SETREADONLY, FALSE, 0);
  EXPECT_EQ(GetWindowLong(R, GWL_STYLE) & ES_READONLY, 0);
  Type("y");
  EXPECT_EQ(Text(R), "yed");

  HWND P = Edit(ES_PASSWORD | ES_AUTOHSCROLL, "secret");
  EXPECT_EQ(SendMessage(P, EM_GETPASSWORDCHAR, 0, 0), '*');
  SendMessage(P, EM_SETSEL, 0, -1);
  SendMessage(P, WM_COPY, 0, 0);
  EXPECT_EQ(ClipboardString(), "fix");  // a password is never copied
  // Every character shows as the same '*': positions step evenly.
  const Integer Step = PosOf(P, 1).X - PosOf(P, 0).X;
  EXPECT_GT(Step, 0);
  EXPECT_EQ(PosOf(P, 5).X - PosOf(P, 0).X, 5 * Step);
  SendMessage(P, EM_SETPASSWORDCHAR, 0, 0);
  EXPECT_EQ(GetWindowLong(P, GWL_STYLE) & ES_PASSWORD, 0);
}

TEST_F(TEditTest, MarginsRectAndDialogCode) {
  HWND E = Edit(ES_MULTILINE | ES_AUTOHSCROLL, "", 200, 60);
  // WM_SETFONT gave the font's margins; EM_SETMARGINS sets others.
  const LRESULT M = SendMessage(E, EM_GETMARGINS, 0, 0);
  EXPECT_EQ(LOWORD(static_cast<std::uintptr_t>(M)), (Metrics.tmAveCharWidth + 2) / 3);
  SendMessage(E, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(2, 0));
  RECT R;
  SendMessage(E, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&R));
  EXPECT_EQ(R, (RECT{2, 0, 200, 60}));
  const RECT Given{30, 5, 150, 40};
  SendMessage(E, EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&Given));
  SendMessage(E, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&R));
  EXPECT_EQ(R, (RECT{32, 5, 150, 40}));
  SetWindowText(E, "x");
  EXPECT_EQ(PosOf(E, 0), (TPoint{32, 5}));
  // A new size puts the rectangle back on the client area.
  SetWindowPos(E, nullptr, 0, 0, 180, 60, SWP_NOMOVE | SWP_NOZORDER);
  SendMessage(E, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&R));
  EXPECT_EQ(R, (RECT{2, 0, 180, 60}));

  MSG Enter;
  Enter.message = WM_KEYDOWN;
  Enter.wParam = VK_RETURN;
  EXPECT_EQ(SendMessage(E, WM_GETDLGCODE, 0, 0),
            DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS | DLGC_WANTALLKEYS);
  EXPECT_EQ(SendMessage(E, WM_GETDLGCODE, 0, reinterpret_cast<LPARAM>(&Enter)),
            DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS);
  HWND S = Edit(ES_AUTOHSCROLL);
  EXPECT_EQ(SendMessage(S, WM_GETDLGCODE, 0, 0), DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS);
}

TEST_F(TEditTest, Alignment) {
  SIZE Sz;
  HDC DC = GetDC(Host);
  SelectObject(DC, Font);
  GetTextExtentPoint32(DC, "abc", 3, &Sz);
  ReleaseDC(Host, DC);
  struct TCase {
    DWORD Style;
    Integer X;
  };
  const TCase Cases[] = {{ES_LEFT, 0}, {ES_CENTER, (200 - Sz.cx) / 2}, {ES_RIGHT, 200 - Sz.cx}};
  for (const TCase& C : Cases) {
    HWND E = Edit(C.Style | ES_AUTOHSCROLL, "abc");
    SendMessage(E, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
    EXPECT_EQ(PosOf(E, 0).X, C.X) << C.Style;
    DestroyWindow(E);
  }
}

TEST_F(TEditTest, ContextMenu) {
  HWND E = Edit(ES_AUTOHSCROLL, "menu text");
  SendMessage(E, EM_SETSEL, 0, 4);
  SetClipboardString("");
  UINT States[5] = {};
  Integer Calls = 0;
  SetModalHook([&] {
    if (Calls++ > 0) return;
    HWND Popup = FindWindow("#32768", nullptr);
    ASSERT_NE(Popup, nullptr);
    HMENU M = reinterpret_cast<HMENU>(SendMessage(Popup, MN_GETHMENU, 0, 0));
    ASSERT_EQ(GetMenuItemCount(M), 8);
    const UINT Ids[5] = {WM_UNDO, WM_CUT, WM_COPY, WM_PASTE, EM_SETSEL};
    for (Integer I = 0; I < 5; ++I) States[I] = GetMenuState(M, Ids[I], MF_BYCOMMAND) & MF_GRAYED;
    RECT R;
    GetMenuItemRect(nullptr, M, 7, &R);  // "Select All"
    Display->Click(R.Left + R.Width() / 2, R.Top + R.Height() / 2);
  });
  const TPoint P = ScreenOf(E, 5, 5);
  Display->Click(P.X, P.Y, TInputButton::Right);
  RunUntilIdle();
  ASSERT_EQ(Calls > 0, true);
  EXPECT_EQ(States[0], MF_GRAYED);  // nothing to undo
  EXPECT_EQ(States[1], 0u);
  EXPECT_EQ(States[2], 0u);
  EXPECT_EQ(States[3], MF_GRAYED);  // an empty clipboard
  EXPECT_EQ(States[4], 0u);
  EXPECT_EQ(Sel(E), (std::pair<DWORD, DWORD>{0, 9}));
  // From the keyboard (the menu key) the menu opens at the edit's centre.
  RECT Menu{};
  Calls = 0;
  SetModalHook([&] {
    if (Calls++ > 0) return;
    GetWindowRect(FindWindow("#32768", nullptr), &Menu);
    EndMenu();
  });
  Keys(VK_APPS);
  RECT W;
  GetWindowRect(E, &W);
  EXPECT_EQ(Calls > 0, true);
  EXPECT_EQ((TPoint{Menu.Left, Menu.Top}), (TPoint{W.Left + W.Width() / 2, W.Top + W.Height() / 2}));
}

TEST_F(TEditTest, ClassicLook) {
  HWND E = Edit(ES_AUTOHSCROLL, "Selected text", 160, 24);
  SetWindowLong(E, GWL_EXSTYLE, WS_EX_CLIENTEDGE);
  SetWindowPos(E, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
  SendMessage(E, EM_SETSEL, 0, 8);
  RunUntilIdle();
  const TScreenshot Shot = Screenshot(E);
  // The sunken client edge: shadow, then dark shadow on the top-left.
  EXPECT_EQ(Shot.Pixel(5, 0), SysPixel(COLOR_3DSHADOW));
  EXPECT_EQ(Shot.Pixel(5, 1), SysPixel(COLOR_3DDKSHADOW));
  EXPECT_EQ(Shot.Pixel(5, Shot.Height - 1), SysPixel(COLOR_3DHILIGHT));
  // The white field right of the text, the selection behind the first word.
  EXPECT_EQ(Shot.Pixel(Shot.Width - 6, 12), SysPixel(COLOR_WINDOW));
  const TPoint Sel0 = PosOf(E, 0);
  EXPECT_EQ(Shot.Pixel(2 + Sel0.X + 1, 2 + 1), SysPixel(COLOR_HIGHLIGHT));
  // Disabled: grey face from WM_CTLCOLORSTATIC, no selection.
  EnableWindow(E, FALSE);
  RunUntilIdle();
  const TScreenshot Off = Screenshot(E);
  EXPECT_EQ(Off.Pixel(Off.Width - 6, 12), SysPixel(COLOR_3DFACE));
  EXPECT_EQ(Off.Pixel(2 + Sel0.X + 1, 2 + 1), SysPixel(COLOR_3DFACE));
}

}  // namespace
}  // namespace textctl
