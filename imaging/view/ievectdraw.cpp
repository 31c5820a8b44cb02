// TZezudIdVect: drawing of the objects over the view and into the picture, composition of
// translucent, highlighting, blended and shadowed objects through the work bitmap, and the
// fast-drawing mode while dragging. Per-kind drawing is in ievectdrawkinds.cpp.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "imaging/core/iebitmap.h"
#include "imaging/core/iegdiplus.h"
#include "imaging/core/iewinutils.h"
#include "imaging/proc/iesoftshadow.h"
#include "imaging/view/ievect.h"
#include "platform/classes/Timer.h"

void TZezudIdVect::DrawToBackBuffer(TIEBitmap* Dest, std::vector<Byte*>* RowCache, const TRect* UpdateRect,
                                    bool DrawBackground, bool DrawBoxes) {
  TZezudIdView::DrawToBackBuffer(Dest, RowCache, UpdateRect, DrawBackground, DrawBoxes);
  if (HideObjects || (FDrawOrder.empty() && !DrawBoxes)) return;
  TBitmap* Target = Dest->GetTBitmap();
  if (Target == nullptr) return;
  DrawObjectsTo(nullptr, false, IEV_ALL, FObjAntialias, Target);
  DrawGrips(Target->GetCanvas());
  if (FVectorInteract.Contains(ivEditPolyline)) DrawPolylineVertices(Target->GetCanvas());
}

bool TZezudIdVect::DrawsStraight(const TIEVObject& Record) const {
  if (FFastDrawing && FastDrawWhileDragging) return true;
  return !(Record.SoftShadow && Record.SoftShadow->Enabled) && !Record.Highlight &&
         Record.BlendOperation == 0 &&
         (Record.Transparency == 255 || (Record.Kind != ievoText && Record.Kind != ievoMemo));
}

void TZezudIdVect::DrawObjectsTo(TIEBitmap*, bool ToImage, Integer hobj, bool Antialias,
                                 TBitmap* TargetBitmap) {
  if (TargetBitmap == nullptr) return;
  FDrawToImage = ToImage;
  FDrawFactor = 1;
  FDrawZoomX = ToImage ? 1.0 : GetZoomX() / 100;
  FDrawZoomY = ToImage ? 1.0 : GetZoomY() / 100;
  FDrawAntialias = Antialias && !(FFastDrawing && FastDrawWhileDragging);
  std::vector<Integer> Handles;
  if (hobj == IEV_ALL)
    Handles = FDrawOrder;
  else if (ObjectRecord(hobj) != nullptr && hobj >= 0)
    Handles.push_back(hobj);
  // Supersampling without the anti-aliased interface: every object goes through the work
  // bitmap, at twice the size with antialias, and is filtered down.
  const bool PathB = FSupersample && !Handles.empty() && !IEGdiPlusEnabled();
  const Integer Q = PathB && Antialias ? 2 : 1;
  for (Integer H : Handles) {
    TIEVObject& Record = *FObjects[H];
    if (PathB)
      ComposeObject(Record, H, TargetBitmap, Q, Antialias);
    else if (DrawsStraight(Record))
      DrawObject(Record, H, false, 1, nullptr, !ToImage, !ToImage, TargetBitmap);
    else
      ComposeObject(Record, H, TargetBitmap, 1, true);
  }
  FDrawToImage = false;
}

