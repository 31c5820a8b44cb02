// The interaction modes of the view and the rules that keep only compatible items together.
#include "imaging/core/iemask.h"
#include "imaging/view/zezudidview.h"
#include "imaging/view/zezudidviewmouse.h"
#include "imaging/view/zezudidviewselection.h"

namespace {

// Items 11 to 15 of the 16-bit set stay whatever else is chosen.
TIEMouseInteract ItemsAlwaysKept() {
  TIEMouseInteract Kept;
  for (Integer Item = miMovingScroll; Item < 16; ++Item)
    Kept.Include(static_cast<TIEMouseInteractItems>(Item));
  return Kept;
}

TIEMouseInteract AllItemsBut(TIEMouseInteract Items) {
  TIEMouseInteract All;
  for (Integer Item = 0; Item < 16; ++Item) All.Include(static_cast<TIEMouseInteractItems>(Item));
  return All - Items;
}

// The first rule whose item is newly added (or, for the layer items, present) decides which
// items may stay beside it.
struct TInteractRule {
  TIEMouseInteractItems Item;
  bool WhenAdded;  // else: when present
  TIEMouseInteract Compatible;
};

const TInteractRule InteractRules[] = {
    {miScroll, true, {miZoom, miScroll}},
    {miSelect, true, {miZoom, miSelect}},
    {miSelectPolygon, true, {miSelectPolygon}},
    {miSelectCircle, true, {miZoom, miSelectCircle}},
    {miSelectLasso, true, {miZoom, miSelectLasso}},
    {miSelectZoom, true, {miZoom, miSelectZoom}},
    {miZoom, true,
     AllItemsBut({miSelectPolygon, miSelectMagicWand, miMoveLayers, miResizeLayers, miRotateLayers})},
    {miSelectMagicWand, true, {miSelectMagicWand}},
    {miRotateLayers, false, {miMoveLayers, miRotateLayers}},
    {miResizeLayers, false, {miMoveLayers, miResizeLayers}},
    {miMoveLayers, false, IELayerInteractItems},
};

TIEMouseInteract KeepCompatibleItems(TIEMouseInteract Old, TIEMouseInteract New) {
  const TIEMouseInteract Added = New - Old;
  for (const TInteractRule& Rule : InteractRules)
    if ((Rule.WhenAdded ? Added : New).Contains(Rule.Item))
      return New * (Rule.Compatible + ItemsAlwaysKept());
  return New;
}

}  // namespace

void TZezudIdView::SetMouseInteract(TIEMouseInteract Value) {
  if (Value == FMouseInteract) return;
  if (FPolySelecting && FMouseInteract.Contains(miSelectPolygon)) {
    // The unfinished polygon ends without the point that followed the pointer.
    RemoveLastPoint(FSelection);
    FSelectionMask->Empty();
    EndSelect();
    FPolySelecting = false;
    Invalidate();
  }
  Value = KeepCompatibleItems(FMouseInteract, Value);
  if (!Value.Contains(miRotateLayers))
    LayersFixRotations(-1);
  else if (FLayersCropBeforeRotate)
    LayersCropTransparency(-1);
  FMouseInteract = Value;
}
