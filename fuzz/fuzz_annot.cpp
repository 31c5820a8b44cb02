// The TIFF annotation reader. What it read must come back the same through the writer: the
// marks with their types, points, texts, font heights and image sizes.
#include <cstdlib>
#include <memory>

#include "fuzz/FuzzSupport.h"
#include "imaging/core/iebitmap.h"
#include "imaging/core/ieimagingannot.h"

namespace {

bool SameImageSize(TIEBitmap* A, TIEBitmap* B) {
  if (A == nullptr || B == nullptr) return A == B;
  return A->GetWidth() == B->GetWidth() && A->GetHeight() == B->GetHeight();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  fuzz::Refusable([&] {
    TIEImagingAnnot Annot;
    Annot.LoadFromBuffer(Data, static_cast<Integer>(Size));
    std::unique_ptr<Byte[]> Buffer;
    Integer Length = 0;
    Annot.SaveToBuffer(Buffer, Length);
    TIEImagingAnnot Again;
    Again.LoadFromBuffer(Buffer.get(), Length);
    if (Again.Count() != Annot.Count()) std::abort();
    for (Integer I = 0; I < Annot.Count(); ++I) {
      const TIEImagingObject* A = Annot.GetObject(I);
      const TIEImagingObject* B = Again.GetObject(I);
      if (A->GetMarkType() != B->GetMarkType() || A->GetPoints() != B->GetPoints() ||
          A->GetText() != B->GetText() || A->GetFontHeight() != B->GetFontHeight() ||
          !SameImageSize(A->GetImage(), B->GetImage()))
        std::abort();
    }
  });
  return 0;
}
