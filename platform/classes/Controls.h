#pragma once
// The control classes: TControl (windowless or windowed, with bounds, alignment, anchors,
// constraints, font and colour inheritance, mouse events and message dispatch), TWinControl
// (a control with a window, child controls, tab order, focus and keyboard handling),
// TCustomControl (a windowed control that paints on a canvas) and TGraphicControl (a windowless
// one that paints on its parent's DC).
//
// Messages: Perform sends a message through WindowProc, the replaceable handler that starts as
// WndProc; WndProc does the class library's pre-processing and ends in Dispatch, a switch on
// the message number per class whose default is the base class's Dispatch; TControl's default
// is DefaultHandler, which ends in the window's original procedure (DefWndProc).
//
// Ownership: a control is owned by its owner component; a windowed control also deletes the
// controls it is the parent of when it is deleted (they leave their owners then).
#include <memory>
#include <string>
#include <vector>

#include "platform/classes/Canvas.h"
#include "platform/classes/ControlMessages.h"
#include "platform/classes/GraphicsObjects.h"
#include "platform/system/Component.h"
#include "platform/system/Delegates.h"
#include "platform/system/Sets.h"
#include "platform/user/WinUser.h"

class TWinControl;
class TCustomForm;
class TPopupMenu;
class THintWindow;
class TBasicAction;
class TControlActionLink;
class TDragObject;
class TDragDockObject;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
using TAlignSet = TSet<TAlign, 8>;
enum TAnchorKind { akLeft, akTop, akRight, akBottom };
using TAnchors = TSet<TAnchorKind, 4>;
// The anchors each alignment implies.
TAnchors AnchorAlign(TAlign Align);

