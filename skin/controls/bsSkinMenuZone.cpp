// Dropping menus under buttons and drawing their menu zones.
#include "skin/controls/bsSkinMenuZone.h"

#include "platform/classes/Bitmap.h"
#include "platform/classes/Menus.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/data/bsUtils.h"

namespace {

TbsPopupUnderRectHook PopupHook = nullptr;

}  // namespace

void SetPopupUnderRectHook(TbsPopupUnderRectHook Hook) {
  PopupHook = Hook;
}

void PopupMenuUnderRect(TPopupMenu* Menu, TControl* Control, const TRect& R, bool PopupToUp) {
  if (PopupHook != nullptr) {
    PopupHook(Menu, Control, R, PopupToUp);
    return;
  }
  // The platform's menu runs until it is closed.
  Menu->Popup(R.Left, PopupToUp ? R.Top : R.Bottom);
  Control->Perform(WM_MENUCLOSED_SKIN, 0, 0);
}

TRect ScreenRectOf(TControl* Control) {
  const TPoint P = Control->ClientToScreen({0, 0});
  return Rect(P.X, P.Y, P.X + Control->GetWidth(), P.Y + Control->GetHeight());
}

TRect FittedTrackRect(const TbsSkinPartGeometry& G, const TRect& Track, Integer Width, Integer Height) {
  TRect R = Track;
  if (G.SizingMode == 2) {
    const Integer DX = Width - GetRectWidth(G.SkinRect);
    R.Left += DX, R.Right += DX;
  } else if (G.SizingMode == 3) {
    const Integer DY = Height - GetRectHeight(G.SkinRect);
    R.Top += DY, R.Bottom += DY;
  }
  return R;
}

void BuildMenuPiece(TBitmap* B, const TbsSkinPartGeometry& G, TBitmap* Picture, const TRect& Src, Integer W,
                    Integer H, bool Resize) {
  B->SetSize(W, H);
  if (Picture == nullptr || W <= 0 || H <= 0) {
    FillPlainFace(B);
    return;
  }
  if (!Resize) {
    CreateStretchSkinImage(B, Picture, Src, G.PartClientRect, true);
    return;
  }
  const Integer DX = W - GetRectWidth(G.SkinRect), DY = H - GetRectHeight(G.SkinRect);
  TRect NC = G.PartClientRect;
  NC.Right += DX, NC.Bottom += DY;
  CreateSkinImage(G.LeftTopPoint, G.RightTopPoint, G.LeftBottomPoint, G.RightBottomPoint, G.PartClientRect,
                  G.LeftTopPoint, {G.RightTopPoint.X + DX, G.RightTopPoint.Y},
                  {G.LeftBottomPoint.X, G.LeftBottomPoint.Y + DY},
                  {G.RightBottomPoint.X + DX, G.RightBottomPoint.Y + DY}, NC, B, Picture, Src, W, H, true,
                  G.LeftStretch, G.TopStretch, G.RightStretch, G.BottomStretch, G.StretchEffect,
                  G.StretchType);
}

void DrawMenuMarker(TCanvas* C, TBitmap* Picture, const TRect& Piece, TColor TransparentColor,
                    const TRect& Zone) {
  if (Picture == nullptr || IsEmptyRect(Piece)) return;
  TBitmap M;
  M.SetSize(GetRectWidth(Piece), GetRectHeight(Piece));
  M.GetCanvas()->CopyRect(Rect(0, 0, M.GetWidth(), M.GetHeight()), Picture->GetCanvas(), Piece);
  M.SetTransparentMode(tmFixed);
  M.SetTransparentColor(TransparentColor);
  M.SetTransparent(true);
  C->Draw(Zone.Left + GetRectWidth(Zone) / 2 - M.GetWidth() / 2,
          Zone.Top + GetRectHeight(Zone) / 2 - M.GetHeight() / 2, &M);
}

void DrawPlainFace(TCanvas* C, const TRect& R, TbsPlainFace Face, TColor HotFrame) {
  C->GetBrush()->SetStyle(bsSolid);
  if (Face == TbsPlainFace::Flat) {
    C->GetBrush()->SetColor(clBtnFace);
    C->FillRect(R);
    return;
  }
  C->GetPen()->SetColor(Face == TbsPlainFace::Plain ? clBtnShadow : HotFrame);
  C->GetBrush()->SetColor(Face == TbsPlainFace::Down  ? bsDownFaceColor
                          : Face == TbsPlainFace::Hot ? bsHotFaceColor
                                                      : clBtnFace);
  C->Rectangle(R);
}
