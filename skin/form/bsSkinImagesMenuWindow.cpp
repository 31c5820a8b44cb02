// The image menu's palette window: cell layout, placement, the keyboard, the mouse and the
// application messages that close it.
#include "platform/classes/Bitmap.h"
#include "platform/classes/ImgList.h"
#include "platform/classes/Screen.h"
#include "platform/gdi/Regions.h"
#include "platform/system/Clock.h"
#include "platform/user/User.h"
#include "skin/data/bsLayered.h"
#include "skin/data/bsRegions.h"
#include "skin/data/bsSkinDataControls.h"
#include "skin/data/bsSkinDataSections.h"
#include "skin/data/bsUtils.h"
#include "skin/form/bsSkinHint.h"
#include "skin/form/bsSkinImagesMenu.h"

namespace {

constexpr Integer CellPadding = 10;

bool ClosesPalette(UINT Msg) {
  switch (Msg) {
    case WM_MOVE:
    case WM_SIZE:
    case WM_ACTIVATE:
    case WM_KILLFOCUS:
    case WM_CANCELMODE:
    case WM_MOUSEACTIVATE:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
    case WM_SYSKEYDOWN:
    case WM_SYSCHAR:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_PARENTNOTIFY:
      return true;
    default:
      return false;
  }
}

// The work area the palette opens in.
TRect PaletteWorkArea(TComponent* MenuOwner) {
  TCustomForm* Form = Screen != nullptr ? Screen->GetActiveCustomForm() : nullptr;
  if (Form == nullptr && Application->GetMainForm() != nullptr && Application->GetMainForm()->GetVisible())
    Form = Application->GetMainForm();
  if (Form == nullptr) Form = dynamic_cast<TCustomForm*>(MenuOwner);
  TRect R = Rect(0, 0, Screen->GetWidth(), Screen->GetHeight());
  if (Form != nullptr && Form->HandleAllocated()) GetMonitorRect(Form->GetWindowHandle(), true, R);
  return R;
}

}  // namespace

TbsSkinImagesMenuPopupWindow::TbsSkinImagesMenuPopupWindow(TbsSkinImagesMenu* AMenu)
    : TCustomControl(AMenu), FMenu(AMenu) {
  SetVisible(false);
}

TbsSkinImagesMenuPopupWindow::~TbsSkinImagesMenuPopupWindow() = default;

void TbsSkinImagesMenuPopupWindow::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.Style = WS_POPUP;
  Params.ExStyle = WS_EX_TOOLWINDOW;
  Params.WindowClass.style |= CS_SAVEBITS;
  if (IsWindowsXPOrLater()) Params.WindowClass.style |= CS_DROPSHADOW;
}

void TbsSkinImagesMenuPopupWindow::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_MOUSEACTIVATE:
      Message.Result = MA_NOACTIVATE;
      return;
    case WM_ERASEBKGND:
      Message.Result = 1;
      return;
    case CM_MOUSEENTER:
      return;
    case CM_MOUSELEAVE:
      HideSkinHint();
      if (MouseInItem != -1) {
        MouseInItem = -1;
        OldMouseInItem = -1;
        Invalidate();
      }
      return;
    default:
      TCustomControl::Dispatch(Message);
  }
}

Integer TbsSkinImagesMenuPopupWindow::ItemCount() const {
  return FMenu->GetImagesItems()->GetCount();
}

TbsImagesMenuItem* TbsSkinImagesMenuPopupWindow::Item(Integer I) const {
  return FMenu->GetImagesItems()->GetItem(I);
}

// ---- Layout ---------------------------------------------------------------------------------

