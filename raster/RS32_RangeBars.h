#pragma once
// Range bars: self-drawn scroll bars.
//
// TArrowBar draws two arrow buttons, a track and a thumb in the platform's look (rbsDefault) or
// a flat hand-drawn one (rbsMac), with hover and press feedback and auto-repeat on held parts.
// TCustomRangeBar adds the scrolling model: a content length, a visible length and a floating
// scroll position; its thumb is sized in proportion with a minimum length. TArrowBarAccess sets
// the look of one bar, or of a master bar and a second bar, through one object.
//
// Ownership: a bar owns its repeat timer; TArrowBarAccess does not own its bars. User-interface
// thread only.
#include "platform/classes/Controls.h"
#include "platform/classes/Forms.h"
#include "platform/system/Delegates.h"
#include "platform/system/Persistent.h"

class TTimer;

enum TRBStyle : Byte { rbsDefault, rbsMac };
enum TRBBackgnd : Byte { bgPattern, bgSolid };

// Zones of a bar, in order along it.
enum TRBZone : Byte { zNone, zFirstButton, zTrackBefore, zThumb, zTrackAfter, zSecondButton };
// Directions of arrows and track parts.
enum TRBDirection : Byte { drLeft, drUp, drRight, drDown };

// Each channel + Amount, clamped to 0..255 (system colours resolved first).
TColor LightenColor(TColor C, Integer Amount);
// Each channel (A x W + B x (255 - W)) div 256; W of 256 or more fails an assertion.
TColor BlendColors(TColor A, TColor B, Integer W);
// R with C1 when C1 = C2, else with the 8 x 8 two-colour pattern of C1 and C2.
void FillPattern(TCanvas* Canvas, TRect R, TColor C1, TColor C2);
// The chosen sides (1 left, 2 top, 4 right, 8 bottom) as 1-pixel lines in C; each drawn side
// moves R inward by one.
void DrawFrameSides(TCanvas* Canvas, TRect& R, Integer Sides, TColor C);

class TArrowBar : public TCustomControl {
 public:
  explicit TArrowBar(TComponent* AOwner);
  ~TArrowBar() override;

  void Dispatch(TMessage& Message) override;

  TRBBackgnd GetBackgnd() const { return FBackgnd; }
  void SetBackgnd(TRBBackgnd Value);
  TBorderStyle GetBorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle Value);
  Integer GetButtonSize() const { return FButtonSize; }
  void SetButtonSize(Integer Value);
  TColor GetHandleColor() const { return FHandleColor; }
  void SetHandleColor(TColor Value);
  TColor GetButtonColor() const { return FButtonColor; }
  void SetButtonColor(TColor Value);
  TColor GetHighLightColor() const { return FHighLightColor; }
  void SetHighLightColor(TColor Value);
  TColor GetShadowColor() const { return FShadowColor; }
  void SetShadowColor(TColor Value);
  TColor GetBorderColor() const { return FBorderColor; }
  void SetBorderColor(TColor Value);
  TScrollBarKind GetBarKind() const { return FBarKind; }
  void SetBarKind(TScrollBarKind Value);
  bool GetShowArrows() const { return FShowArrows; }
  void SetShowArrows(bool Value);
  bool GetShowHandleGrip() const { return FShowHandleGrip; }
  void SetShowHandleGrip(bool Value);
  TRBStyle GetStyle() const { return FStyle; }
  void SetStyle(TRBStyle Value);

  TRBZone GetPressedZone() const { return FPressedZone; }
  TRBZone GetHoverZone() const { return FHoverZone; }
  Integer GetRepeatPhase() const { return FRepeatPhase; }
  TTimer* GetRepeatTimer() const { return FRepeatTimer; }
  bool GetUserChanging() const { return FUserChanging; }

  // The length of an arrow button along the bar (0 without arrows).
  Integer ButtonLength();
  // The client rectangle less the two buttons.
  TRect TrackRect();
  virtual TRect ThumbRect() { return TRect(); }
  TRBZone ZoneAt(Integer X, Integer Y);
  TRect ZoneRect(TRBZone Zone);
  virtual bool DrawsEnabled() { return GetEnabled(); }

  TNotifyEvent OnPositionChange;  // every position change
  TNotifyEvent OnUserChange;      // position changes the user caused

 protected:
  void Paint() override;
  void CreateParams(TCreateParams& Params) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;

  virtual void FirePositionChange();
  virtual void DrawArrowButton(TRect R, TRBDirection Direction, bool Hot, bool Enabled, bool Pressed);
  virtual void DrawThumb(TRect R, bool Horizontal, bool Hot, bool Pressed);
  virtual void DrawTrack(TRect R, TRBDirection Direction, bool Hot, bool Enabled, bool Pressed);
  virtual void EndHover();
  virtual void TimerTick();

  // Repeat phases: 0 idle, 1 first delay, 2 repeating, 3 hover check.
  void StartRepeat();
  void StartHoverCheck();
  bool IsHorizontal() const { return FBarKind == sbHorizontal; }
  // Along-the-bar coordinate of a point and the client length along the bar.
  Integer AlongBar(Integer X, Integer Y) const { return IsHorizontal() ? X : Y; }
  Integer ClientLength() { return IsHorizontal() ? GetClientWidth() : GetClientHeight(); }

  TRBZone FPressedZone = zNone;
  TRBZone FHoverZone = zNone;
  Integer FRepeatPhase = 0;
  TPoint FPressPoint;
  Single FPressScrollPos = 0;
  bool FUserChanging = false;

 private:
  void WMNCCalcSize(TMessage& Message);
  void WMNCPaint(TMessage& Message);
  void TimerHandler(TObject* Sender);
  void DrawMacButton(TRect R, TRBDirection Direction, bool Enabled, bool Pressed);
  void DrawMacTrack(TRect R, TRBDirection Direction, bool Enabled, bool Pressed);
  // Repaints when the value changed.
  template <class T>
  void Store(T& Field, T Value) {
    if (Field == Value) return;
    Field = Value;
    Invalidate();
  }

  TRBBackgnd FBackgnd = bgPattern;
  TBorderStyle FBorderStyle = bsSingle;
  Integer FButtonSize = 0;
  TColor FHandleColor = clBtnShadow;
  TColor FButtonColor = clBtnFace;
  TColor FHighLightColor = clBtnHighlight;
  TColor FShadowColor = clBtnShadow;
  TColor FBorderColor = clWindowFrame;
  TScrollBarKind FBarKind = sbHorizontal;
  bool FShowArrows = true;
  bool FShowHandleGrip = true;
  TRBStyle FStyle = rbsDefault;
  TTimer* FRepeatTimer = nullptr;  // owned as a component
};

