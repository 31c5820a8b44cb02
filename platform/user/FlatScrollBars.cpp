#include "platform/user/FlatScrollBars.h"

#include <array>
#include <bit>
#include <map>

#include "platform/gdi/SysColors.h"
#include "platform/user/ScrollBars.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/Windows.h"

namespace {

// One value per property bit of WSB_PROP_MASK (WSB_PROP_WINSTYLE's slot stays unused: it is
// read from the window).
using TFlatProps = std::array<INT_PTR, 12>;

// Windows with flat bars. Handles are never reused, so an entry of a destroyed window is only
// dead weight; it is dropped by the next InitializeFlatSB.
std::map<HWND, TFlatProps>& FlatWindows() {
  static std::map<HWND, TFlatProps> Windows;
  return Windows;
}

TFlatProps* FlatPropsOf(HWND Wnd) {
  auto It = FlatWindows().find(Wnd);
  return It != FlatWindows().end() && IsWindow(Wnd) ? &It->second : nullptr;
}

// The slot of a single-bit property index; -1 for anything else.
Integer PropSlot(UINT Index) {
  if (Index == 0 || (Index & ~WSB_PROP_MASK) != 0 || !std::has_single_bit(Index)) return -1;
  return std::countr_zero(Index);
}

TFlatProps DefaultProps() {
  TFlatProps P{};
  P[PropSlot(WSB_PROP_CYVSCROLL)] = GetSystemMetrics(SM_CYVSCROLL);
  P[PropSlot(WSB_PROP_CXHSCROLL)] = GetSystemMetrics(SM_CXHSCROLL);
  P[PropSlot(WSB_PROP_CYHSCROLL)] = GetSystemMetrics(SM_CYHSCROLL);
  P[PropSlot(WSB_PROP_CXVSCROLL)] = GetSystemMetrics(SM_CXVSCROLL);
  P[PropSlot(WSB_PROP_CXHTHUMB)] = GetSystemMetrics(SM_CXHTHUMB);
  P[PropSlot(WSB_PROP_CYVTHUMB)] = GetSystemMetrics(SM_CYVTHUMB);
  P[PropSlot(WSB_PROP_VBKGCOLOR)] = GetSysColor(COLOR_SCROLLBAR);
  P[PropSlot(WSB_PROP_HBKGCOLOR)] = GetSysColor(COLOR_SCROLLBAR);
  P[PropSlot(WSB_PROP_VSTYLE)] = FSB_FLAT_MODE;
  P[PropSlot(WSB_PROP_HSTYLE)] = FSB_FLAT_MODE;
  return P;
}

// A bar the user is pressing or dragging.
bool BarInUse(TWindow* W, Integer Bar) {
  if (!(W->Style & (Bar == SB_HORZ ? WS_HSCROLL : WS_VSCROLL))) return false;
  const TScrollBarState& S = ScrollStateOf(W, Bar);
  return S.Tracking || S.Pressed != TScrollPart::None;
}

}  // namespace

BOOL InitializeFlatSB(HWND Wnd) {
  if (!IsWindow(Wnd)) return FALSE;
  std::erase_if(FlatWindows(), [](const auto& Entry) { return !IsWindow(Entry.first); });
  FlatWindows().try_emplace(Wnd, DefaultProps());
  return TRUE;
}

HRESULT UninitializeFlatSB(HWND Wnd) {
  if (FlatPropsOf(Wnd) == nullptr) return S_FALSE;
  TWindow* W = PeekWindow(Wnd);
  if (BarInUse(W, SB_HORZ) || BarInUse(W, SB_VERT)) return E_FAIL;
  FlatWindows().erase(Wnd);
  return S_OK;
}

// Every style draws as a standard bar here, so a changed property needs no repaint.
BOOL FlatSB_SetScrollProp(HWND Wnd, UINT Index, INT_PTR NewValue, BOOL /*Redraw*/) {
  TFlatProps* P = FlatPropsOf(Wnd);
  const Integer Slot = PropSlot(Index);
  if (P == nullptr || Slot < 0 || Index == WSB_PROP_WINSTYLE) return FALSE;
  (*P)[Slot] = NewValue;
  return TRUE;
}

BOOL FlatSB_GetScrollProp(HWND Wnd, UINT Index, INT_PTR* Value) {
  const TFlatProps* P = FlatPropsOf(Wnd);
  const Integer Slot = PropSlot(Index);
  if (P == nullptr || Slot < 0 || Value == nullptr) return FALSE;
  *Value = Index == WSB_PROP_WINSTYLE
               ? static_cast<INT_PTR>(GetWindowLongPtr(Wnd, GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL))
               : (*P)[Slot];
  return TRUE;
}

Integer FlatSB_SetScrollInfo(HWND Wnd, Integer Bar, const SCROLLINFO* Info, BOOL Redraw) {
  return SetScrollInfo(Wnd, Bar, Info, Redraw);
}

BOOL FlatSB_GetScrollInfo(HWND Wnd, Integer Bar, SCROLLINFO* Info) {
  return GetScrollInfo(Wnd, Bar, Info);
}

Integer FlatSB_SetScrollPos(HWND Wnd, Integer Bar, Integer Pos, BOOL Redraw) {
  return SetScrollPos(Wnd, Bar, Pos, Redraw);
}

Integer FlatSB_GetScrollPos(HWND Wnd, Integer Bar) {
  return GetScrollPos(Wnd, Bar);
}

Integer FlatSB_SetScrollRange(HWND Wnd, Integer Bar, Integer Min, Integer Max, BOOL Redraw) {
  return SetScrollRange(Wnd, Bar, Min, Max, Redraw);
}

BOOL FlatSB_GetScrollRange(HWND Wnd, Integer Bar, Integer* Min, Integer* Max) {
  return GetScrollRange(Wnd, Bar, Min, Max);
}

BOOL FlatSB_ShowScrollBar(HWND Wnd, Integer Bar, BOOL Show) {
  return ShowScrollBar(Wnd, Bar, Show);
}

BOOL FlatSB_EnableScrollBar(HWND Wnd, Integer Bar, UINT Arrows) {
  return EnableScrollBar(Wnd, static_cast<UINT>(Bar), Arrows);
}
