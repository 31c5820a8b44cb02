#pragma once
// The skinned list box and the drop-down list.
#include <memory>
#include <string>
#include "platform/classes/ControlTypes.h"
#include "platform/classes/StdCtrls.h"
#include "skin/controls/bsSkinCtrls.h"

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
  // The state an item is painted in when the list paints itself.
  TOwnerDrawState ItemState(Integer Index);
  void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;

 protected:
  void PaintWindow(HDC DC) override;
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
  // The visible rows of a single-column list, then the rest below them.
  void PaintItems(HDC DC);
  void PaintColumns(HDC DC);
  void EraseBackground(HDC DC);

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
  // Spelled so; the inner list's ExtendedSelect.
  bool GetExtandedSelect() const { return ListBox->GetExtendedSelect(); }
  void SetExtandedSelect(bool Value) { ListBox->SetExtendedSelect(Value); }
  Integer GetColumns() const { return ListBox->GetColumns(); }
  void SetColumns(Integer Value);
  // The inner list's own font, tab place, drag settings and menu.
  TFont* GetListBoxFont() const { return ListBox->GetFont(); }
  void SetListBoxFont(TFont* Value) { ListBox->GetFont()->Assign(Value); }
  Integer GetListBoxTabOrder() const { return ListBox->GetTabOrder(); }
  void SetListBoxTabOrder(Integer Value) { ListBox->SetTabOrder(Value); }
  bool GetListBoxTabStop() const { return ListBox->GetTabStop(); }
  void SetListBoxTabStop(bool Value) { ListBox->SetTabStop(Value); }
  TPopupMenu* GetListBoxPopupMenu() const { return ListBox->GetPopupMenu(); }
  void SetListBoxPopupMenu(TPopupMenu* Value) { ListBox->SetPopupMenu(Value); }
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

  // Tab stops of item text, one decimal number a line (the first 10 are used).
  TStrings* GetTabWidths() const { return FTabWidths.get(); }
  void SetTabWidths(TStrings* Value);
  // With a part the row height is its item picture's; only stored: painting follows at the
  // next paint, the row height at the next skin change.
  bool GetUseSkinItemHeight() const { return FUseSkinItemHeight; }
  void SetUseSkinItemHeight(bool Value) { FUseSkinItemHeight = Value; }

  // The caption strip at the top: caption text, glyph and the up, down and check buttons.
  bool GetCaptionMode() const { return FCaptionMode; }
  void SetCaptionMode(bool Value);
  Integer GetDefaultCaptionHeight() const { return FDefaultCaptionHeight; }
  void SetDefaultCaptionHeight(Integer Value);
  TFont* GetDefaultCaptionFont() const { return FDefaultCaptionFont.get(); }
  void SetDefaultCaptionFont(TFont* Value) { FDefaultCaptionFont->Assign(Value); }
  TAlignment GetAlignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  bool GetShowCaptionButtons() const { return FShowCaptionButtons; }
  void SetShowCaptionButtons(bool Value);
  // A strip of NumGlyphs equal cells; the second is shown while the control is disabled.
  TBitmap* GetGlyph() const { return FGlyph.get(); }
  void SetGlyph(TBitmap* Value);
  Integer GetNumGlyphs() const { return FNumGlyphs; }
  void SetNumGlyphs(Integer Value);
  Integer GetSpacing() const { return FSpacing; }
  void SetSpacing(Integer Value);
  // Index 0 up, 1 down, 2 check; in frame coordinates.
  TRect GetCaptionButtonRect(Integer Index) const { return CaptionButtons[Index].R; }

  // A horizontal bar for item texts wider than the list (single-column lists).
  bool GetHorizontalExtent() const { return FHorizontalExtent; }
  void SetHorizontalExtent(bool Value);

  // The frame height that shows N rows.
  Integer HeightForRows(Integer N);
  // Keeps the external bar in step with the native list.
  void UpdateScrollBars();
  void PlaceInnerControls();
  void LoadSkinPart() override;
  void DrawDefaultImage(TBitmap* B) override;
  void DrawSkinImage(TBitmap* B) override;
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
  // Paints one item of the inner list by the painter of the current look.
  void DrawListItem(TCanvas* Target, Integer Index, const TRect& Rect, TOwnerDrawState State);
  // Text at T's left + Offset + 2 with the tab stops of TabWidths (the first 10; a line that
  // is not a number is a stop at 0), centred vertically.
  void DrawTabbedText(TCanvas* C, const std::string& Text, const TRect& T, Integer Offset);
  // W x H of the part's client piece, tiled, drawn at (X, Y); the window colour without a
  // part or with a piece of no size.
  void TileClientArea(TCanvas* Target, Integer W, Integer H, Integer X, Integer Y);

  TNotifyEvent OnUpButtonClick;
  TNotifyEvent OnDownButtonClick;
  TNotifyEvent OnCheckButtonClick;
  TNotifyEvent OnListBoxClick;
  TNotifyEvent OnListBoxDblClick;
  TMouseEvent OnListBoxMouseDown;
  TMouseMoveEvent OnListBoxMouseMove;
  TMouseEvent OnListBoxMouseUp;
  TKeyEvent OnListBoxKeyDown;
  TKeyEvent OnListBoxKeyUp;
  TKeyPressEvent OnListBoxKeyPress;
  TbsDrawSkinItemEvent OnDrawItem;

  TbsListBox* ListBox = nullptr;                // owned and parented by the frame
  TbsSkinScrollBar* MainScrollBar = nullptr;    // owned by the frame; only while needed
  TbsSkinScrollBar* ExtentScrollBar = nullptr;  // owned by the frame; only while needed
  bool SkinUpdating = false;
  TRect ListArea;
  TRect InnerRect;

  // The "listbox" part's fields (absolute picture rectangles; the text rectangle lies in the
  // item picture).
  TRect ItemRect, ActiveItemRect, FocusItemRect, ItemTextRect;
  Integer ItemLeftOffset = 0, ItemRightOffset = 0;
  std::string FontName = "Arial";
  Integer FontHeight = 14;
  TFontStyles FontStyle;
  TColor FontColor = clWindowText, ActiveFontColor = clHighlightText, FocusFontColor = clHighlightText;
  std::string VScrollBarName, HScrollBarName, BothHScrollBarName;
  bool ShowFocus = false;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;

 private:
  struct TCaptionButton {
    TRect R;
    bool MouseIn = false;
    bool Down = false;
  };
  // Caption strip (bsSkinBoxCtrlsListCaption.cpp).
  void TrackCaptionButton(Integer X, Integer Y);
  void ReleaseCaptionButton(Integer Index);
  void CaptionButtonAction(Integer Index);
  void CaptionTimer();
  void StartRepeatTimer(UINT Interval);
  void StopRepeatTimer();
  void DrawCaption(TCanvas* C, const TRect& R, TFont* Font, bool Skinned);
  void DrawDefaultCaptionButton(TCanvas* C, Integer Index);
  void DrawSkinCaptionButton(TCanvas* C, Integer Index);
  void CaptionFontChanged(TObject* Sender);
  bool CaptionButtonsShown() const { return FCaptionMode && FShowCaptionButtons; }

  void MainScrollBarChange(TObject* Sender);
  void HideMainScrollBar();
  // Takes a bar out of the frame and frees it once the message being handled is done.
  void DiscardBar(TbsSkinScrollBar* Bar);
  // The external bar's part: the part's vertical bar, none in the default look.
  std::string BarPartName() const;
  void ExtentScrollBarChange(TObject* Sender);
  void HideExtentScrollBar();
  // The horizontal bar's part and corner mode, by whether the vertical bar is there.
  void SetExtentBarMode();
  // The extent bar's share of UpdateScrollBars.
  void UpdateExtentScrollBar();
  void DrawItemDefault(TCanvas* Target, Integer Index, const TRect& Rect, TOwnerDrawState State);
  void DrawItemFixed(TCanvas* Target, Integer Index, const TRect& Rect, TOwnerDrawState State);
  void DrawItemStretched(TCanvas* Target, Integer Index, const TRect& Rect, TOwnerDrawState State);
  // The item's image and text in T of an item bitmap.
  void DrawImageAndText(TCanvas* C, Integer Index, TRect T);
  // The item font of the skin look.
  void SetSkinItemFont(TCanvas* C);

  Integer FRowCount = 0;
  Integer FDefaultItemHeight = 20;
  TCustomImageList* FImages = nullptr;
  Integer FImageIndex = -1;
  std::unique_ptr<TStringList> FTabWidths;
  bool FUseSkinItemHeight = true;
  bool FHorizontalExtent = false;
  bool FCaptionMode = false;
  Integer FDefaultCaptionHeight = 20;
  std::unique_ptr<TFont> FDefaultCaptionFont;
  TAlignment FAlignment = taLeftJustify;
  bool FShowCaptionButtons = true;
  std::unique_ptr<TBitmap> FGlyph;
  Integer FNumGlyphs = 1;
  Integer FSpacing = 2;
  TCaptionButton CaptionButtons[3];
  Integer OldActiveButton = -1, ActiveButton = -1, CapturedButton = -1;
  Integer RepeatMode = 0;  // 0 none, 1 up, 2 down
  bool RepeatWaiting = false;
  TRect CaptionTextRect;

 public:
  // The part's caption and caption-button fields (absolute picture rectangles).
  TRect CaptionRect, UpButtonRect, ActiveUpButtonRect, DownUpButtonRect, DownButtonRect, ActiveDownButtonRect,
      DownDownButtonRect, CheckButtonRect, ActiveCheckButtonRect, DownCheckButtonRect, DisabledButtonsRect,
      ButtonsArea;
  std::string CaptionFontName = "Arial";
  Integer CaptionFontHeight = 14;
  TFontStyles CaptionFontStyle;
  TColor CaptionFontColor = clBtnText;
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
  // At the screen point P, without activating; translucent and faded in as the owning combo
  // asks.
  void ShowPopup(TPoint P);
  void HidePopup();
  // The alpha added per fade step on the way to Target.
  static Byte FadeStep(Byte Target);

  bool Layered = false;
  Byte CurrentAlpha = 0;
  // Each alpha the fade-in applies.
  TDelegate<void(TObject* Sender, Byte Alpha)> OnFadeStep;

 private:
  void FadeIn(Byte Target);

 protected:
  void CreateParams(TCreateParams& Params) override;
};