enum TMouseButton { mbLeft, mbRight, mbMiddle };
enum TShiftStateItem { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TSet<TShiftStateItem, 8>;

enum TControlStyleItem {
  csAcceptsControls,
  csCaptureMouse,
  csDesignInteractive,
  csClickEvents,
  csFramed,
  csSetCaption,
  csOpaque,
  csDoubleClicks,
  csFixedWidth,
  csFixedHeight,
  csNoDesignVisible,
  csReplicatable,
  csNoStdEvents,
  csDisplayDragImage,
  csReflector,
  csActionClient,
  csMenuEvents,
  csNeedsBorderPaint,
  csParentBackground
};
using TControlStyle = TSet<TControlStyleItem, 32>;

enum TControlStateItem {
  csLButtonDown,
  csClicked,
  csPalette,
  csReadingState,
  csAlignmentNeeded,
  csFocusing,
  csCreating,
  csPaintCopy,
  csCustomPaint,
  csDestroyingHandle,
  csDocking
};
using TControlState = TSet<TControlStateItem, 16>;

// Cursors: negative numbers are the built-in shapes (Screen.Cursors maps them to handles).
using TCursor = SmallInt;
constexpr TCursor crDefault = 0;
constexpr TCursor crNone = -1;
constexpr TCursor crArrow = -2;
constexpr TCursor crCross = -3;
constexpr TCursor crIBeam = -4;
constexpr TCursor crSize = -22;
constexpr TCursor crSizeNESW = -6;
constexpr TCursor crSizeNS = -7;
constexpr TCursor crSizeNWSE = -8;
constexpr TCursor crSizeWE = -9;
constexpr TCursor crUpArrow = -10;
constexpr TCursor crHourGlass = -11;
constexpr TCursor crDrag = -12;
constexpr TCursor crNoDrop = -13;
constexpr TCursor crHSplit = -14;
constexpr TCursor crVSplit = -15;
constexpr TCursor crMultiDrag = -16;
constexpr TCursor crSQLWait = -17;
constexpr TCursor crNo = -18;
constexpr TCursor crAppStart = -19;
constexpr TCursor crHelp = -20;
constexpr TCursor crHandPoint = -21;
constexpr TCursor crSizeAll = -22;

using TNotifyEvent = TDelegate<void(TObject* Sender)>;
using TMouseEvent =
    TDelegate<void(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X, Integer Y)>;
using TMouseMoveEvent = TDelegate<void(TObject* Sender, TShiftState Shift, Integer X, Integer Y)>;
using TMouseWheelEvent =
    TDelegate<void(TObject* Sender, TShiftState Shift, Integer WheelDelta, TPoint MousePos, bool& Handled)>;
using TMouseWheelUpDownEvent =
    TDelegate<void(TObject* Sender, TShiftState Shift, TPoint MousePos, bool& Handled)>;
using TKeyEvent = TDelegate<void(TObject* Sender, Word& Key, TShiftState Shift)>;
using TKeyPressEvent = TDelegate<void(TObject* Sender, char& Key)>;
using TCanResizeEvent = TDelegate<void(TObject* Sender, Integer& NewWidth, Integer& NewHeight, bool& Resize)>;
using TConstrainedResizeEvent = TDelegate<void(TObject* Sender, Integer& MinWidth, Integer& MinHeight,
                                               Integer& MaxWidth, Integer& MaxHeight)>;
using TContextPopupEvent = TDelegate<void(TObject* Sender, TPoint MousePos, bool& Handled)>;
using TWndMethod = TDelegate<void(TMessage& Message)>;
using TActionEvent = TDelegate<void(TBasicAction* Action, bool& Handled)>;

// ---- Dragging and docking -------------------------------------------------------------------
enum TDragMode { dmManual, dmAutomatic };
enum TDragKind { dkDrag, dkDock };
enum TDragState { dsDragEnter, dsDragLeave, dsDragMove };
// CM_DRAG: wParam the kind, lParam a TDragRec*.
enum TDragMessage { dmDragEnter, dmDragLeave, dmDragMove, dmDragDrop, dmDragCancel, dmFindTarget };
struct TDragRec {
  TPoint Pos;  // screen
  TDragObject* Source = nullptr;
  class TControl* Target = nullptr;
  bool Docking = false;
};
using TDragOverEvent =
    TDelegate<void(TObject* Sender, TObject* Source, Integer X, Integer Y, TDragState State, bool& Accept)>;
using TDragDropEvent = TDelegate<void(TObject* Sender, TObject* Source, Integer X, Integer Y)>;
using TStartDragEvent = TDelegate<void(TObject* Sender, TDragObject*& DragObject)>;
using TEndDragEvent = TDelegate<void(TObject* Sender, TObject* Target, Integer X, Integer Y)>;
using TStartDockEvent = TDelegate<void(TObject* Sender, TDragDockObject*& DragObject)>;
using TDockDropEvent = TDelegate<void(TObject* Sender, TDragDockObject* Source, Integer X, Integer Y)>;
using TDockOverEvent = TDelegate<void(TObject* Sender, TDragDockObject* Source, Integer X, Integer Y,
                                      TDragState State, bool& Accept)>;
using TUnDockEvent =
    TDelegate<void(TObject* Sender, class TControl* Client, TWinControl* NewTarget, bool& Allow)>;
using TGetSiteInfoEvent = TDelegate<void(TObject* Sender, class TControl* DockClient, TRect& InfluenceRect,
                                         TPoint MousePos, bool& CanDock)>;

// What the application asks a control and the OnShowHint handler about a hint to show.
using THintWindowClass = THintWindow* (*)(TComponent* AOwner);
struct THintInfo {
  class TControl* HintControl = nullptr;
  THintWindowClass HintWindowClass = nullptr;
  TPoint HintPos;  // screen
  Integer HintMaxWidth = 0;
  TColor HintColor = 0;
  TRect CursorRect;  // client coordinates of HintControl: moving out of it ends the hint
  TPoint CursorPos;  // client coordinates of HintControl
  Integer ReshowTimeout = 0;
  Integer HideTimeout = 0;
  std::string HintStr;
  void* HintData = nullptr;
};

// Minimum and maximum sizes of a control; 0 means no limit. A maximum below the minimum
// lowers the minimum and the other way round.
class TSizeConstraints : public TPersistent {
 public:
  explicit TSizeConstraints(class TControl* Control) : FControl(Control) {}
  void Assign(TPersistent* Source) override;
  Integer GetMaxHeight() const { return FMaxHeight; }
  void SetMaxHeight(Integer Value);
  Integer GetMaxWidth() const { return FMaxWidth; }
  void SetMaxWidth(Integer Value);
  Integer GetMinHeight() const { return FMinHeight; }
  void SetMinHeight(Integer Value);
  Integer GetMinWidth() const { return FMinWidth; }
  void SetMinWidth(Integer Value);
  class TControl* GetControl() const {
    return FControl;
  }
  TNotifyEvent OnChange;

 private:
  void Change();
  class TControl* FControl;
  Integer FMaxHeight = 0, FMaxWidth = 0, FMinHeight = 0, FMinWidth = 0;
};

class TControl : public TComponent {
  friend class TWinControl;
  friend class TControlActionLink;
  friend class TDragControlObject;

