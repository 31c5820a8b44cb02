#pragma once
// TbsSkinForm: the component every form carries. It takes over its owner form's window
// procedure at construction (every message of the form passes FormWindowProc first, which
// hands on what it does not answer to the procedure it replaced) and gives it back at
// destruction. It computes and paints the form's frame from the skin (or the skinless default
// frame), runs the caption commands with a window state of its own, steers the keyboard of the
// form's skinned menus, and hands a change of skin on to every skinned control of the form.
//
// Ownership: owned by its form; it owns its frame objects, timers, fonts, logo, menus and
// window region, and refers to its skin data, menu bar and the like, forgetting them when they
// are removed.
#include <memory>
#include <string>
#include <vector>

#include "platform/classes/Forms.h"
#include "platform/classes/Menus.h"
#include "platform/classes/Timer.h"
#include "platform/system/Sets.h"
#include "skin/data/bsSkinData.h"

class TbsSkinMainMenuBar;
class TbsSkinMenu;
class TbsSkinStatusBar;
class TbsActiveSkinObject;
class TbsSkinCaptionObject;
class TCustomImageList;

// The caption commands of the skinned frame (the platform's TBorderIcon has the same names).
enum class TbsBorderIcon { biSystemMenu, biMinimize, biMaximize, biRollUp, biMinimizeToTray };
using TbsBorderIcons = TSet<TbsBorderIcon, 8>;
enum TbsClientInActiveEffect { bsieSemiTransparent, bsieBlur };
enum TbsPositionInMonitor { bspDefault, bspScreenCenter, bspDesktopCenter };

using TbsCaptionPaintEvent = TDelegate<void(TCanvas* Cnvs, TRect& R, bool AActive)>;
using TbsPaintEvent = TDelegate<void(const std::string& IDName, TCanvas* Canvas, TRect& ObjectRect)>;
using TbsMouseEnterEvent = TDelegate<void(const std::string& IDName)>;
using TbsMouseLeaveEvent = TDelegate<void(const std::string& IDName)>;
using TbsMouseUpEvent =
    TDelegate<void(const std::string& IDName, Integer X, Integer Y, TRect& ObjectRect, TMouseButton Button)>;
using TbsMouseDownEvent = TbsMouseUpEvent;
using TbsMouseMoveEvent = TDelegate<void(const std::string& IDName, Integer X, Integer Y, TRect& ObjectRect)>;
using TbsActivateCustomObjectEvent = TDelegate<void(const std::string& IDName, bool& ObjectVisible)>;

// One button of the caption's quick-button row.
class TbsQuickButtonItem : public TCollectionItem {
 public:
  explicit TbsQuickButtonItem(TCollection* Collection) : TCollectionItem(Collection) {}
  void Assign(TPersistent* Source) override;
  Integer GetImageIndex() const { return FImageIndex; }
  void SetImageIndex(Integer Value);
  bool GetEnabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  bool GetVisible() const { return FVisible; }
  void SetVisible(bool Value);

  std::string Hint;
  TNotifyEvent OnClick;
  TRect ItemRect;
  bool Hot = false;
  bool Pressed = false;

 private:
  Integer FImageIndex = -1;
  bool FEnabled = true;
  bool FVisible = true;
};

class TbsSkinForm;
class TbsQuickButtonItems : public TOwnedCollection {
 public:
  explicit TbsQuickButtonItems(TbsSkinForm* AOwner);
  TbsQuickButtonItem* GetItem(Integer Index) const {
    return static_cast<TbsQuickButtonItem*>(TCollection::GetItem(Index));
  }
  TbsQuickButtonItem* Add() { return static_cast<TbsQuickButtonItem*>(TCollection::Add()); }

 protected:
  void Update(TCollectionItem* Item) override;

 private:
  TbsSkinForm* FSkinForm;
};

class TbsSkinForm : public TComponent {
 public:
  // AOwner must be a form; anything else raises EInvalidCast.
  explicit TbsSkinForm(TComponent* AOwner);
  ~TbsSkinForm() override;

