#pragma once
// The skinned edit, spin edit, list box and combo box.
//
// TbsCustomEdit is the one-line native edit inside every skinned edit-like control: it lets a
// skinned background show through (transparent mode), blocks editing on its own ReadOnly, and
// hands Enter and Escape to its form. TbsSkinNumEdit only takes keys that can form a number.
// TbsSkinEdit draws its frame and background itself around the native text. TbsSkinSpinEdit
// holds a double Value stepped by two buttons of its own. TbsSkinComboBox shows a chosen item
// and drops a list below itself.
//
// Ownership: inner editors and drop-down lists belong to their control; skin data, image lists
// and fonts given to a control are only referred to (fonts are copied).
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
  void WndProc(TMessage& Message) override;
  void Invalidate() override;

  bool GetReadOnly() const { return FReadOnly; }
  // The edit's own switch: every editing path is blocked, the caret and copying still work.
  void SetReadOnly(bool Value) { FReadOnly = Value; }
  bool GetTransparent() const { return FTransparent; }
  // Recreates the window (the extended style depends on it).
  void SetTransparent(bool Value);

  // Sender: the control that cancels the mode.
  TNotifyEvent OnCancelMode;
  bool Down = false;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Change() override;
  bool TransparentActive() const;

 private:
  bool FReadOnly = false;
  bool FTransparent = false;
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

// The skinned one-line edit (part "edit"; "buttonedit" with a button).
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

  virtual void ApplySkinChange();
  // The height for the font (and images) without a part.
  Integer GetEditHeight();
  void AdjustHeight();

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
  void PaintFrame(HDC DC);

 private:
  void DefaultFontChanged(TObject* Sender);
  void WMEraseBkgnd(TMessage& Message);
  void WMPaint(TMessage& Message);
  void WMNCCalcSize(TMessage& Message);
  void WMNCPaint(TMessage& Message);
  void WMNCHitTest(TMessage& Message);
  void MouseEnterEdit();
  void MouseLeaveEdit();
  bool NeedsTracking() const;

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
  Integer FLeftImageIndex = -1;
  Integer FRightImageIndex = -1;
  TRect FButtonRect;
  TRect FTextRect;
  bool FFromErase = false;
  bool FAlreadyPainted = false;
};

class TbsSkinEdit : public TbsSkinCustomEdit {
 public:
  explicit TbsSkinEdit(TComponent* AOwner) : TbsSkinCustomEdit(AOwner) {}
};

// ---- Spin edit ------------------------------------------------------------------------------
enum TbsValueType { vtInteger, vtFloat };

struct TbsSpinButtonState {
  TRect Rect;
  bool MouseIn = false;
  bool Down = false;
};

// A numeric field (120 x 20, part "spinedit"): Value, limited to MinValue..MaxValue unless both
// are equal, stepped by Increment from two buttons, the Up and Down keys and the wheel.
class TbsSkinSpinEdit : public TbsSkinCustomControl {
 public:
  explicit TbsSkinSpinEdit(TComponent* AOwner);
  ~TbsSkinSpinEdit() override;
  void Dispatch(TMessage& Message) override;
  void Invalidate() override;

  double GetValue() const { return FValue; }
  // Clamped; OnChange on every outermost call (also when the value stays).
  void SetValue(double AValue);
  double GetMinValue() const { return FMinValue; }
  void SetMinValue(double AValue);
  double GetMaxValue() const { return FMaxValue; }
  void SetMaxValue(double AValue);
  double GetIncrement() const { return FIncrement; }
  void SetIncrement(double Value) { FIncrement = Value; }
  TbsValueType GetValueType() const { return FValueType; }
  void SetValueType(TbsValueType Value);
  Byte GetDecimal() const { return FDecimal; }
  void SetDecimal(Byte Value) { FDecimal = Value; }
  TColor GetDefaultColor() const { return FDefaultColor; }
  void SetDefaultColor(TColor Value);
  bool GetUseSkinSize() const { return FUseSkinSize; }
  void SetUseSkinSize(bool Value) { FUseSkinSize = Value; }
  bool GetEditorEnabled() const { return FEdit->EditorEnabled; }
  void SetEditorEnabled(bool Value) { FEdit->EditorEnabled = Value; }
  Integer GetMaxLength() const { return FEdit->GetMaxLength(); }
  void SetMaxLength(Integer Value) { FEdit->SetMaxLength(Value); }

  // The clamping rule: equal limits mean no limits.
  double CheckValue(double NewValue) const;
  // The value as the editor shows it.
  std::string FormatValue(double AValue) const;
  TbsSkinNumEdit* GetEditor() const { return FEdit; }
  const TbsSpinButtonState& GetButton(Integer Index) const { return Buttons[Index]; }

  void DrawDefaultImage(TBitmap* B) override;
  void ApplySkinChange() override;
  void DefaultFontChanged() override;

  TNotifyEvent OnChange;
  TNotifyEvent OnUpButtonClick;
  TNotifyEvent OnDownButtonClick;
  TNotifyEvent OnEditEnter;
  TNotifyEvent OnEditExit;
  TKeyEvent OnEditKeyDown;
  TKeyEvent OnEditKeyUp;
  TKeyPressEvent OnEditKeyPress;

  TbsSpinButtonState Buttons[2];  // 0 up, 1 down

 protected:
  virtual void EditKeyDown(TObject* Sender, Word& Key, TShiftState Shift);
  virtual void EditKeyUp(TObject* Sender, Word& Key, TShiftState Shift);
  virtual void EditKeyPress(TObject* Sender, char& Key);
  virtual void EditEnter(TObject* Sender);
  virtual void EditExit(TObject* Sender);
  virtual void Change();
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  // The buttons, then the editor, for the current size.
  void CalcLayout();
  void CalcButtonRects();

 private:
  void EditChange(TObject* Sender);
  void StepUp(TObject* Sender);
  void StepDown(TObject* Sender);
  void TextChanged();
  void SetEditorText(const std::string& Text);
  bool IsValidText(const std::string& S) const;
  void UpdateHot(Integer X, Integer Y);
  void StartTimer(UINT Interval);
  void StopTimer();

  TbsSkinNumEdit* FEdit = nullptr;  // owned and parented by this control
  double FValue = 0;
  double FMinValue = 0;
  double FMaxValue = 0;
  double FIncrement = 1;
  TbsValueType FValueType = vtInteger;
  Byte FDecimal = 2;
  TColor FDefaultColor = clWindow;
  bool FUseSkinSize = true;
  Integer FHotIndex = -1;
  Integer FPressedIndex = -1;
  Integer FRepeatDirection = 0;  // 0 none, 1 down, 2 up
  bool FFirstDelay = false;
  bool EditFocused = false;
  bool MouseOver = false;
  bool FInternalChange = false;
  bool FEditSync = false;
};
