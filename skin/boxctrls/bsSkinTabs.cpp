#include "skin/boxctrls/bsSkinTabs.h"

#include "platform/classes/Bitmap.h"
#include "platform/classes/ImgList.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Text.h"
#include "platform/user/CommonControls.h"
#include "platform/user/User.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/data/bsUtils.h"

// ---- TbsSkinCustomTabSheet ------------------------------------------------------------------

TbsSkinCustomTabSheet::TbsSkinCustomTabSheet(TComponent* AOwner)
    : TTabSheet(AOwner), FWallPaper(std::make_unique<TBitmap>()) {}

TbsSkinCustomTabSheet::~TbsSkinCustomTabSheet() = default;

void TbsSkinCustomTabSheet::SetWallPaper(TBitmap* Value) {
  FWallPaper->Assign(Value);
  Invalidate();
}

void TbsSkinCustomTabSheet::PaintBackground(HDC DC) {
  if (GetWidth() < 1 || GetHeight() < 1 || GetParent() == nullptr) return;
  TCanvas C;
  C.SetHandle(DC);
  if (!FWallPaper->Empty()) {
    const Integer W = FWallPaper->GetWidth(), H = FWallPaper->GetHeight();
    for (Integer X = 0; X < GetWidth(); X += W)
      for (Integer Y = 0; Y < GetHeight(); Y += H) C.Draw(X, Y, FWallPaper.get());
  } else {
    // The skin's page background comes with a "tab" part; without one the page colour.
    C.GetBrush()->SetColor(clBtnFace);
    C.FillRect(GetClientRect());
  }
  C.SetHandle(nullptr);
}

void TbsSkinCustomTabSheet::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_ERASEBKGND) {
    PaintBackground(reinterpret_cast<HDC>(Message.WParam));
    Message.Result = 1;
    return;
  }
  TTabSheet::Dispatch(Message);
}

// ---- TbsSkinPageControl ---------------------------------------------------------------------

TbsSkinPageControl::TbsSkinPageControl(TComponent* AOwner)
    : TPageControl(AOwner), FDefaultFont(std::make_unique<TFont>()) {
  for (TFont* F : {GetFont(), FDefaultFont.get()}) {
    F->SetName("Arial");
    F->SetHeight(14);
    F->SetStyle({});
    F->SetColor(clBtnText);
  }
  SetCtl3D(false);
  // Everything is painted here; the native control only lays out and switches.
  TControlState S = GetControlState();
  S.Include(csCustomPaint);
  SetControlState(S);
}

TbsSkinPageControl::~TbsSkinPageControl() = default;

void TbsSkinPageControl::LoadSkinPart() {
  PartIndex = FSD == nullptr || FSD->Empty ? -1 : FSD->FindControlPart(FSkinDataName);
}

void TbsSkinPageControl::SetSkinData(TbsSkinData* Value) {
  FSD = Value;
  if (Value != nullptr) Value->FreeNotification(this);
  if (Value != nullptr && !Value->Empty && !GetComponentState().Contains(csDesigning)) ApplySkinChange();
}

void TbsSkinPageControl::Notification(TComponent* AComponent, TOperation Operation) {
  TPageControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FSD) FSD = nullptr;
}

Integer TbsSkinPageControl::TabHeightInUse() const {
  return GetTabHeight() > 0 ? GetTabHeight() : FDefaultItemHeight;
}

void TbsSkinPageControl::SetTabSize(Integer Width, Integer Height) {
  if (HandleAllocated()) SendMessage(GetHandle(), TCM_SETITEMSIZE, 0, MAKELPARAM(Width, Height));
}

void TbsSkinPageControl::ApplySkinChange() {
  LoadSkinPart();
  if (PartIndex == -1) GetFont()->Assign(FDefaultFont.get());
  SetTabSize(GetTabWidth(), TabHeightInUse());
  Realign();
  Invalidate();
  if (TTabSheet* Page = GetActivePage()) Page->Repaint();
}