  // ---- Properties ----
  TbsSkinData* GetSkinData() const { return FSD; }
  // Applies the skin (or the skinless look) to the form.
  void SetSkinData(TbsSkinData* Value);
  TbsSkinData* GetMenusSkinData() const { return FMenusSkinData; }
  void SetMenusSkinData(TbsSkinData* Value);
  TbsBorderIcons GetBorderIcons() const { return FBorderIcons; }
  void SetBorderIcons(TbsBorderIcons Value);
  // The state reached (the platform form stays normal while skinned).
  TWindowState GetWindowState() const { return FWindowState; }
  void SetWindowState(TWindowState Value);
  TbsSkinMainMenuBar* GetMainMenuBar() const { return FMainMenuBar; }
  void SetMainMenuBar(TbsSkinMainMenuBar* Value);
  TPopupMenu* GetSystemMenu() const { return FSystemMenu; }
  void SetSystemMenu(TPopupMenu* Value);
  // Its size grip is off while the form is maximized.
  TbsSkinStatusBar* GetStatusBar() const { return FStatusBar; }
  void SetStatusBar(TbsSkinStatusBar* Value);
  TCustomImageList* GetQuickImageList() const { return FQuickImageList; }
  void SetQuickImageList(TCustomImageList* Value);
  TbsQuickButtonItems* GetQuickButtons() const { return FQuickButtons.get(); }
  // The user's size limits (0: none); GetMinWidth and the like give the limits in force.
  Integer GetUserMinWidth() const { return FMinWidth; }
  void SetMinWidth(Integer Value) { FMinWidth = Value; }
  void SetMinHeight(Integer Value) { FMinHeight = Value; }
  void SetMaxWidth(Integer Value) { FMaxWidth = Value; }
  void SetMaxHeight(Integer Value) { FMaxHeight = Value; }
  bool GetAlphaBlend() const { return FAlphaBlend; }
  void SetAlphaBlend(bool Value);
  bool GetAlphaBlendAnimation() const { return FAlphaBlendAnimation; }
  void SetAlphaBlendAnimation(bool Value) { FAlphaBlendAnimation = Value; }
  Byte GetAlphaBlendValue() const { return FAlphaBlendValue; }
  void SetAlphaBlendValue(Byte Value);
  bool GetShowIcon() const { return FShowIcon; }
  void SetShowIcon(bool Value);
  TFont* GetDefCaptionFont() const { return FDefCaptionFont.get(); }
  void SetDefCaptionFont(TFont* Value);
  TFont* GetDefInActiveCaptionFont() const { return FDefInActiveCaptionFont.get(); }
  void SetDefInActiveCaptionFont(TFont* Value);
  TBitmap* GetLogoBitMap() const { return FLogoBitMap.get(); }
  Integer GetMaxMenuItemsInWindow() const { return FMaxMenuItemsInWindow; }
  void SetMaxMenuItemsInWindow(Integer Value);
  TbsSkinMenu* GetSkinMenu() const { return FSkinMenu; }

  bool QuickButtonsShowHint = false;
  bool QuickButtonsShowDivider = true;
  bool ClientInActiveEffect = false;
  TbsClientInActiveEffect ClientInActiveEffectType = bsieSemiTransparent;
  bool DisableSystemMenu = false;
  bool AlwaysResize = false;
  TbsPositionInMonitor PositionInMonitor = bspDefault;
  bool UseFormCursorInNCArea = false;
  Integer ClientWidth = 0;
  Integer ClientHeight = 0;
  bool HideCaptionButtons = false;
  bool AlwaysShowInTray = false;
  bool LogoBitMapTransparent = false;
  bool AlwaysMinimizeToTray = false;
  bool MaximizeOnFullScreen = false;
  bool ShowObjectHint = false;
  bool UseDefaultObjectHint = true;
  bool UseDefaultSysMenu = true;
  bool Magnetic = false;
  Byte MagneticSize = 5;

  // ---- Size limits and predicates ----
  Integer GetMinWidth();
  Integer GetMinHeight();
  Integer GetMaxWidth();
  Integer GetMaxHeight();
  // 15 for tool windows, else 19; the default caption buttons 13, else 17.
  Integer GetDefaultCaptionHeight();
  Integer GetDefaultButtonSize();
  // Layered borders, the inactive panel and animated objects are not offered here.
  bool UseLayeredBorder() const { return false; }
  bool IsFormActive();
  bool IsSizeable();
  bool GetRollUpState() const { return FRolledUp; }
  bool GetNCActive() const { return FActive; }
  bool GetSkinApplied() const { return FSkinApplied; }
  bool GetSkinnable() const { return FSkinnable; }
  TCustomForm* GetForm() const { return FForm; }
  void RepaintFrame();
  void NotifyChildrenBackground();

