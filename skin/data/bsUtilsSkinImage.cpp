// Skin image builders: a skin part cut into corner, edge and client pieces and laid out at a
// new size.
#include <algorithm>

#include "platform/classes/Bitmap.h"
#include "platform/gdi/DeviceContext.h"
#include "skin/data/bsUtils.h"

namespace {

bool HasArea(const TRect& R) {
  return R.Right > R.Left && R.Bottom > R.Top;
}

// Pieces of SB drawn into one destination bitmap.
struct TPieceWriter {
  TBitmap* B;
  TBitmap* SB;

  void Copy(const TRect& Dst, const TRect& Src) const {
    if (HasArea(Dst) && HasArea(Src)) B->GetCanvas()->CopyRect(Dst, SB->GetCanvas(), Src);
  }

  // Scaled once through a bitmap of the piece's own size.
  void Stretch(const TRect& Dst, const TRect& Src) const {
    if (!HasArea(Dst) || !HasArea(Src)) return;
    TBitmap Piece;
    CopyToPiece(Piece, Src);
    B->GetCanvas()->StretchDraw(Dst, &Piece);
  }

  void CopyToPiece(TBitmap& Piece, const TRect& Src) const {
    Piece.SetSize(GetRectWidth(Src), GetRectHeight(Src));
    Piece.GetCanvas()->CopyRect(Rect(0, 0, GetRectWidth(Src), GetRectHeight(Src)), SB->GetCanvas(), Src);
  }

  // Tiles along x over [D1, D2) with Pitch; each tile takes SrcLength - over source columns
  // from SrcX and lands in Pitch - over columns (the two differ only where a builder scales).
  void TileX(Integer SrcX, Integer SrcLength, Integer Pitch, Integer SrcTop, Integer SrcBottom, Integer D1,
             Integer D2, Integer DstTop, Integer DstBottom) const {
    if (Pitch <= 0) return;
    const Integer N = (D2 - D1) / Pitch;
    for (Integer K = 0; K <= N; ++K) {
      const Integer Start = D1 + K * Pitch;
      const Integer Over = std::max(Start + Pitch - D2, 0);
      Copy(Rect(Start, DstTop, Start + Pitch - Over, DstBottom),
           Rect(SrcX, SrcTop, SrcX + SrcLength - Over, SrcBottom));
    }
  }

  void TileY(Integer SrcY, Integer Pitch, Integer SrcLeft, Integer SrcRight, Integer D1, Integer D2,
             Integer DstLeft, Integer DstRight) const {
    if (Pitch <= 0) return;
    const Integer N = (D2 - D1) / Pitch;
    for (Integer K = 0; K <= N; ++K) {
      const Integer Start = D1 + K * Pitch;
      const Integer Over = std::max(Start + Pitch - D2, 0);
      Copy(Rect(DstLeft, Start, DstRight, Start + Pitch - Over),
           Rect(SrcLeft, SrcY, SrcRight, SrcY + Pitch - Over));
    }
  }

  // A horizontal edge piece Src over columns [D1, D2) and rows [DstTop, DstBottom).
  void EdgeX(bool AStretch, const TRect& Src, Integer D1, Integer D2, Integer DstTop,
             Integer DstBottom) const {
    if (AStretch)
      Stretch(Rect(D1, DstTop, D2, DstBottom), Src);
    else
      TileX(Src.Left, GetRectWidth(Src), GetRectWidth(Src), Src.Top, Src.Bottom, D1, D2, DstTop, DstBottom);
  }

  void EdgeY(bool AStretch, const TRect& Src, Integer D1, Integer D2, Integer DstLeft,
             Integer DstRight) const {
    if (AStretch)
      Stretch(Rect(DstLeft, D1, DstRight, D2), Src);
    else
      TileY(Src.Top, GetRectHeight(Src), Src.Left, Src.Right, D1, D2, DstLeft, DstRight);
  }

  // Two-dimensional tiling, columns outer, each tile cut at Dst's far edges.
  void TileXY(const TRect& Src, const TRect& Dst) const {
    const Integer PW = GetRectWidth(Src), PH = GetRectHeight(Src);
    if (PW <= 0 || PH <= 0) return;
    const Integer DW = GetRectWidth(Dst), DH = GetRectHeight(Dst);
    for (Integer K = 0; K <= DW / PW; ++K)
      for (Integer M = 0; M <= DH / PH; ++M) {
        const Integer OverX = std::max((K + 1) * PW - DW, 0);
        const Integer OverY = std::max((M + 1) * PH - DH, 0);
        const Integer X = Dst.Left + K * PW, Y = Dst.Top + M * PH;
        Copy(Rect(X, Y, X + PW - OverX, Y + PH - OverY),
             Rect(Src.Left, Src.Top, Src.Right - OverX, Src.Bottom - OverY));
      }
  }

