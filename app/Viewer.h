#pragma once
// The result viewer: a second window that shows the finished mosaic, or the bare pattern it was
// built on, over the whole work area, zoomed from half the fit-to-screen zoom up to 200 % by a
// slider and fixed steps, and panned by dragging with the left mouse button.
//
// Made once after the main window (owned by the application), hidden and shown, never
// destroyed before the program ends. The view keeps its own copy of the picture it shows.
#include "platform/classes/Forms.h"
#include "platform/system/Types.h"
#include "raster/RS32_Image.h"

class TImgView32;
class TbsSkinData;
class TbsSkinForm;
class TbsSkinPanel;
class TbsSkinScrollBar;
class TbsSkinSpeedButton;
class TbsSkinCheckRadioBox;
class TbsSkinStdLabel;

// The zoom slider's range in percent.
constexpr Integer ViewerMaxZoom = 200;

// The room the frame, the panels and the bottom strip take around the picture along one axis:
// the form's extent less the view's, plus 25.
Integer ViewerFrameRoom(Integer FormExtent, Integer ViewExtent);
// The zoom at which a W x H picture fits the work area less the frame room (the smaller of the
// two axes' ratios, as a single).
Single ViewerFitScale(Integer WorkWidth, Integer WorkHeight, Integer Dx, Integer Dy, Integer Width,
                      Integer Height);
// The slider's minimum for a fit zoom: half of it, in percent. A picture so small that this
// passes the maximum gets 100 % instead, so that the slider keeps a range to move in.
Integer ViewerMinimumZoom(Single Fit);

// The zoom, in percent, at which the whole picture fits the screen; 0 until FormInitiate runs.
extern Single FitPercent;

class TForm2 : public TForm {
 public:
  explicit TForm2(TComponent* AOwner);

  // Fits the window to the work area, sets the zoom range and shows the result at 100 %.
  void FormInitiate(TObject* Sender);
  void ZoomInOut(TObject* Sender);
  void FixedZoom(TObject* Sender);
  void SwapImage(TObject* Sender);
  void ImageMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X, Integer Y,
                      TCustomLayer* Layer);
  void ImageMouseMove(TObject* Sender, TShiftState Shift, Integer X, Integer Y, TCustomLayer* Layer);
  void ImageMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X, Integer Y,
                    TCustomLayer* Layer);

  TPoint DragOrigin;
  bool Dragging = false;

  // ---- Components, in streaming order ----
  TbsSkinPanel* Panel1 = nullptr;
  TImgView32* ImgViewer = nullptr;
  TbsSkinPanel* Panel2 = nullptr;
  TbsSkinStdLabel* Label1 = nullptr;
  TbsSkinScrollBar* GaugeBar1 = nullptr;
  // "Fit", "50%", "75%", "100%", "125%", "150%", "Max" from left to right.
  TbsSkinSpeedButton* ZoomButtons[7] = {};
  TbsSkinCheckRadioBox* RadioButton1 = nullptr;
  TbsSkinCheckRadioBox* RadioButton2 = nullptr;
  TbsSkinStdLabel* Label2 = nullptr;
  TbsSkinForm* bsSkinForm = nullptr;

 private:
  void CreateComponents(TbsSkinData* SkinData);
};

extern TForm2* Form2;
