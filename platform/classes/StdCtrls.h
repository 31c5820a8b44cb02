#pragma once
// The standard controls of the class library: wrappers of the native EDIT, LISTBOX, COMBOBOX,
// BUTTON, STATIC and SCROLLBAR windows (made through CreateParams and CreateSubClass, their
// notifications reflected back as CN_* messages and turned into events), the group box and the
// label, which paint themselves.
//
// Every wrapper keeps its state while it has no window (Text, Items, ItemIndex, Checked,
// Position, ...) and gives it to the window when it is made again (RecreateWnd, a new parent).
//
// Files: StdCtrlsCommon.cpp (native classes, item lists, owner-draw helpers),
// StdCtrlsEdit.cpp (edits and memos), StdCtrlsList.cpp (list boxes), StdCtrlsCombo.cpp (combo
// boxes), StdCtrlsButton.cpp (buttons, check boxes, radio buttons, group boxes),
// StdCtrlsLabel.cpp (labels, static texts), StdCtrlsScroll.cpp (scroll bars).
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/classes/ControlTypes.h"
#include "platform/classes/Controls.h"
#include "platform/classes/Forms.h"
#include "platform/system/StringList.h"

// Registers the native control classes (edit, list and combo boxes, buttons, statics, scroll
// bars and the common controls) the first time it is called; every wrapper calls it before it
// asks for its class.
void InitNativeControls();

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

// The item state of an owner-drawn item: bit i of DRAWITEMSTRUCT.itemState is item i.
enum TOwnerDrawStateItem {
  odSelected,
  odGrayed,
  odDisabled,
  odChecked,
  odFocused,
  odDefault,
  odHotLight,
  odInactive,
  odNoAccel,
  odNoFocusRect,
  odReserved1,
  odReserved2,
  odComboBoxEdit
};
using TOwnerDrawState = TSet<TOwnerDrawStateItem, 16>;
TOwnerDrawState OwnerDrawStateOf(UINT ItemState);

using TDrawItemEvent =
    TDelegate<void(TWinControl* Control, Integer Index, TRect Rect, TOwnerDrawState State)>;
using TMeasureItemEvent = TDelegate<void(TWinControl* Control, Integer Index, Integer& Height)>;

// Binds Canvas to the item's DC with the control's font and brush (the highlight colours for a
// selected item), runs Draw for an item (fills the rectangle when there is none) and draws the
// focus rectangle of a focused item.
void DrawOwnerItem(TCanvas* Canvas, TWinControl* Control, const DRAWITEMSTRUCT& Item,
                   const std::function<void(Integer Index, TRect Rect, TOwnerDrawState State)>& Draw);

// The text height of a font ('0' measured on the screen), for layouts made without a window.
Integer FontTextHeight(TFont* Font);

// ---- Item lists -----------------------------------------------------------------------------
// The message numbers a list box or a combo box takes for its items.
struct TNativeListMessages {
  UINT AddString, InsertString, DeleteString, ResetContent, GetCount, GetText, GetTextLen, GetItemData,
      SetItemData;
};

// The items of a list or combo box as a TStrings: the window's items while the control has a
// window, a list of its own otherwise (sorted like the window when the control is Sorted).
class TNativeListStrings : public TStrings {
 public:
  TNativeListStrings(TWinControl* Control, const TNativeListMessages& Messages);
  Integer Add(std::string_view S) override;
  Integer AddObject(std::string_view S, TObject* AObject) override;
  void Clear() override;
  void Delete(Integer Index) override;
  void Insert(Integer Index, std::string_view S) override;
  void InsertObject(Integer Index, std::string_view S, TObject* AObject) override;
  void Exchange(Integer Index1, Integer Index2) override;
  Integer IndexOf(std::string_view S) override;
  Integer GetCount() override;

  bool GetSorted() const { return FSorted; }
  void SetSorted(bool Value) { FSorted = Value; }
  // Takes the window's items into the own list (before the window goes) and gives them back.
  void SaveFromWindow();
  void RestoreToWindow();
  // Called after any change of the items (the combo box keeps its text in step).
  TNotifyEvent OnChange;