  // The client piece stretched whole (0), as columns of its own width (1) or rows of its own
  // height (2), clipped to Dst.
  void StretchClient(const TRect& Src, const TRect& Dst, Integer StretchType) const {
    if (!HasArea(Src) || !HasArea(Dst)) return;
    TBitmap Piece;
    CopyToPiece(Piece, Src);
    TCanvas* Canvas = B->GetCanvas();
    if (StretchType == 0) {
      Canvas->StretchDraw(Dst, &Piece);
      return;
    }
    if (StretchType != 1 && StretchType != 2) return;
    const bool Columns = StretchType == 1;
    TBitmap Strip;
    Strip.SetSize(Columns ? Piece.GetWidth() : GetRectWidth(Dst),
                  Columns ? GetRectHeight(Dst) : Piece.GetHeight());
    Strip.GetCanvas()->StretchDraw(Rect(0, 0, Strip.GetWidth(), Strip.GetHeight()), &Piece);
    const HDC DC = Canvas->GetHandle();
    const Integer Saved = SaveDC(DC);
    IntersectClipRect(DC, Dst.Left, Dst.Top, Dst.Right, Dst.Bottom);
    if (Columns)
      for (Integer K = 0; K <= GetRectWidth(Dst) / Strip.GetWidth(); ++K)
        Canvas->Draw(Dst.Left + K * Strip.GetWidth(), Dst.Top, &Strip);
    else
      for (Integer K = 0; K <= GetRectHeight(Dst) / Strip.GetHeight(); ++K)
        Canvas->Draw(Dst.Left, Dst.Top + K * Strip.GetHeight(), &Strip);
    RestoreDC(DC, Saved);
  }

  void Client(const TRect& Src, const TRect& Dst, bool StretchEffect, Integer StretchType) const {
    if (StretchEffect)
      StretchClient(Src, Dst, StretchType);
    else
      TileXY(Src, Dst);
  }
};

bool NothingToStretch(const TPoint& LT, const TPoint& RB, TBitmap* SB) {
  return RB.X == LT.X || RB.Y == LT.Y || SB->Empty();
}

}  // namespace

void CreateSkinImage(const TPoint& LT, const TPoint& RT, const TPoint& LB, const TPoint& RB, const TRect& C,
                     const TPoint& NLT, const TPoint& NRT, const TPoint& NLB, const TPoint& NRB,
                     const TRect& NC, TBitmap* B, TBitmap* SB, const TRect& R, Integer W, Integer H,
                     bool DrawClient, bool LeftStretch, bool TopStretch, bool RightStretch,
                     bool BottomStretch, bool StretchEffect, Integer StretchType) {
  B->SetWidth(W);
  B->SetHeight(H);
  if (NothingToStretch(LT, RB, SB)) return;
  const TPieceWriter P{B, SB};
  const Integer L = R.Left, T = R.Top;
  P.EdgeX(TopStretch, Rect(L + LT.X, T, L + RT.X, T + C.Top), NLT.X, NRT.X, 0, NC.Top);
  P.EdgeX(BottomStretch, Rect(L + LB.X, T + C.Bottom, L + RB.X, R.Bottom), NLB.X, NRB.X, NC.Bottom, H);
  // The new client left on both sides, as the stored skins were drawn against.
  if (LeftStretch)
    P.Stretch(Rect(0, NLT.Y, NC.Left, NLB.Y), Rect(L, T + LT.Y, L + C.Left, T + LB.Y));
  else
    P.TileY(T + LT.Y, LB.Y - LT.Y, L, L + NC.Left, NLT.Y, NLB.Y, 0, NC.Left);
  P.EdgeY(RightStretch, Rect(L + C.Right, T + RT.Y, R.Right, T + RB.Y), NRT.Y, NRB.Y, NC.Right, W);

  P.Copy(Rect(0, 0, NLT.X, NC.Top), Rect(L, T, L + LT.X, T + C.Top));
  P.Copy(Rect(0, NC.Top, NC.Left, NLT.Y), Rect(L, T + C.Top, L + C.Left, T + LT.Y));
  P.Copy(Rect(NRT.X, 0, W, NC.Top), Rect(L + RT.X, T, R.Right, T + C.Top));
  P.Copy(Rect(NC.Right, NC.Top, W, NRT.Y), Rect(L + C.Right, T + C.Top, R.Right, T + RT.Y));
  P.Copy(Rect(0, NLB.Y, NC.Left, H), Rect(L, T + LB.Y, L + C.Left, R.Bottom));
  P.Copy(Rect(NC.Left, NC.Bottom, NLB.X, H), Rect(L + C.Left, T + C.Bottom, L + LB.X, R.Bottom));
  P.Copy(Rect(NRB.X, NC.Bottom, W, H), Rect(L + RB.X, T + C.Bottom, R.Right, R.Bottom));
  P.Copy(Rect(NC.Right, NRB.Y, W, NC.Bottom), Rect(L + C.Right, T + RB.Y, R.Right, T + C.Bottom));

  if (DrawClient)
    P.Client(Rect(L + C.Left, T + C.Top, L + C.Right, T + C.Bottom), NC, StretchEffect, StretchType);
}

