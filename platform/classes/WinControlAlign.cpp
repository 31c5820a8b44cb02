// TWinControl's layout of its children: alignment (top, bottom, left, right, client, custom,
// in that order, each group sorted by position), anchors (kept distances when the parent is
// resized), the border width and auto-sizing to the children.
#include <algorithm>
#include <climits>

#include "platform/classes/Controls.h"
#include "platform/gdi/Text.h"
#include "platform/system/Math.h"
#include "platform/system/ScopeExit.h"

void TWinControl::DisableAlign() {
  ++FAlignLevel;
}

void TWinControl::EnableAlign() {
  --FAlignLevel;
  if (FAlignLevel == 0 && FControlState.Contains(csAlignmentNeeded)) Realign();
}

void TWinControl::Realign() {
  AlignControl(nullptr);
}

void TWinControl::AlignControl(TControl* AControl) {
  // Alignment waits for the window: until then the client area is not known for certain.
  if (FHandle == nullptr || GetComponentState().Contains(csDestroying)) return;
  if (FAlignLevel != 0) {
    FControlState.Include(csAlignmentNeeded);
    return;
  }
  DisableAlign();
  auto Cleanup = ScopeExit([&] {
    FControlState.Exclude(csAlignmentNeeded);
    EnableAlign();
  });
  TRect R = GetClientRect();
  AlignControls(AControl, R);
}

void TWinControl::AdjustClientRect(TRect& Rect) {
  Rect.Left += FBorderWidth;
  Rect.Top += FBorderWidth;
  Rect.Right -= FBorderWidth;
  Rect.Bottom -= FBorderWidth;
}

void TWinControl::SetBorderWidth(Integer Value) {
  if (FBorderWidth == Value) return;
  FBorderWidth = Value;
  Realign();
  Invalidate();
}

namespace {

// Whether C1 goes before C2 among controls of the same alignment.
bool InsertBefore(TControl* C1, TControl* C2, TAlign AAlign) {
  switch (AAlign) {
    case alTop:
      return C1->GetTop() < C2->GetTop();
    case alBottom:
      return C1->GetTop() + C1->GetHeight() >= C2->GetTop() + C2->GetHeight();
    case alLeft:
      return C1->GetLeft() < C2->GetLeft();
    case alRight:
      return C1->GetLeft() + C1->GetWidth() >= C2->GetLeft() + C2->GetWidth();
    default:
      return false;
  }
}

bool AlignWork(TWinControl* Parent) {
  for (Integer I = Parent->GetControlCount() - 1; I >= 0; --I) {
    TControl* C = Parent->GetControl(I);
    if (C->GetAlign() != alNone || !(C->GetAnchors() == TAnchors{akLeft, akTop})) return true;
  }
  return false;
}

}  // namespace

