#pragma once
// The skinned spin edit.
#include "skin/boxctrls/bsSkinBoxCtrlsEdits.h"
#include "skin/boxctrls/bsSkinBoxCtrlsStepButtons.h"
#include "skin/boxctrls/bsSkinSpinText.h"

// ---- Spin edit ------------------------------------------------------------------------------
// A numeric field (120 x 20, part "spinedit"): Value, limited to MinValue..MaxValue unless both
// are equal, stepped by Increment from two buttons, the Up and Down keys and the wheel. A typed
// number is taken when the typing is finished: Enter, leaving the editor, or a pause of
// TypingPause ms after the last key.
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
  static constexpr UINT TypingPause = 700;

  void LoadSkinPart() override;
  void DrawDefaultImage(TBitmap* B) override;
  void DrawSkinImage(TBitmap* B) override;
  void ApplySkinChange() override;
  void DefaultFontChanged() override;
  void FitPartToSize(Integer& AWidth, Integer& AHeight) override;
  void UpdatePartRegion() override;

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
  void StepBy(double Delta);
  bool ParseText(const std::string& S, double& Number) const;
  void TextChanged();
  void TypingGoesOn();
  void FinishTyping();
  void DropTyping();
  void SetEditorText(const std::string& Text);
  void UpdateHot(Integer X, Integer Y);
  void StartTimer(UINT Interval);
  void StopTimer();
  void StopTypingTimer();
  // The editor's font colour for the state: enabled, hovered or focused, disabled.
  void SetEditorFontColor(bool Active);
  bool Hovered() const { return EditFocused || MouseOver; }
  // Mouse over the control or its editor changed; repaints and recolours with a part.
  void SetMouseOver(bool Value);
  void EditMouseEnter(TObject* Sender);
  void EditMouseLeave(TObject* Sender);
  void DrawSkinButtons(TBitmap* B);
  void EraseWithEditor(HDC DC);
  bool CursorOverEditor() const;

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
  bool FInternalChange = false;  // the control writes its own texts
  bool FEditSync = false;
  bool FChanging = false;      // OnChange runs
  bool FTyped = false;         // the editor holds typed text not taken yet
  bool FTakeTypedDue = false;  // typing finished while OnChange ran
  // The "spinedit" part's own values (the part record may go with the skin).
  struct TSpinPart {
    TRect ActiveSkinRect;
    std::string FontName = "Arial";
    TFontStyles FontStyle;
    Integer FontHeight = 14;
    TColor FontColor = 0, ActiveFontColor = 0, DisabledFontColor = 0;
    TRect UpRect, ActiveUpRect, DownUpRect, DownRect, ActiveDownRect, DownDownRect;
    Integer LeftOffset = 0, RightOffset = 0;
  } FPart;
};