void CreateSkinImage2(const TPoint& LT, const TPoint& RT, const TPoint& LB, const TPoint& RB, const TRect& C,
                      const TPoint& NLT, const TPoint& NRT, const TPoint& NLB, const TPoint& NRB,
                      const TRect& NC, TBitmap* B, TBitmap* SB, const TRect& R, Integer W, Integer H,
                      bool DrawClient, bool LeftStretch, bool TopStretch, bool RightStretch,
                      bool BottomStretch, bool StretchEffect, Integer StretchType) {
  CreateSkinImage(LT, RT, LB, RB, C, NLT, NRT, NLB, NRB, NC, B, SB, R, W, H, DrawClient, LeftStretch,
                  TopStretch, RightStretch, BottomStretch, StretchEffect, StretchType);
}

void CreateSkinImageNoRight(const TPoint& LT, const TPoint& RT, const TPoint& LB, const TPoint& RB,
                            const TRect& C, const TPoint& NLT, const TPoint& /*NRT*/, const TPoint& NLB,
                            const TPoint& /*NRB*/, const TRect& NC, TBitmap* B, TBitmap* SB, const TRect& R,
                            Integer W, Integer H, bool DrawClient, bool LeftStretch, bool TopStretch,
                            bool /*RightStretch*/, bool BottomStretch, bool StretchEffect,
                            Integer StretchType) {
  B->SetWidth(W);
  B->SetHeight(H);
  if (NothingToStretch(LT, RB, SB)) return;
  const TPieceWriter P{B, SB};
  const Integer L = R.Left, T = R.Top;
  if (TopStretch)
    P.Stretch(Rect(NLT.X, 0, W, NC.Top), Rect(L + LT.X, T, L + RT.X, T + C.Top));
  else  // The pitch runs to the bottom-right anchor; each tile is scaled into it.
    P.TileX(L + LT.X, RT.X - LT.X, RB.X - LT.X, T, T + C.Top, NLT.X, W, 0, NC.Top);
  P.EdgeX(BottomStretch, Rect(L + LB.X, T + C.Bottom, L + RB.X, R.Bottom), NLB.X, W, NC.Bottom, H);
  if (LeftStretch)
    P.Stretch(Rect(0, NLT.Y, NC.Left, NLB.Y), Rect(L, T + LT.Y, L + C.Left, T + LB.Y));
  else
    P.TileY(T + LT.Y, LB.Y - LT.Y, L, L + NC.Left, NLT.Y, NLB.Y, 0, NC.Left);

  P.Copy(Rect(0, 0, NLT.X, NC.Top), Rect(L, T, L + LT.X, T + C.Top));
  P.Copy(Rect(0, NC.Top, NC.Left, NLT.Y), Rect(L, T + C.Top, L + C.Left, T + LT.Y));
  P.Copy(Rect(0, NLB.Y, NC.Left, H), Rect(L, T + LB.Y, L + C.Left, R.Bottom));
  P.Copy(Rect(NC.Left, NC.Bottom, NLB.X, H), Rect(L + C.Left, T + C.Bottom, L + LB.X, R.Bottom));

  if (DrawClient)
    P.Client(Rect(L + C.Left, T + C.Top, L + C.Right, T + C.Bottom), Rect(NC.Left, NC.Top, W, NC.Bottom),
             StretchEffect, StretchType);
}

