#pragma once
// The tree view's data and geometry, shared by its messages (TreeViewControl.cpp), geometry
// (TreeViewLayout.cpp), input (TreeViewInput.cpp) and painting (TreeViewPaint.cpp).
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "platform/user/TreeViewControl.h"
#include "platform/user/ViewControlCommon.h"

struct TTvNode {
  std::string Text;
  bool TextCallback = false;
  Integer Image = 0;
  Integer SelectedImage = 0;
  UINT State = 0;
  LPARAM Param = 0;
  Integer ChildrenFlag = -2;  // TVIF_CHILDREN's cChildren; -2: from the children there are
  TTvNode* Parent = nullptr;
  std::vector<std::unique_ptr<TTvNode>> Children;
  Integer Level = 0;
  Integer TextWidth = -1;  // measured on demand (-1: not yet)
};

struct TTreeViewData : TNativeControlData {
  HWND Wnd = nullptr;
  TTvNode Root;
  std::unordered_set<TTvNode*> Live;
  TTvNode* Selected = nullptr;
  TTvNode* DropHilite = nullptr;
  HIMAGELIST Images = nullptr;
  HIMAGELIST StateImages = nullptr;
  Integer Indent = 19;
  Integer ItemHeight = 0;  // TVM_SETITEMHEIGHT (0: automatic)
  COLORREF BkColor = CLR_DEFAULT, TextColor = CLR_DEFAULT, LineColor = CLR_DEFAULT;
  Integer ScrollX = 0;  // pixels
  Integer ScrollY = 0;  // rows
  bool Focused = false;
  bool Pressed = false;
  bool Syncing = false;
  Integer WheelRest = 0;
  Integer LineHeight = 0;
  std::vector<TTvNode*> Shown;  // the shown items top to bottom (parents expanded)
  bool ShownValid = false;
};

// Pixels between an item's text and the edges of its text rectangle.
constexpr Integer TreeTextPad = 2;

struct TTvGeometry {
  TSize Client;
  Integer RowHeight = 0;
  Integer LineHeight = 0;
  TSize Image, State;
};

TTreeViewData* TreeData(HWND Wnd);
TTvNode* NodeOf(const TTreeViewData& D, HTREEITEM Item);  // null for a handle that is no item
inline HTREEITEM HandleOf(TTvNode* N) {
  return reinterpret_cast<HTREEITEM>(N);
}
TTvGeometry TreeGeometry(HWND Wnd, TTreeViewData& D);
const std::vector<TTvNode*>& ShownNodes(TTreeViewData& D);
Integer ShownIndex(TTreeViewData& D, const TTvNode* N);  // -1 when hidden
bool HasChildren(const TTvNode& N);
Integer ItemLeft(HWND Wnd, const TTreeViewData& D, const TTvGeometry& G, const TTvNode& N);  // x0
// TVM_GETITEMRECT: the text rectangle (TextOnly) or the whole row; false when hidden.
bool NodeRect(HWND Wnd, TTreeViewData& D, TTvNode* N, bool TextOnly, TRect& R);
TTvNode* TreeHitTest(HWND Wnd, TTreeViewData& D, TPoint P, UINT& Flags);
std::string NodeText(HWND Wnd, TTvNode* N);

bool ExpandNode(HWND Wnd, TTvNode* N, UINT Code);
bool SelectNode(HWND Wnd, TTvNode* N, UINT Cause);
void EnsureNodeVisible(HWND Wnd, TTvNode* N);
void TreeScrollTo(HWND Wnd, Integer X, Integer Y);
void UpdateTreeScrolling(HWND Wnd);
void SetNodeState(HWND Wnd, TTvNode* N, UINT State, UINT Mask);

void PaintTreeView(HWND Wnd, HDC DC);
LRESULT TreeViewInput(HWND Wnd, TTreeViewData& D, UINT Msg, WPARAM WParam, LPARAM LParam, bool& Handled);