void TbsSkinImagesMenuPopupWindow::CalcItemRects(Integer RowWidth) {
  TCustomImageList* Images = FMenu->GetImages();
  const Integer CW = Images->GetWidth() + CellPadding, CH = Images->GetHeight() + CellPadding;
  const TPoint Origin = SkinSupport ? FMenu->GetSkinData()->PopupWindow->ItemsRect.TopLeft() : TPoint{5, 5};
  TbsDataSkinLabelControl* Label = LabelPart();
  const Integer HeaderH = Label != nullptr ? GetRectHeight(Label->SkinRect) : CH;
  Integer X = Origin.X, Y = Origin.Y;
  for (Integer I = 0; I < ItemCount(); ++I) {
    TbsImagesMenuItem* It = Item(I);
    if (It->Header || It->Button) {
      if (X != Origin.X) Y += CH + 1;
      const Integer H = It->Header ? HeaderH : CH;
      It->ItemRect = Rect(Origin.X, Y, Origin.X + RowWidth, Y + H);
      Y += H + 1;
      X = Origin.X;
      continue;
    }
    It->ItemRect = Rect(X, Y, X + CW, Y + CH);
    X += CW;
    if (X + CW > Origin.X + RowWidth) {
      X = Origin.X;
      Y += CH + 1;
    }
  }
}

void TbsSkinImagesMenuPopupWindow::CalcSize() {
  TbsSkinData* Data = FMenu->GetSkinData();
  WindowPicture = MaskPicture = nullptr;
  SkinSupport = false;
  if (Data != nullptr && !Data->Empty) {
    const Integer P = Data->PopupWindow->WindowPictureIndex;
    const Integer M = Data->PopupWindow->MaskPictureIndex;
    const Integer N = static_cast<Integer>(Data->ActivePictures.size());
    if (P >= 0 && P < N) {
      SkinSupport = true;
      WindowPicture = Data->ActivePictures[static_cast<size_t>(P)].get();
      if (M >= 0 && M < N) MaskPicture = Data->ActivePictures[static_cast<size_t>(M)].get();
    }
  }
  const Integer RowWidth = FMenu->GetColumnsCount() * (FMenu->GetImages()->GetWidth() + CellPadding);
  CalcItemRects(RowWidth);
  const TRect First = Item(0)->ItemRect;
  const Integer ContentH = Item(ItemCount() - 1)->ItemRect.Bottom - First.Top;
  if (!SkinSupport) {
    SetBounds(GetLeft(), GetTop(), RowWidth + 10, ContentH + 10);
    NewItemsRect = Rect(5, 5, 5 + RowWidth, 5 + ContentH);
    return;
  }
  const TbsDataSkinPopupWindow& P = *Data->PopupWindow;
  const Integer PW = WindowPicture->GetWidth(), PH = WindowPicture->GetHeight();
  const Integer W = PW + RowWidth - GetRectWidth(P.ItemsRect);
  const Integer H = PH + ContentH - GetRectHeight(P.ItemsRect);
  SetBounds(GetLeft(), GetTop(), W, H);
  NewLTPoint = P.LeftTopPoint;
  NewRTPoint = Point(W + P.RightTopPoint.X - PW, P.RightTopPoint.Y);
  NewLBPoint = Point(P.LeftBottomPoint.X, H + P.LeftBottomPoint.Y - PH);
  NewRBPoint = Point(W + P.RightBottomPoint.X - PW, H + P.RightBottomPoint.Y - PH);
  NewItemsRect =
      Rect(P.ItemsRect.Left, P.ItemsRect.Top, W + P.ItemsRect.Right - PW, H + P.ItemsRect.Bottom - PH);
  HRGN Region = nullptr;
  if (MaskPicture != nullptr)
    CreateSkinRegion(Region, P.LeftTopPoint, P.RightTopPoint, P.LeftBottomPoint, P.RightBottomPoint,
                     P.ItemsRect, NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint, NewItemsRect, MaskPicture,
                     W, H);
  SetWindowRgn(GetHandle(), Region, TRUE);
}

// ---- Showing and hiding ---------------------------------------------------------------------