  // ---- Window procedure ----
  void FormWindowProc(TMessage& Message);

  // ---- Frame geometry ----
  void CalcFrameGeometry();
  TRect MapSkinRect(const TRect& R);
  void ArrangeObjects();
  LRESULT SkinHitTest(TPoint P);
  LRESULT DefaultHitTest(TPoint P);
  TPoint ScreenToFrame(TPoint P);
  void SetFrameRegion(bool Full);
  void UpdateFrame(bool Full);
  void ArrangeDefaultButtons();
  TRect GetDefaultCaptionRect();
  void NudgeWidth();
  TRect GetFrameClientRect() const { return FClientRect; }
  TRect GetCaptionRect() const { return FCaptionRect; }
  TRect GetButtonsRect() const { return FButtonsRect; }

  // ---- Frame objects ----
  const std::vector<std::unique_ptr<TbsActiveSkinObject>>& GetObjects() const { return FObjects; }
  void CreateSkinObjects();
  void CreateDefaultObjects();
  void FreeObjects();
  void ResetObjectStates();
  void UpdateCaptionButtons();
  void UpdateObjectHints();
  void TestActive(Integer X, Integer Y, bool Track);
  void ObjectsMouseMove(Integer X, Integer Y);
  void ObjectsDblClick();
  void ObjectsMouseDown(TMouseButton Button, Integer X, Integer Y);
  void ObjectsMouseUp(TMouseButton Button, Integer X, Integer Y);
  void DrawSkinObject(TbsActiveSkinObject* Object);
  void SetCaptionActive(bool Animate);
  void StartMorphTimer();
  void StartAnimateTimer();
  Integer GetHoverIndex() const { return FHoverIndex; }
  Integer GetPressedIndex() const { return FPressedIndex; }
  TbsActiveSkinObject* FindObject(const std::string& IDName) const;
  void DoPaintEvent(const std::string& IDName, TCanvas* Canvas, TRect& R);
  void DoMouseDownEvent(const std::string& IDName, Integer X, Integer Y, TRect& R, TMouseButton B);
  void DoMouseUpEvent(const std::string& IDName, Integer X, Integer Y, TRect& R, TMouseButton B);
  void DoMouseMoveEvent(const std::string& IDName, Integer X, Integer Y, TRect& R);
  void DoMouseEnterEvent(const std::string& IDName);
  void DoMouseLeaveEvent(const std::string& IDName);

  // ---- Window states and commands ----
  void SetRollUpState(bool Value);
  TPoint GetMinimizedPos();
  void MinimizeClick(TObject* Sender);
  void MaximizeClick(TObject* Sender);
  void RestoreClick(TObject* Sender);
  void RollUpClick(TObject* Sender);
  void MinimizeToTrayClick(TObject* Sender);
  void CloseClick(TObject* Sender);
  void MinimizeToTray();
  void CaptionDblClick();
  TMenuItem* GetSystemMenuItems();
  void PopupSystemMenuAtPoint(Integer X, Integer Y);
  void PopupSystemMenuUnderRect(const TRect& R);
  void PopupSystemMenuAtButton();
  // A frame button's drop menu under its screen rectangle.
  void PopupObjectMenu(TMenuItem* Item, const TRect& ScreenRect, bool PopupToUp);
  // The screen rectangle of a frame rectangle.
  TRect FrameToScreen(const TRect& R);

  // ---- Menus and keyboard ----
  // The form's OnShortCut: the component's own handler, Alt+Space, the menus' short-cuts.
  void FormShortCut(TWMKey& Msg, bool& Handled);
  void CloseMenusOnMessage(TMessage& Message);
  void SkinMenuOpened();
  void LeaveMenuBarMode();
  void SetMenuBarMode(bool Value) { FMenuBarMode = Value; }
  void MenuBarMenuClosed();
  void CloseSkinMenus();
  // The menu key (F10, Alt): into or out of the menu bar's keyboard mode.
  void MenuKeyCommand();
  // The key hook is one filter of the application's list while a menu is open.
  void HookApplicationMessages();
  void UnhookApplicationMessages();
  void AppMessageHook(MSG& Msg, bool& Handled);
  void MenuKeyDown(Word Key);
  bool MenuBarAccel(Word Key);
  bool MenuBarPressHotItem();
  bool CanMoveMenuLeft() const;
  bool CanMoveMenuRight() const;
  bool GetMenuOpen() const { return FMenuOpen; }
  bool GetMenuBarMode() const { return FMenuBarMode; }

