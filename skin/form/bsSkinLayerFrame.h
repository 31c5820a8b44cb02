#pragma once
// The layered border of a skinned form: four borderless layered popups around the form that
// show the skin's LAYERFRAME picture with per-pixel alpha. They follow the form, switch
// between the active and the inactive picture, fade in, and (with "hittestenable") move and
// resize the form themselves. With "fullborder" the top window carries the caption objects.
//
// Ownership: the border is a component of its TbsSkinForm; it owns its images and its four
// windows (components of the border, each owned on screen by the form so that it stays just
// above it). Pictures and records are the skin's.
#include <memory>

#include "platform/classes/Controls.h"
#include "platform/classes/Forms.h"
#include "platform/classes/Timer.h"
#include "skin/data/bsEffects.h"
#include "skin/data/bsSkinData.h"
#include "skin/data/bsSkinDataSections.h"

class TbsSkinForm;
class TbsFormLayerBorder;

// Hit codes of TbsFormLayerWindow::GetHitCode.
enum TbsLayerHitCode : Byte {
  lhNone,
  lhLeft,
  lhTop,
  lhRight,
  lhBottom,
  lhTopLeft,
  lhTopRight,
  lhBottomLeft,
  lhBottomRight,
  lhCaption,
  lhObject
};

enum TbsLayerBorderKind : Byte { lbLeft, lbTop, lbRight, lbBottom };

class TbsFormLayerWindow : public TCustomControl {
 public:
  TbsFormLayerWindow(TbsFormLayerBorder* ABorder, Byte AKind);
  void Dispatch(TMessage& Message) override;
  // X, Y in window coordinates.
  Byte GetHitCode(Integer X, Integer Y);
  bool CanSize();

  TbsFormLayerBorder* OwnerBorder;
  TCustomForm* TargetForm;
  Byte BorderKind;
  Byte HitCode = lhNone;
  bool InMessageLoop = false;
  bool Dragging = false;
  TPoint DragStart, DragLast;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void DblClick() override;

 private:
  TbsDataSkinLayerFrame* Frame() const;
  Byte ClassifyTop(TPoint P, const TRect& Form);
  Byte ClassifyBottom(TPoint P, const TRect& Form);
  void ResizeStep(Integer DX, Integer DY);
  void MoveStep(Integer DX, Integer DY);
  void ProcessOwnMessages();
};

class TbsFormLayerBorder : public TComponent {
 public:
  explicit TbsFormLayerBorder(TbsSkinForm* AOwner);
  ~TbsFormLayerBorder() override;

  void SetupFromSkin(TbsSkinData* ASkinData, TCustomForm* Form);
  void ShowBorder();
  void ShowAnimated();
  void ShowBorderAt(Integer X, Integer Y, Integer W, Integer H);
  void UpdateBorder();
  void UpdateBorderBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight);
  void UpdateBorderAt(Integer X, Integer Y, Integer W, Integer H);
  void MoveBorder(Integer ALeft, Integer ATop);
  void FollowForm();
  void RefreshBorder();
  void UpdateLayers();
  void SetAlpha(Integer Value, bool Update);
  void SetActive(bool Value, bool Move);
  void HideBorder();
  // Hover tracking of the frame objects; X, Y in top-window coordinates.
  void TestActive(Integer X, Integer Y);
  // The outer rectangle (X, Y, W, H as Right/Bottom = X + W, Y + H) for form bounds.
  TRect OuterRect(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight);
  bool IsLayerCaptionOnly();

  TbsSkinForm* SkinForm;
  TCustomForm* TargetForm = nullptr;
  TbsSkinData* SkinData = nullptr;
  TbsDataSkinLayerFrame* LayerFrame = nullptr;
  TTimer* HoverTimer = nullptr;  // owned as a component
  bool UseBlur = false;
  bool Shown = false;
  bool Active = true;
  Integer Alpha = 255, InActiveAlpha = 255;
  std::unique_ptr<TbsBitmap> ActiveImage, InActiveImage;
  std::unique_ptr<TbsBitmap> LeftImage, TopImage, RightImage, BottomImage;
  TbsFormLayerWindow* LeftWindow = nullptr;  // owned as components
  TbsFormLayerWindow* TopWindow = nullptr;
  TbsFormLayerWindow* RightWindow = nullptr;
  TbsFormLayerWindow* BottomWindow = nullptr;
  Integer OuterWidth = 0, OuterHeight = 0;
  Integer LeftBorderWidth = 0, TopBorderWidth = 0, RightBorderWidth = 0, BottomBorderWidth = 0;
  TSize TopLeftHit, TopRightHit, BottomLeftHit, BottomRightHit;
  Integer PrevHotObject = -1, HotObject = -1, PressedObject = -1;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  void BuildImages(Integer W, Integer H);
  void ArrangeLayerObjects();
  void PushImages();
  void PlaceWindows(Integer X, Integer Y, bool Show, bool KeepSizes);
  void FreeWindows();
  Byte CurrentAlpha() const { return static_cast<Byte>(Active ? Alpha : InActiveAlpha); }
  void HoverTimerTick(TObject* Sender);
};

// The window's bounds as a rectangle.
TRect LayerWindowBounds(TControl* Control);