 public:
  explicit TControl(TComponent* AOwner);
  ~TControl() override;

  // ---- Messages ----
  // Starts as WndProc; a replacement sees every message first and passes on what it does not
  // answer to the handler it replaced.
  TWndMethod WindowProc;
  virtual void WndProc(TMessage& Message);
  virtual void Dispatch(TMessage& Message);
  virtual void DefaultHandler(TMessage& Message);
  // Sends the message through WindowProc and returns its Result.
  LRESULT Perform(UINT Msg, WPARAM WParam, LPARAM LParam);

  // ---- Parent and geometry ----
  TWinControl* GetParent() const { return FParent; }
  virtual void SetParent(TWinControl* AParent);
  Integer GetLeft() const { return FLeft; }
  void SetLeft(Integer Value) { SetBounds(Value, FTop, FWidth, FHeight); }
  Integer GetTop() const { return FTop; }
  void SetTop(Integer Value) { SetBounds(FLeft, Value, FWidth, FHeight); }
  Integer GetWidth() const { return FWidth; }
  void SetWidth(Integer Value) { SetBounds(FLeft, FTop, Value, FHeight); }
  Integer GetHeight() const { return FHeight; }
  void SetHeight(Integer Value) { SetBounds(FLeft, FTop, FWidth, Value); }
  TRect GetBoundsRect() const { return Bounds(FLeft, FTop, FWidth, FHeight); }
  void SetBoundsRect(const TRect& R) { SetBounds(R.Left, R.Top, R.Width(), R.Height()); }
  // Checks the size (OnCanResize, AutoSize, Constraints) and moves the control.
  virtual void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight);
  virtual TRect GetClientRect();
  Integer GetClientWidth() { return GetClientRect().Right; }
  void SetClientWidth(Integer Value);
  Integer GetClientHeight() { return GetClientRect().Bottom; }
  void SetClientHeight(Integer Value);
  void SetClientSize(TPoint Value);
  // The client area's top-left corner on the screen.
  virtual TPoint GetClientOrigin();
  TPoint ClientToScreen(TPoint Point);
  TPoint ScreenToClient(TPoint Point);
  TAlign GetAlign() const { return FAlign; }
  void SetAlign(TAlign Value);
  TAnchors GetAnchors() const { return FAnchors; }
  void SetAnchors(TAnchors Value);
  TSizeConstraints* GetConstraints() const { return FConstraints.get(); }
  void SetConstraints(TSizeConstraints* Value) { FConstraints->Assign(Value); }
  bool GetAutoSize() const { return FAutoSize; }
  virtual void SetAutoSize(bool Value);

  // ---- Appearance ----
  bool GetVisible() const { return FVisible; }
  virtual void SetVisible(bool Value);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  virtual bool GetEnabled() const { return FEnabled; }
  virtual void SetEnabled(bool Value);
  std::string GetText();
  void SetText(const std::string& Value);
  std::string GetCaption() { return GetText(); }
  void SetCaption(const std::string& Value) { SetText(Value); }
  TColor GetColor() const { return FColor; }
  void SetColor(TColor Value);
  bool GetParentColor() const { return FParentColor; }
  void SetParentColor(bool Value);
  TFont* GetFont() const { return FFont.get(); }
  void SetFont(TFont* Value) { FFont->Assign(Value); }
  bool GetParentFont() const { return FParentFont; }
  void SetParentFont(bool Value);
  TCursor GetCursor() const { return FCursor; }
  void SetCursor(TCursor Value);
  const std::string& GetHint() const { return FHint; }
  void SetHint(const std::string& Value) { FHint = Value; }
  bool GetShowHint() const { return FShowHint; }
  void SetShowHint(bool Value);
  bool GetParentShowHint() const { return FParentShowHint; }
  void SetParentShowHint(bool Value);
  // The menu a right click shows (WM_CONTEXTMENU); a window without one passes the message
  // on to its parent window.
  virtual TPopupMenu* GetPopupMenu() { return FPopupMenu; }
  void SetPopupMenu(TPopupMenu* Value);

  TControlStyle GetControlStyle() const { return FControlStyle; }
  void SetControlStyle(TControlStyle Value) { FControlStyle = Value; }
  TControlState GetControlState() const { return FControlState; }
  void SetControlState(TControlState Value) { FControlState = Value; }