 protected:
  std::string Get(Integer Index) override;
  TObject* GetObject(Integer Index) override;
  void Put(Integer Index, std::string_view S) override;
  void PutObject(Integer Index, TObject* AObject) override;
  void SetUpdateState(bool Updating) override;

 private:
  struct TItem {
    std::string S;
    TObject* O = nullptr;
  };
  bool Windowed() const { return FControl->HandleAllocated(); }
  LRESULT Send(UINT Msg, WPARAM WParam, LPARAM LParam);
  Integer SortedPlace(std::string_view S);
  void CheckIndex(Integer Index);
  void Changed();

  TWinControl* FControl;
  TNativeListMessages FMsgs;
  std::vector<TItem> FItems;  // while there is no window
  bool FSorted = false;
};

// ---- Edits ----------------------------------------------------------------------------------
class TCustomEdit : public TWinControl {
 public:
  explicit TCustomEdit(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;

  bool GetAutoSelect() const { return FAutoSelect; }
  void SetAutoSelect(bool Value) { FAutoSelect = Value; }
  TBorderStyle GetBorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle Value);
  TEditCharCase GetCharCase() const { return FCharCase; }
  void SetCharCase(TEditCharCase Value);
  bool GetHideSelection() const { return FHideSelection; }
  void SetHideSelection(bool Value);
  // 0: no limit beyond the window's own.
  Integer GetMaxLength() const { return FMaxLength; }
  void SetMaxLength(Integer Value);
  bool GetModified();
  void SetModified(bool Value);
  char GetPasswordChar() const { return FPasswordChar; }
  void SetPasswordChar(char Value);
  bool GetReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value);

  // The selection in characters (UTF-16 units, as the window counts them).
  Integer GetSelStart();
  void SetSelStart(Integer Value);
  Integer GetSelLength();
  void SetSelLength(Integer Value);
  std::string GetSelText();
  // Replaces the selection (as typing would: OnChange follows).
  void SetSelText(const std::string& Value);
  void SelectAll();
  void ClearSelection();
  void CopyToClipboard();
  void CutToClipboard();
  void PasteFromClipboard();
  void Undo();
  bool GetCanUndo();
  void ClearUndo();
  void Clear() { SetText(""); }

  TNotifyEvent OnChange;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  // Fires OnChange (every change of the text, by the user or by a setter).
  virtual void Change();
  void DoEnter() override;
  // The height a one-line edit has for its font (AutoSize).
  void AdjustHeight();
  void CNCommand(TMessage& Message);
  void CMFontChanged(TMessage& Message);
  void CMCtl3DChanged(TMessage& Message);

  bool FCreating = false;

 private:
  Integer FMaxLength = 0;
  TBorderStyle FBorderStyle = bsSingle;
  char FPasswordChar = 0;
  bool FReadOnly = false;
  bool FAutoSelect = true;
  bool FHideSelection = true;
  bool FModified = false;
  TEditCharCase FCharCase = ecNormal;
};

class TEdit : public TCustomEdit {
 public:
  explicit TEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}
};

// The memo's lines: logical lines (separated by line breaks, not the wrapped rows).
class TMemoStrings;

class TCustomMemo : public TCustomEdit {
 public:
  explicit TCustomMemo(TComponent* AOwner);
  ~TCustomMemo() override;
  void Dispatch(TMessage& Message) override;

  TStrings* GetLines() const;
  void SetLines(TStrings* Value);
  TAlignment GetAlignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  TScrollStyle GetScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle Value);
  bool GetWordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);
  bool GetWantReturns() const { return FWantReturns; }
  void SetWantReturns(bool Value) { FWantReturns = Value; }
  bool GetWantTabs() const { return FWantTabs; }
  void SetWantTabs(bool Value) { FWantTabs = Value; }
  // The caret's line and column (0-based).
  TPoint GetCaretPos();

 protected:
  void CreateParams(TCreateParams& Params) override;
  void KeyPress(char& Key) override;
  void WMGetDlgCode(TMessage& Message);

 private:
  std::unique_ptr<TMemoStrings> FLines;
  TAlignment FAlignment = taLeftJustify;
  TScrollStyle FScrollBars = ssNone;
  bool FWordWrap = true;
  bool FWantReturns = true;
  bool FWantTabs = false;
};