void CreateStretchSkinImage(TBitmap* B, TBitmap* SB, const TRect& R, const TRect& C, bool DrawClient) {
  const Integer W = B->GetWidth(), H = B->GetHeight();
  const TRect NC = Rect(C.Left, C.Top, W + C.Right - GetRectWidth(R), H + C.Bottom - GetRectHeight(R));
  CreateSkinImage(Point(C.Left, C.Top), Point(C.Right, C.Top), Point(C.Left, C.Bottom),
                  Point(C.Right, C.Bottom), C, Point(NC.Left, NC.Top), Point(NC.Right, NC.Top),
                  Point(NC.Left, NC.Bottom), Point(NC.Right, NC.Bottom), NC, B, SB, R, W, H, DrawClient, true,
                  true, true, true, true, 0);
}

namespace {

enum class THEnds { Both, LeftOnly, None };

void BuildHSkinImage(THEnds Ends, Integer LO, Integer RO, TBitmap* B, TBitmap* SB, const TRect& R, Integer W,
                     bool Stretch) {
  B->SetWidth(W);
  B->SetHeight(GetRectHeight(R));
  const TPieceWriter P{B, SB};
  const Integer BW = B->GetWidth(), BH = B->GetHeight();
  if (Ends != THEnds::None) {
    if (LO != 0) P.Copy(Rect(0, 0, LO, BH), Rect(R.Left, R.Top, R.Left + LO, R.Bottom));
    if (RO != 0 && Ends == THEnds::Both)
      P.Copy(Rect(BW - RO, 0, BW, BH), Rect(R.Right - RO, R.Top, R.Right, R.Bottom));
  }
  const TRect M = Rect(R.Left + LO, R.Top, R.Right - RO, R.Bottom);
  const Integer D1 = Ends == THEnds::None ? 0 : LO;
  const Integer D2 = Ends == THEnds::Both ? BW - RO : BW;
  if (Stretch) {
    P.Stretch(Rect(D1, 0, D2, BH), M);
  } else {
    const Integer Pitch = std::max(GetRectWidth(M), 1);
    P.TileX(M.Left, Pitch, Pitch, M.Top, M.Bottom, D1, D2, 0, BH);
  }
}

}  // namespace

void CreateHSkinImage(Integer LeftOffset, Integer RightOffset, TBitmap* B, TBitmap* SB, const TRect& R,
                      Integer W, Integer /*H*/, bool Stretch) {
  BuildHSkinImage(THEnds::Both, LeftOffset, RightOffset, B, SB, R, W, Stretch);
}

void CreateHSkinImageNoRight(Integer LeftOffset, Integer RightOffset, TBitmap* B, TBitmap* SB, const TRect& R,
                             Integer W, Integer /*H*/, bool Stretch) {
  BuildHSkinImage(THEnds::LeftOnly, LeftOffset, RightOffset, B, SB, R, W, Stretch);
}

void CreateHSkinImageMiddle(Integer LeftOffset, Integer RightOffset, TBitmap* B, TBitmap* SB, const TRect& R,
                            Integer W, Integer /*H*/, bool Stretch) {
  BuildHSkinImage(THEnds::None, LeftOffset, RightOffset, B, SB, R, W, Stretch);
}

void CreateVSkinImage(Integer TopOffset, Integer BottomOffset, TBitmap* B, TBitmap* SB, const TRect& R,
                      Integer /*W*/, Integer H, bool Stretch) {
  B->SetWidth(GetRectWidth(R));
  B->SetHeight(H);
  const TPieceWriter P{B, SB};
  const Integer BW = B->GetWidth(), BH = B->GetHeight();
  if (TopOffset != 0) P.Copy(Rect(0, 0, BW, TopOffset), Rect(R.Left, R.Top, R.Right, R.Top + TopOffset));
  if (BottomOffset != 0)
    P.Copy(Rect(0, BH - BottomOffset, BW, BH), Rect(R.Left, R.Bottom - BottomOffset, R.Right, R.Bottom));
  const TRect M = Rect(R.Left, R.Top + TopOffset, R.Right, R.Bottom - BottomOffset);
  P.EdgeY(Stretch, M, TopOffset, BH - BottomOffset, 0, BW);
}

