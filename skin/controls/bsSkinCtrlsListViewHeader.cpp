// TbsSkinCustomListView: the column header taken over by window-procedure replacement and
// painted from a button part.
#include <vector>

#include "platform/classes/Bitmap.h"
#include "platform/classes/ImgList.h"
#include "platform/user/CommonControls.h"
#include "platform/user/User.h"
#include "platform/user/WindowPaint.h"
#include "platform/user/Windows.h"
#include "skin/controls/bsSkinCtrlsListView.h"
#include "skin/controls/bsSkinCtrlsPictures.h"
#include "skin/controls/bsSkinPartMixin.h"
#include "skin/data/bsSkinDataControls.h"
#include "skin/data/bsUtils.h"

namespace {

constexpr Integer HeaderExtraWidth = 25;

TPoint MovedBy(const TPoint& P, Integer DX, Integer DY) {
  return {P.X + DX, P.Y + DY};
}

}  // namespace

void TbsSkinCustomListView::HookHeader(HWND Header) {
  FHeaderWindow = Header;
  FOldHeaderProc = reinterpret_cast<WNDPROC>(GetWindowLongPtr(Header, GWLP_WNDPROC));
  SetWindowLongPtr(Header, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FHeaderProcInstance));
}

void TbsSkinCustomListView::UnhookHeader() {
  if (FHeaderWindow == nullptr) return;
  // The old procedure goes back while the header still lives.
  if (IsWindow(FHeaderWindow) &&
      reinterpret_cast<WNDPROC>(GetWindowLongPtr(FHeaderWindow, GWLP_WNDPROC)) == FHeaderProcInstance)
    SetWindowLongPtr(FHeaderWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FOldHeaderProc));
  FHeaderWindow = nullptr;
  FOldHeaderProc = nullptr;
}

TRect TbsSkinCustomListView::HeaderItemRect(Integer Index) {
  Integer Item = Index;
  if (GetFullDrag()) {
    const auto Count = static_cast<Integer>(SendMessage(FHeaderWindow, HDM_GETITEMCOUNT, 0, 0));
    std::vector<Integer> Order(static_cast<std::size_t>(IntMax(Count, 0)));
    if (Count > 0 && Index < Count) {
      SendMessage(FHeaderWindow, HDM_GETORDERARRAY, static_cast<WPARAM>(Count),
                  reinterpret_cast<LPARAM>(Order.data()));
      Item = Order[static_cast<std::size_t>(Index)];
    }
  }
  RECT R{};
  SendMessage(FHeaderWindow, HDM_GETITEMRECT, static_cast<WPARAM>(Item), reinterpret_cast<LPARAM>(&R));
  return R;
}

void TbsSkinCustomListView::HeaderMouse(const TMessage& Message) {
  switch (Message.Msg) {
    case WM_MOUSEMOVE:
      if (FHeaderSizing) InvalidateRect(FHeaderWindow, nullptr, FALSE);
      break;
    case WM_LBUTTONDOWN: {
      const TPoint P = {static_cast<SHORT>(LOWORD(Message.LParam)),
                        static_cast<SHORT>(HIWORD(Message.LParam))};
      FPressedColumn = -1;
      const auto Count = static_cast<Integer>(SendMessage(FHeaderWindow, HDM_GETITEMCOUNT, 0, 0));
      for (Integer I = 0; I < Count; ++I)
        if (IsPointInRect(HeaderItemRect(I), P)) {
          FPressedColumn = I;
          break;
        }
      HDHITTESTINFO Hit;
      Hit.pt = {P.X, P.Y};
      SendMessage(FHeaderWindow, HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&Hit));
      const bool OnDivider = (Hit.flags & (HHT_ONDIVIDER | HHT_ONDIVOPEN)) != 0;
      FHeaderSizing = OnDivider;
      FHeaderPressed = !OnDivider;
      InvalidateRect(FHeaderWindow, nullptr, FALSE);
      break;
    }
    case WM_LBUTTONUP:
      FHeaderSizing = false;
      FHeaderPressed = false;
      FPressedColumn = -1;
      InvalidateRect(FHeaderWindow, nullptr, FALSE);
      break;
    default:
      break;
  }
}

