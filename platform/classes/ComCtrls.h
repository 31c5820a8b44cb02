#pragma once
// The common controls of the class library: trackbars and progress bars over the native
// common controls, page controls (tab sheets over the native tab control), the status bar,
// which paints itself in the classic look, and the header, list view and tree view.
//
// Files: ComCtrlsBars.cpp (TTrackBar, TProgressBar), ComCtrlsPages.cpp (TCustomTabControl,
// TPageControl, TTabSheet), ComCtrlsStatus.cpp (TStatusBar and its panels), and the views' files
// named at their section below.
#include <memory>
#include <string>
#include <vector>

#include "platform/classes/StdCtrls.h"
#include "platform/system/Collections.h"
#include "platform/system/Sets.h"
#include "platform/system/StringList.h"
#include "platform/user/CommonControls.h"

class TCustomImageList;

// ---- Trackbars ------------------------------------------------------------------------------
enum TTrackBarOrientation { trHorizontal, trVertical };
enum TTickMark { tmBottomRight, tmTopLeft, tmBoth };
enum TTickStyle { tsNone, tsAuto, tsManual };

class TTrackBar : public TWinControl {
 public:
  explicit TTrackBar(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;

  Integer GetMin() const { return FMin; }
  void SetMin(Integer Value) { SetRange(Value, FMax); }
  Integer GetMax() const { return FMax; }
  void SetMax(Integer Value) { SetRange(FMin, Value); }
  Integer GetPosition();
  // Kept within Min .. Max; OnChange fires when it changes.
  void SetPosition(Integer Value);
  Integer GetFrequency() const { return FFrequency; }
  void SetFrequency(Integer Value);
  Integer GetLineSize() const { return FLineSize; }
  void SetLineSize(Integer Value);
  Integer GetPageSize() const { return FPageSize; }
  void SetPageSize(Integer Value);
  TTrackBarOrientation GetOrientation() const { return FOrientation; }
  // Turning the bar swaps its width and height.
  void SetOrientation(TTrackBarOrientation Value);
  TTickMark GetTickMarks() const { return FTickMarks; }
  void SetTickMarks(TTickMark Value);
  TTickStyle GetTickStyle() const { return FTickStyle; }
  void SetTickStyle(TTickStyle Value);
  Integer GetSelStart() const { return FSelStart; }
  void SetSelStart(Integer Value);
  Integer GetSelEnd() const { return FSelEnd; }
  void SetSelEnd(Integer Value);
  Integer GetThumbLength() const { return FThumbLength; }
  void SetThumbLength(Integer Value);
  bool GetSliderVisible() const { return FSliderVisible; }
  void SetSliderVisible(bool Value);
  // A tick at a position (TickStyle tsManual).
  void SetTick(Integer Value);

  TNotifyEvent OnChange;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  // The control's CM_CHANGED, then OnChange.
  void Changed() override;
  void CNScroll(TMessage& Message);

 private:
  void SetRange(Integer AMin, Integer AMax);
  void UpdateSelection();
  Integer FMin = 0, FMax = 10, FPosition = 0;
  Integer FFrequency = 1, FLineSize = 1, FPageSize = 2;
  Integer FSelStart = 0, FSelEnd = 0;
  Integer FThumbLength = 20;
  TTrackBarOrientation FOrientation = trHorizontal;
  TTickMark FTickMarks = tmBottomRight;
  TTickStyle FTickStyle = tsAuto;
  bool FSliderVisible = true;
  std::vector<Integer> FTicks;
};

// ---- Progress bars --------------------------------------------------------------------------
enum TProgressBarOrientation { pbHorizontal, pbVertical };

class TProgressBar : public TWinControl {
 public:
  explicit TProgressBar(TComponent* AOwner);

  Integer GetMin() const { return FMin; }
  void SetMin(Integer Value);
  Integer GetMax() const { return FMax; }
  void SetMax(Integer Value);
  Integer GetPosition();
  // Kept within Min .. Max.
  void SetPosition(Integer Value);
  Integer GetStep() const { return FStep; }
  void SetStep(Integer Value);
  // Adds Step; past Max the position starts again from Min (and the other way round).
  void StepIt();
  // Adds Delta, kept within Min .. Max.
  void StepBy(Integer Delta);
  bool GetSmooth() const { return FSmooth; }
  void SetSmooth(bool Value);
  TProgressBarOrientation GetOrientation() const { return FOrientation; }
  void SetOrientation(TProgressBarOrientation Value);

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;

