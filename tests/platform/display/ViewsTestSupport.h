#pragma once
// A parent for the list view, tree view and header tests: it records the views' notifications
// (code and item), answers owner data from a table of names, refuses what a test asks it to,
// and answers custom draw as told.
#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Dib.h"
#include "platform/gdi/Painting.h"
#include "platform/user/ControlText.h"
#include "platform/user/ImageLists.h"
#include "platform/user/WndProc.h"
#include "tests/platform/display/NativeControlsTestUtil.h"

namespace ViewTesting {

struct TViewNote {
  UINT Code = 0;
  Integer Item = -1;  // list: iItem (LVN_COLUMNCLICK: iSubItem); header: iItem; tree: -1
  bool operator==(const TViewNote& O) const { return Code == O.Code && Item == O.Item; }
};

inline std::ostream& operator<<(std::ostream& S, const TViewNote& N) {
  return S << "{code " << static_cast<int>(N.Code) << " item " << N.Item << "}";
}

struct TViewParent {
  WNDPROC Old = nullptr;
  std::vector<TViewNote> Notes;
  std::vector<std::string> Names;  // owner data: item i is Names[i % size] + number
  Integer AskedMin = -1, AskedMax = -1;
  Integer CacheFrom = -1, CacheTo = -1;
  std::string LastFind;
  UINT RefuseCode = 0;                 // a notification answered TRUE
  LRESULT PrePaintAnswer = 0;          // the answer to CDDS_PREPAINT
  ULONG_PTR SkipItem = ~ULONG_PTR(0);  // the item whose CDDS_ITEMPREPAINT answers CDRF_SKIPDEFAULT
  bool KeepLabelEdits = true;
  std::string EditedText;
  bool Recording(UINT Code) const {
    return Code != NM_CUSTOMDRAW && Code != LVN_GETDISPINFO && Code != TVN_GETDISPINFO && Code != HDN_TRACK;
  }
};

inline TViewParent& ViewParent() {
  static TViewParent P;
  return P;
}

inline std::string OwnerName(Integer I) {
  const auto& Names = ViewParent().Names;
  return Names.empty() ? std::to_string(I) : Names[static_cast<std::size_t>(I) % Names.size()];
}

inline LRESULT ViewParentProc(HWND W, UINT Msg, WPARAM WP, LPARAM LP) {
  TViewParent& P = ViewParent();
  if (Msg != WM_NOTIFY) return CallWindowProc(P.Old, W, Msg, WP, LP);
  auto* H = reinterpret_cast<NMHDR*>(LP);
  Integer Item = -1;
  if (H->code >= HDN_DIVIDERDBLCLICK - 10 && H->code <= HDN_FIRST)
    Item = reinterpret_cast<NMHEADER*>(LP)->iItem;
  if (H->code <= LVN_FIRST && H->code >= LVN_KEYDOWN) Item = reinterpret_cast<NMLISTVIEW*>(LP)->iItem;
  if (H->code == LVN_COLUMNCLICK) Item = reinterpret_cast<NMLISTVIEW*>(LP)->iSubItem;
  if (P.Recording(H->code)) P.Notes.push_back({H->code, Item});
  switch (H->code) {
    case LVN_GETDISPINFO: {
      auto* I = reinterpret_cast<NMLVDISPINFO*>(LP);
      const Integer K = I->item.iItem;
      P.AskedMin = P.AskedMin < 0 ? K : std::min(P.AskedMin, K);
      P.AskedMax = std::max(P.AskedMax, K);
      if (I->item.mask & LVIF_TEXT) {
        const std::string T = I->item.iSubItem == 0 ? OwnerName(K) : "sub" + std::to_string(K);
        CopyTextOut(T, I->item.pszText, static_cast<std::size_t>(I->item.cchTextMax));
      }
      if (I->item.mask & LVIF_IMAGE) I->item.iImage = -1;
      return 0;
    }
    case LVN_ODCACHEHINT: {
      auto* C = reinterpret_cast<NMLVCACHEHINT*>(LP);
      P.CacheFrom = C->iFrom;
      P.CacheTo = C->iTo;
      return 0;
    }
    case LVN_ODFINDITEM: {
      // The parent searches its names from iStart, wrapping round when asked.
      auto* F = reinterpret_cast<NMLVFINDITEM*>(LP);
      P.LastFind = F->lvfi.psz ? F->lvfi.psz : "";
      const Integer N = static_cast<Integer>(SendMessage(H->hwndFrom, LVM_GETITEMCOUNT, 0, 0));
      const Integer Steps = (F->lvfi.flags & LVFI_WRAP) ? N : N - F->iStart;
      for (Integer K = 0; K < Steps; ++K) {
        const Integer I = (F->iStart + K) % N;
        std::string Name = OwnerName(I);
        if (Name.size() >= P.LastFind.size() &&
            std::equal(P.LastFind.begin(), P.LastFind.end(), Name.begin(),
                       [](char A, char B) { return std::tolower(A) == std::tolower(B); }))
          return I;
      }
      return -1;
    }
    case LVN_ENDLABELEDIT: {
      auto* I = reinterpret_cast<NMLVDISPINFO*>(LP);
      P.EditedText = I->item.pszText ? I->item.pszText : "(cancelled)";
      return P.KeepLabelEdits ? TRUE : FALSE;
    }
    case NM_CUSTOMDRAW: {
      auto* C = reinterpret_cast<NMCUSTOMDRAW*>(LP);
      if (C->dwDrawStage == CDDS_PREPAINT) return P.PrePaintAnswer;
      if (C->dwDrawStage == CDDS_ITEMPREPAINT && C->dwItemSpec == P.SkipItem) return CDRF_SKIPDEFAULT;
      return CDRF_DODEFAULT;
    }
    default:
      return H->code == P.RefuseCode ? TRUE : 0;
  }
}

class TViewTest : public CommonControlTesting::TCommonControlTest {
 protected:
  void SetUp() override {
    TCommonControlTest::SetUp();
    ViewParent() = TViewParent();
    ViewParent().Old = reinterpret_cast<WNDPROC>(
        SetWindowLongPtr(Parent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(MakeWndProc(ViewParentProc))));
  }
  static std::vector<TViewNote> TakeViewNotes() {
    std::vector<TViewNote> N = ViewParent().Notes;
    ViewParent().Notes.clear();
    return N;
  }
  static bool Noted(UINT Code) {
    const auto& N = ViewParent().Notes;
    return std::any_of(N.begin(), N.end(), [Code](const TViewNote& V) { return V.Code == Code; });
  }
  // A 32-bit image list of Count solid Cx x Cy images (red, green, blue, ...).
  static HIMAGELIST SolidImages(Integer Cx, Integer Cy, Integer Count) {
    HIMAGELIST L = ImageList_Create(Cx, Cy, ILC_MASK | ILC_COLOR32, Count, 1);
    HDC DC = CreateCompatibleDC(nullptr);
    HBITMAP B = CreateBitmap(Cx * Count, Cy, 1, 32, nullptr);
    const HGDIOBJ Old = SelectObject(DC, B);
    const COLORREF Colours[] = {0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF};
    for (Integer I = 0; I < Count; ++I) {
      HBRUSH Brush = CreateSolidBrush(Colours[I % 4]);
      RECT R{I * Cx, 0, (I + 1) * Cx, Cy};
      FillRect(DC, &R, Brush);
      DeleteObject(Brush);
    }
    SelectObject(DC, Old);
    DeleteDC(DC);
    ImageList_Add(L, B, nullptr);
    DeleteObject(B);
    return L;
  }
};

// Screen pixels are 0x00RRGGBB.
inline DWORD ScreenColor(COLORREF C) {
  return (C & 0xFF) << 16 | (C & 0xFF00) | (C >> 16 & 0xFF);
}

}  // namespace ViewTesting
