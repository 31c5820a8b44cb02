// TZezudIdVect::DrawObject: one object of any kind onto a target platform bitmap, in view
// coordinates or in bitmap pixels.
#include <algorithm>
#include <cmath>

#include "imaging/core/iebitmap.h"
#include "imaging/core/iegdiplus.h"
#include "imaging/view/ievect.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Text.h"

namespace {

Integer TruncD(Double V) {
  return static_cast<Integer>(std::trunc(V));
}

void Grow(TRect& Extent, const TRect& R) {
  Extent.Left = std::min({Extent.Left, R.Left, R.Right});
  Extent.Top = std::min({Extent.Top, R.Top, R.Bottom});
  Extent.Right = std::max({Extent.Right, R.Left, R.Right});
  Extent.Bottom = std::max({Extent.Bottom, R.Top, R.Bottom});
}

// The font of a text object at the drawing's zoom: quality from the table, lfHeight scaled, 0
// the box height.
void SelectObjectFont(TCanvas* Canvas, const TIEVObject& Record, Double Zoom, Integer BoxHeight) {
  LOGFONTA LF = Record.LogFont ? *Record.LogFont : LOGFONTA{};
  LF.lfQuality = IEVFontQualities[std::min<std::size_t>(Record.FontQuality, IEVFontQualities.size() - 1)];
  LF.lfHeight = LF.lfHeight == 0 ? BoxHeight : TruncD(LF.lfHeight * Zoom);
  Canvas->GetFont()->SetHandle(CreateFontIndirect(&LF));
  Canvas->GetFont()->SetColor(ColorToRGB(Record.PenColor));
}

// Offsets of rotated text inside a box (Escapement in tenths of a degree).
TPoint TextOffset(Integer Escapement, Integer W, Integer H, Integer BW, Integer BH, Byte Align,
                  Integer Border) {
  const Double E = Escapement / 10.0 * M_PI / 180.0;
  const Integer OY = TruncD((BH - H * std::cos(E) + W * std::sin(E)) / 2);
  Integer OX;
  switch (Align) {
    case 0:
      OX = TruncD(std::fabs(H * std::sin(E))) + Border;
      break;
    case 1:
      OX = TruncD(BW - W * std::cos(E)) - Border;
      break;
    default:
      OX = TruncD((BW - W * std::cos(E) - H * std::sin(E)) / 2);
      break;
  }
  return TPoint{OX, OY};
}

}  // namespace