void TbsSkinPageControl::Loaded() {
  TPageControl::Loaded();
  LoadSkinPart();
  if (PartIndex != -1) return;
  SetTabSize(GetTabWidth(), TabHeightInUse());
  Realign();
}

void TbsSkinPageControl::SetDefaultItemHeight(Integer Value) {
  FDefaultItemHeight = Value;
  LoadSkinPart();
  if (PartIndex != -1) return;
  SetTabSize(GetTabWidth(), TabHeightInUse());
  Realign();
}

void TbsSkinPageControl::SetTabExtededDraw(bool Value) {
  FTabExtededDraw = Value;
  Invalidate();
}

void TbsSkinPageControl::SetTabLayout(TButtonLayout Value) {
  if (FTabLayout == Value) return;
  FTabLayout = Value;
  Invalidate();
}

void TbsSkinPageControl::SetTabMargin(Integer Value) {
  if (Value < -1 || FTabMargin == Value) return;
  FTabMargin = Value;
  Invalidate();
}

void TbsSkinPageControl::SetTabSpacing(Integer Value) {
  if (FTabSpacing == Value) return;
  FTabSpacing = Value;
  Invalidate();
}

void TbsSkinPageControl::SetTextInHorizontal(bool Value) {
  FTextInHorizontal = Value;
  Invalidate();
}

void TbsSkinPageControl::SetTabsBGTransparent(bool Value) {
  if (FTabsBGTransparent == Value) return;
  FTabsBGTransparent = Value;
  Invalidate();
}

void TbsSkinPageControl::SetShowCloseButtons(bool Value) {
  FShowCloseButtons = Value;
  Invalidate();
}

void TbsSkinPageControl::Change() {
  TPageControl::Change();
  Invalidate();
  if (TTabSheet* Page = GetActivePage()) Page->Invalidate();
}

// ---- Hot tabs and close buttons -------------------------------------------------------------

TTabSheet* TbsSkinPageControl::PageOfTab(Integer TabIndex) const {
  Integer Visible = 0;
  for (Integer I = 0; I < GetPageCount(); ++I) {
    TTabSheet* P = GetPage(I);
    if (!P->GetTabVisible()) continue;
    if (Visible++ == TabIndex) return P;
  }
  return nullptr;
}

void TbsSkinPageControl::SetHotTab(Integer Value) {
  if (FHotTab == Value) return;
  FHotTab = Value;
  Invalidate();
}

void TbsSkinPageControl::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  TPageControl::MouseMove(Shift, X, Y);
  const Integer Tab = IndexOfTabAt(X, Y);
  SetHotTab(Tab);
  if (!FShowCloseButtons) return;
  for (Integer I = 0; I < GetPageCount(); ++I) {
    auto* Sheet = dynamic_cast<TbsSkinCustomTabSheet*>(GetPage(I));
    if (Sheet == nullptr) continue;
    const TRect TR = Sheet->GetTabIndex() >= 0 ? TabRect(Sheet->GetTabIndex()) : TRect{};
    const TRect& B = Sheet->CloseButtonRect;
    const TRect CR = Rect(B.Left + TR.Left, B.Top + TR.Top, B.Right + TR.Left, B.Bottom + TR.Top);
    const bool In =
        Sheet->GetTabIndex() == Tab && X >= CR.Left && X < CR.Right && Y >= CR.Top && Y < CR.Bottom;
    if (In != Sheet->CloseButtonMouseIn) {
      Sheet->CloseButtonMouseIn = In;
      Invalidate();
    }
  }
}

void TbsSkinPageControl::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (FShowCloseButtons && Button == mbLeft)
    if (auto* Sheet = dynamic_cast<TbsSkinCustomTabSheet*>(PageOfTab(IndexOfTabAt(X, Y))))
      if (Sheet->CloseButtonMouseIn) {
        Sheet->CloseButtonDown = true;
        Invalidate();
        return;
      }
  TPageControl::MouseDown(Button, Shift, X, Y);
}

