// Keyboard routing: key messages and their lParam bits, characters from TranslateMessage, the
// system keys' defaults, the key state and injected keys.
#include <cstring>

#include "InputTestSupport.h"

namespace {

using TKeyboardTest = TInputTest;

struct TKeyMsg {
  UINT Msg;
  WPARAM WParam;
  DWORD LParam;
};

// The key and character messages Wnd got, in order.
std::vector<TKeyMsg> KeyMessages(HWND Wnd) {
  std::vector<TKeyMsg> R;
  for (const TLogged& L : InputLog())
    if (L.Wnd == Wnd && L.Msg >= WM_KEYFIRST && L.Msg <= WM_KEYLAST)
      R.push_back({L.Msg, L.WParam, static_cast<DWORD>(L.LParam)});
  return R;
}

std::string Describe(const std::vector<TKeyMsg>& List) {
  std::string S;
  for (const TKeyMsg& M : List) {
    char Buffer[80];
    std::snprintf(Buffer, sizeof(Buffer), "%s %#x %08x\n", InputMessageName(M.Msg).c_str(),
                  static_cast<unsigned>(M.WParam), M.LParam);
    S += Buffer;
  }
  return S;
}

void ExpectKeys(HWND Wnd, const std::vector<TKeyMsg>& Expected, const char* What) {
  const std::vector<TKeyMsg> Seen = KeyMessages(Wnd);
  bool Same = Seen.size() == Expected.size();
  for (std::size_t I = 0; Same && I < Seen.size(); ++I)
    Same = Seen[I].Msg == Expected[I].Msg && Seen[I].WParam == Expected[I].WParam &&
           Seen[I].LParam == Expected[I].LParam;
  EXPECT_TRUE(Same) << What << "\nexpected:\n" << Describe(Expected) << "seen:\n" << Describe(Seen);
}

TEST_F(TKeyboardTest, KeyMessagesAndTheirBits) {
  HWND Top = Popup({0, 0, 200, 200});
  HWND Edit = Child(Top, {10, 10, 100, 30});
  SetFocus(Edit);
  Run(true);
  struct TCase {
    const char* What;
    std::function<void()> Script;
    std::vector<TKeyMsg> Expected;
  };
  const TCase Cases[] = {
      {"a letter with its text",
       [this] { Press('A', {}, "a"); },
       {{WM_KEYDOWN, 'A', 0x001E0001}, {WM_CHAR, 'a', 0x001E0001}, {WM_KEYUP, 'A', 0xC01E0001}}},
      {"an auto-repeated key",
       [this] {
         KeyEvent('B', true);
         KeyEvent('B', true);
         KeyEvent('B', false);
       },
       {{WM_KEYDOWN, 'B', 0x00300001}, {WM_KEYDOWN, 'B', 0x40300001}, {WM_KEYUP, 'B', 0xC0300001}}},
      {"an extended key",
       [this] { Press(VK_LEFT); },
       {{WM_KEYDOWN, VK_LEFT, 0x014B0001}, {WM_KEYUP, VK_LEFT, 0xC14B0001}}},
      {"the back end's scan code: right Ctrl",
       [this] {
         KeyEvent(VK_CONTROL, true, 0xE01D);
         KeyEvent(VK_CONTROL, false, 0xE01D);
       },
       {{WM_KEYDOWN, VK_CONTROL, 0x011D0001}, {WM_KEYUP, VK_CONTROL, 0xC11D0001}}},
      {"Enter, Backspace, Tab and Escape make their control characters",
       [this] {
         Press(VK_RETURN);
         Press(VK_BACK);
         Press(VK_TAB);
         Press(VK_ESCAPE);
       },
       {{WM_KEYDOWN, VK_RETURN, 0x001C0001},
        {WM_CHAR, 13, 0x001C0001},
        {WM_KEYUP, VK_RETURN, 0xC01C0001},
        {WM_KEYDOWN, VK_BACK, 0x000E0001},
        {WM_CHAR, 8, 0x000E0001},
        {WM_KEYUP, VK_BACK, 0xC00E0001},
        {WM_KEYDOWN, VK_TAB, 0x000F0001},
        {WM_CHAR, 9, 0x000F0001},
        {WM_KEYUP, VK_TAB, 0xC00F0001},
        {WM_KEYDOWN, VK_ESCAPE, 0x00010001},
        {WM_CHAR, 27, 0x00010001},
        {WM_KEYUP, VK_ESCAPE, 0xC0010001}}},
      {"Ctrl with a letter: its control character, the back end's text is dropped",
       [this] { Press('C', {VK_CONTROL}, "c"); },
       {{WM_KEYDOWN, VK_CONTROL, 0x001D0001},
        {WM_KEYDOWN, 'C', 0x002E0001},
        {WM_CHAR, 3, 0x002E0001},
        {WM_KEYUP, 'C', 0xC02E0001},
        {WM_KEYUP, VK_CONTROL, 0xC01D0001}}},
      {"Alt with a letter: system keys with the context bit",
       [this] { Press('F', {VK_MENU}, "f"); },
       {{WM_SYSKEYDOWN, VK_MENU, 0x20380001},
        {WM_SYSKEYDOWN, 'F', 0x20210001},
        {WM_SYSCHAR, 'f', 0x20210001},
        {WM_SYSKEYUP, 'F', 0xE0210001},
        {WM_SYSKEYUP, VK_MENU, 0xC0380001}}},
      {"F10 alone is a system key",
       [this] { Press(VK_F10); },
       {{WM_SYSKEYDOWN, VK_F10, 0x00440001}, {WM_SYSKEYUP, VK_F10, 0xC0440001}}},
      {"right Alt is AltGr: its characters are typed",
       [this] {
         KeyEvent(VK_MENU, true, 0xE038);
         KeyEvent('Q', true);
         Display.Type("@");
         KeyEvent('Q', false);
         KeyEvent(VK_MENU, false, 0xE038);
       },
       {{WM_KEYDOWN, VK_MENU, 0x01380001},
        {WM_KEYDOWN, 'Q', 0x00100001},
        {WM_CHAR, '@', 0x00100001},
        {WM_KEYUP, 'Q', 0xC0100001},
        {WM_KEYUP, VK_MENU, 0xC1380001}}},
  };
  for (const TCase& C : Cases) {
    C.Script();
    Run(true);
    ExpectKeys(Edit, C.Expected, C.What);
    EXPECT_TRUE(KeyMessages(Top).empty()) << C.What;
  }
}

TEST_F(TKeyboardTest, CharactersAreUtf16Units) {
  HWND W = Popup({0, 0, 100, 100});
  Run(true);
  // Text without a key goes to the focus window as it is typed; beyond the BMP as a pair.
  Display.Type("\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80");
  Run();
  std::vector<WPARAM> Units;
  for (const TLogged& L : Of(W, WM_CHAR)) Units.push_back(L.WParam);
  EXPECT_EQ(Units, (std::vector<WPARAM>{0xE9, 0x20AC, 0xD83D, 0xDE00}));
}

TEST_F(TKeyboardTest, OnlyTranslatedKeysGetTheirText) {
  HWND W = Popup({0, 0, 100, 100});
  Run(true);
  // A loop that handles the key itself (a shortcut) and never calls TranslateMessage.
  Press('S', {}, "s");
  MSG M;
  while (PeekMessage(&M, nullptr, 0, 0, PM_REMOVE)) DispatchMessage(&M);
  EXPECT_TRUE(Of(W, WM_CHAR).empty());
  // The text may also arrive before TranslateMessage sees its key down.
  KeyEvent('T', true);
  Display.Type("t");
  ASSERT_TRUE(PeekMessage(&M, nullptr, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE));
  ASSERT_TRUE(PeekMessage(&M, nullptr, WM_KEYUP, WM_KEYUP, PM_NOREMOVE) == FALSE);
  TranslateMessage(&M);
  DispatchMessage(&M);
  Run();
  ASSERT_EQ(Of(W, WM_CHAR).size(), 1u);
  EXPECT_EQ(Of(W, WM_CHAR)[0].WParam, static_cast<WPARAM>('t'));
  // A key down a program posts gets the US layout's character.
  InputLog().clear();
  PostMessage(W, WM_KEYDOWN, 'K', 0x00250001);
  Run();
  ASSERT_EQ(Of(W, WM_CHAR).size(), 1u);
  EXPECT_EQ(Of(W, WM_CHAR)[0].WParam, static_cast<WPARAM>('k'));
}

TEST_F(TKeyboardTest, SystemKeyDefaults) {
  HWND Top = Popup({0, 0, 200, 200});
  HWND Kid = Child(Top, {10, 10, 50, 50});
  Behaviours()[Top].Handler = [](HWND, UINT Msg, WPARAM, LPARAM, LRESULT&) { return Msg == WM_SYSCOMMAND; };
  SetFocus(Kid);
  struct TCase {
    const char* What;
    std::function<void()> Script;
    std::vector<std::pair<WPARAM, LPARAM>> Commands;  // WM_SYSCOMMAND to the top-level window
  };
  const TCase Cases[] = {
      {"Alt+F4 closes", [this] { Press(VK_F4, {VK_MENU}); }, {{SC_CLOSE, 0}}},
      {"Alt alone opens the menu", [this] { Press(VK_MENU); }, {{SC_KEYMENU, 0}}},
      {"F10 opens the menu", [this] { Press(VK_F10); }, {{SC_KEYMENU, 0}}},
      {"Alt with a letter opens its menu", [this] { Press('E', {VK_MENU}); }, {{SC_KEYMENU, 'e'}}},
      {"Alt with a click between does nothing",
       [this] {
         KeyEvent(VK_MENU, true);
         Display.Click(100, 100);
         KeyEvent(VK_MENU, false);
       },
       {}},
      {"Escape does nothing", [this] { Press(VK_ESCAPE); }, {}},
  };
  for (const TCase& C : Cases) {
    C.Script();
    Run(true);
    std::vector<std::pair<WPARAM, LPARAM>> Seen;
    for (const TLogged& L : Of(Top, WM_SYSCOMMAND)) Seen.emplace_back(L.WParam, L.LParam);
    EXPECT_EQ(Seen, C.Commands) << C.What;
    EXPECT_TRUE(Of(Kid, WM_SYSCOMMAND).empty()) << C.What;
  }
  // The context-menu key and Shift+F10 ask the focus window for its menu.
  Press(VK_APPS);
  Press(VK_F10, {VK_SHIFT});
  Run(true);
  ASSERT_EQ(Of(Kid, WM_CONTEXTMENU).size(), 2u);
  EXPECT_EQ(Of(Kid, WM_CONTEXTMENU)[0].LParam, -1);
  EXPECT_TRUE(Of(Top, WM_SYSCOMMAND).empty());
}

TEST_F(TKeyboardTest, WithoutFocusKeysGoToTheActiveWindowAsSystemKeys) {
  HWND W = Popup({0, 0, 100, 100});
  SetFocus(nullptr);
  ASSERT_EQ(GetActiveWindow(), W);
  Press('A');
  Run(true);
  ExpectKeys(
      W, {{WM_SYSKEYDOWN, 'A', 0x001E0001}, {WM_SYSCHAR, 'a', 0x001E0001}, {WM_SYSKEYUP, 'A', 0xC01E0001}},
      "no focus");
}

TEST_F(TKeyboardTest, KeyState) {
  HWND W = Popup({0, 0, 100, 100});
  std::vector<SHORT> During;
  Behaviours()[W].Handler = [&](HWND, UINT Msg, WPARAM WParam, LPARAM, LRESULT&) {
    if (Msg == WM_KEYDOWN && WParam == 'A')
      During = {GetKeyState(VK_SHIFT), GetKeyState(VK_LSHIFT), GetKeyState(VK_RSHIFT)};
    if (Msg == WM_LBUTTONDOWN) During = {GetKeyState(VK_LBUTTON), GetAsyncKeyState(VK_LBUTTON)};
    return false;
  };
  Press('A', {VK_SHIFT});
  Run();
  ASSERT_EQ(During.size(), 3u);
  EXPECT_LT(During[0], 0);
  EXPECT_LT(During[1], 0);
  EXPECT_EQ(During[2], 0);
  EXPECT_GE(GetKeyState(VK_SHIFT), 0);
  Display.Click(10, 10);
  Run();
  EXPECT_LT(During.at(0), 0);
  EXPECT_LT(During.at(1), 0);
  // Lock keys toggle the low bit with each press.
  EXPECT_EQ(GetKeyState(VK_CAPITAL) & 1, 0);
  Press(VK_CAPITAL);
  Run();
  EXPECT_EQ(GetKeyState(VK_CAPITAL), 1);
  BYTE Keys[256];
  ASSERT_TRUE(GetKeyboardState(Keys));
  EXPECT_EQ(Keys[VK_CAPITAL], 1);
  Keys[VK_CONTROL] = 0x80;
  SetKeyboardState(Keys);
  EXPECT_LT(GetKeyState(VK_CONTROL), 0);
}

TEST_F(TKeyboardTest, KeyTables) {
  EXPECT_EQ(MapVirtualKey('A', MAPVK_VK_TO_VSC), 0x1Eu);
  EXPECT_EQ(MapVirtualKey(VK_LEFT, MAPVK_VK_TO_VSC), 0x4Bu);
  EXPECT_EQ(MapVirtualKey(0x4B, MAPVK_VSC_TO_VK), static_cast<UINT>(VK_LEFT));
  EXPECT_EQ(MapVirtualKey(0x36, MAPVK_VSC_TO_VK), static_cast<UINT>(VK_SHIFT));
  EXPECT_EQ(MapVirtualKey(0x36, MAPVK_VSC_TO_VK_EX), static_cast<UINT>(VK_RSHIFT));
  EXPECT_EQ(MapVirtualKey('Q', MAPVK_VK_TO_CHAR), static_cast<UINT>('Q'));
  EXPECT_EQ(MapVirtualKey(VK_OEM_1, MAPVK_VK_TO_CHAR), static_cast<UINT>(';'));
  struct TName {
    LONG LParam;
    const char* Name;
  };
  for (const TName& N : {TName{0x001E0001, "A"}, TName{0x014B0001, "Left"}, TName{0x004B0001, "Num 4"},
                         TName{0x011D0001, "Right Ctrl"}, TName{0x031D0001, "Ctrl"}, TName{0x00440001, "F10"},
                         TName{0x001C0001, "Enter"}}) {
    char Buffer[32];
    EXPECT_EQ(GetKeyNameText(N.LParam, Buffer, sizeof(Buffer)), static_cast<Integer>(std::strlen(N.Name)));
    EXPECT_STREQ(Buffer, N.Name);
  }
  char Small[3];
  EXPECT_EQ(GetKeyNameText(0x014B0001, Small, sizeof(Small)), 2);
  EXPECT_STREQ(Small, "Le");
}

TEST_F(TKeyboardTest, InjectedKeys) {
  HWND W = Popup({0, 0, 100, 100});
  Run(true);
  keybd_event(VK_SHIFT, 0, 0, 0);
  keybd_event('Z', 0, 0, 0);
  keybd_event('Z', 0, KEYEVENTF_KEYUP, 0);
  keybd_event(VK_SHIFT, 0, KEYEVENTF_KEYUP, 0);
  INPUT In[2];
  In[0].type = INPUT_KEYBOARD;
  In[0].ki.wScan = 0x00E9;
  In[0].ki.dwFlags = KEYEVENTF_UNICODE;
  In[1].type = INPUT_KEYBOARD;
  In[1].ki.wScan = 0x1C;
  In[1].ki.dwFlags = KEYEVENTF_SCANCODE;
  EXPECT_EQ(SendInput(2, In, sizeof(INPUT)), 2u);
  EXPECT_EQ(SendInput(1, In, 3), 0u);
  Run();
  ExpectKeys(W,
             {{WM_KEYDOWN, VK_SHIFT, 0x002A0001},
              {WM_KEYDOWN, 'Z', 0x002C0001},
              {WM_KEYUP, 'Z', 0xC02C0001},
              {WM_KEYUP, VK_SHIFT, 0xC02A0001},
              {WM_CHAR, 0xE9, 1},
              {WM_KEYDOWN, VK_RETURN, 0x001C0001},
              {WM_CHAR, 13, 0x001C0001}},
             "injected");
}

}  // namespace
