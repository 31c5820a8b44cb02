// Painting a 100,000-row owner-data report view: the view asks its parent for the shown rows
// only, so a paint costs the same at the top and at the end of the list.
#include <benchmark/benchmark.h>

#include <string>

#include "platform/display/HeadlessDisplay.h"
#include "platform/user/CommonControls.h"
#include "platform/user/ControlText.h"
#include "platform/user/User.h"
#include "platform/user/WindowInternals.h"

namespace {

constexpr Integer Rows = 100000;

LRESULT ParentProc(HWND W, UINT Msg, WPARAM WP, LPARAM LP) {
  if (Msg == WM_NOTIFY && reinterpret_cast<NMHDR*>(LP)->code == LVN_GETDISPINFO) {
    auto* Info = reinterpret_cast<NMLVDISPINFO*>(LP);
    if (Info->item.mask & LVIF_TEXT) {
      const std::string Text =
          (Info->item.iSubItem == 0 ? "File " : "") + std::to_string(Info->item.iItem * 7);
      CopyTextOut(Text, Info->item.pszText, static_cast<std::size_t>(Info->item.cchTextMax));
    }
    return 0;
  }
  return DefWindowProc(W, Msg, WP, LP);
}

HWND MakeView(HWND& Parent) {
  static const bool Registered = [] {
    WNDCLASS WC;
    WC.lpfnWndProc = MakeWndProc(ParentProc);
    WC.lpszClassName = "TvBenchViewsParent";
    return RegisterClass(&WC) != 0;
  }();
  (void)Registered;
  RegisterCommonControlClasses();
  Parent = CreateWindowEx(0, "TvBenchViewsParent", "", WS_POPUP | WS_VISIBLE, 0, 0, 640, 480, nullptr,
                          nullptr, nullptr, nullptr);
  HWND View = CreateWindowEx(0, WC_LISTVIEW, "", WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDATA, 0, 0,
                             640, 480, Parent, nullptr, nullptr, nullptr);
  SendMessage(View, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
  for (Integer C = 0; C < 4; ++C) {
    LVCOLUMN Col;
    Col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    Col.pszText = const_cast<char*>("Column");
    Col.cx = 150;
    Col.iSubItem = C;
    SendMessage(View, LVM_INSERTCOLUMN, C, reinterpret_cast<LPARAM>(&Col));
  }
  SendMessage(View, LVM_SETITEMCOUNT, Rows, 0);
  RunUntilIdle();
  return View;
}

// One full repaint of the view; Range(0) = 1 scrolls to the end of the list first.
void BM_PaintOwnerDataReport(benchmark::State& State) {
  Headless();
  HWND Parent = nullptr;
  HWND View = MakeView(Parent);
  if (State.range(0) == 1) SendMessage(View, LVM_ENSUREVISIBLE, Rows - 1, FALSE);
  RunUntilIdle();
  for (auto _ : State) {
    InvalidateRect(View, nullptr, TRUE);
    UpdateWindow(View);
  }
  DestroyWindow(Parent);
  RunUntilIdle();
}
BENCHMARK(BM_PaintOwnerDataReport)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// Scrolling by a page and painting, through the whole list's first thousand pages.
void BM_ScrollOwnerDataReport(benchmark::State& State) {
  Headless();
  HWND Parent = nullptr;
  HWND View = MakeView(Parent);
  Integer Page = 0;
  for (auto _ : State) {
    SendMessage(View, WM_VSCROLL, SB_PAGEDOWN, 0);
    UpdateWindow(View);
    if (++Page == 1000) {
      SendMessage(View, WM_VSCROLL, SB_TOP, 0);
      Page = 0;
    }
  }
  DestroyWindow(Parent);
  RunUntilIdle();
}
BENCHMARK(BM_ScrollOwnerDataReport)->Unit(benchmark::kMicrosecond);

}  // namespace