  // ---- Skin change ----
  void ApplySkin();
  void SetSkinnable(bool Value);
  void UpdateFormBorderIcons();
  // Walk the form's controls depth first; a null skin means every skinned control.
  void BeforeSkinChangeControls(TbsSkinData* Skin, TControl* Control);
  void ApplySkinChangeControls(TbsSkinData* Skin, TControl* Control);

  // ---- Show, placement, snapping ----
  bool UseLayerShowAnimation() const { return false; }
  void CenterInMonitor();
  TPoint GetMonitorCenteredPos(Integer X, Integer Y, Integer W, Integer H);
  void MagneticMove(Integer& L, Integer& T, Integer W, Integer H);
  bool GetInSizeMove() const { return FInSizeMove; }

  // ---- Painting ----
  void PaintSkinFrame(HDC DC, bool Given);
  void PaintDefaultFrame(HDC DC, bool Given);
  void PaintBGPicture(HDC DC);
  void PaintClientPiece(HDC DC);
  void EraseDefaultBackground(HDC DC);
  void DrawLogo(TCanvas* Canvas);
  void DrawSmallIcon(TCanvas* Canvas, Integer X, Integer Y);
  TSize GetSmallIconSize();
  bool AutoRenderInactiveImage() const;

  TbsCaptionPaintEvent OnCaptionPaint;
  TNotifyEvent OnChangeSkinData;
  TNotifyEvent OnBeforeChangeSkinData;
  TNotifyEvent OnAfterChangeSkinData;
  TbsMouseUpEvent OnMouseUpEvent;
  TbsMouseDownEvent OnMouseDownEvent;
  TbsMouseMoveEvent OnMouseMoveEvent;
  TbsMouseEnterEvent OnMouseEnterEvent;
  TbsMouseLeaveEvent OnMouseLeaveEvent;
  TbsPaintEvent OnPaintEvent;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeActivate;
  TNotifyEvent OnSkinMenuOpen;
  TNotifyEvent OnSkinMenuClose;
  TNotifyEvent OnChangeRollUpState;
  TNotifyEvent OnMainMenuEnter;
  TNotifyEvent OnMainMenuExit;
  TNotifyEvent OnMinimizeToTray;
  TNotifyEvent OnRestoreFromTray;
  TbsActivateCustomObjectEvent OnActivateCustomObject;
  TNotifyEvent OnMinimize;
  TNotifyEvent OnRestore;
  TNotifyEvent OnMaximize;
  TShortCutEvent OnShortCut;

 protected:
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  bool Designing() const { return GetComponentState().Contains(csDesigning); }
  bool Loading() const { return GetComponentState().Contains(csLoading); }
  bool SkinReady() const { return FSD != nullptr && !FSD->Empty; }
  bool NoBorder() const { return FForm->GetBorderStyle() == bsNone; }
  void Repaint();
  // Window procedure pieces.
  bool AnswerAlone(TMessage& Message);
  void AfterSavedProc(TMessage& Message);
  void WMSize(TMessage& Message);
  void WMNCCalcSize(TMessage& Message);
  void WMNCActivate(TMessage& Message);
  void WMShowWindowBefore(TMessage& Message);
  void WMTimerFade();
  void WMSizing(TMessage& Message);
  void WMMoving(TMessage& Message);
  void WMWindowPosChanged(TMessage& Message);
  void WMEnterSizeMove();
  void WMExitSizeMove();
  void PaintFrameInto(HDC DC);
  // Frame-geometry pieces.
  bool CaptionTest(TPoint P);
  bool PointInFrameMask(TPoint P);
  void ReplaceRegion(HRGN Region);
  // Window states.
  void SetSkinWindowState(TWindowState Value);
  void DoMinimize();
  void DoMaximize();
  void DoRestore();
  void ShrinkToRollUpHeight();
  void BuildDefaultSystemMenu();
  void UpdateUserSystemMenu();
  TMenuItem* NewSystemItem(TComponent* Owner, const std::string& Name);
  bool SystemItemPresent(const std::string& Name);
  std::string ResString(const std::string& Key, const std::string& Default) const;
  // Closes the open chain of the form's menu runner, when one is open.
  void CloseMenuChain();
  // Releases the first frame button that holds its drop menu open.
  void ReleaseDropObject();
  // Timers.
  void HoverTimerTick(TObject* Sender);
  void MorphTimerTick(TObject* Sender);
  void AnimateTimerTick(TObject* Sender);
  void StartHoverTimer();
  void StopTimers();
  // Painting.
  void PaintBackground(HDC DC, TBitmap* B, bool Stretch, Byte StretchType);
  void FinishBackground(HDC DC);

