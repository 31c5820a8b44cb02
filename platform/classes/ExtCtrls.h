#pragma once
// The extra controls of the class library: panels, bevels, splitters, images, paint boxes and
// radio groups, all painted by the class library itself in the classic look.
//
// Files: ExtCtrlsPanel.cpp (Frame3D, TCustomPanel, TBevel), ExtCtrlsSplitter.cpp (TSplitter),
// ExtCtrlsImage.cpp (TImage, TPaintBox), ExtCtrlsRadioGroup.cpp (TCustomRadioGroup).
#include <memory>
#include <string>
#include <vector>

#include "platform/classes/Graphic.h"
#include "platform/classes/StdCtrls.h"

// Draws Width nested one-pixel frames inside Rect, the top and left sides in TopColor, the
// bottom and right ones in BottomColor, and leaves Rect the area inside them.
void Frame3D(TCanvas* Canvas, TRect& Rect, TColor TopColor, TColor BottomColor, Integer Width);

// ---- Bevels ---------------------------------------------------------------------------------
enum TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
enum TBevelStyle { bsLowered, bsRaised };

class TBevel : public TGraphicControl {
 public:
  explicit TBevel(TComponent* AOwner);
  TBevelShape GetShape() const { return FShape; }
  void SetShape(TBevelShape Value);
  TBevelStyle GetStyle() const { return FStyle; }
  void SetStyle(TBevelStyle Value);

 protected:
  void Paint() override;

 private:
  TBevelShape FShape = bsBox;
  TBevelStyle FStyle = bsLowered;
};

// ---- Panels ---------------------------------------------------------------------------------
enum TPanelBevel { bvNone, bvLowered, bvRaised, bvSpace };

class TCustomPanel : public TCustomControl {
 public:
  explicit TCustomPanel(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;

  TAlignment GetAlignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  TPanelBevel GetBevelInner() const { return FBevelInner; }
  void SetBevelInner(TPanelBevel Value);
  TPanelBevel GetBevelOuter() const { return FBevelOuter; }
  void SetBevelOuter(TPanelBevel Value);
  Integer GetBevelWidth() const { return FBevelWidth; }
  void SetBevelWidth(Integer Value);
  // bsSingle: a sunken client edge (a plain border without Ctl3D).
  TBorderStyle GetBorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle Value);
  bool GetFullRepaint() const { return FFullRepaint; }
  void SetFullRepaint(bool Value) { FFullRepaint = Value; }

 protected:
  void CreateParams(TCreateParams& Params) override;
  // Inside the border width and the bevels.
  void AdjustClientRect(TRect& Rect) override;
  // The bevels, the border width in the panel's colour, the face and the caption centred
  // vertically (placed by Alignment).
  void Paint() override;
  void CMTextChanged(TMessage& Message);
  void CMCtl3DChanged(TMessage& Message);

 private:
  TAlignment FAlignment = taCenter;
  TPanelBevel FBevelInner = bvNone;
  TPanelBevel FBevelOuter = bvRaised;
  Integer FBevelWidth = 1;
  TBorderStyle FBorderStyle = bsNone;
  bool FFullRepaint = true;
};

class TPanel : public TCustomPanel {
 public:
  explicit TPanel(TComponent* AOwner) : TCustomPanel(AOwner) {}
};

// ---- Splitters ------------------------------------------------------------------------------
enum TResizeStyle { rsNone, rsLine, rsUpdate, rsPattern };

// A bar between an aligned control and the rest: dragging it resizes that control (the first
// visible control on the splitter's aligned side).
class TSplitter : public TGraphicControl {
 public:
  explicit TSplitter(TComponent* AOwner);
  ~TSplitter() override;

  // The smallest size the neighbour keeps (AutoSnap: dragging below it closes the neighbour).
  Integer GetMinSize() const { return FMinSize; }
  void SetMinSize(Integer Value) { FMinSize = Value > 0 ? Value : 1; }
  bool GetAutoSnap() const { return FAutoSnap; }
  void SetAutoSnap(bool Value) { FAutoSnap = Value; }
  bool GetBeveled() const { return FBeveled; }
  void SetBeveled(bool Value);
  // rsUpdate resizes while dragging; rsLine and rsPattern show an inverted bar until the
  // release; rsNone does nothing until the release either.
  TResizeStyle GetResizeStyle() const { return FResizeStyle; }
  void SetResizeStyle(TResizeStyle Value) { FResizeStyle = Value; }