void TZezudIdVect::ComposeObject(TIEVObject& Record, Integer hobj, TBitmap* Target, Integer Q,
                                 bool FillColor) {
  const Integer W = Target->GetWidth() * Q, H = Target->GetHeight() * Q;
  if (W <= 0 || H <= 0) return;
  if (!FWorkBitmap || FWorkBitmap->GetWidth() != W || FWorkBitmap->GetHeight() != H) {
    FWorkBitmap = std::make_unique<TIEBitmap>();
    FWorkBitmap->SetLocation(ieTBitmap);
    FWorkBitmap->Allocate(W, H, ie24RGB);
    FWorkAlpha = std::make_unique<TBitmap>();
    FWorkAlpha->SetPixelFormat(pf24bit);
    FWorkAlpha->SetSize(W, H);
  }
  TBitmap* Work = FWorkBitmap->GetTBitmap();
  TCanvas* WC = Work->GetCanvas();
  WC->GetBrush()->SetStyle(bsSolid);
  WC->GetBrush()->SetColor(ColorToRGB(Record.PenColor));
  if (FillColor) WC->FillRect(TRect{0, 0, W, H});
  if (Record.Highlight)
    WC->CopyRect(TRect{0, 0, W, H}, Target->GetCanvas(),
                 TRect{0, 0, Target->GetWidth(), Target->GetHeight()});
  if (!DrawObject(Record, hobj, false, Q, FWorkBitmap.get(), !FDrawToImage, !FDrawToImage, Work)) return;

  // The alpha plane: the object drawn again in the grey of its opacity over black.
  TCanvas* AC = FWorkAlpha->GetCanvas();
  AC->GetBrush()->SetStyle(bsSolid);
  AC->GetBrush()->SetColor(clBlack);
  AC->FillRect(TRect{0, 0, W, H});
  const bool Picture = Record.Kind == ievoBitmap && ObjBitmap(Record.BitmapIndex) != nullptr;
  const TRect Drawn = Record.DrawnExtent;
  if (Picture) {
    const Byte T = static_cast<Byte>(std::clamp(Record.Transparency, 0, 255));
    AC->GetBrush()->SetColor(static_cast<TColor>(T | (T << 8) | (T << 16)));
    AC->FillRect(Drawn);
  } else {
    const TColor Saved[4] = {Record.PenColor, Record.BrushColor, static_cast<TColor>(Record.LabelBrushColor),
                             static_cast<TColor>(Record.MemoBorderColor)};
    const Integer T = std::clamp(Record.Transparency, 0, 255);
    const auto Grey = static_cast<TColor>(T | (T << 8) | (T << 16));
    Record.PenColor = Record.BrushColor = Grey;
    Record.LabelBrushColor = Record.MemoBorderColor = static_cast<Integer>(Grey);
    DrawObject(Record, hobj, true, Q, nullptr, !FDrawToImage, !FDrawToImage, FWorkAlpha.get());
    Record.PenColor = Saved[0];
    Record.BrushColor = Saved[1];
    Record.LabelBrushColor = static_cast<Integer>(Saved[2]);
    Record.MemoBorderColor = static_cast<Integer>(Saved[3]);
    Record.DrawnExtent = Drawn;
  }

  TRect R{Drawn.Left - Record.DrawnPenWidth, Drawn.Top - Record.DrawnPenWidth,
          Drawn.Right + Record.DrawnPenWidth, Drawn.Bottom + Record.DrawnPenWidth};
  R = TRect{std::clamp(R.Left, 0, W), std::clamp(R.Top, 0, H), std::clamp(R.Right, 0, W),
            std::clamp(R.Bottom, 0, H)};
  if (R.Left >= R.Right || R.Top >= R.Bottom) return;
  TIEBitmap* Alpha = FWorkBitmap->GetAlphaChannel();
  Alpha->Fill(0);
  for (Integer Y = R.Top; Y < R.Bottom; ++Y) {
    const auto* Src = static_cast<const Byte*>(FWorkAlpha->GetScanLine(Y));
    auto* Dst = static_cast<Byte*>(Alpha->GetScanline(Y));
    for (Integer X = R.Left; X < R.Right; ++X) Dst[X] = Src[X * 3 + 2];
  }
  if (Record.SoftShadow && Record.SoftShadow->Enabled) {
    const TIEVSoftShadow& S = *Record.SoftShadow;
    const Integer Color =
        (S.ShadowColor.rgbtRed << 16) | (S.ShadowColor.rgbtGreen << 8) | S.ShadowColor.rgbtBlue;
    const Integer M = IEAddSoftShadow(FWorkBitmap.get(), S.OffsetX * Q, S.OffsetY * Q, S.Radius * Q,
                                      S.Intensity, Color, R.Left, R.Top, R.Right - 1, R.Bottom - 1);
    R = TRect{std::max(R.Left - M, 0), std::max(R.Top - M, 0), std::min(R.Right + M, W),
              std::min(R.Bottom + M, H)};
  }
  if (Q > 1) {
    R = TRect{R.Left + 2, R.Top + 2, R.Right - 2, R.Bottom - 2};
    if (R.Left >= R.Right || R.Top >= R.Bottom) return;
  }
  FWorkBitmap->DrawToTBitmap(Target, R.Left / Q, R.Top / Q, R.Width() / Q, R.Height() / Q, R.Left, R.Top,
                             R.Width(), R.Height(), 255, Q > 1 ? rfTriangle : rfNone, Record.BlendOperation);
  FWorkBitmap->RemoveAlphaChannel(false, 0);
}