  TCustomForm* FForm = nullptr;
  TWndMethod FOldWindowProc;
  TShortCutEvent FOldFormShortCut;
  TbsSkinData* FSD = nullptr;
  TbsSkinData* FMenusSkinData = nullptr;
  TbsBorderIcons FBorderIcons{TbsBorderIcon::biSystemMenu, TbsBorderIcon::biMinimize,
                              TbsBorderIcon::biMaximize, TbsBorderIcon::biRollUp};
  TWindowState FWindowState = wsNormal;
  TbsSkinMainMenuBar* FMainMenuBar = nullptr;
  TPopupMenu* FSystemMenu = nullptr;
  TbsSkinStatusBar* FStatusBar = nullptr;
  TCustomImageList* FQuickImageList = nullptr;
  std::unique_ptr<TbsQuickButtonItems> FQuickButtons;
  std::unique_ptr<TBitmap> FLogoBitMap;
  std::unique_ptr<TFont> FDefCaptionFont, FDefInActiveCaptionFont;
  std::vector<std::unique_ptr<TbsActiveSkinObject>> FObjects;
  TTimer* FHoverTimer = nullptr;  // owned components
  TTimer* FMorphTimer = nullptr;
  TTimer* FAnimateTimer = nullptr;
  TPopupMenu* FDefaultSystemMenu = nullptr;
  TbsSkinMenu* FSkinMenu = nullptr;
  bool FHasRegion = false;                  // the window owns the region itself
  std::unique_ptr<TBitmap> FMaskStrips[4];  // top, bottom, left, right
  Integer FMinWidth = 0, FMinHeight = 0, FMaxWidth = 0, FMaxHeight = 0;
  Integer FMaxMenuItemsInWindow = 0;
  bool FAlphaBlend = false;
  bool FAlphaBlendAnimation = false;
  Byte FAlphaBlendValue = 200;
  bool FShowIcon = false;

  bool FSkinnable = true;
  bool FSkinApplied = false;
  bool FSkinChanging = false;
  Integer FSkinWindowState = 0;  // 0 normal, 1 minimized, 2 maximized
  bool FRolledUp = false, FRolledUpMaximized = false, FRolledUpBeforeMaximize = false;
  Integer FRollUpHeight = 0;
  TRect FRestoreRect;
  bool FActive = false;
  Integer FFrameWidth = 0, FFrameHeight = 0, FFrameLeft = 0, FFrameTop = 0;
  bool FInSizeMove = false, FSizeMoveSized = false, FFullDrag = false, FLayerDragging = false;
  bool FSnapLeft = false, FSnapTop = false, FSnapRight = false, FSnapBottom = false;
  Integer FSnapCursorX = -1, FSnapCursorY = -1;
  bool FPositionPending = true;
  bool FMenuOpen = false, FMenuBarMode = false, FShortCutHandled = false;
  Integer FHoverIndex = -1, FOldHoverIndex = -1, FPressedIndex = -1;

  // Frame geometry (frame coordinates).
  TPoint FLTPoint, FRTPoint, FLBPoint, FRBPoint;
  TRect FClientRect, FCaptionRect, FButtonsRect, FMaskRect, FDefCaptionRect;
  Integer FButtonsOffset = 0;
  bool FButtonsInLeft = false;
  TPoint FHitLT, FHitRT, FHitLB, FHitRB;
};

// The form's first TbsSkinForm, or null.
TbsSkinForm* FindSkinForm(TCustomForm* Form);
// Tells one component of a form that the skin changed, when it draws from Skin (or Skin is
// null).
void ApplySkinChangeToComponent(TComponent* Component, TbsSkinData* Skin);
