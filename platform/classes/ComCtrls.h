#pragma once
// The common controls of the class library: trackbars and progress bars over the native
// common controls, page controls (tab sheets over the native tab control) and the status bar,
// which paints itself in the classic look.
//
// Files: ComCtrlsBars.cpp (TTrackBar, TProgressBar), ComCtrlsPages.cpp (TCustomTabControl,
// TPageControl, TTabSheet), ComCtrlsStatus.cpp (TStatusBar and its panels).
#include <memory>
#include <string>
#include <vector>

#include "platform/classes/StdCtrls.h"
#include "platform/system/Collections.h"

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
