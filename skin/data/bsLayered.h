#pragma once
// Soft glows and shadows as separate top-level windows with per-pixel alpha, faded in over a
// few timer steps. Without layered windows the manager does nothing.
#include <memory>

#include "platform/classes/Controls.h"
#include "skin/data/bsEffects.h"

class TBitmap;
class TTimer;

// A window that only shows a layer: a tool popup the mouse passes through, never activated.
class TbsLayerWindow : public TCustomControl {
 public:
  explicit TbsLayerWindow(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
};

class TbsLayerManager : public TComponent {
 public:
  explicit TbsLayerManager(TComponent* AOwner);
  ~TbsLayerManager() override;

  // Shows Picture (alpha from Mask's brightness) at screen (X, Y), fading in to Alpha.
  void ShowLayer(Integer X, Integer Y, TBitmap* Picture, TBitmap* Mask, Integer Alpha);
  void HideLayer();

  TbsLayerWindow* GetLayerWindow() const { return FLayerWindow; }
  TbsBitmap* GetBitmap() const { return FBitmap.get(); }
  TTimer* GetTimer() const { return FTimer; }
  Integer GetTargetAlpha() const { return FTargetAlpha; }
  Integer GetCurrentAlpha() const { return FCurrentAlpha; }
  Integer GetAlphaStep() const { return FAlphaStep; }
  bool GetIsVisible() const { return FIsVisible; }
  bool GetKeepTopMost() const { return FKeepTopMost; }
  void SetKeepTopMost(bool Value) { FKeepTopMost = Value; }

 private:
  void FadeStep(TObject* Sender);

  TbsLayerWindow* FLayerWindow = nullptr;  // owned by the manager as a component
  std::unique_ptr<TbsBitmap> FBitmap;
  TTimer* FTimer = nullptr;  // owned by the manager as a component
  Integer FTargetAlpha = 0;
  Integer FCurrentAlpha = 0;
  Integer FAlphaStep = 0;
  bool FIsVisible = false;
  bool FKeepTopMost = true;
};

// Target := Picture with alpha from Mask, colours clamped to alpha (premultiplied data).
void MakeAlphaBitmap(TBitmap* Picture, TBitmap* Mask, TbsBitmap* Target);
// Pushes the bitmap to Window's layered window at Window's position with constant Alpha.
void UpdateLayeredBitmap(TbsBitmap* Bitmap, Byte Alpha, TWinControl* Window);
// The caller has made the window layered.
void SetWindowAlpha(HWND Wnd, Byte Alpha);