  void SetName(const std::string& NewName) override;

  // ---- Painting and z-order ----
  virtual void Invalidate();
  virtual void Update();
  virtual void Repaint();
  void Refresh() { Repaint(); }
  void BringToFront() { SetZOrder(true); }
  void SendToBack() { SetZOrder(false); }
  // Nothing is drawn when the parent has no window.
  void InvalidateControl(bool IsVisible, bool IsOpaque);
  // True when the control is visible and so are all its parents.
  bool IsVisibleOnScreen();

  // A DC on the parent's window with the origin at this control and clipped to it; the
  // caller releases it with ReleaseDC(WindowHandle, DC).
  virtual HDC GetDeviceContext(HWND& WindowHandle);

  // ---- Mouse ----
  bool GetMouseCapture();
  void SetMouseCapture(bool Value);

  // ---- Events ----
  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseMoveEvent OnMouseMove;
  TMouseEvent OnMouseUp;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;
  TMouseWheelEvent OnMouseWheel;
  TMouseWheelUpDownEvent OnMouseWheelDown;
  TMouseWheelUpDownEvent OnMouseWheelUp;
  TNotifyEvent OnResize;
  TCanResizeEvent OnCanResize;
  TConstrainedResizeEvent OnConstrainedResize;
  TContextPopupEvent OnContextPopup;
  TDragOverEvent OnDragOver;
  TDragDropEvent OnDragDrop;
  TStartDragEvent OnStartDrag;
  TEndDragEvent OnEndDrag;
  TStartDockEvent OnStartDock;
  TEndDragEvent OnEndDock;

  // ---- Actions ----
  // The action whose properties the control follows and whose Execute a click runs.
  TBasicAction* GetAction() const;
  void SetAction(TBasicAction* Value);
  TControlActionLink* GetActionLink() const { return FActionLink.get(); }
  // Lets the action update the control (the application does this when idle).
  virtual void InitiateAction();
  // The control as a target of an action: true when the action handled it.
  virtual bool ExecuteAction(TBasicAction* Action);
  virtual bool UpdateAction(TBasicAction* Action);

  // ---- Dragging and docking ----
  TDragMode GetDragMode() const { return FDragMode; }
  void SetDragMode(TDragMode Value) { FDragMode = Value; }
  TDragKind GetDragKind() const { return FDragKind; }
  void SetDragKind(TDragKind Value) { FDragKind = Value; }
  TCursor GetDragCursor() const { return FDragCursor; }
  void SetDragCursor(TCursor Value) { FDragCursor = Value; }
  // Starts dragging this control: at once, or once the mouse moved Threshold pixels (-1: the
  // system's threshold) with the button held.
  void BeginDrag(bool Immediate, Integer Threshold = -1);
  // Ends this control's drag, dropping on the current target when Drop and it accepts.
  void EndDrag(bool Drop);
  bool Dragging() const;
  // The drop of a drag that this control accepted (OnDragDrop).
  virtual void DragDrop(TObject* Source, Integer X, Integer Y);

  // Runs OnClick, or the action's Execute when OnClick is the action's own handler.
  virtual void Click();
  // Gives a wheel message (WM_MOUSEWHEEL's wParam and lParam) to the form's focused control as
  // CM_MOUSEWHEEL; a control that does not use it passes it to its parent.
  virtual void MouseWheelHandler(TMessage& Message);

