#pragma once
// The skinned combo box.
#include "skin/boxctrls/bsSkinBoxCtrlsEdits.h"
#include "skin/boxctrls/bsSkinBoxCtrlsListBox.h"

// ---- Combo box ------------------------------------------------------------------------------
enum TbsSkinCustomComboBoxStyle { bscbEditStyle, bscbFixedStyle };

// The skinned combo box (120 x 20, part "combobox"). ItemIndex set from code selects, shows the
// item and fires OnClick and Change (not OnChange); a choice by the list, a key or the wheel
// fires OnChange (when the text changes), OnClick and Change, then OnCloseUp for the list.
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
  TEditCharCase GetCharCase() const { return FCharCase; }
  void SetCharCase(TEditCharCase Value);
  bool GetHideSelection() const { return FHideSelection; }
  void SetHideSelection(bool Value);
  // The list's properties of the same names.
  TStrings* GetTabWidths() const { return FListBox->GetTabWidths(); }
  void SetTabWidths(TStrings* Value) { FListBox->SetTabWidths(Value); }
  bool GetSorted() const { return FListBox->GetSorted(); }
  void SetSorted(bool Value) { FListBox->SetSorted(Value); }
  bool GetHorizontalExtent() const { return FListBox->GetHorizontalExtent(); }
  void SetHorizontalExtent(bool Value) { FListBox->SetHorizontalExtent(Value); }
  std::string GetListBoxCaption() const { return FListBox->GetText(); }
  void SetListBoxCaption(const std::string& Value) { FListBox->SetText(Value); }
  bool GetListBoxCaptionMode() const { return FListBox->GetCaptionMode(); }
  void SetListBoxCaptionMode(bool Value) { FListBox->SetCaptionMode(Value); }
  TAlignment GetListBoxCaptionAlignment() const { return FListBox->GetAlignment(); }
  void SetListBoxCaptionAlignment(TAlignment Value) { FListBox->SetAlignment(Value); }
  TFont* GetListBoxDefaultFont() const { return FListBox->GetDefaultFont(); }
  void SetListBoxDefaultFont(TFont* Value) { FListBox->SetDefaultFont(Value); }
  TFont* GetListBoxDefaultCaptionFont() const { return FListBox->GetDefaultCaptionFont(); }
  void SetListBoxDefaultCaptionFont(TFont* Value) { FListBox->SetDefaultCaptionFont(Value); }
  Integer GetListBoxDefaultItemHeight() const { return FListBox->GetDefaultItemHeight(); }
  void SetListBoxDefaultItemHeight(Integer Value) { FListBox->SetDefaultItemHeight(Value); }
  bool GetListBoxUseSkinFont() const { return FListBox->GetUseSkinFont(); }
  void SetListBoxUseSkinFont(bool Value) { FListBox->SetUseSkinFont(Value); }
  bool GetListBoxUseSkinItemHeight() const { return FListBox->GetUseSkinItemHeight(); }
  void SetListBoxUseSkinItemHeight(bool Value) { FListBox->SetUseSkinItemHeight(Value); }
  TbsDrawSkinItemEvent GetOnListBoxDrawItem() const { return FListBox->OnDrawItem; }
  // Installed as the list's OnDrawItem.
  void SetOnListBoxDrawItem(TbsDrawSkinItemEvent Value) { FListBox->OnDrawItem = Value; }
  bool GetAlphaBlend() const { return FAlphaBlend; }
  void SetAlphaBlend(bool Value) { FAlphaBlend = Value; }
  Byte GetAlphaBlendValue() const { return FAlphaBlendValue; }
  void SetAlphaBlendValue(Byte Value) { FAlphaBlendValue = Value; }
  bool GetAlphaBlendAnimation() const { return FAlphaBlendAnimation; }
  void SetAlphaBlendAnimation(bool Value) { FAlphaBlendAnimation = Value; }
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

  void LoadSkinPart() override;
  void DrawDefaultImage(TBitmap* B) override;
  void DrawSkinImage(TBitmap* B) override;
  void DefaultFontChanged() override;
  void ApplySkinChange() override;
  void FitPartToSize(Integer& AWidth, Integer& AHeight) override;
  void UpdatePartRegion() override;
  // The text colour of a disabled combo: the skin's "edit" part's, else the grey text colour.
  TColor DisabledTextColor();

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

  // The "combobox" part's fields (absolute picture rectangles; the item text rectangle lies in
  // the item picture).
  TRect ActiveSkinRect, ItemRect, FocusItemRect, ActiveItemRect, ItemTextRect;
  TRect ButtonRect, ActiveButtonRect, DownButtonRect, UnEnabledButtonRect;
  Integer ItemLeftOffset = 0, ItemRightOffset = 0;
  std::string FontName = "Arial";
  Integer FontHeight = 14;
  TFontStyles FontStyle;
  TColor FontColor = clWindowText, FocusFontColor = clHighlightText, ActiveFontColor = clWindowText;
  std::string ListBoxName;
  bool ItemStretchEffect = false, FocusItemStretchEffect = false, ShowFocus = false;

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
  void SetEditHot(bool Hot);
  void AutoCompleteText();
  void DragTrack();
  void StopAutoScroll();
  void CancelMode(TControl* Sender);
  // Selects, firing OnClick and Change; OnChange only for the user's choice.
  void SelectIndex(Integer Index, bool ByUser);
  Integer FindItem(const std::string& S, Integer StartAfter);
  // SavedIndex while the list is open, else the list's index; -1 when not an item.
  Integer ShownIndex() const;
  // The item's image and text in T (tab stops as the list has them).
  void DrawItemContent(TCanvas* C, Integer Index, TRect T);
  void DrawShownItem(TCanvas* C);
  void DrawToolButtonLook(TCanvas* C);
  void DrawSkinToolButtonLook(TBitmap* B);
  void DrawButtonPartLook(TCanvas* C);
  void DrawSkinItem(TCanvas* Target);

  TbsSkinCustomComboBoxStyle FStyle = bscbFixedStyle;
  Integer FDropDownCount = 8;
  Integer FListBoxWidth = 0;
  bool FAutoComplete = true;
  TColor FDefaultColor = clWindow;
  bool FToolButtonStyle = false;
  bool FUseSkinSize = true;
  TEditCharCase FCharCase = ecNormal;
  bool FHideSelection = true;
  bool FAlphaBlend = false;
  Byte FAlphaBlendValue = 0;
  bool FAlphaBlendAnimation = false;
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
