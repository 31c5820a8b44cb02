// The view's cursors: loading them into the screen's table, the cursor the user sets and the
// temporary cursors of mouse work.
#include <cstdint>
#include <iterator>

#include "imaging/view/zezudidview.h"
#include "platform/classes/Screen.h"
#include "platform/system/Resources.h"
#include "platform/user/Cursors.h"

namespace {

// Resource names of the cursors 1778, 1779, ... in order. Two drawings serve two numbers each.
constexpr const char* ViewCursorNames[] = {
    "ZOOMMENO", "ZOOMPIU", "CROCE", "GOMMA",   "MANO",    "PENNA",  "CROCE1",  "CROCE3",  "MOVE2",   "MOVEY",
    "MOVE1",    "MOVEX",   "MOVE",  "CROCE3+", "CROCE3-", "CROCE2", "CROCE2+", "CROCE2-", "CROCE2-", "1795",
    "1796",     "1797",    "1798",  "1799",    "1800",    "1801",   "1802",    "1803",    "1803",    "1805",
    "1806",     "1807",    "1808",  "ROT1",    "ROT2",    "ROT3",   "ROT4"};
static_assert(std::size(ViewCursorNames) == 37);
constexpr TCursor FirstViewCursor = 1778;

// The embedding manifest turns a name made of digits into a numeric id.
LPCSTR CursorResourceName(const char* Name) {
  std::uintptr_t Id = 0;
  for (const char* C = Name; *C != 0; ++C) {
    if (*C < '0' || *C > '9') return Name;
    Id = Id * 10 + static_cast<std::uintptr_t>(*C - '0');
  }
  return MAKEINTRESOURCE(Id);
}

}  // namespace

void RegisterViewCursors() {
  if (Screen == nullptr) return;
  TCursor Number = FirstViewCursor;
  for (const char* Name : ViewCursorNames)
    Screen->SetCursors(Number++, LoadCursor(HInstance, CursorResourceName(Name)));
}

void TZezudIdView::ShowCursorNow(TCursor Value) {
  TIEView::SetCursor(Value);
  if (Screen != nullptr) ::SetCursor(Screen->GetCursors(Value));
}

void TZezudIdView::SetCursor(TCursor Value) {
  if (OnSetCursor) OnSetCursor(this, Value);
  FDefaultCursor = Value;
  ShowCursorNow(Value);
}

void TZezudIdView::ApplyCursor(TCursor Value) {
  if (OnSetCursor) OnSetCursor(this, Value);
  // A view without owner (a loader nobody sees) leaves the pointer alone.
  if (FHasOwner) ShowCursorNow(Value);
}

void TZezudIdView::RestoreCursor() {
  ApplyCursor(FDefaultCursor);
}