 private:
  Integer FMin = 0, FMax = 100, FPosition = 0, FStep = 10;
  bool FSmooth = false;
  TProgressBarOrientation FOrientation = pbHorizontal;
};

// ---- Tab controls and page controls ---------------------------------------------------------
enum TTabPosition { tpTop, tpBottom, tpLeft, tpRight };
enum TTabStyle { tsTabs, tsButtons, tsFlatButtons };
using TTabChangingEvent = TDelegate<void(TObject* Sender, bool& AllowChange)>;

// The native tab control: tab layout, selection and its notifications. The tabs themselves
// belong to the derived class (UpdateTabs makes the window's items).
class TCustomTabControl : public TWinControl {
 public:
  explicit TCustomTabControl(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;

  bool GetMultiLine() const { return FMultiLine; }
  void SetMultiLine(bool Value);
  TTabPosition GetTabPosition() const { return FTabPosition; }
  void SetTabPosition(TTabPosition Value);
  TTabStyle GetStyle() const { return FStyle; }
  void SetStyle(TTabStyle Value);
  // 0: from the font (height) or the caption (width).
  Integer GetTabHeight() const { return FTabHeight; }
  void SetTabHeight(Integer Value);
  Integer GetTabWidth() const { return FTabWidth; }
  void SetTabWidth(Integer Value);
  // The selected tab; -1 for none. The setter selects without OnChanging or OnChange.
  Integer GetTabIndex();
  void SetTabIndex(Integer Value);
  // The area inside the frame the pages take (TCM_ADJUSTRECT of the client rectangle).
  TRect GetDisplayRect();
  // The images of the tabs (each tab shows the one its ImageIndex names, and has room for it).
  TCustomImageList* GetImages() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  // The tab at a client point, -1 for none.
  Integer IndexOfTabAt(Integer X, Integer Y);
  TRect TabRect(Integer Index);

  TNotifyEvent OnChange;
  TTabChangingEvent OnChanging;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateHandle() override;
  void AdjustClientRect(TRect& Rect) override;
  // OnChanging: false keeps the selection.
  virtual bool CanChange();
  virtual void Change();
  // Makes the window's items from the control's tabs.
  virtual void UpdateTabs() {}
  void UpdateTabSize();
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void CNNotify(TMessage& Message);

  Integer FTabIndex = -1;  // while there is no window

 private:
  TCustomImageList* FImages = nullptr;
  bool FMultiLine = false;
  TTabPosition FTabPosition = tpTop;
  TTabStyle FStyle = tsTabs;
  Integer FTabHeight = 0;
  Integer FTabWidth = 0;
};

class TPageControl;

// A page of a page control: shown (aligned to the display area) while it is the active page.
class TTabSheet : public TWinControl {
  friend class TPageControl;

 public:
  explicit TTabSheet(TComponent* AOwner);
  ~TTabSheet() override;
  void Dispatch(TMessage& Message) override;

  TPageControl* GetPageControl() const { return FPageControl; }
  void SetPageControl(TPageControl* Value);
  // A page control as parent makes the sheet one of its pages.
  void SetParent(TWinControl* AParent) override;
  // The place among all pages; setting it moves the page (and its tab).
  Integer GetPageIndex();
  void SetPageIndex(Integer Value);
  // The index of the sheet's tab among the visible tabs; -1 when its tab is hidden.
  Integer GetTabIndex();
  bool GetTabVisible() const { return FTabVisible; }
  void SetTabVisible(bool Value);
  Integer GetImageIndex() const { return FImageIndex; }
  void SetImageIndex(Integer Value);
  bool GetHighlighted() const { return FHighlighted; }
  void SetHighlighted(bool Value);

  TNotifyEvent OnShow;
  TNotifyEvent OnHide;

 protected:
  void CreateParams(TCreateParams& Params) override;
  virtual void DoShow();
  virtual void DoHide();
  void CMTextChanged(TMessage& Message);
  void CMShowingChanged(TMessage& Message);

 private:
  TPageControl* FPageControl = nullptr;
  Integer FImageIndex = -1;
  bool FTabVisible = true;
  bool FHighlighted = false;
};

class TPageControl : public TCustomTabControl {
  friend class TTabSheet;

 public:
  explicit TPageControl(TComponent* AOwner);
  ~TPageControl() override;

  Integer GetPageCount() const { return static_cast<Integer>(FPages.size()); }
  TTabSheet* GetPage(Integer Index) const;
  TTabSheet* GetActivePage() const { return FActivePage; }
  // Shows the page (and selects its tab) without OnChanging or OnChange.
  void SetActivePage(TTabSheet* Page);
  Integer GetActivePageIndex() const;
  void SetActivePageIndex(Integer Value);
  // The page after (or before) CurPage, wrapping round; only pages with a visible tab when
  // CheckTabVisible.
  TTabSheet* FindNextPage(TTabSheet* CurPage, bool GoForward, bool CheckTabVisible);
  void SelectNextPage(bool GoForward, bool CheckTabVisible = true);

