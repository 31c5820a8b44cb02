// A report list view and a tree view on the SDL display under a real X server, driven by real
// input (xdotool): clicks select rows, header dividers drag, header sections click, expand
// buttons open nodes and arrows move the selection. CTest runs these as ViewsUnderXvfb; elsewhere
// they are skipped unless a display is there. Both SDL back ends run them: one desktop window per
// form and one for the whole screen; the mouse is aimed through the desktop window that shows
// the form.
#include <SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/display/HeadlessDisplay.h"
#include "platform/display/SdlDesktop.h"
#include "platform/display/SdlDisplay.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Text.h"
#include "platform/user/CommonControls.h"
#include "platform/user/User.h"
#include "platform/user/WindowInternals.h"
#include "platform/user/WndProc.h"

namespace {

bool EnvIs(const char* Name, const char* Value) {
  const char* V = std::getenv(Name);
  return V && std::string(V) == Value;
}

bool OnScreenTestsWanted() {
  if (EnvIs("TILVAROK_XVFB_TEST", "1")) return true;
  const char* Display = std::getenv("DISPLAY");
  return Display && *Display && !EnvIs("TILVAROK_DISPLAY", "headless");
}

std::string Shell(const std::string& Command) {
  std::string Out;
  if (FILE* P = popen(Command.c_str(), "r")) {
    char Buf[256];
    while (size_t N = fread(Buf, 1, sizeof Buf, P)) Out.append(Buf, N);
    pclose(P);
  }
  return Out;
}

std::vector<UINT> GNotes;  // WM_NOTIFY codes the form heard

LRESULT FormProc(HWND W, UINT Msg, WPARAM WP, LPARAM LP) {
  if (Msg == WM_NOTIFY) GNotes.push_back(reinterpret_cast<NMHDR*>(LP)->code);
  return DefWindowProc(W, Msg, WP, LP);
}

DWORD ScreenPixel(COLORREF C) {
  return (C & 0xFF) << 16 | (C & 0xFF00) | (C >> 16 & 0xFF);
}

// The parameter: true for a desktop window per form, false for one window showing the screen.
class SdlViewsXvfb : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    if (!OnScreenTestsWanted()) GTEST_SKIP() << "no display (CTest runs these as ViewsUnderXvfb)";
    if (Shell("command -v xdotool").empty()) GTEST_SKIP() << "xdotool is not installed";
    static int Count = 0;
    FTitle = "TilvarokViewsTest" + std::to_string(getpid()) + "x" + std::to_string(++Count);
    SetSdlWindowTitle(FTitle);
    FDisplay = GetParam() ? CreateSdlDesktop() : CreateSdlDisplay({640, 480});
    ASSERT_NE(FDisplay, nullptr);
    FBefore = GetDisplayBackend();
    SetDisplayBackend(FDisplay.get());
    RegisterCommonControlClasses();
    static const bool Registered = [] {
      WNDCLASS WC;
      WC.lpfnWndProc = MakeWndProc(FormProc);
      WC.lpszClassName = "TvViewsXvfbForm";
      WC.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<std::uintptr_t>(COLOR_3DFACE + 1));
      return RegisterClass(&WC) != 0;
    }();
    ASSERT_TRUE(Registered);
    GNotes.clear();
    FForm = CreateWindowEx(0, "TvViewsXvfbForm", FTitle.c_str(), WS_POPUP | WS_VISIBLE, 40, 40, 400, 300,
                           nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(FForm, nullptr);
    LOGFONTA F;
    F.lfHeight = -11;
    F.lfQuality = NONANTIALIASED_QUALITY;
    F.lfFaceName = "Liberation Sans";
    FFont = CreateFontIndirectA(&F);
    RunUntilIdle();
  }

  void TearDown() override {
    if (!FDisplay) return;
    if (FForm) DestroyWindow(FForm);
    RunUntilIdle();
    SetDisplayBackend(FBefore);
    FDisplay.reset();
    if (FFont) DeleteObject(FFont);
  }

  HWND Child(const char* Class, DWORD Style, Integer X, Integer Y, Integer W, Integer H) {
    HWND C = CreateWindowEx(0, Class, "", WS_CHILD | WS_VISIBLE | Style, X, Y, W, H, FForm, nullptr, nullptr,
                            nullptr);
    SendMessage(C, WM_SETFONT, reinterpret_cast<WPARAM>(FFont), TRUE);
    return C;
  }

  // The X window that shows the form, and where the form's top-left corner lies in it.
  bool FindDesktopWindow() {
    for (int Try = 0; Try < 100 && FWindowId.empty(); ++Try) {
      RunUntilIdle();
      FWindowId = Shell("xdotool search --name '^" + FTitle + "$' 2>/dev/null | head -n 1");
      while (!FWindowId.empty() && (FWindowId.back() == '\n' || FWindowId.back() == ' '))
        FWindowId.pop_back();
      if (FWindowId.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    if (FWindowId.empty()) return false;
    std::map<std::string, int> G;
    std::istringstream Lines(Shell("xdotool getwindowgeometry --shell " + FWindowId));
    for (std::string Line; std::getline(Lines, Line);) {
      const size_t Eq = Line.find('=');
      if (Eq != std::string::npos) G[Line.substr(0, Eq)] = std::atoi(Line.c_str() + Eq + 1);
    }
    RECT Form;
    GetWindowRect(FForm, &Form);
    // A desktop window of the screen's size shows the whole screen; otherwise the form alone.
    const TSize Screen = FDisplay->ScreenSize();
    const bool WholeScreen = G["WIDTH"] == Screen.cx && G["HEIGHT"] == Screen.cy;
    FOrigin = WholeScreen ? TPoint{0, 0} : TPoint{Form.Left, Form.Top};
    Shell("xdotool windowactivate --sync " + FWindowId + " 2>/dev/null; xdotool windowfocus --sync " +
          FWindowId);
    return true;
  }

  // xdotool coordinates of a client point of a control.
  std::string At(HWND C, Integer X, Integer Y) {
    POINT P{X, Y};
    ClientToScreen(C, &P);
    return std::to_string(P.X - FOrigin.X) + " " + std::to_string(P.Y - FOrigin.Y);
  }

  void Xdo(const std::string& Args) { Shell("xdotool " + Args); }

  // Runs the loop until Done holds; gives up after ten seconds (a failure, not a wait).
  bool PumpUntil(const std::function<bool()>& Done) {
    const auto Deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!Done() && std::chrono::steady_clock::now() < Deadline) {
      RunUntilIdle();
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    RunUntilIdle();
    return Done();
  }

  void ClickAt(HWND C, Integer X, Integer Y) {
    Xdo("mousemove --window " + FWindowId + " " + At(C, X, Y) + " click 1");
  }

  std::string FTitle;
  std::string FWindowId;
  TPoint FOrigin;
  std::unique_ptr<TDisplayBackend> FDisplay;
  TDisplayBackend* FBefore = nullptr;
  HWND FForm = nullptr;
  HFONT FFont = nullptr;
};

bool Selected(HWND L, Integer I) {
  return SendMessage(L, LVM_GETITEMSTATE, I, LVIS_SELECTED) != 0;
}

TEST_P(SdlViewsXvfb, AReportListViewTakesRealClicksDragsAndKeys) {
  HWND L = Child(WC_LISTVIEW, LVS_REPORT | LVS_SHOWSELALWAYS, 10, 10, 250, 150);
  SendMessage(L, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT);
  for (const char* Caption : {"Name", "Size"}) {
    LVCOLUMN C;
    C.mask = LVCF_TEXT | LVCF_WIDTH;
    C.pszText = const_cast<char*>(Caption);
    C.cx = 100;
    SendMessage(L, LVM_INSERTCOLUMN, Caption[0] == 'N' ? 0 : 1, reinterpret_cast<LPARAM>(&C));
  }
  for (Integer I = 0; I < 6; ++I) {
    const std::string Text = "Row " + std::to_string(I);
    LVITEM It;
    It.mask = LVIF_TEXT;
    It.iItem = I;
    It.pszText = const_cast<char*>(Text.c_str());
    SendMessage(L, LVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&It));
  }
  ASSERT_TRUE(FindDesktopWindow());
  // Rows of 14 pixels under an 18-pixel header: row 2 starts at 46.
  ClickAt(L, 150, 18 + 2 * 14 + 5);
  ASSERT_TRUE(PumpUntil([&] { return Selected(L, 2); }));
  const TScreenshot Shot = Screenshot(L);
  EXPECT_EQ(Shot.Pixel(150, 18 + 2 * 14 + 7), ScreenPixel(GetSysColor(COLOR_HIGHLIGHT)));
  EXPECT_NE(Shot.Pixel(150, 18 + 1 * 14 + 7), ScreenPixel(GetSysColor(COLOR_HIGHLIGHT)));

  // Arrows move the selection.
  Xdo("key --window " + FWindowId + " Down Down");
  EXPECT_TRUE(PumpUntil([&] { return Selected(L, 4) && !Selected(L, 2); }));

  // Dragging the first column's divider resizes the column.
  HWND H = reinterpret_cast<HWND>(SendMessage(L, LVM_GETHEADER, 0, 0));
  Xdo("mousemove --window " + FWindowId + " " + At(H, 100, 9) + " mousedown 1 mousemove --window " +
      FWindowId + " " + At(H, 120, 9) + " mousemove --window " + FWindowId + " " + At(H, 140, 9) +
      " mouseup 1");
  EXPECT_TRUE(PumpUntil([&] { return SendMessage(L, LVM_GETCOLUMNWIDTH, 0, 0) == 140; }))
      << SendMessage(L, LVM_GETCOLUMNWIDTH, 0, 0);

  // A click on the second section is a column click.
  GNotes.clear();
  ClickAt(H, 190, 9);
  EXPECT_TRUE(PumpUntil([&] { return std::count(GNotes.begin(), GNotes.end(), LVN_COLUMNCLICK) == 1; }));
}

