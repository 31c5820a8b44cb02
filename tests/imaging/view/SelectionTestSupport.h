#pragma once
// A view for the selection tests: picture coordinates by default, no centring (client pixels
// equal picture pixels at zoom 100), and the drag state the mouse handlers keep, opened up.
#include <memory>
#include <string>
#include <vector>

#include "imaging/core/iebitmap.h"
#include "imaging/core/iemask.h"
#include "imaging/view/zezudidview.h"
#include "imaging/view/zezudidviewselection.h"

class TSelectionView : public TZezudIdView {
 public:
  explicit TSelectionView(TComponent* Owner = nullptr) : TZezudIdView(Owner) {
    SetCenter(false);
    SetSelectionBase(iesbBitmap);
  }
  using TZezudIdView::FBorderDelay;
  using TZezudIdView::FCircleSelecting;
  using TZezudIdView::FGripStartRect;
  using TZezudIdView::FLassoSelecting;
  using TZezudIdView::FMaskOuterColor;
  using TZezudIdView::FMaskOuterValue;
  using TZezudIdView::FMoveIndex;
  using TZezudIdView::FPolyCountAtDown;
  using TZezudIdView::FPolySelecting;
  using TZezudIdView::FRectSelecting;
  using TZezudIdView::FRubberPoint;
  using TZezudIdView::FSelectionAnchor;
  using TZezudIdView::FSelectionAspectRatio;
  using TZezudIdView::FSelectionFixedHeight;
  using TZezudIdView::FSelectionFixedWidth;
  using TZezudIdView::FSelectionGridSize;
  using TZezudIdView::FSelSideGrips;

  // A black picture with white rectangles (X1, Y1, X2, Y2 inclusive).
  void SetPicture(Integer Width, Integer Height, const std::vector<TRect>& WhiteBoxes = {}) {
    TIEBitmap* Picture = GetIEBitmap();
    Picture->Allocate(Width, Height, ie24RGB);
    Picture->Fill(0);
    for (const TRect& Box : WhiteBoxes)
      for (Integer Y = Box.Top; Y <= Box.Bottom; ++Y)
        for (Integer X = Box.Left; X <= Box.Right; ++X) Picture->SetPixel24(X, Y, {255, 255, 255});
    Update();
  }
};

// The mask as rows of '.' and 'x'.
inline std::vector<std::string> MaskRows(const TIEMask& Mask) {
  std::vector<std::string> Rows(Mask.GetHeight(), std::string(Mask.GetWidth(), '.'));
  for (Integer Y = 0; Y < Mask.GetHeight(); ++Y)
    for (Integer X = 0; X < Mask.GetWidth(); ++X)
      if (Mask.GetPixel(X, Y)) Rows[Y][X] = 'x';
  return Rows;
}

inline std::string PolygonText(TZezudIdView& View) {
  std::string Text;
  const TPoint* Points = View.GetPolySelPoints();
  for (Integer I = 0; I < View.GetPolySelCount(); ++I)
    Text += Points[I].X == IESelBreak
                ? std::string("|")
                : "(" + std::to_string(Points[I].X) + "," + std::to_string(Points[I].Y) + ")";
  return Text;
}
