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
  void StepBy(double Delta);
  bool ParseText(const std::string& S, double& Number) const;
  void TextChanged();
  void TypingGoesOn();
  void FinishTyping();
  void DropTyping();
  void SetEditorText(const std::string& Text);
  bool IsValidText(const std::string& S) const;
  void UpdateHot(Integer X, Integer Y);
  void StartTimer(UINT Interval);
  void StopTimer();
  void StopTypingTimer();

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
};

// ---- List boxes -----------------------------------------------------------------------------
class TbsSkinCustomListBox;

// Draws one item: the canvas of an item bitmap, the item, the bitmap's size, the text
// rectangle and the item's state.
using TbsDrawSkinItemEvent = TDelegate<void(TObject* Sender, TCanvas* Cnvs, Integer Index, TSize ItemSize,
                                            TRect TextRct, TOwnerDrawState State)>;

// The owner-drawn native list inside a skinned list box; its native scroll bars stay out of
// sight and its input goes to the frame first.
class TbsListBox : public TListBox {
 public:
  explicit TbsListBox(TComponent* AOwner);
  void WndProc(TMessage& Message) override;
  void Click() override;

  TbsSkinCustomListBox* SkinListBox = nullptr;
  Integer HorzOffset = 0;
  // The window is being made and its items put back: the count is not the list's yet.
  bool MakingWindow() const { return FMakingWindow; }

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateHandle() override;
  void CreateWnd() override;
  void DrawItem(Integer Index, TRect Rect, TOwnerDrawState State) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyUp(Word& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;

 private:
  bool FMakingWindow = false;
};

// The skinned list box (120 x 120, part "listbox"): a frame around the native list and an
// external scroll bar of its own when the items need one.
class TbsSkinCustomListBox : public TbsSkinCustomControl {
 public:
  explicit TbsSkinCustomListBox(TComponent* AOwner);
  ~TbsSkinCustomListBox() override;
  void Dispatch(TMessage& Message) override;
  void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;

  TStrings* GetItems() const { return ListBox->GetItems(); }
  void SetItems(TStrings* Value);
  void Clear();
  Integer GetItemIndex() const { return ListBox->GetItemIndex(); }
  void SetItemIndex(Integer Value) { ListBox->SetItemIndex(Value); }
  bool GetSorted() const { return ListBox->GetSorted(); }
  void SetSorted(bool Value);
  bool GetMultiSelect() const { return ListBox->GetMultiSelect(); }
  void SetMultiSelect(bool Value) { ListBox->SetMultiSelect(Value); }
  bool GetSelected(Integer Index) const { return ListBox->GetSelected(Index); }
  void SetTopIndex(Integer Value) { ListBox->SetTopIndex(Value); }
  Integer ItemAtPos(TPoint Pos, bool Existing) const { return ListBox->ItemAtPos(Pos, Existing); }
  Integer GetRowCount() const { return FRowCount; }
  // A non-zero count makes the frame as high as that many rows.
  void SetRowCount(Integer Value);
  Integer GetDefaultItemHeight() const { return FDefaultItemHeight; }
  void SetDefaultItemHeight(Integer Value);
  TCustomImageList* GetImages() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  Integer GetImageIndex() const { return FImageIndex; }
  void SetImageIndex(Integer Value);

  // The frame height that shows N rows.
  Integer HeightForRows(Integer N);
  // Keeps the external bar in step with the native list.
  void UpdateScrollBars();
  void PlaceInnerControls();
  void DrawDefaultImage(TBitmap* B) override;
  void ApplySkinChange() override;
  void DefaultFontChanged() override;

