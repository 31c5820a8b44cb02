#pragma once
// The skinned edits: the inner native edit, the numeric edit and the framed skinned edit.
#include <memory>
#include <string>
#include "platform/classes/ControlTypes.h"
#include "platform/classes/StdCtrls.h"
#include "skin/controls/bsSkinCtrls.h"

class TCustomImageList;

// ---- Edits ----------------------------------------------------------------------------------
class TbsCustomEdit : public TCustomMaskEdit {
 public:
  explicit TbsCustomEdit(TComponent* AOwner);
  ~TbsCustomEdit() override;
  void WndProc(TMessage& Message) override;
  void Invalidate() override;

  bool GetReadOnly() const { return FReadOnly; }
  // The edit's own switch: every editing path is blocked, the caret and copying still work.
  void SetReadOnly(bool Value) { FReadOnly = Value; }
  bool GetTransparent() const { return FTransparent; }
  // Recreates the window (the extended style depends on it).
  void SetTransparent(bool Value);
  // The clipboard's text; empty when it holds none.
  std::string ClipboardText();

  // Sender: the control that cancels the mode.
  TNotifyEvent OnCancelMode;
  bool Down = false;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Change() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  bool TransparentActive() const;
  // Pastes the clipboard's text without its line breaks.
  void PasteOneLine();
  // The built-in context menu at the message's point (the centre for the keyboard).
  void ShowContextMenu(LPARAM MessagePoint);
  void FreeContextMenu();

 private:
  bool FReadOnly = false;
  bool FTransparent = false;
  TComponent* FContextMenu = nullptr;  // the built-in menu while it is shown; owned
};

// The editor of the spin edit: digits, one minus sign and (FloatInput) one decimal separator;
// Up, Down and the wheel ask for steps.
class TbsSkinNumEdit : public TbsCustomEdit {
 public:
  explicit TbsSkinNumEdit(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;

  bool IsValidChar(char Key);

  TNotifyEvent OnStepUp;
  TNotifyEvent OnStepDown;
  TNotifyEvent OnEditMouseEnter;
  TNotifyEvent OnEditMouseLeave;
  bool EditorEnabled = true;
  bool FloatInput = false;

 protected:
  void KeyPress(char& Key) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
};

// The skinned one-line edit (part "edit"; "buttonedit" with a button). The native window draws
// only the text: the frame is painted in the non-client area, the background and the images in
// the erase step.
class TbsSkinCustomEdit : public TbsCustomEdit {
 public:
  explicit TbsSkinCustomEdit(TComponent* AOwner);
  ~TbsSkinCustomEdit() override;
  void WndProc(TMessage& Message) override;
  void Invalidate() override;
  void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;

  TbsSkinData* GetSkinData() const { return FSD; }
  virtual void SetSkinData(TbsSkinData* Value);
  const std::string& GetSkinDataName() const { return FSkinDataName; }
  void SetSkinDataName(const std::string& Value) { FSkinDataName = Value; }
  TColor GetDefaultColor() const { return FDefaultColor; }
  // The background when no skin picture covers it.
  void SetDefaultColor(TColor Value);
  TFont* GetDefaultFont() const { return FDefaultFont.get(); }
  void SetDefaultFont(TFont* Value);
  bool GetUseSkinFont() const { return FUseSkinFont; }
  void SetUseSkinFont(bool Value) { FUseSkinFont = Value; }
  Integer GetDefaultWidth() const { return FDefaultWidth; }
  void SetDefaultWidth(Integer Value);
  Integer GetDefaultHeight() const { return FDefaultHeight; }
  void SetDefaultHeight(Integer Value);
  bool GetButtonMode() const { return FButtonMode; }
  void SetButtonMode(bool Value);
  TAlignment GetAlignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  TCustomImageList* GetImages() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  Integer GetLeftImageIndex() const { return FLeftImageIndex; }
  void SetLeftImageIndex(Integer Value);
  Integer GetRightImageIndex() const { return FRightImageIndex; }
  void SetRightImageIndex(Integer Value);
  Integer GetLeftImageHotIndex() const { return FLeftImageHotIndex; }
  void SetLeftImageHotIndex(Integer Value) { FLeftImageHotIndex = Value; }
  Integer GetLeftImageDownIndex() const { return FLeftImageDownIndex; }
  void SetLeftImageDownIndex(Integer Value) { FLeftImageDownIndex = Value; }
  Integer GetRightImageHotIndex() const { return FRightImageHotIndex; }
  void SetRightImageHotIndex(Integer Value) { FRightImageHotIndex = Value; }
  Integer GetRightImageDownIndex() const { return FRightImageDownIndex; }
  void SetRightImageDownIndex(Integer Value) { FRightImageDownIndex = Value; }

