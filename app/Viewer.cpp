#include "app/Viewer.h"

#include <string>

#include "app/Main.h"
#include "platform/classes/Bitmap.h"
#include "platform/classes/Screen.h"
#include "platform/system/Math.h"
#include "platform/system/Strings.h"
#include "raster/RS32_ImgView.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/form/SkinForm.h"

TForm2* Form2 = nullptr;
Single FitPercent = 0;

namespace {
constexpr Integer DesignClientW = 859, DesignClientH = 593, StripH = 33;

struct TZoomButton {
  const char* Name;
  const char* Caption;
  Integer Percent;  // 0: fit, -1: the maximum
};
constexpr TZoomButton ZoomButtonTable[7] = {
    {"SpeedButton6", "Fit", 0},    {"SpeedButton1", "50%", 50},   {"SpeedButton2", "75%", 75},
    {"SpeedButton3", "100%", 100}, {"SpeedButton4", "125%", 125}, {"SpeedButton5", "150%", 150},
    {"SpeedButton7", "Max", -1},
};

template <class T>
T* Make(TForm2* Form, TWinControl* Parent, TbsSkinData* SkinData, const char* Name) {
  T* C = new T(Form);
  C->SetName(Name);
  C->SetParent(Parent);
  C->SetSkinData(SkinData);
  return C;
}
}  // namespace

Integer ViewerFrameRoom(Integer FormExtent, Integer ViewExtent) {
  // Taken in full: a frame room of 256 pixels or more must not wrap to a few pixels.
  return FormExtent - ViewExtent + 25;
}

Single ViewerFitScale(Integer WorkWidth, Integer WorkHeight, Integer Dx, Integer Dy, Integer Width,
                      Integer Height) {
  if (Width <= 0 || Height <= 0) return 1;
  const Single Fx = static_cast<Single>(static_cast<Extended>(WorkWidth - Dx) / Width);
  const Single Fy = static_cast<Single>(static_cast<Extended>(WorkHeight - Dy) / Height);
  return Min(Fx, Fy);
}

Integer ViewerMinimumZoom(Single Fit) {
  const Integer Half = static_cast<Integer>(Trunc(Fit * 50));
  return Half > ViewerMaxZoom ? 100 : Half;
}

TForm2::TForm2(TComponent* AOwner) : TForm(AOwner) {
  if (Form2 == nullptr) Form2 = this;
  BeginFormLoad();
  SetName("Form2");
  SetCaption("Quorvelin Viewer");
  SetBorderIcons({});
  SetAutoScroll(false);
  SetVisible(false);
  SetClientWidth(DesignClientW);
  SetClientHeight(DesignClientH);
  CreateComponents(Form1 != nullptr ? Form1->bsSkinData1 : nullptr);
  EndFormLoad();
}

void TForm2::CreateComponents(TbsSkinData* SkinData) {
  Panel1 = Make<TbsSkinPanel>(this, this, SkinData, "Panel1");
  Panel1->SetBounds(0, 0, DesignClientW, DesignClientH - StripH);
  Panel1->SetAlign(alClient);
  Panel1->SetSkinDataName("panel");
  Panel1->SetBorderStyle(TbsSkinBorderStyle::bvFrame);

  ImgViewer = new TImgView32(this);
  ImgViewer->SetName("ImgViewer");
  ImgViewer->SetParent(Panel1);
  const TRect Inside = Panel1->GetClientRect();
  ImgViewer->SetBounds(Inside.Left, Inside.Top, Inside.Width(), Inside.Height());
  ImgViewer->SetAlign(alClient);
  ImgViewer->GetBitmap()->SetResamplerClassName("TNearestResampler");
  ImgViewer->SetBitmapAlign(baCustom);
  ImgViewer->SetScale(1.0f);
  ImgViewer->SetScaleMode(smScale);
  ImgViewer->GetScrollBars()->SetShowHandleGrip(true);
  ImgViewer->GetScrollBars()->SetStyle(rbsDefault);
  ImgViewer->SetOverSize(0);
  ImgViewer->OnMouseDown = TImgMouseEvent(this, &TForm2::ImageMouseDown);
  ImgViewer->OnMouseMove = TImgMouseMoveEvent(this, &TForm2::ImageMouseMove);
  ImgViewer->OnMouseUp = TImgMouseEvent(this, &TForm2::ImageMouseUp);

  Panel2 = Make<TbsSkinPanel>(this, this, SkinData, "Panel2");
  Panel2->SetBounds(0, DesignClientH - StripH, DesignClientW, StripH);
  Panel2->SetAlign(alBottom);
  Panel2->SetSkinDataName("panel");

  Label1 = Make<TbsSkinStdLabel>(this, Panel2, SkinData, "Label1");
  Label1->SetBounds(16, 8, 271, 13);
  Label1->SetCaption("Zoom out                                                               Zoom in");

  GaugeBar1 = Make<TbsSkinScrollBar>(this, Panel2, SkinData, "GaugeBar1");
  GaugeBar1->SetBounds(72, 8, 169, 19);
  GaugeBar1->SetKind(sbHorizontal);
  GaugeBar1->SetSkinDataName("hscrollbar");
  GaugeBar1->SetRange(0, ViewerMaxZoom, 0, 0);
  GaugeBar1->SetSmallChange(1);
  GaugeBar1->SetLargeChange(1);
  GaugeBar1->OnChange = TNotifyEvent(this, &TForm2::ZoomInOut);

  for (Integer I = 0; I < 7; ++I) {
    auto* B = Make<TbsSkinSpeedButton>(this, Panel2, SkinData, ZoomButtonTable[I].Name);
    B->SetBounds(320 + 33 * I, 5, 33, 22);
    B->SetCaption(ZoomButtonTable[I].Caption);
    B->SetSkinDataName("toolbutton");
    B->SetFlat(true);
    B->OnClick = TNotifyEvent(this, &TForm2::FixedZoom);
    ZoomButtons[I] = B;
  }

  auto Radio = [&](const char* Name, Integer Left, Integer Width, const char* Caption) {
    auto* R = Make<TbsSkinCheckRadioBox>(this, Panel2, SkinData, Name);
    R->SetBounds(Left, 8, Width, 17);
    R->SetRadio(true);
    R->SetGroupIndex(1);
    R->SetCaption(Caption);
    return R;
  };
  RadioButton1 = Radio("RadioButton1", 584, 73, "Result");
  RadioButton1->SetChecked(true);
  RadioButton2 = Radio("RadioButton2", 656, 81, "Pattern");
  RadioButton1->OnClick = TNotifyEvent(this, &TForm2::SwapImage);
  RadioButton2->OnClick = TNotifyEvent(this, &TForm2::SwapImage);

  Label2 = Make<TbsSkinStdLabel>(this, Panel2, SkinData, "Label2");
  Label2->SetBounds(816, 8, 29, 13);
  Label2->SetAlignment(taRightJustify);
  Label2->SetAnchors({akLeft, akTop, akRight});
  Label2->SetCaption("100%");

  bsSkinForm = new TbsSkinForm(this);
  bsSkinForm->SetName("bsSkinForm");
  bsSkinForm->SetBorderIcons({});
  bsSkinForm->SetSkinData(SkinData);
}