  // The frame's share of the inner list's input; the events get the frame as Sender.
  virtual Integer ItemTextWidth(Integer Index, TCanvas* Cnvs);
  virtual void ListBoxMouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
  virtual void ListBoxMouseMove(TShiftState Shift, Integer X, Integer Y);
  virtual void ListBoxMouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
  virtual void ListBoxClick();
  virtual void ListBoxDblClick();
  virtual void ListBoxKeyDown(Word& Key, TShiftState Shift);
  virtual void ListBoxKeyUp(Word& Key, TShiftState Shift);
  virtual void ListBoxKeyPress(char& Key);
  virtual void ListBoxEnter() {}
  virtual void ListBoxExit() {}
  // Continue false drops a message of the inner list.
  virtual void ListBoxWndProc(TMessage&, bool& Continue) { Continue = true; }
  virtual void ListBoxCreateWnd() {}
  // Paints one item of the inner list in the unskinned look.
  void DrawListItem(TCanvas* Target, Integer Index, const TRect& Rect, TOwnerDrawState State);

  TNotifyEvent OnListBoxClick;
  TNotifyEvent OnListBoxDblClick;
  TMouseEvent OnListBoxMouseDown;
  TMouseMoveEvent OnListBoxMouseMove;
  TMouseEvent OnListBoxMouseUp;
  TKeyEvent OnListBoxKeyDown;
  TKeyEvent OnListBoxKeyUp;
  TKeyPressEvent OnListBoxKeyPress;
  TbsDrawSkinItemEvent OnDrawItem;

  TbsListBox* ListBox = nullptr;              // owned and parented by the frame
  TbsSkinScrollBar* MainScrollBar = nullptr;  // owned by the frame; only while needed
  TRect InnerRect;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  void MainScrollBarChange(TObject* Sender);
  void HideMainScrollBar();

  Integer FRowCount = 0;
  Integer FDefaultItemHeight = 20;
  TCustomImageList* FImages = nullptr;
  Integer FImageIndex = -1;
};

class TbsSkinListBox : public TbsSkinCustomListBox {
 public:
  explicit TbsSkinListBox(TComponent* AOwner) : TbsSkinCustomListBox(AOwner) {}
};

// The drop-down list of the combo box: a list box in a pop-up window that never takes the
// activation, owned by the combo's window.
class TbsPopupListBox : public TbsSkinListBox {
 public:
  explicit TbsPopupListBox(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;
  // At the screen point P, without activating.
  void ShowPopup(TPoint P);
  void HidePopup();

  bool Layered = false;
  Byte CurrentAlpha = 0;

 protected:
  void CreateParams(TCreateParams& Params) override;
};

// ---- Combo box ------------------------------------------------------------------------------
enum TbsSkinCustomComboBoxStyle { bscbEditStyle, bscbFixedStyle };

// The skinned combo box (120 x 20, part "combobox"). ItemIndex set from code selects, shows the
// item and fires OnClick (not OnChange); choosing an item from the open list fires OnChange
// (when the text changes), OnClick, then OnCloseUp.
class TbsSkinCustomComboBox : public TbsSkinCustomControl {
 public:
  explicit TbsSkinCustomComboBox(TComponent* AOwner);
  ~TbsSkinCustomComboBox() override;
  void Dispatch(TMessage& Message) override;
  void Invalidate() override;

