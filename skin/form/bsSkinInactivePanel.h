#pragma once
// The panel an inactive skinned form lays over its client area: a still image of what the
// client area showed when the form lost activation, blurred or veiled by the background.
//
// Ownership: the panel owns its snapshot; its parent is the control it covers.
#include <memory>

#include "skin/controls/bsSkinCtrlsPanels.h"
#include "skin/data/bsEffects.h"
#include "skin/form/SkinForm.h"

class TbsClientInActivePanel : public TbsSkinPaintPanel {
 public:
  explicit TbsClientInActivePanel(TComponent* AOwner);
  // Covers Control's client area with its processed snapshot; nothing for a hidden control
  // or an empty client area.
  void ShowOver(TWinControl* Control, TbsClientInActiveEffect EffectType);
  void HideSnapshot();
  void Paint() override;

  std::unique_ptr<TbsBitmap> Snapshot;
};