class TMemo : public TCustomMemo {
 public:
  explicit TMemo(TComponent* AOwner) : TCustomMemo(AOwner) {}
};

// An edit with an edit mask. The mask is kept and reported; the text is taken as typed.
class TCustomMaskEdit : public TCustomEdit {
 public:
  explicit TCustomMaskEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}
  const std::string& GetEditMask() const { return FEditMask; }
  void SetEditMask(const std::string& Value) { FEditMask = Value; }
  bool IsMasked() const { return !FEditMask.empty(); }
  // The text (the mask's literals included, as shown).
  std::string GetText() { return TCustomEdit::GetText(); }
  void SetText(const std::string& Value) { TCustomEdit::SetText(Value); }
  std::string GetEditText() { return TCustomEdit::GetText(); }
  void SetEditText(const std::string& Value) { TCustomEdit::SetText(Value); }
  virtual void ValidateEdit() {}

 private:
  std::string FEditMask;
};

class TMaskEdit : public TCustomMaskEdit {
 public:
  explicit TMaskEdit(TComponent* AOwner) : TCustomMaskEdit(AOwner) {}
};

// ---- List boxes -----------------------------------------------------------------------------
enum TListBoxStyle { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable };

class TCustomListBox : public TWinControl {
 public:
  explicit TCustomListBox(TComponent* AOwner);
  ~TCustomListBox() override;
  void Dispatch(TMessage& Message) override;

  TStrings* GetItems() const { return FItems.get(); }
  void SetItems(TStrings* Value) { FItems->Assign(Value); }
  void Clear() { FItems->Clear(); }
  // The selected item (multi-selection lists: the item with the focus rectangle); -1: none.
  Integer GetItemIndex();
  void SetItemIndex(Integer Value);
  Integer GetTopIndex();
  void SetTopIndex(Integer Value);
  bool GetSelected(Integer Index);
  void SetSelected(Integer Index, bool Value);
  // Selected items of a multi-selection list; -1 for a single-selection list.
  Integer GetSelCount();
  TListBoxStyle GetStyle() const { return FStyle; }
  void SetStyle(TListBoxStyle Value);
  Integer GetItemHeight();
  void SetItemHeight(Integer Value);
  bool GetMultiSelect() const { return FMultiSelect; }
  void SetMultiSelect(bool Value);
  bool GetExtendedSelect() const { return FExtendedSelect; }
  void SetExtendedSelect(bool Value);
  bool GetSorted() const { return FItems->GetSorted(); }
  void SetSorted(bool Value);
  // Kept; the native list shows one column.
  Integer GetColumns() const { return FColumns; }
  void SetColumns(Integer Value) { FColumns = Value; }
  bool GetIntegralHeight() const { return FIntegralHeight; }
  void SetIntegralHeight(bool Value);
  TBorderStyle GetBorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle Value);
  // Tab stops in dialog units (0: tabs are not expanded).
  Integer GetTabWidth() const { return FTabWidth; }
  void SetTabWidth(Integer Value);
  TCanvas* GetCanvas() const { return FCanvas.get(); }
  // The item at a client point: -1 outside the items when Existing, else the count.
  Integer ItemAtPos(TPoint Pos, bool Existing);
  TRect ItemRect(Integer Index);

  TDrawItemEvent OnDrawItem;
  TMeasureItemEvent OnMeasureItem;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateHandle() override;
  void DestroyWnd() override;
  // OnDrawItem, or the item's text on the brush.
  virtual void DrawItem(Integer Index, TRect Rect, TOwnerDrawState State);
  virtual void MeasureItem(Integer Index, Integer& Height);
  void CNCommand(TMessage& Message);
  void CNDrawItem(TMessage& Message);
  void CNMeasureItem(TMessage& Message);

 private:
  std::unique_ptr<TNativeListStrings> FItems;
  std::unique_ptr<TControlCanvas> FCanvas;
  TListBoxStyle FStyle = lbStandard;
  Integer FItemHeight = 16;
  Integer FItemIndex = -1;  // while there is no window
  Integer FTopIndex = 0;
  std::vector<Integer> FSelection;  // multi-selection, while there is no window
  Integer FColumns = 0;
  Integer FTabWidth = 0;
  TBorderStyle FBorderStyle = bsSingle;
  bool FMultiSelect = false;
  bool FExtendedSelect = true;
  bool FIntegralHeight = false;
};

