// TStatusBar and its panels, painted in the classic look.
#include <algorithm>

#include "platform/classes/ComCtrls.h"
#include "platform/classes/Screen.h"
#include "platform/classes/UserBridge.h"
#include "platform/gdi/FrameControls.h"
#include "platform/gdi/Text.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/WindowMessages.h"

namespace {

// The classic bar: panels start 2 pixels below the top edge and lie 2 pixels apart.
constexpr Integer PanelTop = 2;
constexpr Integer PanelGap = 2;

}  // namespace

// ---- TStatusPanel -----------------------------------------------------------------------------

TStatusPanel::TStatusPanel(TCollection* Collection) : TCollectionItem(Collection) {}

void TStatusPanel::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TStatusPanel*>(Source)) {
    FText = S->FText;
    FWidth = S->FWidth;
    FAlignment = S->FAlignment;
    FBevel = S->FBevel;
    FStyle = S->FStyle;
    Changed(false);
    return;
  }
  TCollectionItem::Assign(Source);
}

void TStatusPanel::SetText(const std::string& Value) {
  if (FText == Value) return;
  FText = Value;
  Changed(false);
}

void TStatusPanel::SetWidth(Integer Value) {
  if (FWidth == Value) return;
  FWidth = std::max(0, Value);
  Changed(true);
}

void TStatusPanel::SetAlignment(TAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  Changed(false);
}

void TStatusPanel::SetBevel(TStatusPanelBevel Value) {
  if (FBevel == Value) return;
  FBevel = Value;
  Changed(false);
}

void TStatusPanel::SetStyle(TStatusPanelStyle Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  Changed(false);
}

// ---- TStatusPanels ----------------------------------------------------------------------------

TStatusPanels::TStatusPanels(TStatusBar* StatusBar)
    : TCollection(&CreateCollectionItem<TStatusPanel>), FStatusBar(StatusBar) {}

TPersistent* TStatusPanels::GetOwner() {
  return FStatusBar;
}

void TStatusPanels::Update(TCollectionItem*) {
  FStatusBar->Invalidate();
}

// ---- TStatusBar -------------------------------------------------------------------------------

TStatusBar::TStatusBar(TComponent* AOwner) : TCustomControl(AOwner) {
  FControlStyle = TControlStyle{csCaptureMouse, csClickEvents, csDoubleClicks, csOpaque};
  FPanels = std::make_unique<TStatusPanels>(this);
  SetColor(clBtnFace);
  SetBounds(0, 0, 200, 19);
  SetAlign(alBottom);
}

TStatusBar::~TStatusBar() {
  Destroying();
  if (HandleAllocated()) DestroyHandle();
}

void TStatusBar::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_LBUTTONDOWN:
      WMLButtonDown(Message);
      break;
    case WM_SETCURSOR:
      WMSetCursor(Message);
      break;
    case WM_SIZE:
      TCustomControl::Dispatch(Message);
      // The last panel and the grip follow the right edge.
      Invalidate();
      break;
    default:
      TCustomControl::Dispatch(Message);
      break;
  }
}

void TStatusBar::SetSimplePanel(bool Value) {
  if (FSimplePanel == Value) return;
  FSimplePanel = Value;
  Invalidate();
}

void TStatusBar::SetSimpleText(const std::string& Value) {
  if (FSimpleText == Value) return;
  FSimpleText = Value;
  if (FSimplePanel) Invalidate();
}

void TStatusBar::SetSizeGrip(bool Value) {
  if (FSizeGrip == Value) return;
  FSizeGrip = Value;
  Invalidate();
}

bool TStatusBar::GripShown() {
  if (!FSizeGrip) return false;
  auto* Form = dynamic_cast<TCustomForm*>(GetParent());
  return Form != nullptr &&
         (Form->GetBorderStyle() == bsSizeable || Form->GetBorderStyle() == bsSizeToolWin) &&
         Form->GetWindowState() != wsMaximized;
}

TRect TStatusBar::GripRect() {
  const TRect Client = GetClientRect();
  const Integer W = GetSystemMetrics(SM_CXVSCROLL), H = GetSystemMetrics(SM_CYHSCROLL);
  return Rect(Client.Right - W, Client.Bottom - H, Client.Right, Client.Bottom);
}