void TZezudIdVect::CopyObjectsToBack(bool Antialias) {
  DrawObjectsToBitmap(GetIEBitmap(), Antialias, IEV_ALL);
  Update();
  ImageChange();
}

void TZezudIdVect::DrawObjectsToBitmap(TIEBitmap* Picture, bool Antialias, Integer hobj) {
  if (Picture == nullptr || Picture->GetWidth() == 0 || Picture->GetHeight() == 0) return;
  const bool SavedSupersample = FSupersample;
  const bool SavedFast = FFastDrawing;
  FSupersample = Antialias;
  FFastDrawing = false;
  if (Picture->GetPixelFormat() == ie24RGB && Picture->GetLocation() == ieTBitmap) {
    DrawObjectsTo(Picture, true, hobj, Antialias, Picture->GetTBitmap());
  } else {
    TIEBitmap Temp;
    Temp.SetLocation(ieTBitmap);
    Temp.Assign(Picture);
    Temp.RemoveAlphaChannel(false, 0);
    if (Temp.GetPixelFormat() != ie24RGB) Temp.ConvertToPixelFormat(ie24RGB);
    DrawObjectsTo(&Temp, true, hobj, Antialias, Temp.GetTBitmap());
    const TIEPixelFormat Format = Picture->GetPixelFormat();
    if (Format != ie24RGB) Temp.ConvertToPixelFormat(Format);
    for (Integer Y = 0; Y < Picture->GetHeight(); ++Y)
      std::memcpy(Picture->GetScanline(Y), Temp.GetScanline(Y),
                  static_cast<std::size_t>(Picture->GetRowLen()));
  }
  FSupersample = SavedSupersample;
  FFastDrawing = SavedFast;
}

void TZezudIdVect::Paint() {
  if (!FFastDrawTimer->GetEnabled() && !FFastDrawing && IEIsLeftButtonPressed()) {
    FFastDrawing = true;
    FFastDrawTimer->SetEnabled(true);
  }
  TZezudIdView::Paint();
  // The rubber band of a creation or a selection in progress, over the fresh picture.
  if (IEIsLeftButtonPressed() && FCurrentPoint != FPressPoint) {
    switch (FCreatingKind) {
      case ievoLine:
      case ievoLineLabel:
        DrawRubberLine(false);
        break;
      case ievoEllipse:
        DrawRubberEllipse(false);
        break;
      case ievoNone:
        if (FGripAction == 0 && FVectorInteract.Contains(ivSelectObjects) && RubberBandSelect)
          DrawRubberBox(false);
        break;
      case ievoRuler:
      case ievoAngle:
      case ievoPolyline:
        break;
      default:
        DrawRubberBox(false);
        break;
    }
  }
  if (FMeasureHintOn) RedrawMeasureHint();
}

void TZezudIdVect::FastDrawTimer(TObject*) {
  if (IEIsLeftButtonPressed()) return;
  FFastDrawTimer->SetEnabled(false);
  FFastDrawing = false;
  Update();
}

// ---- Grips ----