  TNotifyEvent OnMoved;

 protected:
  void Paint() override;
  void RequestAlign() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  // The neighbour's new size; AutoSnap closes it below MinSize. False refuses the move.
  using TGraphicControl::CanResize;
  virtual bool CanResize(Integer& NewSize);

 private:
  TControl* FindControl();
  void CalcSplitSize(Integer X, Integer Y, Integer& NewSize, Integer& Split);
  void UpdateControlSize();
  void DrawLine();
  void StopSizing();

  TControl* FControl = nullptr;
  TPoint FDownPos;
  Integer FMinSize = 30;
  Integer FMaxSize = 0;
  Integer FNewSize = 0;
  Integer FOldSize = -1;
  Integer FSplit = 0;
  bool FAutoSnap = true;
  bool FBeveled = false;
  bool FLineVisible = false;
  TResizeStyle FResizeStyle = rsPattern;
};

// ---- Images and paint boxes -----------------------------------------------------------------
class TImage : public TGraphicControl {
 public:
  explicit TImage(TComponent* AOwner);
  ~TImage() override;

  TPicture* GetPicture() const { return FPicture.get(); }
  void SetPicture(TPicture* Value) { FPicture->Assign(Value); }
  // The picture's canvas: an empty picture becomes a bitmap of the control's size first;
  // raises EInvalidOperation "Can only modify an image if it contains a bitmap" otherwise.
  TCanvas* GetCanvas();
  bool GetCenter() const { return FCenter; }
  void SetCenter(bool Value);
  bool GetProportional() const { return FProportional; }
  void SetProportional(bool Value);
  bool GetStretch() const { return FStretch; }
  void SetStretch(bool Value);
  bool GetTransparent() const { return FTransparent; }
  void SetTransparent(bool Value);
  // Kept; pictures show once loaded.
  bool GetIncrementalDisplay() const { return FIncrementalDisplay; }
  void SetIncrementalDisplay(bool Value) { FIncrementalDisplay = Value; }
  // Where the picture is drawn in the client area.
  TRect DestRect();

 protected:
  void Paint() override;
  bool CanAutoSize(Integer& NewWidth, Integer& NewHeight) override;
  void PictureChanged(TObject* Sender);

 private:
  std::unique_ptr<TPicture> FPicture;
  bool FCenter = false;
  bool FProportional = false;
  bool FStretch = false;
  bool FTransparent = false;
  bool FIncrementalDisplay = false;
  bool FDrawing = false;
};

class TPaintBox : public TGraphicControl {
 public:
  explicit TPaintBox(TComponent* AOwner);
  TNotifyEvent OnPaint;

 protected:
  // The canvas gets the font and the colour; OnPaint draws.
  void Paint() override;
};

// ---- Radio groups ---------------------------------------------------------------------------
class TCustomRadioGroup : public TCustomGroupBox {
 public:
  explicit TCustomRadioGroup(TComponent* AOwner);
  ~TCustomRadioGroup() override;
  void Dispatch(TMessage& Message) override;

  TStrings* GetItems() const { return FItems.get(); }
  void SetItems(TStrings* Value) { FItems->Assign(Value); }
  // Checking a button from code runs OnClick, as a click does.
  Integer GetItemIndex() const { return FItemIndex; }
  void SetItemIndex(Integer Value);
  Integer GetColumns() const { return FColumns; }
  void SetColumns(Integer Value);
  // The radio button of an item.
  TRadioButton* GetButton(Integer Index) const { return FButtons[static_cast<std::size_t>(Index)]; }

 protected:
  void Loaded() override;
  void ArrangeButtons();
  void UpdateButtons();
  void ItemsChange(TObject* Sender);
  void ButtonClick(TObject* Sender);
  void WMSize(TMessage& Message);
  void CMEnabledChanged(TMessage& Message);
  void CMFontChanged(TMessage& Message);

 private:
  void SetButtonCount(Integer Value);
  std::unique_ptr<TStringList> FItems;
  std::vector<TRadioButton*> FButtons;
  Integer FItemIndex = -1;
  Integer FColumns = 1;
  bool FUpdating = false;
};

class TRadioGroup : public TCustomRadioGroup {
 public:
  explicit TRadioGroup(TComponent* AOwner) : TCustomRadioGroup(AOwner) {}
};