void TbsSkinCustomListView::HeaderWndProc(TMessage& Message) {
  const HWND Header = FHeaderWindow;
  switch (Message.Msg) {
    case WM_WINDOWPOSCHANGING: {
      auto* Pos = reinterpret_cast<WINDOWPOS*>(Message.LParam);
      Pos->cx += HeaderExtraWidth;
      Message.Result = CallWindowProc(FOldHeaderProc, Header, Message.Msg, Message.WParam, Message.LParam);
      break;
    }
    case WM_PAINT:
      PaintHeader(reinterpret_cast<HDC>(Message.WParam));
      Message.Result = 0;
      break;
    case WM_ERASEBKGND:
      Message.Result = 1;
      break;
    default:
      Message.Result = CallWindowProc(FOldHeaderProc, Header, Message.Msg, Message.WParam, Message.LParam);
      break;
  }
  if (FHeaderWindow != nullptr) HeaderMouse(Message);
}

void TbsSkinCustomListView::LoadHeaderPart() {
  FHeaderPartIndex = FSD == nullptr || FSD->Empty ? -1 : FSD->FindControlPart(FHeaderSkinDataName);
  SkinPicture = nullptr;
  if (FHeaderPartIndex == -1) return;
  auto* Part = dynamic_cast<TbsDataSkinButtonControl*>(
      FSD->SkinControls[static_cast<std::size_t>(FHeaderPartIndex)].get());
  if (Part == nullptr) return;
  LeftTopPoint = Part->LeftTopPoint;
  RightTopPoint = Part->RightTopPoint;
  LeftBottomPoint = Part->LeftBottomPoint;
  RightBottomPoint = Part->RightBottomPoint;
  SkinRect = Part->SkinRect;
  PartClientRect = Part->ClientRect;
  SkinPicture = SkinPictureAt(FSD, Part->PictureIndex);
  FontColor = Part->FontColor;
  ActiveFontColor = Part->ActiveFontColor;
  DownFontColor = Part->DownFontColor;
  ActiveSkinRect = IsEmptyRect(Part->ActiveSkinRect) ? SkinRect : Part->ActiveSkinRect;
  DownSkinRect = IsEmptyRect(Part->DownSkinRect) ? ActiveSkinRect : Part->DownSkinRect;
  StretchEffect = Part->StretchEffect;
  LeftStretch = Part->LeftStretch;
  TopStretch = Part->TopStretch;
  RightStretch = Part->RightStretch;
  BottomStretch = Part->BottomStretch;
  StretchType = Part->StretchType;
}

void TbsSkinCustomListView::DrawHeaderSection(TCanvas* C, Integer Column, const TRect& R, bool Pressed) {
  const Integer W = GetRectWidth(R), H = GetRectHeight(R);
  if (W <= 0 || H <= 0) return;
  TBitmap B;
  B.SetSize(W, H);
  TCanvas* BC = B.GetCanvas();
  LoadHeaderPart();
  BC->SetFont(GetFont());
  if (SkinPicture == nullptr) {
    FramedFill(BC, Rect(0, 0, W, H), Pressed ? bsHotFrameColor : clBtnShadow,
               Pressed ? bsDownFaceColor : clBtnFace);
    BC->GetFont()->SetColor(clBtnText);
  } else {
    const TRect& Source = Pressed ? DownSkinRect : SkinRect;
    BC->GetFont()->SetColor(Pressed ? DownFontColor : FontColor);
    if (LeftBottomPoint.X != 0 || LeftBottomPoint.Y != 0) {
      const Integer DW = W - GetRectWidth(SkinRect), DH = H - GetRectHeight(SkinRect);
      NewLeftTopPoint = LeftTopPoint;
      NewRightTopPoint = MovedBy(RightTopPoint, DW, 0);
      NewLeftBottomPoint = MovedBy(LeftBottomPoint, 0, DH);
      NewRightBottomPoint = MovedBy(RightBottomPoint, DW, DH);
      NewClientRect = Rect(PartClientRect.Left, PartClientRect.Top, PartClientRect.Right + DW,
                           PartClientRect.Bottom + DH);
      CreateSkinImage(LeftTopPoint, RightTopPoint, LeftBottomPoint, RightBottomPoint, PartClientRect,
                      NewLeftTopPoint, NewRightTopPoint, NewLeftBottomPoint, NewRightBottomPoint,
                      NewClientRect, &B, SkinPicture, Source, W, H, true, LeftStretch, TopStretch,
                      RightStretch, BottomStretch, StretchEffect, StretchType);
    } else {
      TBitmap Strip;
      CreateHSkinImage(LeftTopPoint.X, GetRectWidth(SkinRect) - RightTopPoint.X, &Strip, SkinPicture, Source,
                       W, GetRectHeight(SkinRect), StretchEffect);
      BC->StretchDraw(Rect(0, 0, W, H), &Strip);
    }
  }
  TListColumn* Col = Column < GetColumns()->GetCount() ? GetColumns()->GetItem(Column) : nullptr;
  if (OnDrawHeaderSection) {
    OnDrawHeaderSection(BC, Col, Pressed, Rect(0, 0, W, H));
  } else if (Col != nullptr) {
    TRect TR = Rect(5, 0, W - 5, H);
    std::string Text = Col->GetCaption();
    BC->GetBrush()->SetStyle(bsClear);
    TCustomImageList* Images = GetSmallImages();
    const bool HasImage =
        Images != nullptr && Col->GetImageIndex() >= 0 && Col->GetImageIndex() < Images->GetCount();
    const Integer IW = HasImage ? Images->GetWidth() : 0;
    const Integer Room = GetRectWidth(TR) - (HasImage ? IW + 10 : 0);
    const std::string Whole = Text;
    FitTextToWidth(BC, Text, Room);
    const bool Shortened = Text != Whole;
    const Integer TW = BC->TextWidth(Text);
    const Integer Lead = HasImage ? IW + 10 : 0;
    Integer X = TR.Left;
    if (!Shortened && Col->GetAlignment() == taRightJustify)
      X = TR.Right - TW - Lead;
    else if (!Shortened && Col->GetAlignment() == taCenter)
      X = GetRectWidth(TR) / 2 + TR.Left - (TW + Lead) / 2;
    Integer Y = H / 2 - BC->TextHeight(Text) / 2;
    if (BC->GetFont()->GetHeight() % 2 != 0) --Y;
    if (HasImage) {
      Images->Draw(BC, X, H / 2 - Images->GetHeight() / 2, Col->GetImageIndex(), true);
      X += Lead;
    }
    BC->TextOut(X, Y, Text);
  }
  C->Draw(R.Left, R.Top, &B);
}

