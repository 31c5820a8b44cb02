#pragma once
// The skinned page control: the platform's page control keeps the native tab control for the
// tab layout, hit testing and page switching, and this control paints the frame, the tab row
// and the pages itself (from the skin's "tab" part, or in a plain look of its own without one).
//
// Ownership: the pages belong to the control as the platform's pages do; the skin data is only
// referred to; the default font is owned.
#include <memory>
#include <string>

#include "platform/classes/ComCtrls.h"
#include "platform/classes/ControlTypes.h"
#include "skin/data/bsSkinData.h"

class TBitmap;
class TCanvas;
class TbsSkinUpDown;

using TbsCloseEvent = TDelegate<void(TObject* Sender, bool& CanClose)>;
using TbsDrawSkinTabEvent =
    TDelegate<void(Integer TabIndex, TRect Rct, bool Active, bool MouseIn, TCanvas* Cnvs)>;

class TbsSkinCustomTabSheet : public TTabSheet {
 public:
  explicit TbsSkinCustomTabSheet(TComponent* AOwner);
  ~TbsSkinCustomTabSheet() override;
  void Dispatch(TMessage& Message) override;

  TBitmap* GetWallPaper() const { return FWallPaper.get(); }
  void SetWallPaper(TBitmap* Value);
  // The sheet's background: the wallpaper tiled, else the skin's page background, else the
  // page colour.
  void PaintBackground(HDC DC);

  // As last drawn, in the coordinates of the sheet's tab.
  TRect CloseButtonRect;
  bool CloseButtonMouseIn = false;
  bool CloseButtonDown = false;

 private:
  std::unique_ptr<TBitmap> FWallPaper;
};

class TbsSkinTabSheet : public TbsSkinCustomTabSheet {
 public:
  explicit TbsSkinTabSheet(TComponent* AOwner) : TbsSkinCustomTabSheet(AOwner) {}
};

class TbsSkinPageControl : public TPageControl {
 public:
  explicit TbsSkinPageControl(TComponent* AOwner);
  ~TbsSkinPageControl() override;
  void Dispatch(TMessage& Message) override;

  TbsSkinData* GetSkinData() const { return FSD; }
  // Applies the skin at once when it holds one (not while designing).
  void SetSkinData(TbsSkinData* Value);
  const std::string& GetSkinDataName() const { return FSkinDataName; }
  void SetSkinDataName(const std::string& Value) { FSkinDataName = Value; }
  const std::string& GetButtonTabSkinDataName() const { return FButtonTabSkinDataName; }
  void SetButtonTabSkinDataName(const std::string& Value) { FButtonTabSkinDataName = Value; }
  TFont* GetDefaultFont() const { return FDefaultFont.get(); }
  void SetDefaultFont(TFont* Value) { FDefaultFont->Assign(Value); }
  bool GetUseSkinFont() const { return FUseSkinFont; }
  void SetUseSkinFont(bool Value) { FUseSkinFont = Value; }
  Integer GetDefaultItemHeight() const { return FDefaultItemHeight; }
  void SetDefaultItemHeight(Integer Value);
  bool GetTabExtededDraw() const { return FTabExtededDraw; }
  void SetTabExtededDraw(bool Value);
  TButtonLayout GetTabLayout() const { return FTabLayout; }
  void SetTabLayout(TButtonLayout Value);
  Integer GetTabMargin() const { return FTabMargin; }
  void SetTabMargin(Integer Value);
  Integer GetTabSpacing() const { return FTabSpacing; }
  void SetTabSpacing(Integer Value);
  bool GetTextInHorizontal() const { return FTextInHorizontal; }
  void SetTextInHorizontal(bool Value);
  bool GetTabsInCenter() const { return FTabsInCenter; }
  // Needs a fixed TabWidth; on, it puts the tabs on top in one row over the parent's background.
  void SetTabsInCenter(bool Value);
  Integer GetTabsOffset() const { return FTabsOffset; }
  // Above 0 it shifts the row right and puts the tabs on top in one row as TabsInCenter does.
  void SetTabsOffset(Integer Value);
  bool GetTabsBGTransparent() const { return FTabsBGTransparent; }
  void SetTabsBGTransparent(bool Value);
  bool GetShowCloseButtons() const { return FShowCloseButtons; }
  void SetShowCloseButtons(bool Value);
  bool GetFreeOnClose() const { return FFreeOnClose; }
  void SetFreeOnClose(bool Value) { FFreeOnClose = Value; }
  bool GetMouseWheelSupport() const { return FMouseWheelSupport; }
  void SetMouseWheelSupport(bool Value) { FMouseWheelSupport = Value; }