 protected:
  virtual void DblClick();
  virtual void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
  virtual void MouseMove(TShiftState Shift, Integer X, Integer Y);
  virtual void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
  virtual bool DoMouseWheel(TShiftState Shift, Integer WheelDelta, TPoint MousePos);
  virtual bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos);
  virtual bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos);
  virtual void DoContextPopup(TPoint MousePos, bool& Handled);
  virtual void Resize();
  virtual bool CanResize(Integer& NewWidth, Integer& NewHeight);
  virtual bool CanAutoSize(Integer& NewWidth, Integer& NewHeight);
  virtual void ConstrainedResize(Integer& MinWidth, Integer& MinHeight, Integer& MaxWidth,
                                 Integer& MaxHeight);
  // OnCanResize, AutoSize and Constraints applied to a new size; false refuses the change.
  bool CheckNewSize(Integer& NewWidth, Integer& NewHeight);
  virtual void AdjustSize();
  virtual void RequestAlign();
  virtual void SetZOrder(bool TopMost);
  virtual void VisibleChanging() {}
  virtual void Changed();
  // The action (Sender) changed; CheckDefaults keeps properties the control set itself.
  virtual void ActionChange(TObject* Sender, bool CheckDefaults);
  // The link kind this control follows its action through; the control owns it.
  virtual std::unique_ptr<TControlActionLink> CreateActionLink();
  virtual void DoStartDrag(TDragObject*& DragObject);
  // Accept starts false, true with an OnDragOver handler, which may refuse.
  virtual void DragOver(TObject* Source, Integer X, Integer Y, TDragState State, bool& Accept);
  virtual void DoEndDrag(TObject* Target, Integer X, Integer Y);
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // Remembers the distances the anchors keep when the parent is resized.
  void UpdateAnchorRules();
  void SendCancelMode(TControl* Sender);
  // The text without a window: WM_GETTEXT and WM_SETTEXT are answered from FText.
  std::string FText;

  // Message handlers.
  void WMLButtonDown(TMessage& Message);
  void WMRButtonDown(TMessage& Message);
  void WMMButtonDown(TMessage& Message);
  void WMLButtonDblClk(TMessage& Message);
  void WMRButtonDblClk(TMessage& Message);
  void WMMButtonDblClk(TMessage& Message);
  void WMMouseMove(TMessage& Message);
  void WMLButtonUp(TMessage& Message);
  void WMRButtonUp(TMessage& Message);
  void WMMButtonUp(TMessage& Message);
  void WMMouseWheel(TMessage& Message);
  void WMCancelMode(TMessage& Message);
  void WMContextMenu(TMessage& Message);
  void CMVisibleChanged(TMessage& Message);
  void CMEnabledChanged(TMessage& Message);
  void CMFontChanged(TMessage& Message);
  void CMColorChanged(TMessage& Message);
  void CMParentFontChanged(TMessage& Message);
  void CMParentColorChanged(TMessage& Message);
  void CMParentShowHintChanged(TMessage& Message);
  void CMHitTest(TMessage& Message);
  void CMMouseEnter(TMessage& Message);
  void CMMouseLeave(TMessage& Message);
  void CMMouseWheel(TMessage& Message);
  void CMDrag(TMessage& Message);

  TControlStyle FControlStyle{csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  TControlState FControlState;
  TWinControl* FParent = nullptr;
  Integer FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
  bool FVisible = true;
  bool FEnabled = true;
  TColor FColor = clWindow;

 private:
  void DoMouseDown(TMessage& Message, TMouseButton Button, TShiftState Shift);
  void DoMouseUp(TMessage& Message, TMouseButton Button);
  void FontChanged(TObject* Sender);
  void DoConstraintsChange(TObject* Sender);
  void DoConstrainedResize(Integer& NewWidth, Integer& NewHeight);

  TAlign FAlign = alNone;
  TAnchors FAnchors{akLeft, akTop};
  TPoint FAnchorRules;
  TPoint FOriginalParentSize;
  bool FAnchorMove = false;
  std::unique_ptr<TSizeConstraints> FConstraints;
  bool FAutoSize = false;
  std::unique_ptr<TFont> FFont;
  bool FParentFont = true;
  bool FParentColor = true;
  TCursor FCursor = crDefault;
  std::string FHint;
  bool FShowHint = false;
  bool FParentShowHint = true;
  TPopupMenu* FPopupMenu = nullptr;
  Integer FWheelAccumulator = 0;
  std::unique_ptr<TControlActionLink> FActionLink;
  TDragMode FDragMode = dmManual;
  TDragKind FDragKind = dkDrag;
  TCursor FDragCursor = crDrag;
};

// The window creation values CreateParams fills for CreateWnd.
struct TCreateParams {
  std::string Caption;
  DWORD Style = 0;
  DWORD ExStyle = 0;
  Integer X = 0, Y = 0, Width = 0, Height = 0;
  HWND WndParent = nullptr;
  void* Param = nullptr;
  WNDCLASS WindowClass;
  std::string WinClassName;
};