class TListBox : public TCustomListBox {
 public:
  explicit TListBox(TComponent* AOwner) : TCustomListBox(AOwner) {}
};

// ---- Combo boxes ----------------------------------------------------------------------------
enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };

class TCustomComboBox : public TWinControl {
 public:
  explicit TCustomComboBox(TComponent* AOwner);
  ~TCustomComboBox() override;
  void Dispatch(TMessage& Message) override;

  TStrings* GetItems() const { return FItems.get(); }
  void SetItems(TStrings* Value) { FItems->Assign(Value); }
  void Clear();
  // Selects without OnChange or OnSelect.
  Integer GetItemIndex();
  void SetItemIndex(Integer Value);
  TComboBoxStyle GetStyle() const { return FStyle; }
  void SetStyle(TComboBoxStyle Value);
  Integer GetDropDownCount() const { return FDropDownCount; }
  void SetDropDownCount(Integer Value);
  bool GetDroppedDown();
  void SetDroppedDown(bool Value);
  Integer GetMaxLength() const { return FMaxLength; }
  void SetMaxLength(Integer Value);
  bool GetSorted() const { return FItems->GetSorted(); }
  void SetSorted(bool Value);
  Integer GetItemHeight();
  void SetItemHeight(Integer Value);
  Integer GetSelStart();
  void SetSelStart(Integer Value);
  Integer GetSelLength();
  void SetSelLength(Integer Value);
  void SelectAll();
  TCanvas* GetCanvas() const { return FCanvas.get(); }

  TNotifyEvent OnChange;
  TNotifyEvent OnSelect;
  TNotifyEvent OnDropDown;
  TNotifyEvent OnCloseUp;
  TDrawItemEvent OnDrawItem;
  TMeasureItemEvent OnMeasureItem;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateHandle() override;
  void DestroyWnd() override;
  virtual void Change();
  virtual void Select();
  virtual void DropDown();
  virtual void CloseUp();
  virtual void DrawItem(Integer Index, TRect Rect, TOwnerDrawState State);
  virtual void MeasureItem(Integer Index, Integer& Height);
  void CNCommand(TMessage& Message);
  void CNDrawItem(TMessage& Message);
  void CNMeasureItem(TMessage& Message);
  bool HasEdit() const { return FStyle == csDropDown || FStyle == csSimple; }

 private:
  std::unique_ptr<TNativeListStrings> FItems;
  std::unique_ptr<TControlCanvas> FCanvas;
  TComboBoxStyle FStyle = csDropDown;
  Integer FDropDownCount = 8;
  Integer FItemHeight = 16;
  Integer FItemIndex = -1;  // while there is no window
  Integer FMaxLength = 0;
};

class TComboBox : public TCustomComboBox {
 public:
  explicit TComboBox(TComponent* AOwner) : TCustomComboBox(AOwner) {}
};

// ---- Buttons --------------------------------------------------------------------------------
class TButtonControl : public TWinControl {
  friend class TButtonActionLink;

 public:
  explicit TButtonControl(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;

 protected:
  // The checked state an action sets on check boxes and radio buttons.
  virtual bool GetChecked() const { return false; }
  virtual void SetChecked(bool) {}
  // Sets Checked without running OnClick (an action's Checked arriving).
  void SetCheckedSilently(bool Value);
  void ActionChange(TObject* Sender, bool CheckDefaults) override;
  std::unique_ptr<TControlActionLink> CreateActionLink() override;

  // Changing the checked state from code runs Click unless clicks are disabled.
  bool GetClicksDisabled() const { return FClicksDisabled; }
  void SetClicksDisabled(bool Value) { FClicksDisabled = Value; }

 private:
  bool FClicksDisabled = false;
};

class TButton : public TButtonControl {
 public:
  explicit TButton(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;

  // Sets the parent form's ModalResult, then runs OnClick.
  void Click() override;
  // Enter clicks the default button unless another button has the focus.
  bool GetDefault() const { return FDefault; }
  void SetDefault(bool Value);
  // Escape clicks the cancel button.
  bool GetCancel() const { return FCancel; }
  void SetCancel(bool Value) { FCancel = Value; }
  TModalResult GetModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult Value) { FModalResult = Value; }