 protected:
  void Change() override;
  void UpdateTabs() override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  void InsertPage(TTabSheet* Page);
  void RemovePage(TTabSheet* Page);
  void MovePage(TTabSheet* Page, Integer NewIndex);
  void ChangeActivePage(TTabSheet* Page);
  void UpdateActivePage();
  std::vector<TTabSheet*> FPages;
  TTabSheet* FActivePage = nullptr;
};

// ---- Status bars ----------------------------------------------------------------------------
enum TStatusPanelStyle { psText, psOwnerDraw };
enum TStatusPanelBevel { pbNone, pbLowered, pbRaised };

class TStatusBar;

class TStatusPanel : public TCollectionItem {
 public:
  explicit TStatusPanel(TCollection* Collection);
  void Assign(TPersistent* Source) override;
  const std::string& GetText() const { return FText; }
  void SetText(const std::string& Value);
  Integer GetWidth() const { return FWidth; }
  void SetWidth(Integer Value);
  TAlignment GetAlignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  TStatusPanelBevel GetBevel() const { return FBevel; }
  void SetBevel(TStatusPanelBevel Value);
  TStatusPanelStyle GetStyle() const { return FStyle; }
  void SetStyle(TStatusPanelStyle Value);

 private:
  std::string FText;
  Integer FWidth = 50;
  TAlignment FAlignment = taLeftJustify;
  TStatusPanelBevel FBevel = pbLowered;
  TStatusPanelStyle FStyle = psText;
};

class TStatusPanels : public TCollection {
 public:
  explicit TStatusPanels(TStatusBar* StatusBar);
  TStatusPanel* Add() { return static_cast<TStatusPanel*>(TCollection::Add()); }
  TStatusPanel* GetItem(Integer Index) const {
    return static_cast<TStatusPanel*>(TCollection::GetItem(Index));
  }
  TPersistent* GetOwner() override;

 protected:
  void Update(TCollectionItem* Item) override;

 private:
  TStatusBar* FStatusBar;
};

using TDrawPanelEvent = TDelegate<void(TStatusBar* StatusBar, TStatusPanel* Panel, const TRect& Rect)>;

// The status bar at the bottom of a form, drawn in the classic look: panels with a one-pixel
// sunken (or raised) edge two pixels apart, the last one reaching the size grip.
class TStatusBar : public TCustomControl {
 public:
  explicit TStatusBar(TComponent* AOwner);
  ~TStatusBar() override;
  void Dispatch(TMessage& Message) override;

  TStatusPanels* GetPanels() const { return FPanels.get(); }
  void SetPanels(TStatusPanels* Value) { FPanels->Assign(Value); }
  // One panel across the bar showing SimpleText.
  bool GetSimplePanel() const { return FSimplePanel; }
  void SetSimplePanel(bool Value);
  const std::string& GetSimpleText() const { return FSimpleText; }
  void SetSimpleText(const std::string& Value);
  // The grip shows on the bar of a sizeable form; dragging it sizes the form.
  bool GetSizeGrip() const { return FSizeGrip; }
  void SetSizeGrip(bool Value);
  // The rectangle of a panel (client coordinates).
  TRect PanelRect(Integer Index);

  TDrawPanelEvent OnDrawPanel;

 protected:
  void Paint() override;
  virtual void DrawPanel(TStatusPanel* Panel, const TRect& Rect);
  bool GripShown();
  TRect GripRect();
  void WMLButtonDown(TMessage& Message);
  void WMSetCursor(TMessage& Message);

 private:
  void PaintPanel(const TRect& Rect, TStatusPanelBevel Bevel, const std::string& Text, TAlignment Alignment);
  std::unique_ptr<TStatusPanels> FPanels;
  std::string FSimpleText;
  bool FSimplePanel = false;
  bool FSizeGrip = true;
};

// ---- Header controls --------------------------------------------------------------------------
// Files: ComCtrlsHeader.cpp (THeaderControl), ComCtrlsListView.cpp (TCustomListView and its
// items and columns), ComCtrlsTreeView.cpp (TCustomTreeView and its nodes).
enum THeaderStyle { hsButtons, hsFlat };
enum TSectionTrackState { tsTrackBegin, tsTrackMove, tsTrackEnd };

class THeaderControl;

class THeaderSection : public TCollectionItem {
 public:
  explicit THeaderSection(TCollection* Collection);
  void Assign(TPersistent* Source) override;
  const std::string& GetText() const { return FText; }
  void SetText(const std::string& Value);
  Integer GetWidth() const { return FWidth; }
  void SetWidth(Integer Value);
  TAlignment GetAlignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  Integer GetImageIndex() const { return FImageIndex; }
  void SetImageIndex(Integer Value);
  // Where the section starts and ends (in the sections' order).
  Integer GetLeft() const;
  Integer GetRight() const { return GetLeft() + FWidth; }