bool TZezudIdVect::DrawObject(TIEVObject& Record, Integer hobj, bool DrawingAlpha, Integer Factor,
                              TIEBitmap* Work, bool, bool Cull, TBitmap* TargetBitmap) {
  if (TargetBitmap == nullptr) return false;
  auto MX = [&](Integer X) { return (FDrawToImage ? X : XBmp2Scr(X)) * Factor; };
  auto MY = [&](Integer Y) { return (FDrawToImage ? Y : YBmp2Scr(Y)) * Factor; };
  if (Record.Highlight) Record.PenWidth = 1;
  const Double ZX = FDrawZoomX * Factor, ZY = FDrawZoomY * Factor;
  const Double Zoom = std::min(ZX, ZY);
  const Integer PW = FZoomObjectsWidth
                         ? static_cast<Integer>(std::ceil(std::max(1.0, Record.PenWidth * Zoom)))
                         : Record.PenWidth;
  TRect R{MX(Record.X1), MY(Record.Y1), MX(Record.X2 + 1), MY(Record.Y2 + 1)};
  if (Record.Kind == ievoBitmap && (ZX != 1.0 || ZY != 1.0)) {
    R.Right -= 1;
    R.Bottom -= 1;
  }
  Record.DrawnExtent = TRect{2000000000, 2000000000, -2000000000, -2000000000};
  Record.DrawnPenWidth = PW;
  if ((Record.Style & IEVSTYLE_VISIBLE) == 0) return false;
  if (Cull) {
    const TRect Visible{0, 0, TargetBitmap->GetWidth(), TargetBitmap->GetHeight()};
    const TRect O{std::min(R.Left, R.Right), std::min(R.Top, R.Bottom), std::max(R.Left, R.Right) + 1,
                  std::max(R.Top, R.Bottom) + 1};
    if (Record.Kind != ievoAngle && Record.Kind != ievoLineLabel &&
        (O.Right <= Visible.Left || O.Left >= Visible.Right || O.Bottom <= Visible.Top ||
         O.Top >= Visible.Bottom))
      return false;
  }

  TCanvas* Canvas = TargetBitmap->GetCanvas();
  TIECanvas IC(Canvas, true, FDrawAntialias && FObjAntialias);
  TIEPen* Pen = IC.GetPen();
  Pen->SetStyle(static_cast<TPenStyle>(Record.PenStyle));
  Pen->SetWidth(static_cast<Single>(PW));
  Pen->SetMode(pmCopy);
  Pen->SetColor(ColorToRGB(Record.PenColor));
  // Composed objects get their opacity from the alpha plane.
  const Integer Opacity = DrawingAlpha || Work != nullptr ? 255 : Record.Transparency;
  Pen->SetTransparency(Opacity);
  IC.GetBrush()->SetTransparency(Opacity);
  auto SetBrush = [&](Integer Color, Byte Style) {
    IC.GetBrush()->SetColor(ColorToRGB(static_cast<TColor>(Color)));
    IC.GetBrush()->SetStyle(static_cast<TBrushStyle>(Style));
  };

  bool Handled = false;
  if (OnBeforeDrawObject) OnBeforeDrawObject(this, hobj, TargetBitmap, R, DrawingAlpha, Handled);
  const bool Editing = hobj >= 0 && hobj == FEditingObject;
  if (!Handled) switch (Record.Kind) {
      case ievoLine:
      case ievoLineLabel: {
        const TPoint S{MX(Record.X1), MY(Record.Y1)}, E{MX(Record.X2), MY(Record.Y2)};
        IC.DrawLine(S.X, S.Y, E.X, E.Y);
        Grow(Record.DrawnExtent, TRect{S.X, S.Y, E.X, E.Y});
        SetBrush(static_cast<Integer>(Record.BrushColor), Record.BrushStyle);
        const Integer SW = TruncD(Record.ShapeWidth * ZX), SL = TruncD(Record.ShapeLength * ZY);
        auto EndShape = [&](Byte Shape, TPoint P, TPoint Other) {
          const Double DX = Other.X - P.X, DY = Other.Y - P.Y, L = std::hypot(DX, DY);
          if ((Shape != 1 && Shape != 2) || L == 0) return;
          const Double UX = DX / L, UY = DY / L, NX = -UY * SW / 2.0, NY = UX * SW / 2.0;
          const Double BX = Shape == 1 ? P.X : P.X + UX * SL, BY = Shape == 1 ? P.Y : P.Y + UY * SL;
          const Double AX = Shape == 1 ? P.X + UX * SL : P.X, AY = Shape == 1 ? P.Y + UY * SL : P.Y;
          const TPoint T[3] = {
              {static_cast<Integer>(std::lround(BX + NX)), static_cast<Integer>(std::lround(BY + NY))},
              {static_cast<Integer>(std::lround(BX - NX)), static_cast<Integer>(std::lround(BY - NY))},
              {static_cast<Integer>(std::lround(AX)), static_cast<Integer>(std::lround(AY))}};
          IC.Polygon(T);
          for (const TPoint& V : T) Grow(Record.DrawnExtent, TRect{V.X, V.Y, V.X, V.Y});
        };
        EndShape(Record.BeginShape, S, E);
        EndShape(Record.EndShape, E, S);
        if (Record.Kind == ievoLineLabel) DrawLineLabel(IC, Record, S, E, Zoom, Factor);
        break;
      }
      case ievoBox:
        SetBrush(static_cast<Integer>(Record.BrushColor), Record.BrushStyle);
        if (Record.Highlight && !DrawingAlpha) {
          HighlightRect(TargetBitmap, R, Record.BrushColor);
        } else {
          IC.Rectangle(R);
        }
        Grow(Record.DrawnExtent, R);
        break;
      case ievoEllipse:
        SetBrush(static_cast<Integer>(Record.BrushColor), Record.BrushStyle);
        IC.Ellipse(R);
        Grow(Record.DrawnExtent, R);
        break;
      case ievoArc: {
        const Double RX = (MX(Record.X2) - R.Left) / 2.0, RY = (MY(Record.Y2) - R.Top) / 2.0;
        auto At = [&](Double A) {
          return TPoint{R.Left + TruncD(RX + RX * std::cos(A)), R.Top + TruncD(RY + RY * std::sin(A))};
        };
        const TPoint S = At(Record.ArcStart), E = At(Record.ArcEnd);
        IC.Arc(R.Left, R.Top, R.Right, R.Bottom, S.X, S.Y, E.X, E.Y);
        Grow(Record.DrawnExtent, R);
        break;
      }
      case ievoBitmap: {
        TIEBitmap* Picture = ObjBitmap(Record.BitmapIndex);
        if (Picture == nullptr) {
          SetBrush(0, bsClear);
          IC.Rectangle(R);
          IC.DrawLine(R.Left, R.Top, R.Right - 1, R.Bottom - 1);
          IC.DrawLine(R.Right - 1, R.Top, R.Left, R.Bottom - 1);
        } else {
          if (!DrawingAlpha)
            Picture->DrawToTBitmap(TargetBitmap, R.Left, R.Top, R.Width(), R.Height(), 0, 0,
                                   Picture->GetWidth(), Picture->GetHeight(), Record.Transparency,
                                   FDragging ? rfNone : FBitmapResampleFilter, 0);
          if (Record.BitmapBorder) {
            TCanvas* C = Canvas;
            C->GetBrush()->SetStyle(bsSolid);
            C->GetBrush()->SetColor(ColorToRGB(Record.PenColor));
            for (Integer I = 0; I < PW; ++I)
              C->FrameRect(TRect{R.Left + I, R.Top + I, R.Right - I, R.Bottom - I});
          }
        }
        Grow(Record.DrawnExtent, R);
        break;
      }
      case ievoText:
        if (Editing) {
          SetBrush(0, bsClear);
          Pen->SetWidth(1);
          IC.Rectangle(R.Left - 1, R.Top - 1, R.Right + 1, R.Bottom + 1);
        } else {
          SetBrush(static_cast<Integer>(Record.BrushColor), Record.BrushStyle);
          IC.Rectangle(R);
          SelectObjectFont(Canvas, Record, ZY, R.Height());
          Canvas->GetBrush()->SetStyle(bsClear);
          if (Record.CurveCount() > 0) {
            DrawCurvedText(Canvas, Record, R, ZY);
            Grow(Record.DrawnExtent, R);
            break;
          }
          const TSize Ext = Canvas->TextExtent(Record.Text);
          const Integer Border = Record.PenStyle != psClear
                                     ? static_cast<Integer>(std::nearbyint((Record.PenWidth + 1) * Zoom))
                                     : 0;
          const TPoint O = TextOffset(Record.LogFont ? Record.LogFont->lfEscapement : 0, Ext.cx, Ext.cy,
                                      R.Width(), R.Height(), Record.TextAlign, Border);
          IC.TextOutClipped(R, R.Left + O.X, R.Top + O.Y, Record.Text);
        }
        Grow(Record.DrawnExtent, R);
        break;
      case ievoMemo:
        if (Editing) {
          SetBrush(0, bsClear);
          Pen->SetWidth(1);
          IC.Rectangle(R.Left - 1, R.Top - 1, R.Right + 1, R.Bottom + 1);
        } else {
          if (Record.MemoHasBitmap && !DrawingAlpha)
            if (TIEBitmap* Picture = ObjBitmap(Record.BitmapIndex))
              Picture->DrawToTBitmap(TargetBitmap, R.Left, R.Top, R.Width(), R.Height(), 0, 0,
                                     Picture->GetWidth(), Picture->GetHeight(), Record.Transparency,
                                     FBitmapResampleFilter, 0);
          TIETextControl Text(nullptr);
          SetupTextControl(&Text, Record, ZY);
          Text.KeepCanvasColors = DrawingAlpha;
          Canvas->GetFont()->SetColor(ColorToRGB(Record.PenColor));
          Canvas->GetBrush()->SetColor(ColorToRGB(Record.BrushColor));
          Text.TextBuffer = std::move(Record.Text);
          Text.FormatList = std::move(Record.MemoFormats);
          Text.FormatIndex = std::move(Record.MemoCharFormats);
          Text.Reset();
          Text.DrawText(&IC, R.Left, R.Top, TruncD(R.Width() / ZY), TruncD(R.Height() / ZY));
          Record.Text = std::move(Text.TextBuffer);
          Record.MemoFormats = std::move(Text.FormatList);
          Record.MemoCharFormats = std::move(Text.FormatIndex);
        }
        Grow(Record.DrawnExtent, R);
        break;
      case ievoRuler: {
        Double H = 1, V = 1;
        ComputeUnitsPerPixel(Record.RulerUnit, H, V);
        const Double Length =
            std::hypot(std::abs(Record.X2 - Record.X1) * H, std::abs(Record.Y2 - Record.Y1) * V);
        DrawRuler(&IC, TPoint{MX(Record.X1), MY(Record.Y1)}, TPoint{MX(Record.X2), MY(Record.Y2)}, Zoom,
                  Record.LogFont.get(), ColorToRGB(Record.PenColor), PW, Record.RulerUnit, Record.RulerType,
                  Length, &Record);
        break;
      }
      case ievoAngle: {
        std::array<TPoint, 3> Points;
        for (std::size_t I = 0; I < 3; ++I)
          Points[I] = TPoint{MX(Record.AnglePoints[I].X), MY(Record.AnglePoints[I].Y)};
        DrawAngle(&IC, Points, IEVAnglePointsSet(Record.AnglePoints), Zoom, Record.LogFont.get(),
                  ColorToRGB(Record.PenColor), PW, &Record);
        break;
      }
      case ievoPolyline: {
        const TRect& B = Record.PolyBase;
        if (Record.PolyPoints.empty() || (B.Left == B.Right && B.Top == B.Bottom)) break;
        const Double SX =
            B.Right != B.Left ? static_cast<Double>(Record.X2 - Record.X1) / (B.Right - B.Left) : 1.0;
        const Double SY =
            B.Bottom != B.Top ? static_cast<Double>(Record.Y2 - Record.Y1) / (B.Bottom - B.Top) : 1.0;
        Record.PolyScreen.resize(Record.PolyPoints.size());
        for (std::size_t I = 0; I < Record.PolyPoints.size(); ++I) {
          const TPoint& P = Record.PolyPoints[I];
          Record.PolyScreen[I] =
              TPoint{MX(Record.X1 + static_cast<Integer>(std::nearbyint((P.X - B.Left) * SX))),
                     MY(Record.Y1 + static_cast<Integer>(std::nearbyint((P.Y - B.Top) * SY)))};
          Grow(Record.DrawnExtent, TRect{Record.PolyScreen[I].X, Record.PolyScreen[I].Y,
                                         Record.PolyScreen[I].X, Record.PolyScreen[I].Y});
        }
        if (Record.PolyClosed) {
          SetBrush(static_cast<Integer>(Record.BrushColor), Record.BrushStyle);
          IC.Polygon(Record.PolyScreen);
        } else {
          IC.Polyline(Record.PolyScreen);
        }
        for (TPoint& P : Record.PolyScreen) P = TPoint{P.X / Factor, P.Y / Factor};
        break;
      }
      case ievoExtension:
        if (Record.Extension) Record.Extension->Draw(TargetBitmap, R, ZX, ZY, DrawingAlpha);
        Grow(Record.DrawnExtent, R);
        break;
      default:
        break;
    }
  if (OnAfterDrawObject) OnAfterDrawObject(this, hobj, TargetBitmap, R, DrawingAlpha, Handled);
  return !Handled;
}