void CreateSkinBorderImages(const TPoint& LT, const TPoint& RT, const TPoint& LB, const TPoint& RB,
                            const TRect& C, const TPoint& NLT, const TPoint& NRT, const TPoint& NLB,
                            const TPoint& NRB, const TRect& NC, TBitmap* LeftImage, TBitmap* TopImage,
                            TBitmap* RightImage, TBitmap* BottomImage, TBitmap* SB, const TRect& R, Integer W,
                            Integer H, bool LeftStretch, bool TopStretch, bool RightStretch,
                            bool BottomStretch) {
  const Integer L = R.Left, T = R.Top;
  if (W > 0 && NC.Top > 0 && RT.X > LT.X) {
    TopImage->SetSize(W, NC.Top);
    const TPieceWriter P{TopImage, SB};
    const TRect Piece = Rect(L + LT.X, T, L + RT.X, T + NC.Top);
    if (TopStretch)
      P.Stretch(Rect(NLT.X, 0, NRT.X, NC.Top), Piece);
    else
      P.EdgeX(false, Piece, 0, W, 0, NC.Top);
    P.Copy(Rect(0, 0, NLT.X, NC.Top), Rect(L, T, L + LT.X, T + NC.Top));
    P.Copy(Rect(NRT.X, 0, W, NC.Top), Rect(L + RT.X, T, R.Right, T + NC.Top));
  }
  const Integer BH = H - NC.Bottom;
  if (W > 0 && BH > 0 && RB.X > LB.X) {
    BottomImage->SetSize(W, BH);
    const TPieceWriter P{BottomImage, SB};
    const TRect Piece = Rect(L + LB.X, R.Bottom - BH, L + RB.X, R.Bottom);
    if (BottomStretch)
      P.Stretch(Rect(NLB.X, 0, NRB.X, BH), Piece);
    else
      P.EdgeX(false, Piece, 0, W, 0, BH);
    P.Copy(Rect(0, 0, NLB.X, BH), Rect(L, R.Bottom - BH, L + LB.X, R.Bottom));
    P.Copy(Rect(NRB.X, 0, W, BH), Rect(L + RB.X, R.Bottom - BH, R.Right, R.Bottom));
  }
  const Integer SideH = H - BottomImage->GetHeight() - TopImage->GetHeight();
  if (NC.Left > 0 && SideH > 0 && LB.Y > LT.Y) {
    LeftImage->SetSize(NC.Left, SideH);
    const TPieceWriter P{LeftImage, SB};
    const TRect Piece = Rect(L, T + LT.Y, L + NC.Left, T + LB.Y);
    if (LeftStretch)
      P.Stretch(Rect(0, LT.Y - C.Top, NC.Left, SideH + LB.Y - C.Bottom), Piece);
    else
      P.EdgeY(false, Piece, 0, SideH, 0, NC.Left);
    if (LT.Y > C.Top) P.Copy(Rect(0, 0, NC.Left, LT.Y - C.Top), Rect(L, T + C.Top, L + NC.Left, T + LT.Y));
    if (C.Bottom > LB.Y)
      P.Copy(Rect(0, SideH + LB.Y - C.Bottom, NC.Left, SideH), Rect(L, T + LB.Y, L + NC.Left, T + C.Bottom));
  }
  const Integer RW = W - NC.Right;
  if (RW >= 1 && SideH >= 1 && RB.Y > RT.Y) {
    RightImage->SetSize(RW, SideH);
    const TPieceWriter P{RightImage, SB};
    const TRect Piece = Rect(L + C.Right, T + RT.Y, R.Right, T + RB.Y);
    if (RightStretch)
      P.Stretch(Rect(0, RT.Y - C.Top, RW, SideH + RB.Y - C.Bottom), Piece);
    else
      P.EdgeY(false, Piece, 0, SideH, 0, RW);
    if (RT.Y > C.Top) P.Copy(Rect(0, 0, RW, RT.Y - C.Top), Rect(L + C.Right, T + C.Top, R.Right, T + RT.Y));
    if (C.Bottom > RB.Y)
      P.Copy(Rect(0, SideH + RB.Y - C.Bottom, RW, SideH), Rect(L + C.Right, T + RB.Y, R.Right, T + C.Bottom));
  }
}