  virtual void ApplySkinChange();
  // The height for the font (and images), and the part's frame when there is one.
  Integer GetEditHeight();
  void AdjustHeight();
  const TRect& GetTextRect() const { return FTextRect; }
  const TRect& GetButtonRect() const { return FButtonRect; }

  TNotifyEvent OnButtonClick;
  TNotifyEvent OnLeftButtonClick;
  TNotifyEvent OnRightButtonClick;

  Integer PartIndex = -1;
  bool MouseIn = false;
  bool ButtonActive = false;
  bool ButtonDown = false;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Loaded() override;
  void LoadSkinPart();
  // Button and text rectangles in window coordinates.
  void CalcRects();
  void DrawBackground(HDC DC);
  void DrawImages(HDC DC);
  // The frame chosen for the part: copied at the control's width, or stretched to its size.
  void PaintFrame(HDC DC);
  void PaintFrameStretched(HDC DC);
  void PaintAnyFrame(HDC DC);
  // The image rectangles; SetRect also gives the space between them to the native text.
  void UpdateImageRects(bool SetRect);

 private:
  void DefaultFontChanged(TObject* Sender);
  void WMEraseBkgnd(TMessage& Message);
  void WMPaint(TMessage& Message);
  void WMNCCalcSize(TMessage& Message);
  void WMNCPaint(TMessage& Message);
  void WMNCHitTest(TMessage& Message);
  void WMNCLButtonDown(TMessage& Message);
  void WMNCLButtonUp(TMessage& Message);
  LRESULT PrintFrame(HDC DC, bool ExcludeText, LRESULT Done);
  void MouseEnterEdit();
  void MouseLeaveEdit();
  bool NeedsTracking() const;
  void SetFontColorFor(bool Active);
  void ApplyCharset();
  // Repaints the non-client frame.
  void RepaintFrame();
  void ClearImageHot();

  TbsSkinData* FSD = nullptr;
  std::string FSkinDataName = "edit";
  TColor FDefaultColor = clWindow;
  std::unique_ptr<TFont> FDefaultFont;
  bool FUseSkinFont = true;
  Integer FDefaultWidth = 0;
  Integer FDefaultHeight = 0;
  bool FButtonMode = false;
  TAlignment FAlignment = taLeftJustify;
  TCustomImageList* FImages = nullptr;
  Integer FLeftImageIndex = -1, FLeftImageHotIndex = -1, FLeftImageDownIndex = -1;
  Integer FRightImageIndex = -1, FRightImageHotIndex = -1, FRightImageDownIndex = -1;
  bool FLeftImageActive = false, FLeftImageDown = false;
  bool FRightImageActive = false, FRightImageDown = false;
  TRect FLeftImageRect, FRightImageRect;
  TRect FButtonRect;
  TRect FTextRect;
  bool FFromErase = false;
  bool FAlreadyPainted = false;
  // The edit part's own values (the part record may go with the skin).
  struct TEditPart {
    TBitmap* Picture = nullptr;  // in the skin's picture list
    TRect SkinRect, ActiveSkinRect, ClientRect;
    TPoint LeftTopPoint, RightTopPoint;
    Integer LeftOffset = 0, RightOffset = 0;
    std::string FontName = "Arial";
    TFontStyles FontStyle;
    Integer FontHeight = 14;
    TColor FontColor = 0, DisabledFontColor = 0, ActiveFontColor = 0;
    TRect ButtonRect, ActiveButtonRect, DownButtonRect, UnEnabledButtonRect;
    bool StretchEffect = false;
  } FPart;
};

class TbsSkinEdit : public TbsSkinCustomEdit {
 public:
  explicit TbsSkinEdit(TComponent* AOwner) : TbsSkinCustomEdit(AOwner) {}
};