class TWinControl : public TControl {
  friend class TControl;
  friend class TCustomForm;
  friend LRESULT InitWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);

 public:
  explicit TWinControl(TComponent* AOwner);
  ~TWinControl() override;

  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;
  void DefaultHandler(TMessage& Message) override;

  // ---- The window ----
  // Creates the window (and those of the parents) when it does not exist yet.
  HWND GetHandle();
  bool HandleAllocated() const { return FHandle != nullptr; }
  void HandleNeeded();
  // The window or null, without creating it.
  HWND GetWindowHandle() const { return FHandle; }
  // A window to parent a control without a parent control (another library's window).
  HWND GetParentWindow() const { return FParentWindow; }
  void SetParentWindow(HWND Value);
  // Destroys the window and makes it again with the current creation parameters, keeping
  // the focus where it was.
  void RecreateWnd();
  // The original procedure of the window class messages end in (DefaultHandler).
  WNDPROC GetDefWndProc() const { return FDefWndProc; }
  void SetDefWndProc(WNDPROC Value) { FDefWndProc = Value; }
  bool GetShowing() const { return FShowing; }

  // ---- Children ----
  // Windowless controls first (in z-order, the top one last), then windowed ones.
  TControl* GetControl(Integer Index) const;
  Integer GetControlCount() const { return static_cast<Integer>(FControls.size() + FWinControls.size()); }
  void InsertControl(TControl* AControl);
  void RemoveControl(TControl* AControl);
  bool ContainsControl(TControl* Control);
  // The topmost visible (and enabled, unless AllowDisabled) child at Pos (client coordinates)
  // that answers CM_HITTEST; windowed children only with AllowWinControls.
  TControl* ControlAtPos(TPoint Pos, bool AllowDisabled, bool AllowWinControls = false);
  TControl* FindChildControl(const std::string& ControlName);
  // Sends Message to every child until one answers with a non-zero Result.
  void Broadcast(TMessage& Message);
  void NotifyControls(UINT Msg);

  // ---- Alignment ----
  void DisableAlign();
  void EnableAlign();
  void Realign();
  bool AlignDisabled() const { return FAlignLevel != 0; }
  Integer GetBorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(Integer Value);

  // ---- Focus and tab order ----
  Integer GetTabOrder() const;
  void SetTabOrder(Integer Value);
  bool GetTabStop() const { return FTabStop; }
  void SetTabStop(bool Value);
  // Every windowed descendant in tab order, depth first.
  void GetTabOrderList(std::vector<TWinControl*>& List);
  TWinControl* FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop, bool CheckParent);
  void SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop);
  void SelectFirst();
  virtual bool CanFocus();
  virtual bool Focused();
  // Raises EInvalidOperation "Cannot focus a disabled or invisible window" when it cannot.
  virtual void SetFocus();

  // ---- Painting ----
  void Invalidate() override;
  void Update() override;
  void Repaint() override;
  // Paints the windowless children (from First on, in z-order) into DC.
  void PaintControls(HDC DC, TControl* First);
  // Moves the children and the client pixels.
  void ScrollBy(Integer DeltaX, Integer DeltaY);
  bool GetDoubleBuffered() const { return FDoubleBuffered; }
  void SetDoubleBuffered(bool Value) { FDoubleBuffered = Value; }
  bool GetParentBackground() const { return FControlStyle.Contains(csParentBackground); }
  virtual void SetParentBackground(bool Value);
  bool GetCtl3D() const { return FCtl3D; }
  void SetCtl3D(bool Value);
  bool GetParentCtl3D() const { return FParentCtl3D; }
  void SetParentCtl3D(bool Value);
  TBrush* GetBrush() const { return FBrush.get(); }

  void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
  TRect GetClientRect() override;
  TPoint GetClientOrigin() override;

  // ---- Docking (kept for the controls that use it; nothing docks here) ----
  bool GetDockSite() const { return FDockSite; }
  void SetDockSite(bool Value) { FDockSite = Value; }
  bool GetUseDockManager() const { return FUseDockManager; }
  void SetUseDockManager(bool Value) { FUseDockManager = Value; }
  TDockDropEvent OnDockDrop;
  TDockOverEvent OnDockOver;
  TUnDockEvent OnUnDock;
  TGetSiteInfoEvent OnGetSiteInfo;

  // ---- Events ----
  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;
  TKeyEvent OnKeyDown;
  TKeyPressEvent OnKeyPress;
  TKeyEvent OnKeyUp;

 protected:
  virtual void CreateParams(TCreateParams& Params);
  // Gives the window class of a built-in control (e.g. "BUTTON") to these parameters, so
  // messages end in that class's procedure.
  void CreateSubClass(TCreateParams& Params, const char* ControlClassName);
  virtual void CreateHandle();
  virtual void CreateWnd();
  virtual void CreateWindowHandle(const TCreateParams& Params);
  virtual void DestroyWnd();
  virtual void DestroyWindowHandle();
  void DestroyHandle();
  void UpdateShowing();
  void UpdateControlState();
  // The window this one's window must come after in the parent's z-order.
  HWND PrecedingWindow(TWinControl* Control);
  void MainWndProc(TMessage& Message);

  virtual void AlignControls(TControl* AControl, TRect& Rect);
  virtual void AdjustClientRect(TRect& Rect);
  virtual void ControlsAligned() {}
  void AlignControl(TControl* AControl);
  bool CanAutoSize(Integer& NewWidth, Integer& NewHeight) override;
  void AdjustSize() override;
  void SetZOrder(bool TopMost) override;
  // The client size alignment works with; without a window it is computed from the frame the
  // creation parameters give (and the menu bar, for a window that will have one).
  TPoint ClientSizeForLayout();
  virtual bool HasMenuBar() { return false; }
  void UpdateBounds();

  virtual void PaintWindow(HDC DC);
  void PaintHandler(TMessage& Message);

 public:
  HDC GetDeviceContext(HWND& WindowHandle) override;

 protected:
  virtual void KeyDown(Word& Key, TShiftState Shift);
  virtual void KeyUp(Word& Key, TShiftState Shift);
  virtual void KeyPress(char& Key);
  // True when the key was eaten (KeyPreview of the form included).
  bool DoKeyDown(TMessage& Message);
  bool DoKeyUp(TMessage& Message);
  bool DoKeyPress(TMessage& Message);
  virtual void DoEnter();
  virtual void DoExit();
  // Short-cuts of popup menus up the parents, the form's menu and the application's.
  bool IsMenuKey(TMessage& Message);
  // Focus leaves this control (and its children) before it is hidden or removed.
  void RemoveFocus(bool Removing);
  // True when Message (mouse, client coordinates) went to a windowless child.
  bool IsControlMouseMsg(TMessage& Message);
  // Reflects a notification to the control whose window sent it; false when none is ours.
  bool DoControlMsg(HWND ControlHandle, TMessage& Message);
  void Loaded() override;

  // Message handlers.
  void WMPaint(TMessage& Message);
  void WMEraseBkgnd(TMessage& Message);
  void WMCommand(TMessage& Message);
  void WMNotify(TMessage& Message);
  void WMCompareItem(TMessage& Message);
  void WMDeleteItem(TMessage& Message);
  void WMDrawItem(TMessage& Message);
  void WMMeasureItem(TMessage& Message);
  void WMHScroll(TMessage& Message);
  void WMVScroll(TMessage& Message);
  void WMSetFocus(TMessage& Message);
  void WMKillFocus(TMessage& Message);
  void WMKeyDown(TMessage& Message);
  void WMSysKeyDown(TMessage& Message);
  void WMKeyUp(TMessage& Message);
  void WMSysKeyUp(TMessage& Message);
  void WMChar(TMessage& Message);
  void WMSize(TMessage& Message);
  void WMMove(TMessage& Message);
  void WMWindowPosChanged(TMessage& Message);
  void WMSetCursor(TMessage& Message);
  void WMNCDestroy(TMessage& Message);
  void WMGetDlgCode(TMessage& Message) { Message.Result = 0; }
  void CNKeyDown(TMessage& Message);
  void CNKeyUp(TMessage& Message);
  void CNChar(TMessage& Message);
  void CNSysKeyDown(TMessage& Message);
  void CNSysChar(TMessage& Message);
  void CMChildKey(TMessage& Message);
  void CMDialogKey(TMessage& Message) { Broadcast(Message); }
  void CMDialogChar(TMessage& Message) { Broadcast(Message); }
  void CMEnter(TMessage&) { DoEnter(); }
  void CMExit(TMessage&) { DoExit(); }
  void CMShowingChanged(TMessage& Message);
  void CMVisibleChanged(TMessage& Message);
  void CMEnabledChanged(TMessage& Message);
  void CMColorChanged(TMessage& Message);
  void CMFontChanged(TMessage& Message);
  void CMShowHintChanged(TMessage& Message);
  void CMCursorChanged(TMessage& Message);
  void CMRecreateWnd(TMessage& Message);
  void CMInvalidate(TMessage& Message);
  void CMCtl3DChanged(TMessage& Message);
  void CMParentCtl3DChanged(TMessage& Message);
  void CMSysColorChange(TMessage& Message);

  HWND FHandle = nullptr;
  std::vector<TControl*> FControls;        // windowless children, bottom first
  std::vector<TWinControl*> FWinControls;  // windowed children, in insertion order
  std::vector<TWinControl*> FTabList;

 private:
  void Insert(TControl* AControl);
  void Remove(TControl* AControl);
  void UpdateTabOrder(Integer Value);
  void DoAlign(TControl* AControl, TRect& Rect, TAlign AAlign, std::vector<TControl*>& AlignList);
  void DoPosition(TControl* Control, TAlign AAlign, TRect& Rect, const std::vector<TControl*>& AlignList,
                  Integer Index);
  void PaintDoubleBuffered(TMessage& Message);
  void SaveTextFromWindow();

  WNDPROC FObjectInstance = nullptr;
  WNDPROC FDefWndProc = nullptr;
  HWND FParentWindow = nullptr;
  std::unique_ptr<TBrush> FBrush;
  Integer FAlignLevel = 0;
  Integer FBorderWidth = 0;
  bool FShowing = false;
  bool FTabStop = false;
  bool FDoubleBuffered = false;
  bool FCtl3D = true;
  bool FParentCtl3D = true;
  bool FRecreating = false;
  bool FLayoutOnly = false;  // CreateParams asked for the frame only
  bool FDockSite = false;
  bool FUseDockManager = false;
};

