// The pattern-type table and the handlers that tie the option controls to the build.
#include <initializer_list>

#include "app/BusyScope.h"
#include "app/Languages.h"
#include "app/Main.h"
#include "app/Patterns.h"
#include "app/Viewer.h"
#include "platform/classes/Application.h"
#include "platform/classes/Bitmap.h"
#include "platform/classes/Menus.h"
#include "platform/system/Format.h"
#include "platform/system/Math.h"
#include "raster/RS32_ImgView.h"
#include "skin/boxctrls/bsSkinBoxCtrls.h"
#include "skin/controls/bsSkinCtrls.h"

namespace {
struct TSliderSetting {
  Integer Min, Max, Position;
};

// The sliders each pattern type uses, P1 onwards (the rest are hidden), with their range and
// the position a switch to the type sets.
struct TTypeSliders {
  Integer Count;
  TSliderSetting P[6];
};

constexpr TTypeSliders TypeSliders[10] = {
    {1, {{-50, 100, 0}}},                                                              // pinch
    {5, {{0, 100, 20}, {0, 100, 0}, {-100, 100, 0}, {-100, 100, 0}, {0, 100, 0}}},     // circles
    {5, {{-100, 100, 0}, {5, 100, 25}, {-100, 100, 0}, {-100, 100, 0}, {5, 50, 20}}},  // twirls
    {3, {{0, 100, 40}, {0, 100, 40}, {-50, 100, 0}}},                                  // hexagons
    {3, {{-100, 100, 0}, {100, 200, 100}, {0, 100, 30}}},                              // tube
    {3, {{-100, 100, 0}, {100, 200, 100}, {0, 100, 30}}},                              // tube
    {4, {{0, 100, 10}, {0, 100, 0}, {0, 100, 60}, {0, 100, 40}}},                      // spheres
    {6, {{-100, 100, 90}, {-100, 100, 65}, {-100, 100, 25}, {0, 100, 13}, {10, 100, 20}, {0, 100, 0}}},
    {0, {}},  // kaleidoscope
    {0, {}},  // free drawing
};

using TControls = std::initializer_list<TControl*>;

bool IsTube(Byte Type) {
  return Type == ptVerCylinder || Type == ptHorCylinder;
}

bool IsDrawing(Byte Type) {
  return Type == ptKaleidoscope || Type == ptFreeDrawing;
}

// A switch while long work runs (a build, a load, a submit) would free the pictures that work
// is using: the choice goes back to the type in use. True when refused.
bool RefuseSwitchWhileBusy(TForm1* Form) {
  if (Busy != 1) return false;
  Form->PatternBox->SetItemIndex(PatternType);
  for (Integer K = 0; K < 10; ++K) Form->PatternItems[K]->SetChecked(K == PatternType);
  return true;
}

// The position runs OnChange when it moves.
void ApplySlider(TbsSkinTrackBar* Bar, const TSliderSetting& S) {
  Bar->SetMinValue(S.Min);
  Bar->SetMaxValue(S.Max);
  Bar->SetValue(S.Position);
}
}  // namespace

// ---- The pattern type ------------------------------------------------------------------------

void TForm1::SelectType(TObject* Sender) {
  if (RefuseSwitchWhileBusy(this)) return;
  // The handlers that setting the sliders and the options runs must not build before the
  // switch is complete; a switch that fails half-way leaves the window ready all the same.
  PatternType = static_cast<Byte>(EnsureRange(PatternBox->GetItemIndex(), 0, 9));
  const Byte Type = PatternType;
  {
    const TBusyScope Switching;

    for (TControl* C : TControls{UpdateBtn, GridShow, WhiteGrid, Automatic}) C->SetEnabled(true);
    for (TControl* C : TControls{KeepShape, GlassFX, ApplyShade, GlassBar, GlassLbl}) C->SetEnabled(false);
    for (TbsSkinTrackBar* B : TrackBarP) B->SetVisible(false);
    GroupBox6->SetVisible(false);

    for (Integer I = 0; I < 6; ++I) LabelP[I]->SetCaption(ParamLabels[Type][I]);
    Image1->OnMouseUp = TImgMouseEvent(this, &TForm1::SelectOffsetMouseUp);
    Image1->OnMouseDown.Clear();
    Image1->OnMouseMove.Clear();

    if (!IsTube(Type)) ApplyShade->SetChecked(false);

    for (Integer I = 0; I < 6; ++I) {
      const bool Named = !LabelP[I]->GetCaption().empty();
      LabelP[I]->SetVisible(Named);
      ValueP[I]->SetVisible(Named);
    }

    const TTypeSliders& Row = TypeSliders[Type];
    for (Integer I = 0; I < Row.Count; ++I) {
      ApplySlider(TrackBarP[I], Row.P[I]);
      TrackBarP[I]->SetVisible(true);
    }
    if (Type == ptCircles) KeepShape->SetEnabled(true);
    if (IsTube(Type)) {
      ApplyShade->SetEnabled(true);
      ActivateShade(Sender);
    }
    if (Type == ptSpheres) {
      Automatic->SetChecked(false);
      GridShow->SetEnabled(false);
      WhiteGrid->SetEnabled(false);
      GlassFX->SetEnabled(true);
      GlassBar->SetEnabled(true);
      GlassLbl->SetEnabled(true);
    }
    if (IsDrawing(Type)) {
      PointCount = 0;
      Kal2x->SetVisible(Type == ptKaleidoscope);
      Kal4x->SetVisible(Kal2x->GetVisible());
      Kal8x->SetVisible(Kal2x->GetVisible());
      Image1->OnMouseUp = TImgMouseEvent(this, &TForm1::ImageMouseUp);
      Image1->OnMouseMove = TImgMouseMoveEvent(this, &TForm1::ImageMouseMove);
      Image1->OnMouseDown = TImgMouseEvent(this, &TForm1::ImageMouseDown);
      GroupBox6->SetCaption(InterfaceTexts[Type == ptKaleidoscope ? itGroupBox6 : itGroupBox6FreeDrawing]);
      UpdateBtn->SetEnabled(false);
      GroupBox6->SetVisible(true);
      Automatic->SetChecked(false);
      ResetDrawingArea();
    }
  }
  PumpMessages();
  for (Integer K = 0; K < 10; ++K) PatternItems[K]->SetChecked(K == Type);
  // The drawing types build only from the update button.
  if (!IsDrawing(Type)) ChangeControl(Sender);
}