void TWinControl::DoPosition(TControl* Control, TAlign AAlign, TRect& Rect, const std::vector<TControl*>&,
                             Integer) {
  // Bounds the layout gives leave the control's anchor rules as they are.
  auto Place = [Control](Integer Left, Integer Top, Integer Width, Integer Height) {
    Control->FAnchorMove = true;
    {
      auto Cleanup = ScopeExit([&] { Control->FAnchorMove = false; });
      Control->SetBounds(Left, Top, Width, Height);
    }
  };
  if (AAlign == alNone || !(Control->FAnchors == AnchorAlign(AAlign))) {
    if (Control->FOriginalParentSize.X != 0 && Control->FOriginalParentSize.Y != 0) {
      Integer NewLeft = Control->FLeft, NewTop = Control->FTop;
      Integer NewWidth = Control->FWidth, NewHeight = Control->FHeight;
      const TPoint ParentSize = ClientSizeForLayout();
      const TPoint Original = Control->FOriginalParentSize;
      const TPoint Rules = Control->FAnchorRules;
      const TAnchors A = Control->FAnchors;
      if (A.Contains(akRight)) {
        if (A.Contains(akLeft))
          NewWidth = ParentSize.X - (Original.X - Rules.X);
        else
          NewLeft = ParentSize.X - (Original.X - Rules.X);
      } else if (!A.Contains(akLeft)) {
        NewLeft = MulDiv(Rules.X, ParentSize.X, Original.X) - NewWidth / 2;
      }
      if (A.Contains(akBottom)) {
        if (A.Contains(akTop))
          NewHeight = ParentSize.Y - (Original.Y - Rules.Y);
        else
          NewTop = ParentSize.Y - (Original.Y - Rules.Y);
      } else if (!A.Contains(akTop)) {
        NewTop = MulDiv(Rules.Y, ParentSize.Y, Original.Y) - NewHeight / 2;
      }
      Place(NewLeft, NewTop, NewWidth, NewHeight);
    }
    if (AAlign == alNone) return;
  }
  Integer NewWidth = Rect.Right - Rect.Left;
  if (NewWidth < 0 || AAlign == alLeft || AAlign == alRight || AAlign == alCustom) NewWidth = Control->FWidth;
  Integer NewHeight = Rect.Bottom - Rect.Top;
  if (NewHeight < 0 || AAlign == alTop || AAlign == alBottom || AAlign == alCustom)
    NewHeight = Control->FHeight;
  Integer NewLeft = Rect.Left, NewTop = Rect.Top;
  switch (AAlign) {
    case alTop:
      Rect.Top += NewHeight;
      break;
    case alBottom:
      Rect.Bottom -= NewHeight;
      NewTop = Rect.Bottom;
      break;
    case alLeft:
      Rect.Left += NewWidth;
      break;
    case alRight:
      Rect.Right -= NewWidth;
      NewLeft = Rect.Right;
      break;
    case alCustom:
      NewLeft = Control->FLeft;
      NewTop = Control->FTop;
      break;
    default:
      break;
  }
  Place(NewLeft, NewTop, NewWidth, NewHeight);
  // A control that did not take the size it was given (constraints) leaves the rest.
  if (Control->FWidth != NewWidth || Control->FHeight != NewHeight) {
    switch (AAlign) {
      case alTop:
        Rect.Top -= NewHeight - Control->FHeight;
        break;
      case alBottom:
        Rect.Bottom += NewHeight - Control->FHeight;
        break;
      case alLeft:
        Rect.Left -= NewWidth - Control->FWidth;
        break;
      case alRight:
        Rect.Right += NewWidth - Control->FWidth;
        break;
      case alClient:
        Rect.Right += Control->FWidth - NewWidth;
        Rect.Bottom += Control->FHeight - NewHeight;
        break;
      default:
        break;
    }
  }
}

void TWinControl::DoAlign(TControl* AControl, TRect& Rect, TAlign AAlign, std::vector<TControl*>& AlignList) {
  AlignList.clear();
  if (AControl != nullptr && (AAlign == alNone || AControl->FVisible) && AControl->FAlign == AAlign)
    AlignList.push_back(AControl);
  for (Integer I = 0; I < GetControlCount(); ++I) {
    TControl* Control = GetControl(I);
    if (Control->FAlign != AAlign || Control == AControl) continue;
    if (AAlign != alNone && !Control->FVisible) continue;
    std::size_t J = 0;
    while (J < AlignList.size() && !InsertBefore(Control, AlignList[J], AAlign)) ++J;
    AlignList.insert(AlignList.begin() + static_cast<std::ptrdiff_t>(J), Control);
  }
  for (std::size_t I = 0; I < AlignList.size(); ++I)
    DoPosition(AlignList[I], AAlign, Rect, AlignList, static_cast<Integer>(I));
}

void TWinControl::AlignControls(TControl* AControl, TRect& Rect) {
  if (AlignWork(this)) {
    AdjustClientRect(Rect);
    std::vector<TControl*> AlignList;
    for (TAlign A : {alTop, alBottom, alLeft, alRight, alClient, alCustom, alNone})
      DoAlign(AControl, Rect, A, AlignList);
    ControlsAligned();
  }
  if (FShowing) AdjustSize();
}

void TWinControl::AdjustSize() {
  if (!GetComponentState().Contains(csLoading) && HandleAllocated()) SetBounds(FLeft, FTop, FWidth, FHeight);
}

bool TWinControl::CanAutoSize(Integer& NewWidth, Integer& NewHeight) {
  Integer Right = INT_MIN, Bottom = INT_MIN;
  for (Integer I = 0; I < GetControlCount(); ++I) {
    TControl* C = GetControl(I);
    if (!C->FVisible || C->FAlign == alClient) continue;
    if (C->FAlign != alTop && C->FAlign != alBottom) Right = std::max(Right, C->FLeft + C->FWidth);
    if (C->FAlign != alLeft && C->FAlign != alRight) Bottom = std::max(Bottom, C->FTop + C->FHeight);
  }
  const TRect Client = GetClientRect();
  if (Right != INT_MIN && FAlign != alTop && FAlign != alBottom && FAlign != alClient)
    NewWidth = FWidth - Client.Right + Right + FBorderWidth;
  if (Bottom != INT_MIN && FAlign != alLeft && FAlign != alRight && FAlign != alClient)
    NewHeight = FHeight - Client.Bottom + Bottom + FBorderWidth;
  return true;
}
