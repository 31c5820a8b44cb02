#pragma once
// Scrolling containers and forms.
//
// Forms are built in code. A derived form's constructor does what reading its form resource
// would do, in the same order:
//
//   TMainForm::TMainForm(TComponent* AOwner) : TForm(AOwner) {
//     BeginFormLoad();                      // the form and every component it comes to own
//     SetClientWidth(400); ...              // are in the loading state from here on
//     Panel1 = new TPanel(this);            // created in streaming order, owned by the form,
//     Panel1->SetParent(this); ...          // properties set and handlers bound
//     OnCreate = TNotifyEvent(this, &TMainForm::FormCreate);
//     EndFormLoad();                        // Loaded on the form, then on each component in
//   }                                       // creation order; alignment; then OnCreate
//
// A form's OnDestroy runs in BeforeDestruction, which the owner (Application) and Release call
// before deleting the form; a derived form whose OnDestroy handler uses members of the derived
// class and that is deleted some other way calls BeforeDestruction() first in its destructor.
#include <memory>
#include <string>
#include <vector>

#include "platform/classes/Controls.h"

class TMainMenu;
class TMenu;
class TMenuItem;
class TIcon;
class TForm;

// ---- Scrolling containers -------------------------------------------------------------------
enum TScrollBarKind { sbHorizontal, sbVertical };

class TScrollingWinControl;

// A window scroll bar of a scrolling container: Range is the extent of the content, Position
// how far it is scrolled (0 .. Range - client size).
class TControlScrollBar : public TPersistent {
  friend class TScrollingWinControl;

 public:
  TControlScrollBar(TScrollingWinControl* AControl, TScrollBarKind AKind);
  void Assign(TPersistent* Source) override;
  TScrollBarKind GetKind() const { return FKind; }
  Integer GetIncrement() const { return FIncrement; }
  void SetIncrement(Integer Value) { FIncrement = Value; }
  Integer GetMargin() const { return FMargin; }
  void SetMargin(Integer Value);
  Integer GetPosition() const { return FPosition; }
  void SetPosition(Integer Value);
  Integer GetRange() const { return FRange; }
  // Setting a range turns AutoScroll off.
  void SetRange(Integer Value);
  bool GetVisible() const { return FVisible; }
  void SetVisible(bool Value);
  bool GetTracking() const { return FTracking; }
  void SetTracking(bool Value) { FTracking = Value; }
  // The position as the window's scroll bar has it.
  Integer GetScrollPos() const { return FVisible ? FPosition : 0; }
  bool IsScrollBarVisible();

 private:
  void CalcAutoRange();
  Integer ControlSize(bool ControlSB, bool AssumeSB);
  void DoSetRange(Integer Value);
  bool NeedsScrollBarVisible();
  void ScrollMessage(TMessage& Message);
  void Update(bool ControlScrollBar, bool AssumeSizes);

  TScrollingWinControl* FControl;
  TScrollBarKind FKind;
  Integer FIncrement = 8;
  Integer FPageIncrement = 80;
  Integer FMargin = 0;
  Integer FPosition = 0;
  Integer FRange = 0;
  Integer FCalcRange = 0;
  bool FVisible = true;
  bool FTracking = false;
};

class TScrollingWinControl : public TWinControl {
  friend class TControlScrollBar;

 public:
  explicit TScrollingWinControl(TComponent* AOwner);
  ~TScrollingWinControl() override;
  void Dispatch(TMessage& Message) override;

  TControlScrollBar* GetHorzScrollBar() const { return FHorzScrollBar.get(); }
  TControlScrollBar* GetVertScrollBar() const { return FVertScrollBar.get(); }
  bool GetAutoScroll() const { return FAutoScroll; }
  void SetAutoScroll(bool Value);
  // Scrolls so that AControl (a descendant) is in view, with the scroll bars' margins.
  void ScrollInView(TControl* AControl);
  void DisableAutoRange() { ++FAutoRangeCount; }
  void EnableAutoRange();
  // ScrollInView unless either is still loading (a control taking the focus).
  void AutoScrollInView(TControl* AControl);

 protected:
  void AlignControls(TControl* AControl, TRect& Rect) override;
  void AdjustClientRect(TRect& Rect) override;
  void CreateWnd() override;
  virtual bool AutoScrollEnabled() { return !GetAutoSize(); }
  void CalcAutoRange();
  void UpdateScrollBars();
  void WMSize(TMessage& Message);
  void WMHScroll(TMessage& Message);
  void WMVScroll(TMessage& Message);

 private:
  std::unique_ptr<TControlScrollBar> FHorzScrollBar;
  std::unique_ptr<TControlScrollBar> FVertScrollBar;
  bool FAutoScroll = true;
  Integer FAutoRangeCount = 0;
  bool FUpdatingScrollBars = false;
};