void TZezudIdVect::GripPoints(const TIEVObject& Record, std::vector<TPoint>& Points) {
  Points.clear();
  const Integer X1 = XBmp2Scr(Record.X1), Y1 = YBmp2Scr(Record.Y1);
  const Integer X2 = XBmp2Scr(Record.X2), Y2 = YBmp2Scr(Record.Y2);
  switch (Record.Kind) {
    case ievoAngle:
      for (const TPoint& P : Record.AnglePoints)
        if (P.X != IEV_UNSETPOINT) Points.push_back(TPoint{XBmp2Scr(P.X), YBmp2Scr(P.Y)});
      break;
    case ievoLine:
    case ievoRuler:
    case ievoLineLabel:
      Points = {TPoint{X1, Y1}, TPoint{X2, Y2}};
      break;
    default:
      Points = {TPoint{X1, Y1},
                TPoint{X2, Y2},
                TPoint{X2, Y1},
                TPoint{X1, Y2},
                TPoint{X1, (Y1 + Y2) / 2},
                TPoint{X2, (Y1 + Y2) / 2},
                TPoint{(X1 + X2) / 2, Y1},
                TPoint{(X1 + X2) / 2, Y2}};
      break;
  }
}

void TZezudIdVect::DrawGrips(TCanvas* Canvas) {
  if (FSelected.empty()) return;
  TIECanvas IC(Canvas, true, FObjAntialias);
  TGraphic* Image = FObjGripImage->GetGraphic();
  std::vector<TPoint> Points;
  for (Integer hobj : FSelected) {
    TIEVObject* Record = ObjectRecord(hobj);
    if (Record == nullptr) continue;
    GripPoints(*Record, Points);
    for (const TPoint& P : Points) {
      if (Image != nullptr && !Image->Empty()) {
        Canvas->Draw(P.X - Image->GetWidth() / 2, P.Y - Image->GetHeight() / 2, Image);
        continue;
      }
      IC.GetPen()->SetColor(FGripPen->GetColor());
      IC.GetPen()->SetStyle(FGripPen->GetStyle());
      IC.GetPen()->SetMode(FGripPen->GetMode());
      IC.GetPen()->SetWidth(static_cast<Single>(FGripPen->GetWidth()));
      IC.GetPen()->SetTransparency(180);
      IC.GetBrush()->SetColor(FGripBrush->GetColor());
      IC.GetBrush()->SetStyle(FGripBrush->GetStyle());
      IC.GetBrush()->SetTransparency(180);
      if (GripShape == 0)
        IC.Rectangle(P.X - GripSize, P.Y - GripSize, P.X + GripSize, P.Y + GripSize);
      else
        IC.Ellipse(P.X - GripSize, P.Y - GripSize, P.X + GripSize, P.Y + GripSize);
    }
    if (CenterMoveGrip) {
      const Integer CX = (XBmp2Scr(Record->X1) + XBmp2Scr(Record->X2)) / 2;
      const Integer CY = (YBmp2Scr(Record->Y1) + YBmp2Scr(Record->Y2)) / 2;
      IC.GetPen()->SetWidth(1);
      const TPoint Diamond[4] = {
          {CX, CY - GripSize}, {CX + GripSize, CY}, {CX, CY + GripSize}, {CX - GripSize, CY}};
      IC.Polygon(Diamond);
    }
  }
}

void TZezudIdVect::DrawPolylineVertices(TCanvas* Canvas) {
  if (FSelected.size() != 1) return;
  TIEVObject* Record = ObjectRecord(FSelected[0]);
  if (Record == nullptr || Record->Kind != ievoPolyline) return;
  TIECanvas IC(Canvas, true, FObjAntialias);
  IC.GetPen()->SetColor(clBlack);
  IC.GetPen()->SetStyle(psSolid);
  IC.GetPen()->SetMode(pmCopy);
  IC.GetPen()->SetWidth(1);
  IC.GetPen()->SetTransparency(255);
  IC.GetBrush()->SetColor(clRed);
  IC.GetBrush()->SetStyle(bsSolid);
  IC.GetBrush()->SetTransparency(255);
  for (const TPoint& P : Record->PolyScreen) IC.Ellipse(P.X - 3, P.Y - 3, P.X + 4, P.Y + 4);
}