 private:
  friend class THeaderControl;
  std::string FText;
  Integer FWidth = 50;
  TAlignment FAlignment = taLeftJustify;
  Integer FImageIndex = -1;
};

class THeaderSections : public TCollection {
 public:
  explicit THeaderSections(THeaderControl* Header);
  THeaderSection* Add() { return static_cast<THeaderSection*>(TCollection::Add()); }
  THeaderSection* GetItem(Integer Index) const {
    return static_cast<THeaderSection*>(TCollection::GetItem(Index));
  }
  TPersistent* GetOwner() override;

 protected:
  void Update(TCollectionItem* Item) override;

 private:
  THeaderControl* FHeader;
};

using TSectionNotifyEvent = TDelegate<void(THeaderControl* HeaderControl, THeaderSection* Section)>;
using TSectionTrackEvent = TDelegate<void(THeaderControl* HeaderControl, THeaderSection* Section,
                                          Integer Width, TSectionTrackState State)>;

// The native header ("SysHeader32") over a collection of sections.
class THeaderControl : public TWinControl {
  friend class THeaderSections;

 public:
  explicit THeaderControl(TComponent* AOwner);
  ~THeaderControl() override;
  void Dispatch(TMessage& Message) override;

  THeaderSections* GetSections() const { return FSections.get(); }
  void SetSections(THeaderSections* Value) { FSections->Assign(Value); }
  TCustomImageList* GetImages() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  // Sections follow the mouse while their divider is dragged (else they change on release).
  bool GetFullDrag() const { return FFullDrag; }
  void SetFullDrag(bool Value);
  THeaderStyle GetStyle() const { return FStyle; }
  void SetStyle(THeaderStyle Value);

  TSectionNotifyEvent OnSectionClick;
  TSectionNotifyEvent OnSectionResize;
  TSectionTrackEvent OnSectionTrack;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  virtual void SectionClick(THeaderSection* Section);
  virtual void SectionResize(THeaderSection* Section);
  void CNNotify(TMessage& Message);

 private:
  void UpdateSections();
  std::unique_ptr<THeaderSections> FSections;
  TCustomImageList* FImages = nullptr;
  bool FFullDrag = true;
  bool FUpdating = false;
  THeaderStyle FStyle = hsButtons;
};

// ---- Custom drawing of the views ----------------------------------------------------------------
enum TCustomDrawStateItem {
  cdsSelected,
  cdsGrayed,
  cdsDisabled,
  cdsChecked,
  cdsFocused,
  cdsDefault,
  cdsHot,
  cdsMarked,
  cdsIndeterminate
};
using TCustomDrawState = TSet<TCustomDrawStateItem, 16>;
enum TCustomDrawStage { cdPrePaint, cdPostPaint, cdPreErase, cdPostErase };

// ---- List views ---------------------------------------------------------------------------------
enum TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };
enum TDisplayCode { drBounds, drIcon, drLabel, drSelectBounds };
enum TItemChange { ctText, ctImage, ctState };
enum TItemFind { ifData, ifPartialString, ifExactString, ifNearest };
enum TSearchDirection { sdLeft, sdRight, sdAbove, sdBelow, sdAll };

class TCustomListView;
class TListItems;

class TListItem {
  friend class TListItems;
  friend class TCustomListView;

 public:
  explicit TListItem(TListItems* Owner);
  TListItems* GetOwner() const { return FOwner; }
  TCustomListView* GetListView() const;
  const std::string& GetCaption() const { return FCaption; }
  void SetCaption(const std::string& Value);
  TStrings* GetSubItems() const { return FSubItems.get(); }
  Integer GetImageIndex() const { return FImageIndex; }
  void SetImageIndex(Integer Value);
  // The image of sub-item Index (0: the first sub-item) in SmallImages; -1 for none.
  Integer GetSubItemImages(Integer Index) const;
  void SetSubItemImages(Integer Index, Integer Value);
  void* GetData() const { return FData; }
  void SetData(void* Value) { FData = Value; }
  Integer GetIndex() const { return FIndex; }
  bool GetSelected() const;
  void SetSelected(bool Value);
  bool GetFocused() const;
  void SetFocused(bool Value);
  // The check box's state (state image 2: checked, 1: unchecked).
  bool GetChecked() const;
  void SetChecked(bool Value);
  // The item's rectangle in the list view's client coordinates (empty without a window).
  TRect DisplayRect(TDisplayCode Code) const;
  // Starts editing the caption in place; false when the view refused.
  bool EditCaption();
  void CancelEdit();
  void MakeVisible(bool PartialOK);
  void Delete();