// ---- Forms ----------------------------------------------------------------------------------
enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
using TBorderStyle = TFormBorderStyle;  // bsNone or bsSingle for controls with a border
enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = TSet<TBorderIcon, 4>;
enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum TPosition {
  poDesigned,
  poDefault,
  poDefaultPosOnly,
  poDefaultSizeOnly,
  poScreenCenter,
  poDesktopCenter,
  poMainFormCenter,
  poOwnerFormCenter
};
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TCloseAction { caNone, caHide, caFree, caMinimize };
enum TTileMode { tbHorizontal, tbVertical };
enum TFormStateItem { fsCreating, fsVisible, fsShowing, fsModal, fsCreatedMDIChild, fsActivated };
using TFormState = TSet<TFormStateItem, 8>;

using TModalResult = Integer;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = 1;
constexpr TModalResult mrCancel = 2;
constexpr TModalResult mrAbort = 3;
constexpr TModalResult mrRetry = 4;
constexpr TModalResult mrIgnore = 5;
constexpr TModalResult mrYes = 6;
constexpr TModalResult mrNo = 7;
constexpr TModalResult mrAll = 8;
constexpr TModalResult mrNoToAll = 9;
constexpr TModalResult mrYesToAll = 10;

using TCloseEvent = TDelegate<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = TDelegate<void(TObject* Sender, bool& CanClose)>;
using TShortCutEvent = TDelegate<void(TWMKey& Msg, bool& Handled)>;

// A scrolling container with a border (bsSingle: a sunken client edge), for controls larger
// than their place.
class TScrollBox : public TScrollingWinControl {
 public:
  explicit TScrollBox(TComponent* AOwner);
  TBorderStyle GetBorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle Value);

 protected:
  void CreateParams(TCreateParams& Params) override;

 private:
  TBorderStyle FBorderStyle = bsSingle;
};

class TCustomForm : public TScrollingWinControl {
  friend class TWinControl;
  friend class TApplication;

 public:
  // A new form without content: hidden, 320 x 240, bsSizeable with all border icons,
  // clBtnFace, its own font.
  explicit TCustomForm(TComponent* AOwner);
  ~TCustomForm() override;
  void Dispatch(TMessage& Message) override;

  // Hides the form and runs OnDestroy, once; see the header comment.
  void BeforeDestruction();

  void Show();
  void Hide() { SetVisible(false); }
  // While the form loads, Visible only says whether it shows once OnCreate ran.
  void SetVisible(bool Value) override;
  // Shows the form modally: the other windows are disabled and messages are handled until
  // ModalResult is set (or the form closes, or the application ends: mrCancel). Raises
  // EInvalidOperation "Cannot make a visible window modal" for a visible, disabled or
  // already modal form.
  virtual TModalResult ShowModal();
  // OnCloseQuery, then OnClose with the action (caHide by default); closing the main form
  // ends the application.
  void Close();
  // Deletes the form once the messages waiting now have been handled.
  void Release();
  virtual bool CloseQuery();
  void SetFocus() override;
  void FocusControl(TWinControl* Control);

  TWinControl* GetActiveControl() const { return FActiveControl; }
  // Raises EInvalidOperation "Cannot focus a disabled or invisible window" for a control
  // that is not on this form or cannot take the focus.
  void SetActiveControl(TWinControl* Control);
  bool SetFocusedControl(TWinControl* Control);
  void DefocusControl(TWinControl* Control, bool Removing);
  bool GetActive() const { return FActive; }

