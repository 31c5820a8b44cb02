#pragma once
// The mouse tests drive a view on a shown form with scripted input of the headless display: a
// 300 x 240 view without border (client pixels equal picture pixels at zoom 100, no centring)
// over a picture larger than it, so its client area ends at the scroll bars (284 x 224).
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "imaging/core/iebitmap.h"
#include "imaging/core/iegdiplus.h"
#include "imaging/view/zezudidview.h"
#include "imaging/view/zezudidviewselection.h"
#include "platform/classes/Application.h"
#include "platform/classes/Forms.h"
#include "platform/display/HeadlessDisplay.h"
#include "platform/user/WinUser.h"

class TMouseView : public TZezudIdView {
 public:
  using TZezudIdView::FHintTemplate;
  using TZezudIdView::FHintText;
  using TZezudIdView::FLayerAspect;
  using TZezudIdView::FPolySelecting;
  using TZezudIdView::FRectSelecting;
  using TZezudIdView::TZezudIdView;
  // The cursor the control shows now (the Cursor property is the one restored after drags).
  TCursor ShownCursor() const { return TIEView::GetCursor(); }
  TTimer* MovingScrollTimer() const { return FMovingScrollTimer; }
};

// Layer events as text: "selected 1", "moving 1", ...
struct TLayerLog {
  std::vector<std::string> Events;
  void Notify(TObject*, Integer Layer, TIELayerEvent Event) {
    static const char* const Names[] = {"selected", "moved",   "resized",       "moving",     "resizing",
                                        "rotating", "rotated", "beginresizing", "beginmoving"};
    const std::string Text = std::string(Names[Event]) + " " + std::to_string(Layer);
    // Repeated progress events count once.
    if (Events.empty() || Events.back() != Text) Events.push_back(Text);
  }
};

class MouseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Display = &Headless();
    Display->ClearInput();
    Form = std::make_unique<TForm>(nullptr);
    Form->SetBounds(0, 0, 400, 320);
    View = new TMouseView(Form.get());
    View->SetParent(Form.get());
    View->SetBorderStyle(bsNone);
    View->SetBounds(10, 10, 300, 240);
    View->SetCenter(false);
    Form->Show();
    SetPicture(600, 500);
  }
  void TearDown() override {
    Display->ClearInput();
    Form.reset();
    Application->ProcessMessages();
  }

  // A grey picture with its left half darker, shown at zoom 100 from the top-left corner.
  void SetPicture(Integer Width, Integer Height) {
    TIEBitmap* Picture = View->GetIEBitmap();
    Picture->Allocate(Width, Height, ie24RGB);
    for (Integer Y = 0; Y < Height; ++Y)
      for (Integer X = 0; X < Width; ++X)
        Picture->SetPixel24(X, Y, X < Width / 2 ? TIERGBTriple{60, 60, 60} : TIERGBTriple{200, 200, 200});
    View->Update();
    Pump();
  }

  // Adds an unlocked layer of Width x Height at (X, Y), current afterwards; Alpha fills its
  // alpha channel when >= 0.
  TIELayer* AddLayer(Integer X, Integer Y, Integer Width, Integer Height, Integer Alpha = -1) {
    View->LayersAdd();
    TIELayer* L = View->GetCurrentLayer();
    L->Bitmap->Allocate(Width, Height, ie24RGB);
    L->Bitmap->Fill(0x3060A0);
    if (Alpha >= 0) L->Bitmap->GetAlphaChannel()->Fill(Alpha);
    L->PosX = X;
    L->PosY = Y;
    View->Update();
    Pump();
    return L;
  }

  void Pump() {
    for (int I = 0; I < 3; ++I) Application->ProcessMessages();
  }
  TPoint Screen(Integer X, Integer Y) { return View->ClientToScreen(TPoint{X, Y}); }
  void MoveTo(Integer X, Integer Y) {
    const TPoint P = Screen(X, Y);
    Display->MoveTo(P.X, P.Y);
    Pump();
  }
  void Press(Integer X, Integer Y, TInputButton Button = TInputButton::Left) {
    MoveTo(X, Y);
    Display->ButtonDown(Button);
    Pump();
  }
  void Release(TInputButton Button = TInputButton::Left) {
    Display->ButtonUp(Button);
    Pump();
  }
  void Click(Integer X, Integer Y, TInputButton Button = TInputButton::Left) {
    Press(X, Y, Button);
    Release(Button);
  }
  // Presses at From, moves to To in Steps even steps, releases there.
  void Drag(TPoint From, TPoint To, Integer Steps = 4, TInputButton Button = TInputButton::Left) {
    Press(From.X, From.Y, Button);
    for (Integer K = 1; K <= Steps; ++K)
      MoveTo(From.X + (To.X - From.X) * K / Steps, From.Y + (To.Y - From.Y) * K / Steps);
    Release(Button);
  }
  void HoldKey(Word Key) {
    Display->KeyDown(Key);
    Pump();
  }
  void LetGoKey(Word Key) {
    Display->KeyUp(Key);
    Pump();
  }

  THeadlessDisplay* Display = nullptr;
  std::unique_ptr<TForm> Form;
  TMouseView* View = nullptr;
};