 private:
  void SubItemsChanged(TObject* Sender);
  TListItems* FOwner;
  std::string FCaption;
  std::unique_ptr<TStringList> FSubItems;
  std::vector<Integer> FSubItemImages;
  Integer FImageIndex = -1;
  void* FData = nullptr;
  Integer FIndex = 0;
  UINT FState = 0;  // kept while there is no window
};

class TListItems {
  friend class TCustomListView;

 public:
  explicit TListItems(TCustomListView* Owner);
  ~TListItems();
  TCustomListView* GetOwner() const { return FOwner; }
  TListItem* Add();
  TListItem* Insert(Integer Index);
  void Delete(Integer Index);
  void Clear();
  // Owner data: the count the view shows (the items come from OnData).
  Integer GetCount() const;
  void SetCount(Integer Value);
  // Raises EListError for an index out of bounds. With owner data the item is filled by
  // OnData and lives until the next call.
  TListItem* GetItem(Integer Index);

 private:
  void Renumber(Integer From);
  TCustomListView* FOwner;
  std::vector<std::unique_ptr<TListItem>> FItems;
  Integer FOwnerCount = 0;
  std::unique_ptr<TListItem> FTemp;  // owner data
};

class TListColumn : public TCollectionItem {
 public:
  explicit TListColumn(TCollection* Collection);
  void Assign(TPersistent* Source) override;
  const std::string& GetCaption() const { return FCaption; }
  void SetCaption(const std::string& Value);
  // The width the view shows (the header's, after the user dragged it).
  Integer GetWidth() const;
  void SetWidth(Integer Value);
  TAlignment GetAlignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  Integer GetImageIndex() const { return FImageIndex; }
  void SetImageIndex(Integer Value);

 private:
  friend class TCustomListView;
  std::string FCaption;
  Integer FWidth = 50;
  TAlignment FAlignment = taLeftJustify;
  Integer FImageIndex = -1;
};

class TListColumns : public TCollection {
 public:
  explicit TListColumns(TCustomListView* Owner);
  TListColumn* Add() { return static_cast<TListColumn*>(TCollection::Add()); }
  TListColumn* GetItem(Integer Index) const { return static_cast<TListColumn*>(TCollection::GetItem(Index)); }
  TPersistent* GetOwner() override;
  TCustomListView* GetListView() const { return FOwner; }

 protected:
  void Update(TCollectionItem* Item) override;

 private:
  TCustomListView* FOwner;
};

// How the icon view lays out its labels.
class TIconOptions : public TPersistent {
 public:
  // Labels wrap onto more lines (kept for the painters that wrap them themselves).
  bool GetWrapText() const { return FWrapText; }
  void SetWrapText(bool Value) { FWrapText = Value; }
  bool GetAutoArrange() const { return FAutoArrange; }
  void SetAutoArrange(bool Value) { FAutoArrange = Value; }

 private:
  bool FWrapText = true;
  bool FAutoArrange = false;
};

using TLVChangeEvent = TDelegate<void(TObject* Sender, TListItem* Item, TItemChange Change)>;
using TLVSelectItemEvent = TDelegate<void(TObject* Sender, TListItem* Item, bool Selected)>;
using TLVColumnClickEvent = TDelegate<void(TObject* Sender, TListColumn* Column)>;
using TLVOwnerDataEvent = TDelegate<void(TObject* Sender, TListItem* Item)>;
using TLVOwnerDataHintEvent = TDelegate<void(TObject* Sender, Integer StartIndex, Integer EndIndex)>;
using TLVOwnerDataFindEvent = TDelegate<void(TObject* Sender, TItemFind Find, const std::string& FindString,
                                             TPoint FindPosition, void* FindData, Integer StartIndex,
                                             TSearchDirection Direction, bool Wrap, Integer& Index)>;
using TLVCustomDrawItemEvent =
    TDelegate<void(TCustomListView* Sender, TListItem* Item, TCustomDrawState State, bool& DefaultDraw)>;
using TLVEditedEvent = TDelegate<void(TObject* Sender, TListItem* Item, std::string& S)>;

// The native list view over its items and columns. Texts and images reach the window on demand
// (LVN_GETDISPINFO), so changing an item only repaints it.
class TCustomListView : public TWinControl {
  friend class TListItems;
  friend class TListItem;
  friend class TListColumns;
  friend class TListColumn;