// A canvas on a control: the window's DC (made on demand and given back after the message
// that made it), or the paint DC while the control paints.
class TControlCanvas : public TCanvas {
 public:
  ~TControlCanvas() override;
  TControl* GetControl() const { return FControl; }
  void SetControl(TControl* Value);
  // Gives the DC back (ReleaseDC) when the canvas made it.
  void FreeHandle();
  void UpdateTextFlags();

 protected:
  void CreateHandle() override;

 private:
  TControl* FControl = nullptr;
  HDC FDeviceContext = nullptr;
  HWND FWindowHandle = nullptr;
};
// Gives back the DCs of all control canvases that are not locked (after every message).
void FreeDeviceContexts();

class TCustomControl : public TWinControl {
 public:
  explicit TCustomControl(TComponent* AOwner);
  ~TCustomControl() override;
  void Dispatch(TMessage& Message) override;
  TCanvas* GetCanvas() const { return FCanvas.get(); }

 protected:
  virtual void Paint() {}
  void PaintWindow(HDC DC) override;
  void WMPaint(TMessage& Message);

 private:
  std::unique_ptr<TControlCanvas> FCanvas;
};

class TGraphicControl : public TControl {
 public:
  explicit TGraphicControl(TComponent* AOwner);
  ~TGraphicControl() override;
  void Dispatch(TMessage& Message) override;
  TCanvas* GetCanvas() const { return FCanvas.get(); }