// A highlighter: every pixel under the box is ANDed with the colour.
void TZezudIdVect::HighlightRect(TBitmap* Target, const TRect& R, TColor Color) {
  const COLORREF C = ColorToRGB(Color);
  const Byte Mask[3] = {static_cast<Byte>(C >> 16), static_cast<Byte>(C >> 8),
                        static_cast<Byte>(C)};  // B, G, R
  const Integer L = std::max(R.Left, 0), T = std::max(R.Top, 0);
  const Integer Ri = std::min(R.Right, Target->GetWidth()), B = std::min(R.Bottom, Target->GetHeight());
  if (Target->GetPixelFormat() != pf24bit) Target->SetPixelFormat(pf24bit);
  for (Integer Y = T; Y < B; ++Y) {
    auto* Row = static_cast<Byte*>(Target->GetScanLine(Y));
    for (Integer X = L; X < Ri; ++X)
      for (Integer K = 0; K < 3; ++K) Row[X * 3 + K] &= Mask[K];
  }
}

void TZezudIdVect::DrawLineLabel(TIECanvas& IC, TIEVObject& Record, TPoint S, TPoint E, Double Zoom,
                                 Integer Factor) {
  if (Record.Text.empty()) return;
  TCanvas* Canvas = IC.GetCanvas();
  const TPoint P = Record.LabelPosition == 1 ? E : S;
  const TPoint O = Record.LabelPosition == 1 ? S : E;
  SelectObjectFont(Canvas, Record, Zoom, 0);
  const TSize Ext = Canvas->TextExtent(Record.Text);
  const Integer L = P.X < O.X ? P.X - Ext.cx : P.X;
  const Integer T = P.Y < O.Y ? P.Y - Ext.cy : P.Y;
  const TRect Box{L, T, L + Ext.cx, T + Ext.cy};
  IC.GetBrush()->SetColor(ColorToRGB(static_cast<TColor>(Record.LabelBrushColor)));
  IC.GetBrush()->SetStyle(static_cast<TBrushStyle>(Record.LabelBrushStyle));
  IC.GetPen()->SetColor(ColorToRGB(Record.PenColor));
  IC.GetPen()->SetStyle(Record.LabelBorder != 0 ? psSolid : psClear);
  IC.GetPen()->SetWidth(1);
  TRect Drawn = Box;
  switch (Record.LabelBorder) {
    case 2:
      IC.RoundRect(Box.Left, Box.Top, Box.Right, Box.Bottom, 10, 10);
      break;
    case 3:
      Drawn = TRect{Box.Left, Box.Top - Ext.cy, Box.Right, Box.Bottom + Ext.cy};
      IC.Ellipse(Drawn);
      break;
    default:
      IC.Rectangle(Box);
      break;
  }
  Canvas->GetBrush()->SetStyle(bsClear);
  const TPoint Off = TextOffset(Record.LogFont ? Record.LogFont->lfEscapement : 0, Ext.cx, Ext.cy,
                                Box.Width(), Box.Height(), 2, 0);
  IC.TextOutClipped(Box, Box.Left + Off.X, Box.Top + Off.Y, Record.Text);
  Grow(Record.DrawnExtent, Drawn);
  auto BX = [&](Integer X) { return FDrawToImage ? X / Factor : XScr2Bmp(X / Factor); };
  auto BY = [&](Integer Y) { return FDrawToImage ? Y / Factor : YScr2Bmp(Y / Factor); };
  Record.LabelRect = TRect{BX(Box.Left), BY(Box.Top), BX(Box.Right), BY(Box.Bottom)};
}

