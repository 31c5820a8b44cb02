#pragma once
// The tray icon: an icon in the notification area with a tip and a skinned popup menu, whose
// mouse traffic becomes click, double-click and mouse events; it can cycle through the icons of
// an image list, hide the main form while the application is minimised and bring it back, and
// re-adds its icon when the taskbar starts again.
#include <memory>
#include <string>

#include "platform/classes/Controls.h"
#include "platform/shell/TrayIcons.h"
#include "platform/system/Component.h"
#include "platform/user/WindowSubclass.h"

class TIcon;
class TImageList;
class TTimer;
class TbsSkinPopupMenu;

using TbsCycleEvent = TDelegate<void(TObject* Sender, Integer NextIndex)>;

// The callback message of the icon and the message a form coming back from the tray gets.
constexpr UINT WM_TRAYICONNOTIFY = 2048;
constexpr UINT WM_RESTOREFROMTRAY = 1426;
// The Tag of a form that comes back from the tray.
constexpr NativeInt TrayRestoreTag = -10000;

class TbsTrayIcon : public TComponent {
 public:
  explicit TbsTrayIcon(TComponent* AOwner);
  ~TbsTrayIcon() override;
  void Loaded() override;

  virtual bool UseApplicationIcon() { return true; }
  virtual void AddIcon();
  virtual void DeleteIcon();
  virtual void ModifyIcon();

  void HideMainForm();
  void RestoreMainForm();

  bool GetDesignPreview() const { return FDesignPreview; }
  void SetDesignPreview(bool Value);
  TImageList* GetIconList() const { return FIconList; }
  void SetIconList(TImageList* Value);
  bool GetCycleIcons() const { return FCycleIcons; }
  void SetCycleIcons(bool Value);
  Cardinal GetAnimateTimerInterval() const { return FAnimateTimerInterval; }
  void SetAnimateTimerInterval(Cardinal Value);
  const std::string& GetHint() const { return FHint; }
  void SetHint(const std::string& Value);
  bool GetShowHint() const { return FShowHint; }
  void SetShowHint(bool Value);
  TIcon* GetIcon() const { return FIcon.get(); }
  void SetIcon(TIcon* Value);
  bool GetIconVisible() const { return FIconVisible; }
  void SetIconVisible(bool Value);
  Integer GetIconIndex() const { return FIconIndex; }
  void SetIconIndex(Integer Value);
  TbsSkinPopupMenu* GetPopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(TbsSkinPopupMenu* Value);

  bool Enabled = true;
  bool PopupByLeftButton = false;
  bool MinimizedOnStart = false;
  bool MinimizeToTray = true;
  TNotifyEvent OnClick, OnDblClick, OnBalloonHintClick;
  TMouseEvent OnMouseDown, OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  TbsCycleEvent OnCycle;

  // The icon record as last filled, and the helper window the icon talks to.
  const NOTIFYICONDATAA& GetIconData() const { return FIconData; }
  HWND GetWindowHandle() const { return FWindow; }
  TTimer* GetAnimateTimer() const { return FAnimateTimer; }
  TTimer* GetClickTimer() const { return FClickTimer; }

 protected:
  virtual void Click();
  virtual void DblClick();
  virtual void Cycle(Integer NextIndex);
  virtual void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
  virtual void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
  virtual void MouseMove(TShiftState Shift, Integer X, Integer Y);
  virtual void Minimize();
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  bool Designing() const { return GetComponentState().Contains(csDesigning); }
  TWinControl* OwnerControl();
  bool FillIconData();
  void Notify(DWORD Message);
  void IconWndProc(TMessage& Message);
  void HandleIconMouse(UINT MouseMessage);
  void PopupAtCursor();
  void ClickTimerTick(TObject* Sender);
  void AnimateTimerTick(TObject* Sender);
  void LoadListIcon(Integer Index);
  static LRESULT AppWindowHook(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam, UINT_PTR Id, DWORD_PTR Ref);
  static LRESULT OwnerWindowHook(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam, UINT_PTR Id,
                                 DWORD_PTR Ref);

  bool FDesignPreview = false;
  TImageList* FIconList = nullptr;
  bool FCycleIcons = false;
  Cardinal FAnimateTimerInterval = 0;
  std::string FHint;
  bool FShowHint = true;
  std::unique_ptr<TIcon> FIcon;
  bool FIconVisible = true;
  Integer FIconIndex = 0;
  TbsSkinPopupMenu* FPopupMenu = nullptr;

  NOTIFYICONDATAA FIconData;
  HWND FWindow = nullptr;
  TTimer* FAnimateTimer = nullptr;
  TTimer* FClickTimer = nullptr;
  bool FClickStart = false, FClickReady = false, FIsDblClick = false;
  bool FFirstActivation = true;
  bool FPreviewing = false;
  HWND FAppWindow = nullptr;
  HWND FOwnerWindow = nullptr;
};

// The registered number of "TaskbarCreated".
UINT TaskbarCreatedMessage();
