#pragma once
// The windowed and windowless bases of the skinned controls: binding to one part of a
// TbsSkinData by name, painting through an off-screen bitmap, and the skin-change protocol.
#include <functional>
#include <memory>
#include <string>
#include <vector>
#include "platform/classes/ControlTypes.h"
#include "platform/classes/Controls.h"
#include "platform/classes/Forms.h"
#include "platform/classes/StdCtrls.h"
#include "skin/controls/bsSkinButtonMixin.h"
#include "skin/controls/bsSkinPartMixin.h"
#include "skin/data/bsSkinData.h"

class TBitmap;
class TCustomImageList;
class TTimer;

// Sent by a container to its children when what lies behind them changed (wParam 0,
// lParam 0).
constexpr UINT WM_CHECKPARENTBG = 0x504;

using TbsButtonLayout = TButtonLayout;

// The default look's colours of hot and pressed faces.
constexpr TColor bsHotFrameColor = 0x800000;
constexpr TColor bsHotFaceColor = 0xD2BDB6;
constexpr TColor bsDownFaceColor = 0xB59385;

// ---- Windowed bases -------------------------------------------------------------------------
class TbsSkinControl : public TbsSkinPartMixin<TCustomControl> {
 public:
  explicit TbsSkinControl(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;

  // What lies behind the control changed.
  virtual void ParentBackgroundChanged();

  bool InWMPaint = false;
  HRGN PartRegion = nullptr;

 protected:
  // Paints the control into another device context (an erase outside the control's own
  // paint, so that transparent neighbours can show it).
  void PaintControlTo(HDC DC);
};

class TbsSkinCustomControl : public TbsSkinCustomPartMixin<TbsSkinControl> {
 public:
  explicit TbsSkinCustomControl(TComponent* AOwner);

  void LoadSkinPart() override;
  void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;

  virtual void UpdatePartRegion();

  // A rectangle of part coordinates moved and stretched for the control's size.
  TRect MapPartRect(const TRect& R) const;
  // WM_CHECKPARENTBG to every child.
  void NotifyChildrenBackground();

  bool PaintFrameStrips = false;
  bool FillClientFromPart = true;
  TBitmap* SkinMaskPicture = nullptr;  // not owned

 protected:
  void Paint() override;
  void PartOutlineChanged() override { UpdatePartRegion(); }
  bool FrameStripsPainted() const override { return PaintFrameStrips; }
  // The region cut from the mask for the current size.
  void BuildPartRegion();
  // A 9-slice part as four frame strips with the client area tiled straight onto Canvas.
  void PaintFrameStripsTo(TCanvas* Canvas);
  // A click on a focusable control that lacks the focus takes the focus first, and the
  // command the focus change sends meanwhile is swallowed. True when Message is done with.
  bool FocusBeforeClick(TMessage& Message, bool& SuppressClicks);
  // The focusable bars' share of Dispatch: the erase, the repaint on a focus change, the arrow
  // keys they claim and the wheel, which Turn applies. False for any other message.
  bool DispatchFocusableBar(TMessage& Message, bool CanFocused,
                            const std::function<void(const TMessage&)>& Turn);
};

// ---- Windowless bases -----------------------------------------------------------------------
class TbsGraphicSkinControl : public TbsSkinPartMixin<TGraphicControl> {
 public:
  explicit TbsGraphicSkinControl(TComponent* AOwner);
};

class TbsGraphicSkinCustomControl : public TbsSkinCustomPartMixin<TbsGraphicSkinControl> {
 public:
  using TbsSkinCustomPartMixin::TbsSkinCustomPartMixin;
};

extern template class TbsSkinCustomPartMixin<TbsSkinControl>;
extern template class TbsSkinCustomPartMixin<TbsGraphicSkinControl>;
extern template class TbsButtonMixin<TbsSkinCustomControl>;
extern template class TbsButtonMixin<TbsGraphicSkinCustomControl>;