 protected:
  virtual void Paint() {}
  void WMPaint(TMessage& Message);

 private:
  std::unique_ptr<TControlCanvas> FCanvas;
};

// ---- Helpers --------------------------------------------------------------------------------
// Right and bottom edges are outside.
inline bool PtInRect(const TRect& R, TPoint P) {
  return P.X >= R.Left && P.X < R.Right && P.Y >= R.Top && P.Y < R.Bottom;
}
// The control a window belongs to; nullptr for windows of no control.
TWinControl* FindControl(HWND Handle);
// The control whose window is at (or contains the window at) the screen point.
TWinControl* FindVCLWindow(TPoint Pos);
// That control's windowless child under the point, else the control itself.
TControl* FindDragTarget(TPoint Pos, bool AllowDisabled);
// The form the control is on (its top parent, when that is a form).
TCustomForm* GetParentForm(TControl* Control);
// The same; raises EInvalidOperation "Control '%s' has no parent window" when there is none.
TCustomForm* ValidParentForm(TControl* Control);
// The control holding the mouse capture (a windowless one through its parent's window).
TControl* GetCaptureControl();
void SetCaptureControl(TControl* Control);
TShiftState KeysToShiftState(WPARAM Keys);
TShiftState KeyDataToShiftState(Integer KeyData);
// The part of a hint before the first '|', and the part after it (the whole hint without one).
std::string GetShortHint(const std::string& Hint);
std::string GetLongHint(const std::string& Hint);
// The ampersand-marked accelerator of Caption is VK (a letter or digit, any case).
bool IsAccel(Word VK, const std::string& Caption);