TRect TStatusBar::PanelRect(Integer Index) {
  const TRect Client = GetClientRect();
  const Integer End = GripShown() ? GripRect().Left : Client.Right;
  if (FSimplePanel) return Rect(0, PanelTop, End, Client.Bottom);
  const Integer Count = FPanels->GetCount();
  if (Index < 0 || Index >= Count) return Rect(0, 0, 0, 0);
  // Panel i ends at the sum of the widths so far; the last one reaches the end.
  Integer Left = 0;
  for (Integer I = 0; I < Index; ++I) Left += FPanels->GetItem(I)->GetWidth();
  Integer Right = Index == Count - 1 ? End : Left + FPanels->GetItem(Index)->GetWidth();
  if (Index > 0) Left += PanelGap;
  Right = std::max(Left, std::min(Right, Client.Right));
  return Rect(Left, PanelTop, Right, Client.Bottom);
}

void TStatusBar::PaintPanel(const TRect& Rect, TStatusPanelBevel Bevel, const std::string& Text,
                            TAlignment Alignment) {
  TCanvas* C = GetCanvas();
  RECT R = Rect;
  if (Bevel != pbNone)
    DrawEdge(C->GetHandle(), &R, Bevel == pbLowered ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
  R = ::Rect(R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1);
  if (Text.empty()) return;
  R.Left += 2;
  R.Right -= 2;
  const UINT Align = Alignment == taRightJustify ? DT_RIGHT : Alignment == taCenter ? DT_CENTER : DT_LEFT;
  C->GetBrush()->SetStyle(bsClear);
  DrawText(C->GetHandle(), Text.c_str(), static_cast<Integer>(Text.size()), &R,
           DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS | Align);
  C->GetBrush()->SetStyle(bsSolid);
}

void TStatusBar::DrawPanel(TStatusPanel* Panel, const TRect& Rect) {
  if (OnDrawPanel) OnDrawPanel(this, Panel, Rect);
}

void TStatusBar::Paint() {
  TCanvas* C = GetCanvas();
  C->SetFont(GetFont());
  C->GetBrush()->SetColor(GetColor());
  C->GetBrush()->SetStyle(bsSolid);
  C->FillRect(GetClientRect());
  if (FSimplePanel) {
    PaintPanel(PanelRect(0), pbLowered, FSimpleText, taLeftJustify);
  } else {
    for (Integer I = 0; I < FPanels->GetCount(); ++I) {
      TStatusPanel* Panel = FPanels->GetItem(I);
      const TRect R = PanelRect(I);
      if (R.Width() <= 0) continue;
      if (Panel->GetStyle() == psOwnerDraw) {
        PaintPanel(R, Panel->GetBevel(), std::string(), Panel->GetAlignment());
        DrawPanel(Panel, Rect(R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1));
      } else {
        PaintPanel(R, Panel->GetBevel(), Panel->GetText(), Panel->GetAlignment());
      }
    }
  }
  if (GripShown()) {
    RECT G = GripRect();
    DrawFrameControl(C->GetHandle(), &G, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
  }
}

void TStatusBar::WMLButtonDown(TMessage& Message) {
  if (GripShown() && PtInRect(GripRect(), LParamToPoint(Message.LParam))) {
    // The grip sizes the form, from its bottom-right corner.
    SendMessage(GetParent()->GetHandle(), WM_SYSCOMMAND, SC_SIZE | WMSZ_BOTTOMRIGHT, Message.LParam);
    return;
  }
  TCustomControl::Dispatch(Message);
}

void TStatusBar::WMSetCursor(TMessage& Message) {
  if (GripShown() && Screen != nullptr) {
    const TPoint P = ScreenToClient(UserLayer::LastMousePosition());
    if (PtInRect(GripRect(), P)) {
      ::SetCursor(Screen->GetCursors(crSizeNWSE));
      Message.Result = 1;
      return;
    }
  }
  TCustomControl::Dispatch(Message);
}