class TCustomRangeBar : public TArrowBar {
 public:
  explicit TCustomRangeBar(TComponent* AOwner);

  bool GetKeepCentered() const { return FKeepCentered; }
  void SetKeepCentered(bool Value) { FKeepCentered = Value; }
  // PageLength when positive, else the bar's own length on screen.
  Integer GetVisibleLength() const { return FVisibleLength; }
  Word GetIncrement() const { return FIncrement; }
  void SetIncrement(Word Value) { FIncrement = Value; }
  Single GetScrollPos() const { return FScrollPos; }
  // Clamped to [0, ContentLength - VisibleLength] (a short content gives 0); a change repaints
  // and fires the position events.
  void SetScrollPos(Single Value);
  Integer GetContentLength() const { return FContentLength; }
  void SetContentLength(Integer Value) { SetParams(Value, FPageLength); }
  Integer GetPageLength() const { return FPageLength; }
  // Content and page length at once (negatives become 0); no change event fires.
  void SetParams(Integer Content, Integer Page);

  TRect ThumbRect() override;
  bool DrawsEnabled() override;

 protected:
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void Resize() override;
  bool DoMouseWheel(TShiftState Shift, Integer WheelDelta, TPoint MousePos) override;
  void TimerTick() override;

 private:
  void UpdateVisibleLength();
  void ClampPosition();
  // Keeps the relative centre of the visible part from the old lengths.
  void KeepCentre(Integer OldVisible, Integer OldContent, bool RequireOldContent);
  // The position by Delta with the user-change flag set.
  void UserStep(Single Delta);

  bool FKeepCentered = false;
  Integer FVisibleLength = 0;
  Word FIncrement = 8;
  Single FScrollPos = 0;
  Integer FContentLength = 0;
  Integer FPageLength = 0;
};

// The look of a master bar and an optional second bar: getters read the master, setters write
// both.
class TArrowBarAccess : public TPersistent {
 public:
  TArrowBar* GetMaster() const { return FMaster; }
  void SetMaster(TArrowBar* Value) { FMaster = Value; }
  TArrowBar* GetSlave() const { return FSlave; }
  void SetSlave(TArrowBar* Value) { FSlave = Value; }

  TColor GetColor() const { return FMaster->GetColor(); }
  void SetColor(TColor Value);
  TRBBackgnd GetBackgnd() const { return FMaster->GetBackgnd(); }
  void SetBackgnd(TRBBackgnd Value);
  Integer GetButtonSize() const { return FMaster->GetButtonSize(); }
  void SetButtonSize(Integer Value);
  TColor GetHandleColor() const { return FMaster->GetHandleColor(); }
  void SetHandleColor(TColor Value);
  TColor GetButtonColor() const { return FMaster->GetButtonColor(); }
  void SetButtonColor(TColor Value);
  TColor GetHighLightColor() const { return FMaster->GetHighLightColor(); }
  void SetHighLightColor(TColor Value);
  TColor GetShadowColor() const { return FMaster->GetShadowColor(); }
  void SetShadowColor(TColor Value);
  TColor GetBorderColor() const { return FMaster->GetBorderColor(); }
  void SetBorderColor(TColor Value);
  bool GetShowArrows() const { return FMaster->GetShowArrows(); }
  void SetShowArrows(bool Value);
  bool GetShowHandleGrip() const { return FMaster->GetShowHandleGrip(); }
  void SetShowHandleGrip(bool Value);
  TRBStyle GetStyle() const { return FMaster->GetStyle(); }
  void SetStyle(TRBStyle Value);

 private:
  template <class F>
  void Both(F Set) {
    Set(FMaster);
    if (FSlave != nullptr) Set(FSlave);
  }
  TArrowBar* FMaster = nullptr;
  TArrowBar* FSlave = nullptr;
};