void TbsSkinPageControl::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TPageControl::MouseUp(Button, Shift, X, Y);
  for (Integer I = 0; I < GetPageCount(); ++I) {
    auto* Sheet = dynamic_cast<TbsSkinCustomTabSheet*>(GetPage(I));
    if (Sheet == nullptr || !Sheet->CloseButtonDown) continue;
    Sheet->CloseButtonDown = false;
    Invalidate();
    if (Sheet->CloseButtonMouseIn) {
      CloseSheet(Sheet);
      return;
    }
  }
}

void TbsSkinPageControl::CloseSheet(TbsSkinCustomTabSheet* Sheet) {
  bool CanClose = true;
  if (OnClose) OnClose(Sheet, CanClose);
  if (!CanClose) return;
  if (FFreeOnClose)
    delete Sheet;
  else
    Sheet->SetTabVisible(false);
  if (OnAfterClose) OnAfterClose(this);
}

// ---- Messages -------------------------------------------------------------------------------

void TbsSkinPageControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ERASEBKGND: {
      bool AnyTab = false;
      for (Integer I = 0; I < GetPageCount() && !AnyTab; ++I) AnyTab = GetPage(I)->GetTabVisible();
      if (AnyTab) {
        Message.Result = 1;
        return;
      }
      LoadSkinPart();
      TPageControl::Dispatch(Message);
      return;
    }
    case WM_SIZE:
      LoadSkinPart();
      TPageControl::Dispatch(Message);
      return;
    case WM_HSCROLL:
      TPageControl::Dispatch(Message);
      Repaint();
      return;
    case WM_MOUSEWHEEL:
      TPageControl::Dispatch(Message);
      if (FMouseWheelSupport && HandleAllocated() && Focused())
        SelectNextPage(static_cast<SHORT>(HIWORD(Message.WParam)) < 0);
      return;
    case TCM_SETCURSEL:
      TPageControl::Dispatch(Message);
      if (!GetComponentState().Contains(csLoading)) Invalidate();
      return;
    case CM_MOUSELEAVE:
      TPageControl::Dispatch(Message);
      if (Message.LParam == 0) SetHotTab(-1);
      return;
    default:
      TPageControl::Dispatch(Message);
      return;
  }
}

// ---- Painting -------------------------------------------------------------------------------

void TbsSkinPageControl::PaintWindow(HDC DC) {
  if (GetWidth() <= 0 || GetHeight() <= 0) return;
  LoadSkinPart();
  const Integer Saved = SaveDC(DC);
  TCanvas C;
  C.SetHandle(DC);
  // The frame of the skin's "tab" part needs the skin border builders; the plain frame
  // stands in until such parts exist.
  C.GetBrush()->SetColor(clBtnFace);
  C.FillRect(GetClientRect());
  const TRect D = GetDisplayRect();
  C.GetBrush()->SetColor(clBtnShadow);
  C.FrameRect(Rect(D.Left - 1, D.Top - 1, D.Right + 1, D.Bottom + 1));
  PaintTabs(&C);
  C.SetHandle(nullptr);
  RestoreDC(DC, Saved);
}

void TbsSkinPageControl::PaintTabs(TCanvas* C) {
  if (GetPageCount() == 0) return;
  const Integer Active = GetTabIndex();
  Integer Visible = 0;
  for (Integer I = 0; I < GetPageCount(); ++I) {
    if (!GetPage(I)->GetTabVisible()) continue;
    PaintTab(I, TabRect(Visible), C, Visible == FHotTab, Visible == Active);
    ++Visible;
  }
}

