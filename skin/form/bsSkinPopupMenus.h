#pragma once
// Skinned popup menus: a chain of borderless top-most windows (root first), each listing the
// visible children of one TMenuItem, drawn from the skin's POPUPWINDOW frame and menu item part
// or in a plain default look.
//
// TbsSkinMenu runs the chain for one form (its TbsSkinForm owns it); TbsSkinPopupWindow is one
// window of it; TbsSkinMenuItem one drawn entry of a window. TbsSkinPopupMenu is the popup menu
// component through which controls pop a menu on their form's chain.
//
// Ownership: the menu owns its windows (as components and through PopupList), a window owns its
// items. Menu items, skin data, controls and forms are referred to, never owned.
#include <memory>
#include <string>
#include <vector>

#include "platform/classes/Controls.h"
#include "platform/classes/Forms.h"
#include "platform/classes/Menus.h"
#include "skin/data/bsSkinData.h"
#include "skin/data/bsSkinDataObjects.h"
#include "skin/data/bsSkinDataSections.h"

class TBitmap;
class TTimer;
class TCustomImageList;
class TbsSkinMenu;
class TbsSkinPopupWindow;

// Sent (no parameters) to the control that dropped a chain when the chain has ended, and to
// the menu's form after CloseMenus.
constexpr UINT WM_CLOSESKINMENU = 1228;
// Sent to the dropping control after the chosen item's command has run.
constexpr UINT WM_AFTERDISPATCH = 1229;

// The messages of a form that end its open menu chain.
bool IsMenuCloseMessage(UINT Msg);
// SendMessage to a windowed control, Perform to a windowless one.
void SendMenuMessage(TControl* Control, UINT Msg);

// ---- One entry of a popup window ------------------------------------------------------------
class TbsSkinMenuItem : public TObject {
 public:
  TbsSkinMenuItem(TbsSkinPopupWindow* AParent, TbsDataSkinMenuItem* AData, TMenuItem* AMenuItem);
  ~TbsSkinMenuItem() override;

  // Enabled and not a separator.
  bool Selectable() const;
  bool IsSeparator() const { return MenuItem->GetCaption() == cLineCaption; }
  // A disabled item whose caption begins and ends with "-".
  bool IsHeader() const;
  Integer ItemHeight() const;

  void Enter(bool ByKey);
  void Leave();
  void Click();

  // Draws onto Cnvs at ObjectRect (nothing while not Visible).
  void Draw(TCanvas* Cnvs);
  // After a state change: at once, or through the window's animation timer.
  void ReDraw();
  virtual bool CanMorph();
  void DoMorph();
  bool IsAnimated() const;
  bool IsMorphing() const;

  TbsSkinPopupWindow* Parent;
  TbsDataSkinMenuItem* Data;
  TBitmap* Picture = nullptr;  // the part's active picture; in the skin's list
  double MorphKf = 0;
  TMenuItem* MenuItem;
  TRect ObjectRect;
  bool Active = false;
  bool Down = false;
  bool Visible = true;
  bool WaitCommand = false;
  Integer CurrentFrame = 0;

 private:
  void DrawToBitmap(TBitmap* B);
  void DrawDefault(TBitmap* B);
  // The look of one state: ordinary items, headers and separators of the skinned look. Frame
  // is the animation frame (0 none).
  void DrawSkinLook(TBitmap* B, bool AActive, Integer Frame);
  void DrawSkinHeader(TBitmap* B);
  void DrawItemImage(TCanvas* C, Integer X, Integer Y, TCustomImageList* IL, bool Checked);
  TRect FrameRect(Integer Frame) const;
};

// ---- One window of the chain ----------------------------------------------------------------
class TbsSkinPopupWindow : public TCustomControl {
 public:
  TbsSkinPopupWindow(TbsSkinMenu* AOwner, TbsDataSkinPopupWindow* AWindowRecord, TbsSkinMenu* AParentMenu);
  ~TbsSkinPopupWindow() override;
  void Dispatch(TMessage& Message) override;

  void Show(const TRect& R, TMenuItem* Item, Integer StartIndex, bool Submenu, bool PopupToUp);
  void ShowMerged(const TRect& R, TMenuItem* FirstItem, TMenuItem* SecondItem, Integer StartIndex,
                  bool Submenu, bool PopupToUp);
  void CloseSubmenus();
  bool CanScroll(Integer Direction) const;
  void ScrollUp(bool Wrap);
  void ScrollDown(bool Wrap);
  void LayoutItems();
  Integer LastPageStartIndex() const;
  void TrackMouse(Integer X, Integer Y);
  void PaintWindow(HDC DC) override;
  void DrawBackground(TBitmap* B, bool DrawClient);
  void DrawItemBackground(TCanvas* Cnvs, const TRect& R);
  void ProcessKey(Word Key);
  void SelectNext();
  void SelectPrev();
  void AnimationTimerTick(TObject* Sender);
  void MouseTimerTick(TObject* Sender);
  // Position in the item list, -1 when absent.
  Integer IndexOfItem(const TbsSkinMenuItem* Item) const;
  TRect UpMarkerRect() const;
  TRect DownMarkerRect() const;
  void StopScroll();
  // Placement beside or under R within the menu's work area; Flipped says that the window
  // could not stand under (over) R and goes beside it.
  Integer CalcTop(const TRect& R, bool Submenu, bool PopupToUp, bool& Flipped) const;
  Integer CalcLeft(const TRect& R, bool Submenu, bool Flipped) const;

