// What the I/O component reaches of the vector layer: the content tests of objects and combined
// files, and loading them into an attached view that keeps vector objects.
#include "imaging/core/hyieutils.h"
#include "imaging/core/iebitmap.h"
#include "imaging/io/iefileformats.h"
#include "imaging/io/ieview.h"
#include "imaging/proc/zezudidproc.h"
#include "imaging/view/ietextc.h"
#include "imaging/view/ievect.h"

namespace {

bool TakesObjects(TIEView* View) {
  return dynamic_cast<TZezudIdVect*>(View) != nullptr;
}

// A refused or damaged file is a failed load for the component, which raises nothing.
template <class F>
bool Refusable(F&& Load) {
  try {
    return Load();
  } catch (const EIEVectError&) {
    return false;
  }
}

// The objects go onto a white, fully transparent picture of their own extent.
bool LoadObjectsFromFile(TIEView* View, const std::u16string& FileName) {
  auto* Vect = dynamic_cast<TZezudIdVect*>(View);
  if (!Vect || !Refusable([&] { return Vect->LoadFromFileIEV(FileName); })) return false;
  const TRect Extent = Vect->GetObjectsExtent();
  TZezudIdProc* Proc = Vect->GetProc();
  if (Extent.Right > 0 && Extent.Bottom > 0) Proc->ImageResize(Extent.Right, Extent.Bottom);
  Proc->Fill(0xFFFFFF);
  if (TIEBitmap* Alpha = Vect->GetAlphaChannel()) Alpha->Fill(0);
  Vect->Update();
  return true;
}

bool LoadObjectsFromStream(TIEView* View, TStream* Stream, bool All) {
  auto* Vect = dynamic_cast<TZezudIdVect*>(View);
  if (!Vect) return false;
  return Refusable([&] { return All ? Vect->LoadFromStreamAll(Stream) : Vect->LoadFromStreamIEV(Stream); });
}

}  // namespace

void IERegisterVectDetection() {
  IEFormatProcs.IsIEVStream = IsIEVStream;
  IEFormatProcs.IsAllStream = IsAllStream;
}

void VectRegisterLibraryHooks() {
  IEViewDataProcs.TakesObjects = TakesObjects;
  IEViewDataProcs.LoadObjectsFromFile = LoadObjectsFromFile;
  IEViewDataProcs.LoadObjectsFromStream = LoadObjectsFromStream;
  IERegisterLibraryHooks(iluVect, {IEVectInitialize, IEVectFinalize});
  IERegisterLibraryHooks(iluTextControl, {IETextControlInitialize, IETextControlFinalize});
}