  TFormBorderStyle GetBorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle Value);
  TBorderIcons GetBorderIcons() const { return FBorderIcons; }
  void SetBorderIcons(TBorderIcons Value);
  TFormStyle GetFormStyle() const { return FFormStyle; }
  void SetFormStyle(TFormStyle Value);
  TPosition GetPosition() const { return FPosition; }
  void SetPosition(TPosition Value) { FPosition = Value; }
  TWindowState GetWindowState() const { return FWindowState; }
  void SetWindowState(TWindowState Value);
  bool GetKeyPreview() const { return FKeyPreview; }
  void SetKeyPreview(bool Value) { FKeyPreview = Value; }
  TModalResult GetModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult Value) { FModalResult = Value; }
  TFormState GetFormState() const { return FFormState; }
  TMainMenu* GetMenu() const { return FMenu; }
  void SetMenu(TMainMenu* Value);
  // The form's icon (owned by the form; empty by default).
  TIcon* GetIcon() const { return FIcon; }
  void SetIcon(TIcon* Value);
  TCanvas* GetCanvas() const { return FCanvas.get(); }
  Integer GetPixelsPerInch() const { return FPixelsPerInch; }
  void SetPixelsPerInch(Integer Value) { FPixelsPerInch = Value; }

  // ---- MDI ----
  // A form with FormStyle fsMDIForm holds its children in an "MDICLIENT" window (ClientHandle)
  // over the area its aligned controls leave; fsMDIChild forms are windows in the main form's
  // client, which must be an MDI form.
  HWND GetClientHandle() const { return FClientHandle; }
  TForm* GetActiveMDIChild();
  // The application's MDI children, for an MDI form; Screen's form order.
  Integer GetMDIChildCount();
  TForm* GetMDIChildren(Integer Index);
  void Cascade();
  void Tile();
  void ArrangeIcons();
  // Activates the next (previous) child of the MDI client.
  void Next();
  void Previous();
  TTileMode GetTileMode() const { return FTileMode; }
  void SetTileMode(TTileMode Value) { FTileMode = Value; }
  TMenuItem* GetWindowMenu() const { return FWindowMenu; }
  void SetWindowMenu(TMenuItem* Value);

  // ---- Actions ----
  // Every action client on the form (controls and menu items) updates from its action.
  void UpdateActions();

  void MouseWheelHandler(TMessage& Message) override;
  // CM_CANCELMODE to the active control of an active form (a control takes the mouse).
  void SendCancelMode(TControl* Sender);
  // The menu's and OnShortCut's short-cuts.
  virtual bool IsShortCut(TWMKey& Message);
  // True when the form takes a key meant for Child (key preview of the platform's kind).
  virtual bool WantChildKey(TControl* Child, TMessage& Message);

  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TNotifyEvent OnPaint;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;
  TShortCutEvent OnShortCut;

 protected:
  // The loading protocol of forms built in code (see the header comment).
  void BeginFormLoad();
  void EndFormLoad();
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void CreateWindowHandle(const TCreateParams& Params) override;
  void DestroyWindowHandle() override;
  void AlignControls(TControl* AControl, TRect& Rect) override;
  void PaintWindow(HDC DC) override;
  bool HasMenuBar() override;
  void VisibleChanging() override;
  void SetZOrder(bool TopMost) override;
  virtual void Activate();
  virtual void Deactivate();
  virtual void DoCreate();
  virtual void DoDestroy();
  virtual void DoShow();
  virtual void DoHide();
  virtual void DoClose(TCloseAction& Action);
  virtual void Paint();
  void CloseModal();

  void WMPaint(TMessage& Message);
  void WMClose(TMessage& Message);
  void WMActivate(TMessage& Message);
  void WMCommand(TMessage& Message);
  void WMSysCommand(TMessage& Message);
  void WMSize(TMessage& Message);
  void WMGetMinMaxInfo(TMessage& Message);
  void CMShowingChanged(TMessage& Message);
  void CMDialogKey(TMessage& Message);
  void CMActivate(TMessage& Message);
  void CMDeactivate(TMessage& Message);
  void CMRelease(TMessage& Message);
  void CMMenuChanged(TMessage& Message);
  void CMIconChanged(TMessage& Message);
  void CMActionExecute(TMessage& Message);
  void CMActionUpdate(TMessage& Message);
  void WMMDIActivate(TMessage& Message);

 private:
  void CreateMDIClient();
  void AdjustMDIChildParams(TCreateParams& Params);
  // The main form when it is an MDI form with its client window, else nullptr.
  static TCustomForm* MDIFrame();
  void SetWindowFocus();
  void SetActive(bool Value);
  void MenuWindowHandleChanged();
  void IconChanged(TObject* Sender);
  void PositionForShow();

  TWinControl* FActiveControl = nullptr;
  TWinControl* FFocusedControl = nullptr;
  TBorderIcons FBorderIcons{biSystemMenu, biMinimize, biMaximize};
  TFormBorderStyle FBorderStyle = bsSizeable;
  TFormStyle FFormStyle = fsNormal;
  TPosition FPosition = poDesigned;
  TWindowState FWindowState = wsNormal;
  bool FKeyPreview = false;
  bool FActive = false;
  bool FDestroyed = false;  // BeforeDestruction ran
  TModalResult FModalResult = mrNone;
  TFormState FFormState;
  TMainMenu* FMenu = nullptr;
  TIcon* FIcon = nullptr;
  std::unique_ptr<TControlCanvas> FCanvas;
  Integer FPixelsPerInch = 96;
  HWND FClientHandle = nullptr;
  TTileMode FTileMode = tbHorizontal;
  TMenuItem* FWindowMenu = nullptr;
};

class TForm : public TCustomForm {
 public:
  explicit TForm(TComponent* AOwner);
};

// The focus notifications' counter: a focus change done while a notification runs makes the
// earlier one stop (the platform's FocusCount).
extern Integer FocusCount;