void TbsSkinPageControl::PaintTab(Integer PageIndex, const TRect& R, TCanvas* C, bool Hot, bool Active) {
  if (PageIndex >= GetPageCount()) return;
  TTabSheet* Sheet = GetPage(PageIndex);
  TCustomImageList* Images = GetImages();
  const bool HasImage =
      Images != nullptr && Sheet->GetImageIndex() >= 0 && Sheet->GetImageIndex() < Images->GetCount();
  const std::string Caption = Sheet->GetCaption();
  const Integer W = R.Width(), H = R.Height();
  if (W <= 0 || H <= 0) return;
  TRect TextRect = Rect(0, 0, W, H);
  TBitmap B;
  B.SetSize(W, H);
  TCanvas* BC = B.GetCanvas();
  const bool Focus = HandleAllocated() && Focused();
  BC->GetBrush()->SetStyle(bsSolid);
  if (Hot && !Active) {
    BC->GetBrush()->SetColor(bsHotFaceColor);
    BC->FillRect(TextRect);
  } else if (Active) {
    BC->GetPen()->SetColor(bsHotFrameColor);
    BC->GetBrush()->SetColor(Focus ? bsDownFaceColor : bsHotFaceColor);
    BC->Rectangle(TextRect);
  } else {
    BC->GetBrush()->SetColor(clBtnFace);
    BC->FillRect(TextRect);
  }
  BC->GetBrush()->SetStyle(bsClear);
  BC->SetFont(GetFont());
  const Integer Reserve = FShowCloseButtons ? FCloseButtonSize + 2 : 0;
  if (OnDrawSkinTab) {
    OnDrawSkinTab(PageIndex, TextRect, Active, Hot, BC);
  } else if (HasImage && FTabExtededDraw) {
    DrawImageAndText(BC, Rect(0, 0, W - Reserve, H), FTabMargin, FTabSpacing, FTabLayout, Caption,
                     Sheet->GetImageIndex(), Images, false, Sheet->GetEnabled(), false, 0);
  } else if (HasImage) {
    // Image and caption centred as one block.
    BC->RequiredState({csHandleValid, csFontValid});
    RECT TR{};
    DrawTextA(BC->GetHandle(), Caption.c_str(), static_cast<Integer>(Caption.size()), &TR, DT_CALCRECT);
    const Integer TW = Caption.empty() ? 0 : TR.Right + 2;
    const Integer X = (W - Reserve) / 2 - (TW + Images->GetWidth() + 2) / 2;
    Images->Draw(BC, X, H / 2 - Images->GetHeight() / 2, Sheet->GetImageIndex(), Sheet->GetEnabled());
    RECT T2{X + Images->GetWidth() + 2, H / 2 - TR.Bottom / 2, X + Images->GetWidth() + 2 + TW,
            H / 2 - TR.Bottom / 2 + TR.Bottom};
    DrawTextA(BC->GetHandle(), Caption.c_str(), static_cast<Integer>(Caption.size()), &T2, DT_CENTER);
  } else {
    RECT T2 = Rect(0, 0, W - Reserve, H);
    BC->RequiredState({csHandleValid, csFontValid, csBrushValid});
    DrawTextA(BC->GetHandle(), Caption.c_str(), static_cast<Integer>(Caption.size()), &T2,
              DT_SINGLELINE | DT_VCENTER | DT_CENTER);
  }
  TextRect.Right -= Reserve;
  if (FShowCloseButtons) {
    auto* Skin = dynamic_cast<TbsSkinCustomTabSheet*>(Sheet);
    if (Skin != nullptr) {
      if (!Hot) Skin->CloseButtonMouseIn = false;
      DrawCloseButton(BC, Rect(TextRect.Right, TextRect.Top, W, TextRect.Bottom), Skin);
    }
  }
  C->Draw(R.Left, R.Top, &B);
}

void TbsSkinPageControl::DrawCloseButton(TCanvas* C, const TRect& Area, TbsSkinCustomTabSheet* Sheet) {
  const Integer VC = Area.Top + Area.Height() / 2;
  const TRect Box = Bounds(Area.Left, VC - 7, 14, 14);
  DrawCloseGlyph(C, Box.Left + 2, Box.Top + 2, Sheet->CloseButtonMouseIn ? clWhite : clBlack);
  Sheet->CloseButtonRect = Box;
}
