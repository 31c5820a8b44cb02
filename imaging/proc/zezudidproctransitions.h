#pragma once
// TIETransitionEffects: animates the change from one picture to another inside an image view.
// A timer of the view calls TimerStep; each step works out how far the run has come from the
// tick count, draws one frame into CurrentBitmap, copies it onto the view's canvas and reports
// it to the view's handlers. The transition number indexes ExtraTransitionTable: numbers 1 to
// 30 and the pan-zoom (213) are drawn by the engine's own routines, the others by the table's
// step procedures.
//
// Files: zezudidproctransitions.cpp (the engine), zezudidproctransitionsbuiltin.cpp (the
// built-in routines and the pan-zoom), zezudidproctransitiontable.cpp (the table).
//
// Ownership: the engine owns the three work bitmaps, their row tables and its timer (whose
// component owner is the view). View and PanZoomSource are only referenced. Everything runs on
// the user-interface thread.
#include <memory>
#include <vector>

#include "imaging/proc/iextratransitions.h"
#include "platform/system/Delegates.h"
#include "platform/system/Object.h"
#include "platform/system/Types.h"

class TBitmap;
class TCanvas;
class TIEBitmap;
class TIETransitionEffects;
class TIEView;
class TTimer;

using TIETransitionStepEvent = TDelegate<void(TObject* Sender, Integer Step)>;
using TIEOnTransitionPaint =
    TDelegate<void(TObject* Sender, TBitmap* Bitmap, TIETransitionEffects* Transition, Integer Step)>;
// Draws the view's own background onto ACanvas (an image view's background style).
using TIEDrawViewBackground = TDelegate<void(TCanvas* ACanvas)>;

// One row of the transition table. Proc is nil for the built-in numbers 1 to 30.
struct TEffect {
  const char* Name;
  TExtraTransitionProc Proc;
  Integer Flags;
};

inline constexpr Integer IETransitionCount = 214;
inline constexpr Integer IEPanZoomTransition = 213;
// Row k (1 to 214) is element k - 1.
extern const TEffect ExtraTransitionTable[IETransitionCount];

class TIETransitionEffects : public TObject {
 public:
  // Idle, with 1 x 1 24-bit work bitmaps and a disabled 1 ms timer owned by AView.
  explicit TIETransitionEffects(TIEView* AView);
  ~TIETransitionEffects() override;
  TIETransitionEffects(const TIETransitionEffects&) = delete;
  TIETransitionEffects& operator=(const TIETransitionEffects&) = delete;

  void SetOnTransitionPaint(TIEOnTransitionPaint Value) { OnTransitionPaint = Value; }
  // Ends a run: the work bitmaps shrink to 1 x 1, the view's paint lock is released once and
  // OnTransitionStop is called. Nothing when no run is in progress.
  void Stop();
  // The timer's handler: one frame, then the next step from the elapsed time.
  void TimerStep(TObject* Sender);
  // One frame of a table transition; step 0 restarts from PrevBitmap.
  void DrawExtraTransition(Integer Number, Integer Step);

  // The start of a run sets these up (see the view's transition events).
  std::unique_ptr<TBitmap> PrevBitmap;
  std::unique_ptr<TBitmap> NextBitmap;
  std::unique_ptr<TBitmap> CurrentBitmap;
  TIEBitmap* PanZoomSource = nullptr;
  // Row addresses of the three bitmaps, row 0 at the top; empty when absent.
  std::vector<Byte*> PrevRows;
  std::vector<Byte*> NextRows;
  std::vector<Byte*> CurrentRows;
  Integer FrameWidth = 0;
  Integer FrameHeight = 0;
  bool Running = false;
  TIEView* View = nullptr;
  TTimer* Timer = nullptr;
  Integer StepValue = 0;  // 0 at the start of a run, 1024 at its end
  Integer RandomDone = 0;
  Byte TransitionNumber = 0;  // 0: none
  Integer Duration = 1000;    // milliseconds
  Cardinal StartTick = 0;
  bool UpdateOnStop = false;
  TRect PanZoomFrom{};
  TRect PanZoomTo{};
  TNotifyEvent OnTransitionStop;
  TIETransitionStepEvent OnTransitionStep;
  Byte Timing = 0;  // 0 linear, 1 exponential, 2 logarithmic
  TIEOnTransitionPaint OnTransitionPaint;
  Integer FrameCount = 0;
  // Set by an image view; without it the pan-zoom fills with the view's Background.
  TIEDrawViewBackground DrawViewBackground;

 private:
  void DrawFrame();
  void ShowOnView(TBitmap* Bitmap);
};

// The frame of a built-in number (1 to 30) at Step (0 to 1024) into Engine.CurrentBitmap.
// Nothing is drawn unless the work bitmaps and row tables hold the whole frame.
void IEDrawBuiltinTransition(TIETransitionEffects& Engine, Integer Number, Integer Step);
// The pan-zoom frame at Step.
void IEPanZoomStep(TIETransitionEffects& Engine, Integer Step);
// Fits SW x SH into DW x DH keeping its aspect ratio, centred. A zero size leaves the results
// worked out so far (0 otherwise).
void FitRectKeepAspect(Integer SW, Integer SH, Integer DW, Integer DH, Integer& X, Integer& Y, Integer& Width,
                       Integer& Height);