  TStrings* GetItems() const { return FListBox->GetItems(); }
  void SetItems(TStrings* Value) { FListBox->SetItems(Value); }
  Integer GetItemIndex() const { return FListBox->GetItemIndex(); }
  void SetItemIndex(Integer Value);
  TbsSkinCustomComboBoxStyle GetStyle() const { return FStyle; }
  void SetStyle(TbsSkinCustomComboBoxStyle Value);
  Integer GetDropDownCount() const { return FDropDownCount; }
  // Values below 1 are ignored.
  void SetDropDownCount(Integer Value);
  Integer GetListBoxWidth() const { return FListBoxWidth; }
  void SetListBoxWidth(Integer Value) { FListBoxWidth = Value; }
  bool GetAutoComplete() const { return FAutoComplete; }
  void SetAutoComplete(bool Value) { FAutoComplete = Value; }
  TColor GetDefaultColor() const { return FDefaultColor; }
  void SetDefaultColor(TColor Value);
  bool GetToolButtonStyle() const { return FToolButtonStyle; }
  void SetToolButtonStyle(bool Value);
  bool GetUseSkinSize() const { return FUseSkinSize; }
  void SetUseSkinSize(bool Value) { FUseSkinSize = Value; }
  TCustomImageList* GetImages() const { return FListBox->GetImages(); }
  void SetImages(TCustomImageList* Value);
  Integer GetImageIndex() const { return FListBox->GetImageIndex(); }
  void SetImageIndex(Integer Value);
  bool GetDroppedDown() const { return DroppedDown; }
  TbsPopupListBox* GetListBox() const { return FListBox; }
  TbsCustomEdit* GetEdit() const { return FEdit; }
  TRect GetTextArea() const { return TextArea; }
  TRect GetButtonArea() const { return ButtonArea; }

  virtual void EditWndProc(TMessage& Message);
  virtual void CreateEdit();
  // After a choice is made.
  virtual void Change() {}
  // Opens the list (nothing without items).
  virtual void DropDown();
  void CloseUp(bool Accept);
  void PlaceParts();

  void DrawDefaultImage(TBitmap* B) override;
  void DefaultFontChanged() override;
  void ApplySkinChange() override;

  TNotifyEvent OnChange;
  TNotifyEvent OnDropDown;
  TNotifyEvent OnCloseUp;
  TbsDrawSkinItemEvent OnComboBoxDrawItem;

  bool NumericEdit = false;
  bool DroppedDown = false;
  bool ListEntered = false;
  Integer AutoScrollMode = 0;  // 0 none, 1 up, 2 down
  Cardinal LastKeyTick = 0;
  std::string TypeAheadText;
  bool MouseInside = false;
  Integer SavedIndex = -1;
  bool DraggingFromButton = false;
  bool ButtonHot = false;
  bool ButtonPressed = false;
  TOwnerDrawState DrawState;

 protected:
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  void ListMouseMove(TObject* Sender, TShiftState Shift, Integer X, Integer Y);
  void ListWindowProc(TMessage& Message);
  void CheckButtonClick(TObject* Sender);
  void EditChange(TObject* Sender);
  void EditCancelMode(TObject* Sender);
  void EditKeyDown(TObject* Sender, Word& Key, TShiftState Shift);
  void EditKeyPress(TObject* Sender, char& Key);
  void EditKeyUp(TObject* Sender, Word& Key, TShiftState Shift);
  void EditStep(Integer Delta, bool Commit);
  void AutoCompleteText();
  void DragTrack();
  void StopAutoScroll();
  void CancelMode(TControl* Sender);
  // Selects from code, firing OnClick and Change.
  void SelectIndex(Integer Index);
  Integer FindItem(const std::string& S, Integer StartAfter);
  void DrawShownItem(TCanvas* C);
  void DrawToolButtonLook(TCanvas* C);

  TbsSkinCustomComboBoxStyle FStyle = bscbFixedStyle;
  Integer FDropDownCount = 8;
  Integer FListBoxWidth = 0;
  bool FAutoComplete = true;
  TColor FDefaultColor = clWindow;
  bool FToolButtonStyle = false;
  bool FUseSkinSize = true;
  TbsPopupListBox* FListBox = nullptr;  // owned by the combo
  TbsCustomEdit* FEdit = nullptr;       // owned by the combo; only in the edit style
  TWndMethod FOldListWindowProc;
  TWndMethod FOldEditWindowProc;
  TRect TextArea;
  TRect ButtonArea;
  bool TextFromEdit = false;
  bool FQuietText = false;  // the text is set from ItemIndex: no OnChange
};

class TbsSkinComboBox : public TbsSkinCustomComboBox {
 public:
  explicit TbsSkinComboBox(TComponent* AOwner) : TbsSkinCustomComboBox(AOwner) {}
};