void TForm1::SelectPatternFromMenu(TObject* Sender) {
  if (RefuseSwitchWhileBusy(this)) return;
  Integer Index = -1;
  for (Integer K = 0; K < 10; ++K) {
    PatternItems[K]->SetChecked(false);
    if (PatternItems[K] == Sender) Index = K;
  }
  if (Index < 0) return;
  PatternItems[Index]->SetChecked(true);
  PatternType = static_cast<Byte>(Index);
  // Setting the index from code does not run the box's OnChange.
  PatternBox->SetItemIndex(Index);
  SelectType(Sender);
}

// ---- Control wiring --------------------------------------------------------------------------

void TForm1::UpdateChange(TObject*) {
  for (Integer I = 0; I < 6; ++I) {
    const Integer V = TrackBarP[I]->GetValue();
    // The tubes' boost runs 100..200 and reads 0..100.
    ValueP[I]->SetCaption(Format("%d", {I == 1 && TrackBarP[I]->GetMaxValue() == 200 ? V - 100 : V}));
  }
  GlassLbl->SetCaption(Format("%d", {GlassBar->GetValue()}) + "%");
  BlendLbl->SetCaption(Format("%d", {BlendBar->GetValue()}));
  ClipLbl->SetCaption(Format("%d", {ClipBar->GetValue()}));
  PumpMessages();
}

void TForm1::ChangeControl(TObject* Sender) {
  UpdateChange(Sender);
  if (Busy == 0 && VideoMode == 0) CreateMosaic(Sender);
}

void TForm1::ChangePatternOptions(TObject*) {
  if (Busy == 0) CreateMosaic(nullptr);
}

void TForm1::ToggleAutomatic(TObject*) {
  // Automatic: every movement rebuilds. Otherwise the values follow the movement and the
  // build runs when it ends.
  const bool Each = Automatic->GetChecked();
  for (TbsSkinTrackBar* B : TrackBarP) {
    B->OnChange =
        Each ? TNotifyEvent(this, &TForm1::ChangeControl) : TNotifyEvent(this, &TForm1::UpdateChange);
    B->OnLastChange = Each ? TNotifyEvent() : TNotifyEvent(this, &TForm1::ChangeControl);
  }
}

void TForm1::ActivateShade(TObject*) {
  if (!IsTube(PatternType)) return;
  const bool Shown = ApplyShade->GetChecked();
  TrackBarP[2]->SetVisible(Shown);
  LabelP[2]->SetVisible(Shown);
  ValueP[2]->SetVisible(Shown);
}

void TForm1::SetGlassFX(TObject* Sender) {
  // Without a picture the glass effect works on the pattern colours.
  PatternColors->SetChecked(SourceLoaded == 1 ? false : GlassFX->GetChecked());
  if (SourceLoaded == 1) CreateMosaic(Sender);
}

// ---- Clicks on the result -------------------------------------------------------------------

void TForm1::SelectOffsetMouseUp(TObject* Sender, TMouseButton, TShiftState Shift, Integer X, Integer Y,
                                 TCustomLayer*) {
  if (Shift != TShiftState{ssShift} || (PatternType != ptCircles && PatternType != ptTwirls)) {
    ShowViewer(Sender);
    return;
  }
  const TRect R = Image1->CalcBitmapRect();
  Extended PX = X - R.Left, PY = Y - R.Top;
  const bool Source = SourceLoaded == 1;
  const Integer W = (Source ? SourceBitmap->GetWidth() : Image1->GetWidth()) - 2;
  const Integer H = (Source ? SourceBitmap->GetHeight() : Image1->GetHeight()) - 2;
  const Integer ViewW = Image1->GetWidth(), ViewH = Image1->GetHeight();
  // A picture or a view too small to divide by gives no centre.
  if (W == 0 || H == 0 || ViewW <= 0 || ViewH <= 0) return;
  // The view shows the pattern reduced: back to pattern pixels.
  if (ViewW < PatternSize) {
    PX = static_cast<Extended>(Round(static_cast<Extended>(PatternSize) / ViewW * PX));
    PY = static_cast<Extended>(Round(static_cast<Extended>(PatternSize) / ViewH * PY));
  }
  TrackBarP[2]->SetValue(static_cast<Integer>(Round(PX * 100 / W - 50)));
  TrackBarP[3]->SetValue(static_cast<Integer>(Round(50 - PY * 100 / H)));
  ChangeControl(Sender);
}

void TForm1::ShowViewer(TObject*) {
  if (Form2 == nullptr) return;
  Form2->ImgViewer->GetBitmap()->Assign(ResultBitmap.get());
  if (!Form2->GetVisible()) Form2->Show();
  Form2->FormInitiate(this);
}