void TbsSkinImagesMenuPopupWindow::Show(const TRect& R) {
  CalcSize();
  const Integer W = GetWidth(), H = GetHeight();
  const TRect Work = PaletteWorkArea(FMenu->GetOwner());
  Integer X = R.Left, Y = R.Bottom;
  if (Y + H > Work.Bottom) Y = R.Top - H;
  if (X + W > Work.Right) X = Work.Right - W;
  X = IntMax(X, Work.Left);
  Y = IntMax(Y, Work.Top);
  const bool Layered = IsLayeredWindowAvailable() && FMenu->AlphaBlend;
  const bool Fade = Layered && FMenu->AlphaBlendAnimation;
  if (Layered) {
    SetWindowLong(GetHandle(), GWL_EXSTYLE, GetWindowLong(GetHandle(), GWL_EXSTYLE) | WS_EX_LAYERED);
    SetWindowAlpha(GetHandle(), Fade ? 0 : FMenu->AlphaBlendValue);
  }
  SetBounds(X, Y, W, H);
  SetWindowPos(GetHandle(), HWND_TOPMOST, X, Y, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
  SetVisible(true);
  if (Fade) {
    Application->ProcessMessages();
    const Integer Target = FMenu->AlphaBlendValue;
    Integer Alpha = 0;
    UInt64 Last = GetTickCount64();
    // A fixed step on the tick source, without processing messages.
    while (Alpha < Target) {
      if (GetTickCount64() - Last > 5) {
        Last = GetTickCount64();
        Alpha = IntMin(Alpha + 10, Target);
        SetWindowAlpha(GetHandle(), static_cast<Byte>(Alpha));
      } else {
        Sleep(1);
      }
    }
  }
  FShown = true;
  Application->AddMessageFilter(TMessageEvent(this, &TbsSkinImagesMenuPopupWindow::AppMessage));
  SetCapture(GetHandle());
}

void TbsSkinImagesMenuPopupWindow::Hide(bool Execute) {
  if (!FShown) return;
  FShown = false;
  if (FMenu->ShowHints && FMenu->GetSkinHint() != nullptr) FMenu->GetSkinHint()->HideHint();
  SetWindowPos(GetHandle(), nullptr, 0, 0, 0, 0,
               SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  SetVisible(false);
  Application->RemoveMessageFilter(TMessageEvent(this, &TbsSkinImagesMenuPopupWindow::AppMessage));
  if (GetCapture() == GetHandle()) ReleaseCapture();
  FMenu->ClosePopup(Execute);
}

void TbsSkinImagesMenuPopupWindow::AppMessage(MSG& Msg, bool& Handled) {
  if (ClosesPalette(Msg.message)) {
    Hide(false);
    return;
  }
  if (Msg.message == WM_KEYDOWN) {
    ProcessKey(static_cast<Word>(Msg.wParam));
    Msg.message = 0;
    Handled = true;
  }
}

// ---- Keys -----------------------------------------------------------------------------------

Integer TbsSkinImagesMenuPopupWindow::FirstSelectable() const {
  return ItemCount() > 1 && Item(0)->Header ? 1 : 0;
}

void TbsSkinImagesMenuPopupWindow::FindUp() {
  if (MouseInItem == -1) {
    MouseInItem = ItemCount() - 1;
    return;
  }
  const TRect Hot = Item(MouseInItem)->ItemRect;
  for (Integer I = MouseInItem - 1; I >= 0; --I) {
    const TbsImagesMenuItem* It = Item(I);
    if (!It->Header && It->ItemRect.Top < Hot.Top && (It->Button || It->ItemRect.Left == Hot.Left)) {
      MouseInItem = I;
      return;
    }
  }
}

void TbsSkinImagesMenuPopupWindow::FindDown() {
  if (MouseInItem == -1) {
    MouseInItem = FirstSelectable();
    return;
  }
  const TRect Hot = Item(MouseInItem)->ItemRect;
  for (Integer I = MouseInItem + 1; I < ItemCount(); ++I) {
    const TbsImagesMenuItem* It = Item(I);
    if (!It->Header && It->ItemRect.Top > Hot.Top && (It->Button || It->ItemRect.Left == Hot.Left)) {
      MouseInItem = I;
      return;
    }
  }
}

void TbsSkinImagesMenuPopupWindow::FindRight() {
  if (MouseInItem == -1 || MouseInItem == ItemCount() - 1) {
    MouseInItem = FirstSelectable();
    return;
  }
  for (Integer I = MouseInItem + 1; I < ItemCount(); ++I)
    if (!Item(I)->Header) {
      MouseInItem = I;
      return;
    }
}

void TbsSkinImagesMenuPopupWindow::FindLeft() {
  if (MouseInItem == -1 || MouseInItem == FirstSelectable()) {
    MouseInItem = ItemCount() - 1;
    return;
  }
  for (Integer I = MouseInItem - 1; I >= 0; --I)
    if (!Item(I)->Header) {
      MouseInItem = I;
      return;
    }
}

void TbsSkinImagesMenuPopupWindow::ProcessKey(Word Key) {
  const Integer Before = MouseInItem;
  switch (Key) {
    case VK_RETURN:
    case VK_SPACE:
      if (MouseInItem != -1) FMenu->SetItemIndex(MouseInItem);
      Hide(true);
      return;
    case VK_ESCAPE:
      Hide(false);
      return;
    case VK_LEFT:
      FindLeft();
      break;
    case VK_UP:
      FindUp();
      break;
    case VK_RIGHT:
      FindRight();
      break;
    case VK_DOWN:
      FindDown();
      break;
    default:
      return;
  }
  if (MouseInItem != Before) {
    OldMouseInItem = Before;
    Invalidate();
  }
}

// ---- Mouse ----------------------------------------------------------------------------------

Integer TbsSkinImagesMenuPopupWindow::ItemAtPoint(Integer X, Integer Y) const {
  for (Integer I = 0; I < ItemCount(); ++I) {
    const TbsImagesMenuItem* It = Item(I);
    const TRect& R = It->ItemRect;
    if (!It->Header && X >= R.Left && X <= R.Right && Y >= R.Top && Y <= R.Bottom) return I;
  }
  return -1;
}

void TbsSkinImagesMenuPopupWindow::HideSkinHint() {
  if (FMenu->ShowHints && FMenu->GetSkinHint() != nullptr) FMenu->GetSkinHint()->HideHint();
}

void TbsSkinImagesMenuPopupWindow::TestActive(Integer X, Integer Y) {
  const Integer Hot = ItemAtPoint(X, Y);
  if (Hot == -1) HideSkinHint();
  if (Hot == MouseInItem) return;
  OldMouseInItem = MouseInItem;
  MouseInItem = Hot;
  Invalidate();
  if (!FMenu->ShowHints || FMenu->GetSkinHint() == nullptr) return;
  FMenu->GetSkinHint()->HideHint();
  if (Hot != -1 && !Item(Hot)->Hint.empty()) FMenu->GetSkinHint()->ShowHintText(Item(Hot)->Hint);
}

void TbsSkinImagesMenuPopupWindow::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  TCustomControl::MouseMove(Shift, X, Y);
  TestActive(X, Y);
}

void TbsSkinImagesMenuPopupWindow::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  // The window holds the capture: a press over another window closes the palette.
  POINT P{0, 0};
  GetCursorPos(&P);
  if (Button == mbLeft && WindowFromPoint(P) != GetHandle()) {
    Hide(false);
    return;
  }
  TCustomControl::MouseDown(Button, Shift, X, Y);
  HideSkinHint();
  Pressed = true;
  ItemDown = ItemAtPoint(X, Y) != -1;
  Invalidate();
}

void TbsSkinImagesMenuPopupWindow::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TCustomControl::MouseUp(Button, Shift, X, Y);
  const Integer At = ItemAtPoint(X, Y);
  if (ItemDown && At != -1) {
    FMenu->SetItemIndex(At);
    Hide(true);
    return;
  }
  if (FShown) SetCapture(GetHandle());
}