 public:
  explicit TCustomListView(TComponent* AOwner);
  ~TCustomListView() override;
  void Dispatch(TMessage& Message) override;

  TListItems* GetItems() const { return FItems.get(); }
  TListColumns* GetColumns() const { return FColumns.get(); }
  TViewStyle GetViewStyle() const { return FViewStyle; }
  void SetViewStyle(TViewStyle Value);
  TCustomImageList* GetLargeImages() const { return FLargeImages; }
  void SetLargeImages(TCustomImageList* Value);
  TCustomImageList* GetSmallImages() const { return FSmallImages; }
  void SetSmallImages(TCustomImageList* Value);
  TCustomImageList* GetStateImages() const { return FStateImages; }
  void SetStateImages(TCustomImageList* Value);
  bool GetCheckboxes() const { return ExStyleOn(LVS_EX_CHECKBOXES); }
  void SetCheckboxes(bool Value) { SetExStyle(LVS_EX_CHECKBOXES, Value); }
  bool GetGridLines() const { return ExStyleOn(LVS_EX_GRIDLINES); }
  void SetGridLines(bool Value) { SetExStyle(LVS_EX_GRIDLINES, Value); }
  bool GetRowSelect() const { return ExStyleOn(LVS_EX_FULLROWSELECT); }
  void SetRowSelect(bool Value) { SetExStyle(LVS_EX_FULLROWSELECT, Value); }
  // Columns can be dragged to new places (the header's drag and drop).
  bool GetFullDrag() const { return ExStyleOn(LVS_EX_HEADERDRAGDROP); }
  void SetFullDrag(bool Value) { SetExStyle(LVS_EX_HEADERDRAGDROP, Value); }
  bool GetMultiSelect() const { return FMultiSelect; }
  void SetMultiSelect(bool Value);
  bool GetReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value);
  bool GetHideSelection() const { return FHideSelection; }
  void SetHideSelection(bool Value);
  bool GetOwnerData() const { return FOwnerData; }
  void SetOwnerData(bool Value);
  bool GetShowColumnHeaders() const { return FShowColumnHeaders; }
  void SetShowColumnHeaders(bool Value);
  bool GetColumnClick() const { return FColumnClick; }
  void SetColumnClick(bool Value);
  TIconOptions* GetIconOptions() const { return FIconOptions.get(); }

  TListItem* GetSelected();
  void SetSelected(TListItem* Value);
  TListItem* GetItemFocused();
  void SetItemFocused(TListItem* Value);
  Integer GetSelCount();
  TListItem* GetTopItem();
  Integer VisibleRowCount();
  // The item at a client point, nil for none.
  TListItem* GetItemAt(Integer X, Integer Y);
  // Scrolls by DX, DY pixels (the list view: whole columns; the report view: whole rows).
  void Scroll(Integer DX, Integer DY);
  bool IsEditing();
  // Finds an item by caption from StartIndex + 1 (partial: by prefix), wrapping when Wrap.
  TListItem* FindCaption(Integer StartIndex, const std::string& Value, bool Partial, bool Inclusive,
                         bool Wrap);
  TCanvas* GetCanvas() const { return FCanvas.get(); }

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TLVChangeEvent OnChange;
  TLVSelectItemEvent OnSelectItem;
  TLVColumnClickEvent OnColumnClick;
  TLVOwnerDataEvent OnData;
  TLVOwnerDataHintEvent OnDataHint;
  TLVOwnerDataFindEvent OnDataFind;
  TLVCustomDrawItemEvent OnCustomDrawItem;
  TLVEditedEvent OnEdited;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // An item changed (LVN_ITEMCHANGED): OnChange, and OnSelectItem for a selection change.
  virtual void Change(TListItem* Item, Integer Change);
  virtual void ColClick(TListColumn* Column);
  // OnCustomDrawItem; false skips the platform's drawing of the item.
  virtual bool CustomDrawItem(TListItem* Item, TCustomDrawState State, TCustomDrawStage Stage);
  void CNNotify(TMessage& Message);