void TbsSkinCustomListView::DrawHeaderRest(TCanvas* C, const TRect& R) {
  const Integer W = GetRectWidth(R), H = GetRectHeight(R);
  if (W <= 0 || H <= 0) return;
  if (SkinPicture == nullptr) {
    FramedFill(C, R, clBtnShadow, clBtnFace);
    return;
  }
  TBitmap B;
  if (LeftBottomPoint.X != 0 || LeftBottomPoint.Y != 0) {
    B.SetSize(W, H);
    const Integer DW = W - GetRectWidth(SkinRect), DH = H - GetRectHeight(SkinRect);
    const TRect NC =
        Rect(PartClientRect.Left, PartClientRect.Top, PartClientRect.Right + DW, PartClientRect.Bottom + DH);
    CreateSkinImageNoRight(LeftTopPoint, RightTopPoint, LeftBottomPoint, RightBottomPoint, PartClientRect,
                           LeftTopPoint, MovedBy(RightTopPoint, DW, 0), MovedBy(LeftBottomPoint, 0, DH),
                           MovedBy(RightBottomPoint, DW, DH), NC, &B, SkinPicture, SkinRect, W, H, true,
                           LeftStretch, TopStretch, RightStretch, BottomStretch, StretchEffect, StretchType);
    C->Draw(R.Left, R.Top, &B);
  } else {
    CreateHSkinImageNoRight(LeftTopPoint.X, GetRectWidth(SkinRect) - RightTopPoint.X, &B, SkinPicture,
                            SkinRect, W, GetRectHeight(SkinRect), StretchEffect);
    C->StretchDraw(R, &B);
  }
}

void TbsSkinCustomListView::PaintHeader(HDC GivenDC) {
  PAINTSTRUCT PS;
  HDC DC = GivenDC != nullptr ? GivenDC : BeginPaint(FHeaderWindow, &PS);
  TCanvas C;
  C.SetHandle(DC);
  RECT Client;
  ::GetClientRect(FHeaderWindow, &Client);
  Integer Right = 0;
  const auto Count = static_cast<Integer>(SendMessage(FHeaderWindow, HDM_GETITEMCOUNT, 0, 0));
  for (Integer I = 0; I < Count; ++I) {
    const TRect R = HeaderItemRect(I);
    DrawHeaderSection(&C, I, R, I == FPressedColumn && FHeaderPressed);
    Right = IntMax(Right, R.Right);
  }
  LoadHeaderPart();
  DrawHeaderRest(&C, Rect(Right, 0, Client.Right + 1, Client.Bottom));
  C.SetHandle(nullptr);
  if (GivenDC == nullptr) EndPaint(FHeaderWindow, &PS);
}