  TbsDataSkinMenuItem* ItemPart = nullptr;
  Integer VisibleCount = 0;
  Integer VisibleStartIndex = 0;
  bool Scroll = false;
  bool LimitScroll = false;
  Integer ScrollCode = 0;
  TPoint NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint;
  TRect NewItemsRect;
  HRGN Region = nullptr;
  Integer ShowX = 0, ShowY = 0;
  TPoint LastMousePoint{-1, -1};
  TCustomImageList* Images = nullptr;
  Integer GlyphWidth = 19;
  TBitmap* WindowPicture = nullptr;  // in the skin's list
  TBitmap* MaskPicture = nullptr;    // in the skin's list
  Integer OldActiveItem = -1, ActiveItem = -1;
  TTimer* MouseTimer = nullptr;      // owned component
  TTimer* AnimationTimer = nullptr;  // owned component
  TbsSkinMenu* ParentMenu;
  TbsSkinData* SkinData = nullptr;
  TbsDataSkinPopupWindow* WindowPart = nullptr;
  std::vector<std::unique_ptr<TbsSkinMenuItem>> ItemList;
  std::unique_ptr<TBitmap> PaintBuffer;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;

 private:
  void Build(TMenuItem* FirstItem, TMenuItem* SecondItem, Integer StartIndex, bool Merged);
  void AppendChildren(TMenuItem* Item, Integer From);
  void SetCanvasFont();
  void CalcSize(bool Merged);
  Integer CalcWidth();
  Integer CalcHeight(bool Merged);
  void ShowAt(const TRect& R, bool Submenu, bool PopupToUp);
  void DrawUpMarker(TCanvas* Cnvs);
  void DrawDownMarker(TCanvas* Cnvs);
  void StartScroll(Integer Code);
  void ChangeActive(Integer NewIndex, bool ByKey);
  bool ScrollableNow() const { return Scroll && ScrollCode == 0; }
};

// ---- The chain manager of one form ----------------------------------------------------------
class TbsSkinMenu : public TComponent {
 public:
  TbsSkinMenu(TComponent* AOwner, TCustomForm* AForm);
  ~TbsSkinMenu() override;

  void Popup(TControl* Control, TbsSkinData* ASkinData, bool PopupToUp, TMenuItem* Item, const TRect& R,
             Integer StartIndex);
  void PopupMerged(TControl* Control, TbsSkinData* ASkinData, bool PopupToUp, TMenuItem* FirstItem,
                   TMenuItem* SecondItem, const TRect& R, Integer StartIndex);
  void CloseFrom(Integer Index);
  void CloseMenus();
  Integer IndexOfPopup(const TbsSkinPopupWindow* Window) const;
  void HandleItem(TbsSkinPopupWindow* Window, TbsSkinMenuItem* Item, bool ByKey, bool Execute);
  TRect GetWorkArea() const;
  // A window of the chain handles a message: closed windows are freed only once no window's
  // message is under way (a chosen command may run a modal loop from inside one).
  void WindowMessageStarts() { ++FWindowMessages; }
  void WindowMessageEnds();
  // The last window of the chain, or null; it takes the menu keys.
  TbsSkinPopupWindow* LastWindow() const { return PopupList.empty() ? nullptr : PopupList.back(); }

  bool UseSkinFont = true;
  bool First = false;
  Integer DefaultMenuItemHeight = 20;
  std::unique_ptr<TFont> DefaultMenuItemFont;
  TControl* PopupCtrl = nullptr;
  TControl* DCtrl = nullptr;
  TCustomForm* Form;
  TTimer* WaitTimer;  // owned component
  TbsSkinMenuItem* WaitItem = nullptr;
  TRect WorkArea;
  bool Visible = false;
  TbsSkinData* SkinData = nullptr;
  TNotifyEvent OnMenuClose;
  std::vector<TbsSkinPopupWindow*> PopupList;  // owned as components
  bool AlphaBlend = false;
  Byte AlphaBlendValue = 150;
  bool AlphaBlendAnimation = false;
  Integer MaxMenuItemsInWindow = 0;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  void WaitTimerTick(TObject* Sender);
  TbsSkinPopupWindow* NewWindow();
  void RetireWindow(TbsSkinPopupWindow* Window);
  void RetiredWndProc(TMessage& Message);
  void FreeRetired();

  // Closed windows wait here until the message that closed them is over.
  std::vector<TbsSkinPopupWindow*> FRetired;
  HWND FRetireWnd = nullptr;
  Integer FWindowMessages = 0;
};

// ---- The popup menu component ---------------------------------------------------------------
class TbsSkinPopupMenu : public TPopupMenu {
 public:
  explicit TbsSkinPopupMenu(TComponent* AOwner);

  TbsSkinData* GetSkinData() const { return FSD; }
  void SetSkinData(TbsSkinData* Value);
  TCustomForm* GetComponentForm() const { return FComponentForm; }
  void SetComponentForm(TCustomForm* Value);
  TComponent* GetSkinComponent() const { return FSkinComponent; }
  void SetSkinComponent(TComponent* Value);

  // A right click on a control whose PopupMenu this is: the chain at the point.
  void Popup(Integer X, Integer Y) override;
  // Menu buttons: under the button's screen rectangle, Control receiving 1228 at the end.
  void PopupUnderRect(TControl* Control, const TRect& R, bool PopupToUp);
  // The context menu of an edit: at the point, the edit as dropping control; nothing without
  // skin data.
  void PopupAtPoint(TControl* Edit, Integer X, Integer Y);
  // The frame buttons of a skinned form: under the object's screen rectangle.
  void PopupFromObject(const TRect& R, bool PopupToUp);

  TNotifyEvent OnMenuClose;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  // The menu's OnPopup, the skinned-form component and skin to show with, and the chain.
  void ShowChain(TControl* Control, const TRect& R, bool PopupToUp, bool NeedSkinData);

  TbsSkinData* FSD = nullptr;
  TCustomForm* FComponentForm = nullptr;
  TComponent* FSkinComponent = nullptr;
};