 private:
  bool ExStyleOn(DWORD Bit) const { return (FExStyle & Bit) != 0; }
  void SetExStyle(DWORD Bit, bool On);
  void UpdateColumns();
  void PushItems();
  void SetImageList(Integer Kind, TCustomImageList* List);
  TListItem* ItemOf(Integer Index);
  void FillDispInfo(NMLVDISPINFO& Info);
  std::unique_ptr<TListItems> FItems;
  std::unique_ptr<TListColumns> FColumns;
  std::unique_ptr<TControlCanvas> FCanvas;
  TViewStyle FViewStyle = vsIcon;
  TCustomImageList* FLargeImages = nullptr;
  TCustomImageList* FSmallImages = nullptr;
  TCustomImageList* FStateImages = nullptr;
  DWORD FExStyle = 0;
  bool FMultiSelect = false;
  bool FReadOnly = false;
  bool FHideSelection = true;
  bool FOwnerData = false;
  bool FShowColumnHeaders = true;
  bool FColumnClick = true;
  std::unique_ptr<TIconOptions> FIconOptions;
  std::string FDispText;  // the text last handed to the window
};

class TListView : public TCustomListView {
 public:
  explicit TListView(TComponent* AOwner) : TCustomListView(AOwner) {}
};

// ---- Tree views ---------------------------------------------------------------------------------
class TCustomTreeView;
class TTreeNodes;

class TTreeNode {
  friend class TTreeNodes;
  friend class TCustomTreeView;

 public:
  TTreeNode(TTreeNodes* Owner, TTreeNode* Parent);
  ~TTreeNode();
  TTreeNodes* GetOwner() const { return FOwner; }
  TCustomTreeView* GetTreeView() const;
  HTREEITEM GetItemId() const { return FItemId; }
  const std::string& GetText() const { return FText; }
  void SetText(const std::string& Value);
  Integer GetImageIndex() const { return FImageIndex; }
  void SetImageIndex(Integer Value);
  Integer GetSelectedIndex() const { return FSelectedIndex; }
  void SetSelectedIndex(Integer Value);
  // The state image (0: none).
  Integer GetStateIndex() const { return FStateIndex; }
  void SetStateIndex(Integer Value);
  void* GetData() const { return FData; }
  void SetData(void* Value) { FData = Value; }
  TTreeNode* GetParent() const { return FParent; }
  // 0 for top-level nodes.
  Integer GetLevel() const;
  Integer GetIndex() const;
  Integer GetCount() const { return static_cast<Integer>(FChildren.size()); }
  TTreeNode* GetItem(Integer Index) const;
  // Shows a button even without children (until it is expanded).
  bool GetHasChildren() const;
  void SetHasChildren(bool Value);
  bool GetExpanded() const;
  void SetExpanded(bool Value);
  void Expand(bool Recurse);
  void Collapse(bool Recurse);
  bool GetSelected() const;
  void SetSelected(bool Value);
  TTreeNode* GetFirstChild() const { return FChildren.empty() ? nullptr : FChildren.front().get(); }
  TTreeNode* GetLastChild() const { return FChildren.empty() ? nullptr : FChildren.back().get(); }
  TTreeNode* GetNextSibling() const;
  TTreeNode* GetPrevSibling() const;
  // The next node in tree order (children first), nil after the last.
  TTreeNode* GetNext() const;
  // The node shown below this one, nil at the end or while hidden.
  TTreeNode* GetNextVisible() const;
  bool IsVisible() const;
  // The node's text rectangle (TextOnly) or row, in client coordinates; empty when hidden.
  TRect DisplayRect(bool TextOnly) const;
  void MakeVisible();
  void Delete();

 private:
  void Push(HWND Tree, HTREEITEM After);
  TTreeNodes* FOwner;
  TTreeNode* FParent;
  std::vector<std::unique_ptr<TTreeNode>> FChildren;
  HTREEITEM FItemId = nullptr;
  std::string FText;
  Integer FImageIndex = -1;
  Integer FSelectedIndex = -1;
  Integer FStateIndex = 0;
  void* FData = nullptr;
  bool FHasChildren = false;
  bool FExpanded = false;  // kept while there is no window
};

class TTreeNodes {
  friend class TTreeNode;
  friend class TCustomTreeView;

 public:
  explicit TTreeNodes(TCustomTreeView* Owner);
  ~TTreeNodes();
  TCustomTreeView* GetOwner() const { return FOwner; }
  // A node after the last sibling of Sibling (nil: a top-level node).
  TTreeNode* Add(TTreeNode* Sibling, const std::string& S);
  TTreeNode* AddFirst(TTreeNode* Sibling, const std::string& S);
  TTreeNode* AddChild(TTreeNode* Parent, const std::string& S);
  TTreeNode* AddChildFirst(TTreeNode* Parent, const std::string& S);
  void Delete(TTreeNode* Node);
  void Clear();
  Integer GetCount() const;
  TTreeNode* GetFirstNode() const { return FRoots.empty() ? nullptr : FRoots.front().get(); }
  // The Index-th node in tree order; EListError out of bounds.
  TTreeNode* GetItem(Integer Index) const;