// Characters at equal steps along the object's path (0..1 of the box), each centred on its
// baseline at its point and turned to the path's direction unless a fixed angle is stored.
void TZezudIdVect::DrawCurvedText(TCanvas* Canvas, TIEVObject& Record, const TRect& Box, Double Zoom) {
  const std::string& Text = Record.Text;
  if (Text.empty()) return;
  std::vector<std::pair<Double, Double>> P;
  for (const TIEVPointD& C : Record.CurvePoints)
    P.emplace_back(Box.Left + C.X * Box.Width(), Box.Top + C.Y * Box.Height());
  std::vector<Double> Cumulative{0.0};
  for (std::size_t I = 1; I < P.size(); ++I)
    Cumulative.push_back(Cumulative.back() +
                         std::hypot(P[I].first - P[I - 1].first, P[I].second - P[I - 1].second));
  const Double Step = Cumulative.back() / static_cast<Double>(Text.size());
  HDC DC = Canvas->GetHandle();
  const UINT OldAlign = SetTextAlign(DC, TA_BASELINE | TA_CENTER);
  Integer CurrentAngle = INT32_MIN;
  std::size_t Segment = 0;
  for (std::size_t I = 0; I < Text.size(); ++I) {
    const Double At = Step * static_cast<Double>(I);
    while (Segment + 2 < P.size() && Cumulative[Segment + 1] < At) ++Segment;
    Double X = P[0].first, Y = P[0].second, DX = 1, DY = 0;
    if (P.size() >= 2) {
      const Double Len = Cumulative[Segment + 1] - Cumulative[Segment];
      const Double T = Len > 0 ? (At - Cumulative[Segment]) / Len : 0;
      DX = P[Segment + 1].first - P[Segment].first;
      DY = P[Segment + 1].second - P[Segment].second;
      X = P[Segment].first + DX * T;
      Y = P[Segment].second + DY * T;
    }
    Integer Angle = Record.CurveCharAngle;
    if (Angle == -10) {
      if (std::fabs(DX) < 1e-9)
        Angle = DY > 0 ? 2700 : 900;
      else
        Angle = static_cast<Integer>(std::nearbyint(std::atan2(-DY, DX) * 1800.0 / M_PI));
      if (Angle < 0) Angle += 3600;
    }
    if (Angle != CurrentAngle) {
      LOGFONTA LF = Record.LogFont ? *Record.LogFont : LOGFONTA{};
      LF.lfQuality = IEVFontQualities[std::min<std::size_t>(Record.FontQuality, IEVFontQualities.size() - 1)];
      LF.lfHeight = LF.lfHeight == 0 ? Box.Height() : TruncD(LF.lfHeight * Zoom);
      LF.lfEscapement = LF.lfOrientation = Angle;
      const TColor Color = Canvas->GetFont()->GetColor();
      Canvas->GetFont()->SetHandle(CreateFontIndirect(&LF));
      Canvas->GetFont()->SetColor(Color);
      CurrentAngle = Angle;
    }
    const std::string C(1, Text[I]);
    const TSize Ext = Canvas->TextExtent(C);
    const auto CX = static_cast<Integer>(X), CY = static_cast<Integer>(Y);
    Canvas->TextOut(CX, CY, C);
    Grow(Record.DrawnExtent, TRect{CX - Ext.cx, CY - Ext.cy, CX + Ext.cx, CY + Ext.cy});
  }
  SetTextAlign(DC, OldAlign);
}