// ---- Zoom ---------------------------------------------------------------------------------------

void TForm2::FormInitiate(TObject*) {
  const Integer Dx = ViewerFrameRoom(GetWidth(), ImgViewer->GetWidth());
  const Integer Dy = ViewerFrameRoom(GetHeight(), ImgViewer->GetHeight());
  const TRect Work = Screen->GetWorkAreaRect();
  SetWidth(Work.Width());
  SetHeight(Work.Height());
  SetWindowState(wsMaximized);
  TBitmap32* Shown = ImgViewer->GetBitmap();
  const Single Fit =
      ViewerFitScale(Work.Width(), Work.Height(), Dx, Dy, Shown->GetWidth(), Shown->GetHeight());
  FitPercent = Fit * 100;
  GaugeBar1->SetMin(ViewerMinimumZoom(Fit));
  GaugeBar1->SetPosition(100);
  // The slider may have moved to its new minimum without telling: the view follows it in any
  // case, so that the zoom shown is the slider's.
  ZoomInOut(GaugeBar1);
  RadioButton1->SetChecked(true);
}

void TForm2::ZoomInOut(TObject*) {
  GaugeBar1->Repaint();
  const Integer Position = GaugeBar1->GetPosition();
  ImgViewer->SetScale(static_cast<Single>(Position / 100.0));
  Label2->SetCaption(IntToStr(Position) + "%");
}

void TForm2::FixedZoom(TObject* Sender) {
  for (Integer I = 0; I < 7; ++I) {
    if (Sender != ZoomButtons[I]) continue;
    const Integer Percent = ZoomButtonTable[I].Percent;
    GaugeBar1->SetPosition(Percent == 0    ? static_cast<Integer>(Trunc(FitPercent))
                           : Percent == -1 ? ViewerMaxZoom
                                           : Percent);
  }
  ZoomInOut(Sender);
  ImgViewer->SetCursor(GaugeBar1->GetPosition() > 100 ? crHandPoint : crArrow);
}

void TForm2::SwapImage(TObject*) {
  if (RadioButton1->GetChecked() && ResultBitmap)
    ImgViewer->GetBitmap()->Assign(ResultBitmap.get());
  else if (RadioButton2->GetChecked() && PatternBitmap)
    ImgViewer->GetBitmap()->Assign(PatternBitmap.get());
}

// ---- Panning ------------------------------------------------------------------------------------

void TForm2::ImageMouseDown(TObject*, TMouseButton Button, TShiftState, Integer X, Integer Y, TCustomLayer*) {
  if (Button != mbLeft) {
    ImgViewer->SetMouseCapture(false);
    return;
  }
  DragOrigin = {X, Y};
  Dragging = true;
  ImgViewer->SetCursor(crSizeAll);
}

void TForm2::ImageMouseMove(TObject*, TShiftState, Integer X, Integer Y, TCustomLayer*) {
  if (!Dragging) return;
  ImgViewer->Scroll(DragOrigin.X - X, DragOrigin.Y - Y);
  DragOrigin = {X, Y};
  ImgViewer->Repaint();
}

void TForm2::ImageMouseUp(TObject*, TMouseButton Button, TShiftState, Integer, Integer, TCustomLayer*) {
  if (Button != mbLeft) return;
  Dragging = false;
  ImgViewer->SetCursor(crDefault);
}