 private:
  TTreeNode* Insert(TTreeNode* Parent, bool First, const std::string& S);
  std::vector<std::unique_ptr<TTreeNode>>& SiblingsOf(TTreeNode* Parent) {
    return Parent != nullptr ? Parent->FChildren : FRoots;
  }
  TCustomTreeView* FOwner;
  std::vector<std::unique_ptr<TTreeNode>> FRoots;
};

using TTVChangedEvent = TDelegate<void(TObject* Sender, TTreeNode* Node)>;
using TTVChangingEvent = TDelegate<void(TObject* Sender, TTreeNode* Node, bool& AllowChange)>;
using TTVExpandingEvent = TDelegate<void(TObject* Sender, TTreeNode* Node, bool& AllowExpansion)>;
using TTVCustomDrawItemEvent =
    TDelegate<void(TCustomTreeView* Sender, TTreeNode* Node, TCustomDrawState State, bool& DefaultDraw)>;
using TTVAdvancedCustomDrawItemEvent =
    TDelegate<void(TCustomTreeView* Sender, TTreeNode* Node, TCustomDrawState State, TCustomDrawStage Stage,
                   bool& PaintImages, bool& DefaultDraw)>;

// The native tree view over its nodes. The nodes live in the class and are given to a new window
// again, so a recreated window keeps them.
class TCustomTreeView : public TWinControl {
  friend class TTreeNodes;
  friend class TTreeNode;

 public:
  explicit TCustomTreeView(TComponent* AOwner);
  ~TCustomTreeView() override;
  void Dispatch(TMessage& Message) override;

  TTreeNodes* GetItems() const { return FItems.get(); }
  TTreeNode* GetSelected();
  void SetSelected(TTreeNode* Value);
  TTreeNode* GetTopItem();
  Integer GetIndent();
  void SetIndent(Integer Value);
  bool GetShowLines() const { return FShowLines; }
  void SetShowLines(bool Value);
  bool GetShowButtons() const { return FShowButtons; }
  void SetShowButtons(bool Value);
  // Lines and buttons also for the top-level nodes.
  bool GetShowRoot() const { return FShowRoot; }
  void SetShowRoot(bool Value);
  bool GetHideSelection() const { return FHideSelection; }
  void SetHideSelection(bool Value);
  bool GetRowSelect() const { return FRowSelect; }
  void SetRowSelect(bool Value);
  bool GetReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value) { FReadOnly = Value; }
  TCustomImageList* GetImages() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  TCustomImageList* GetStateImages() const { return FStateImages; }
  void SetStateImages(TCustomImageList* Value);
  // The nodes that fit whole in the client area.
  Integer GetVisibleCount();
  TTreeNode* GetNodeAt(Integer X, Integer Y);
  void FullExpand();
  void FullCollapse();
  TCanvas* GetCanvas() const { return FCanvas.get(); }

  TTVChangedEvent OnChange;
  TTVChangingEvent OnChanging;
  TTVExpandingEvent OnExpanding;
  TTVChangedEvent OnExpanded;
  TTVExpandingEvent OnCollapsing;
  TTVChangedEvent OnCollapsed;
  TTVCustomDrawItemEvent OnCustomDrawItem;
  TTVAdvancedCustomDrawItemEvent OnAdvancedCustomDrawItem;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // The selection changed (TVN_SELCHANGED): OnChange.
  virtual void Change(TTreeNode* Node);
  virtual bool CanChange(TTreeNode* Node);
  virtual bool CanExpand(TTreeNode* Node);
  virtual bool CanCollapse(TTreeNode* Node);
  // OnCustomDrawItem and OnAdvancedCustomDrawItem; false skips the platform's drawing.
  virtual bool CustomDrawItem(TTreeNode* Node, TCustomDrawState State, TCustomDrawStage Stage,
                              bool& PaintImages);
  void CNNotify(TMessage& Message);

 private:
  TTreeNode* NodeFromItem(HTREEITEM Item) const;
  void PushNodes();
  std::unique_ptr<TTreeNodes> FItems;
  std::unique_ptr<TControlCanvas> FCanvas;
  TCustomImageList* FImages = nullptr;
  TCustomImageList* FStateImages = nullptr;
  TTreeNode* FSelected = nullptr;  // kept while there is no window
  Integer FIndent = 19;
  bool FShowLines = true;
  bool FShowButtons = true;
  bool FShowRoot = true;
  bool FHideSelection = true;
  bool FRowSelect = false;
  bool FReadOnly = false;
  bool FDestroying = false;
};

class TTreeView : public TCustomTreeView {
 public:
  explicit TTreeView(TComponent* AOwner) : TCustomTreeView(AOwner) {}
};