TEST_P(SdlViewsXvfb, ATreeViewOpensOnItsButtonAndFollowsTheArrows) {
  HWND T = Child(WC_TREEVIEW, TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS, 10, 10,
                 200, 200);
  auto Add = [T](HTREEITEM Parent, const char* Text) {
    TVINSERTSTRUCT In;
    In.hParent = Parent;
    In.hInsertAfter = TVI_LAST;
    In.item.mask = TVIF_TEXT;
    In.item.pszText = const_cast<char*>(Text);
    return reinterpret_cast<HTREEITEM>(SendMessage(T, TVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&In)));
  };
  const HTREEITEM A = Add(TVI_ROOT, "A");
  const HTREEITEM A1 = Add(A, "A1");
  Add(A, "A2");
  const HTREEITEM B = Add(TVI_ROOT, "B");
  auto Caret = [T] { return reinterpret_cast<HTREEITEM>(SendMessage(T, TVM_GETNEXTITEM, TVGN_CARET, 0)); };
  ASSERT_TRUE(FindDesktopWindow());
  // Rows of 15 pixels; A's button is centred in the first 19-pixel column.
  ClickAt(T, 9, 7);
  ASSERT_TRUE(PumpUntil(
      [&] { return SendMessage(T, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(A), TVIS_EXPANDED); }));
  // B moved down by the two children; a click on its label selects it.
  ClickAt(T, 25, 3 * 15 + 7);
  ASSERT_TRUE(PumpUntil([&] { return Caret() == B; }));
  // Up twice from B: A2, then A1.
  Xdo("key --window " + FWindowId + " Up Up");
  EXPECT_TRUE(PumpUntil([&] { return Caret() == A1; }));
}

INSTANTIATE_TEST_SUITE_P(Backends, SdlViewsXvfb, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& Info) {
                           return std::string(Info.param ? "PerWindow" : "WholeScreen");
                         });

}  // namespace