 protected:
  void CreateParams(TCreateParams& Params) override;
  void DoEnter() override;
  void DoExit() override;
  void CNCommand(TMessage& Message);
  void CMDialogKey(TMessage& Message);
  void CMDialogChar(TMessage& Message);

 private:
  // The button Enter clicks shows the default frame.
  void SetActive(bool Value);
  bool FDefault = false;
  bool FCancel = false;
  bool FActive = false;
  TModalResult FModalResult = mrNone;
};

class TCustomCheckBox : public TButtonControl {
 public:
  explicit TCustomCheckBox(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;

  bool GetChecked() const override { return FState == cbChecked; }
  void SetChecked(bool Value) override { SetState(Value ? cbChecked : cbUnchecked); }
  TCheckBoxState GetState() const { return FState; }
  // Runs OnClick when the state changes.
  void SetState(TCheckBoxState Value);
  bool GetAllowGrayed() const { return FAllowGrayed; }
  void SetAllowGrayed(bool Value) { FAllowGrayed = Value; }
  // taRightJustify: the box at the left of the text (the default); taLeftJustify: at its right.
  TAlignment GetAlignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  // Unchecked -> checked (-> grayed with AllowGrayed) -> unchecked.
  virtual void Toggle();
  void CNCommand(TMessage& Message);
  void CMDialogChar(TMessage& Message);

 private:
  TCheckBoxState FState = cbUnchecked;
  bool FAllowGrayed = false;
  TAlignment FAlignment = taRightJustify;
};

class TCheckBox : public TCustomCheckBox {
 public:
  explicit TCheckBox(TComponent* AOwner) : TCustomCheckBox(AOwner) {}
};

class TRadioButton : public TButtonControl {
 public:
  explicit TRadioButton(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;

  bool GetChecked() const override { return FChecked; }
  // Checking unchecks the radio buttons of the same parent and runs OnClick.
  void SetChecked(bool Value) override;
  TAlignment GetAlignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void CNCommand(TMessage& Message);
  void CMDialogChar(TMessage& Message);

 private:
  bool FChecked = false;
  TAlignment FAlignment = taRightJustify;
};

// A frame with a caption that holds other controls; painted by the control itself.
class TCustomGroupBox : public TCustomControl {
 public:
  explicit TCustomGroupBox(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;

 protected:
  void AdjustClientRect(TRect& Rect) override;
  void Paint() override;
  void CMDialogChar(TMessage& Message);
  void CMTextChanged(TMessage& Message);
};

class TGroupBox : public TCustomGroupBox {
 public:
  explicit TGroupBox(TComponent* AOwner) : TCustomGroupBox(AOwner) {}
};

// ---- Labels ---------------------------------------------------------------------------------
// The vertical place of a label's text (the platform's TTextLayout; that name is the text
// layout engine's here).
enum TTextLayoutStyle { tlTop, tlCenter, tlBottom };

class TCustomLabel : public TGraphicControl {
 public:
  explicit TCustomLabel(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;

  TAlignment GetAlignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  void SetAutoSize(bool Value) override;
  TTextLayoutStyle GetLayout() const { return FLayout; }
  void SetLayout(TTextLayoutStyle Value);
  bool GetShowAccelChar() const { return FShowAccelChar; }
  void SetShowAccelChar(bool Value);
  bool GetTransparent() const { return !FControlStyle.Contains(csOpaque); }
  void SetTransparent(bool Value);
  bool GetWordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);
  // The control Alt + the accelerator of the caption focuses.
  TWinControl* GetFocusControl() const { return FFocusControl; }
  void SetFocusControl(TWinControl* Value);