  // Copies the "tab" part's fields; PartIndex -1 without a skin or a tab part of that name.
  void LoadSkinPart();
  void ApplySkinChange();
  // The tab row's height without a part: TabHeight, else DefaultItemHeight.
  Integer TabHeightInUse() const;
  // The visible tab under the mouse, -1 for none.
  Integer GetHotTab() const { return FHotTab; }
  // A visible tab's rectangle as painted and hit (the native one corrected).
  TRect GetTabRect(Integer TabIndex);
  // How far the tab row is shifted right; 0 when it is not.
  Integer GetTabsOffset();
  // The skinned scroller that stands in for the native one while the tabs do not fit.
  TbsSkinUpDown* GetTabScroller() const { return FTabScroller; }
  // Visible tabs cut at the right or scrolled out at the left, and those scrolled out.
  Integer GetScrollRange();
  Integer GetScrollPosition();
  void UpdateTabScroller();
  // The next (previous) page with a visible tab becomes active; no wrapping.
  void SelectNextPage();
  void SelectPrevPage();
  // Asks OnClose, then hides (or frees) the active page's tab.
  void CloseActivePage();

  TbsCloseEvent OnClose;
  TNotifyEvent OnAfterClose;
  TbsDrawSkinTabEvent OnDrawSkinTab;

  Integer PartIndex = -1;

  // The "tab" part's fields; picture rectangles are absolute in the part's picture.
  struct TPart {
    TBitmap* Picture = nullptr;    // in the skin's list; not owned
    TBitmap* BGPicture = nullptr;  // "bgpictureindex" in the skin's list, or none
    TRect SkinRect, ClientRect;
    TRect TabRect, ActiveTabRect, FocusTabRect, MouseInTabRect, TabsBGRect;
    TPoint LTPoint, RTPoint, LBPoint, RBPoint;
    bool LeftStretch = false, TopStretch = false, RightStretch = false, BottomStretch = false;
    Integer TabLeftOffset = 0, TabRightOffset = 0;
    bool TabStretchEffect = false, StretchEffect = false;
    Integer StretchType = 0;
    std::string FontName;
    Integer FontHeight = 14;
    TFontStyles FontStyle;
    TColor FontColor = 0, ActiveFontColor = 0, FocusFontColor = 0, MouseInFontColor = 0;
    std::string UpDown;
    bool ShowFocus = false;
    Integer FocusOffsetX = 0, FocusOffsetY = 0;
    TRect CloseButtonRect, CloseButtonActiveRect, CloseButtonDownRect;
    bool ButtonTransparent = false;
    TColor ButtonTransparentColor = 0;
  };
  const TPart& GetPart() const { return FPart; }

 protected:
  void Change() override;
  void CreateWnd() override;
  void UpdateTabs() override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void PaintWindow(HDC DC) override;

 private:
  void SetTabSize(Integer Width, Integer Height);
  // Widens every native tab by the room the close button takes.
  void UpdateCloseButtonRoom();
  void SyncTabScroller();
  void TabScrollerChange(TObject* Sender);
  // The native display rectangle R corrected for the part's frame (or the plain frame).
  TRect CorrectDisplayRect(const TRect& R);
  void AdjustRect(TMessage& Message);
  bool RowShifted() const { return FTabsInCenter || FTabsOffset > 0; }
  // Forces the row to the top in one line over the parent's background.
  void ShiftRow();
  // Hot tab and close-button tracking at a client point; (-1, -1) clears.
  void TrackMouse(Integer X, Integer Y);
  void PressCloseButton(bool Down, Integer X, Integer Y);
  // Painting (bsSkinTabsPaint.cpp).
  TRect FrameRect();
  TRect GetActiveTabArea();
  void PaintDefaultFrame(TCanvas* C);
  void PaintSkinFrame(TCanvas* C);
  void PaintTabs(TCanvas* C);
  void PaintTab(Integer PageIndex, const TRect& R, TCanvas* C, bool Hot, bool Active);
  void DrawButtonTab(TBitmap* B, bool Active, bool Hot);
  void DrawCloseButton(TCanvas* C, const TRect& Area, TbsSkinCustomTabSheet* Sheet, Integer W, Integer H);
  void PaintEmptyBackground(HDC DC);
  // The page of a visible tab.
  TTabSheet* PageOfTab(Integer TabIndex) const;
  void RepaintTabRow();

  friend class TbsSkinCustomTabSheet;

  TbsSkinData* FSD = nullptr;
  std::string FSkinDataName = "tab";
  std::string FButtonTabSkinDataName = "resizetoolbutton";
  std::unique_ptr<TFont> FDefaultFont;
  bool FUseSkinFont = true;
  Integer FDefaultItemHeight = 20;
  bool FTabExtededDraw = false;
  TButtonLayout FTabLayout = blGlyphLeft;
  Integer FTabMargin = -1;
  Integer FTabSpacing = 1;
  bool FTextInHorizontal = false;
  bool FTabsInCenter = false;
  Integer FTabsOffset = 0;
  bool FTabsBGTransparent = false;
  bool FShowCloseButtons = false;
  bool FFreeOnClose = false;
  bool FMouseWheelSupport = false;
  Integer FHotTab = -1;
  Integer FHotPage = -1;
  Integer FOldHotTab = -1;
  Integer FOldHotPage = -1;
  Integer FCloseButtonSize = 14;
  TbsSkinUpDown* FTabScroller = nullptr;  // owned as a child component; only while needed
  TPart FPart;
};
