// The view unit's start-up and shut-down, and their place in the imaging library's start-up.
#include "imaging/core/hyieutils.h"
#include "imaging/io/zezudidio.h"
#include "imaging/view/iepresetim.h"
#include "imaging/view/ievect.h"
#include "imaging/view/iopreviews.h"
#include "imaging/view/zezudidview.h"
#include "imaging/view/zezudidviewlayerfile.h"
#include "imaging/view/zezudidviewpaint.h"

void TZezudIdViewInitialize() {
  IEViewInitGlobals();
  // New views and readers of files without a resolution take this one.
  DefaultDpiX = 300;
  DefaultDpiY = 300;
  // The I/O start-up, which runs first, cleared the detector of layer files.
  IERegisterLayersDetection();
  IERegisterVectDetection();
}

void TZezudIdViewFinalize() {
  IEViewFreeGlobals();
}

namespace {

bool LoadLayersIntoView(TIEView* View, TStream* Stream) {
  auto* ImageView = dynamic_cast<TZezudIdView*>(View);
  return ImageView && ImageView->LoadLayersFromStream(Stream);
}

void PsdLayersIntoView(TIEView* View, const std::vector<TIEPsdLayer>& Layers, bool Replace, Integer Width,
                       Integer Height) {
  if (auto* ImageView = dynamic_cast<TZezudIdView*>(View))
    ImageView->LayersFromPsd(Layers, Replace, Width, Height);
}

bool PsdLayersOutOfView(TIEView* View, TIEBitmap* Merged, std::vector<TIEPsdLayer>& Layers) {
  auto* ImageView = dynamic_cast<TZezudIdView*>(View);
  if (!ImageView || ImageView->GetLayersCount() == 0) return false;
  ImageView->LayersToPsd(Merged, Layers);
  return true;
}

}  // namespace

void ViewRegisterLibraryHooks() {
  // Before the I/O start-up, which lists layer files as readable only when a reader is there.
  IEViewDataProcs.LoadLayersFromStream = LoadLayersIntoView;
  IEViewDataProcs.PsdLayersToView = PsdLayersIntoView;
  IEViewDataProcs.PsdLayersFromView = PsdLayersOutOfView;
  IEPreviewsDialog = IOPreviewsExecute;
  VectRegisterLibraryHooks();
  IERegisterLibraryHooks(iluView, {TZezudIdViewInitialize, TZezudIdViewFinalize});
  IERegisterLibraryHooks(iluPresetImages, {IEPresetImagesInitialize, IEPresetImagesFinalize});
}