 protected:
  virtual std::string GetLabelText() { return GetText(); }
  // Draws (or with DT_CALCRECT measures) the caption in Rect with the canvas's DC; a disabled
  // label's text is embossed.
  virtual void DoDrawText(TRect& Rect, UINT Flags);
  void Paint() override;
  // AutoSize: the bounds follow the text (the right edge stays for right-aligned labels).
  virtual void AdjustBounds();
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void CMTextChanged(TMessage& Message);
  void CMFontChanged(TMessage& Message);
  void CMDialogChar(TMessage& Message);

 private:
  TWinControl* FFocusControl = nullptr;
  TAlignment FAlignment = taLeftJustify;
  TTextLayoutStyle FLayout = tlTop;
  bool FShowAccelChar = true;
  bool FWordWrap = false;
};

class TLabel : public TCustomLabel {
 public:
  explicit TLabel(TComponent* AOwner) : TCustomLabel(AOwner) {}
};

enum TStaticBorderStyle { sbsNone, sbsSingle, sbsSunken };

// A label with a window (the native STATIC control).
class TCustomStaticText : public TWinControl {
 public:
  explicit TCustomStaticText(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;

  TAlignment GetAlignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  TStaticBorderStyle GetBorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TStaticBorderStyle Value);
  bool GetShowAccelChar() const { return FShowAccelChar; }
  void SetShowAccelChar(bool Value);
  void SetAutoSize(bool Value) override;
  TWinControl* GetFocusControl() const { return FFocusControl; }
  void SetFocusControl(TWinControl* Value);

 protected:
  void CreateParams(TCreateParams& Params) override;
  void AdjustBounds();
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void CMTextChanged(TMessage& Message);
  void CMFontChanged(TMessage& Message);
  void CMDialogChar(TMessage& Message);

 private:
  TWinControl* FFocusControl = nullptr;
  TAlignment FAlignment = taLeftJustify;
  TStaticBorderStyle FBorderStyle = sbsNone;
  bool FShowAccelChar = true;
};

class TStaticText : public TCustomStaticText {
 public:
  explicit TStaticText(TComponent* AOwner) : TCustomStaticText(AOwner) {}
};

// ---- Scroll bars ----------------------------------------------------------------------------
enum TScrollCode {
  scLineUp,
  scLineDown,
  scPageUp,
  scPageDown,
  scPosition,
  scTrack,
  scTop,
  scBottom,
  scEndScroll
};
using TScrollEvent = TDelegate<void(TObject* Sender, TScrollCode ScrollCode, Integer& ScrollPos)>;

class TScrollBar : public TWinControl {
 public:
  explicit TScrollBar(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;

  TScrollBarKind GetKind() const { return FKind; }
  void SetKind(TScrollBarKind Value);
  Integer GetMin() const { return FMin; }
  void SetMin(Integer Value) { SetParams(FPosition, Value, FMax); }
  Integer GetMax() const { return FMax; }
  void SetMax(Integer Value) { SetParams(FPosition, FMin, Value); }
  Integer GetPosition() const { return FPosition; }
  void SetPosition(Integer Value) { SetParams(Value, FMin, FMax); }
  // 0: a plain thumb. Raises EInvalidOperation when larger than the range.
  Integer GetPageSize() const { return FPageSize; }
  void SetPageSize(Integer Value);
  Integer GetSmallChange() const { return FSmallChange; }
  void SetSmallChange(Integer Value) { FSmallChange = Value; }
  Integer GetLargeChange() const { return FLargeChange; }
  void SetLargeChange(Integer Value) { FLargeChange = Value; }
  // Position, Min and Max at once: the position is kept within Min .. Max - PageSize + 1;
  // OnChange fires when it changed.
  void SetParams(Integer APosition, Integer AMin, Integer AMax);

  TNotifyEvent OnChange;
  TScrollEvent OnScroll;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  virtual void Change();
  virtual void Scroll(TScrollCode ScrollCode, Integer& ScrollPos);
  void DoScroll(TMessage& Message);

 private:
  void UpdateWindow();
  TScrollBarKind FKind = sbHorizontal;
  Integer FMin = 0, FMax = 100, FPosition = 0, FPageSize = 0;
  Integer FSmallChange = 1, FLargeChange = 1;
};
