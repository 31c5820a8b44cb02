// The PSD reader over any bytes: parameters only, the merged picture, and the layers; its content
// test. A small picture that loads is written back with its layers and must load again.
#include "fuzz/FuzzSupport.h"
#include "imaging/core/iebitmap.h"
#include "imaging/formats/iepsd.h"
#include "imaging/io/zezudidioparams.h"

namespace {

constexpr Int64 MaxWrittenPixels = 1 << 14;

bool ReadPsd(TMemoryStream& Stream, TIEBitmap* Bitmap, bool LoadLayers, TIEPsdLayerList* Layers) {
  TIOParamsVals Params;
  TIELocalProgress Local;
  Stream.SetPosition(0);
  PsdReadStream(&Stream, Bitmap, Params, Local.Progress, LoadLayers, Layers);
  return !Local.Aborting;
}

void WriteBack(TIEBitmap& Bitmap, const TIEPsdLayerList& Layers) {
  if (Bitmap.IsEmpty() || static_cast<Int64>(Bitmap.GetWidth()) * Bitmap.GetHeight() > MaxWrittenPixels)
    return;
  for (const TIEPsdLayer& Layer : Layers)
    if (static_cast<Int64>(Layer.Bitmap->GetWidth()) * Layer.Bitmap->GetHeight() > MaxWrittenPixels) return;
  TIOParamsVals Params;
  TIELocalProgress Local;
  TMemoryStream Out;
  PsdWriteStream(&Out, Params, Local.Progress, &Bitmap, Layers);
  TIEBitmap Again;
  TIEPsdLayerList AgainLayers;
  if (Local.Aborting || !ReadPsd(Out, &Again, true, &AgainLayers)) __builtin_trap();
  if (AgainLayers.size() != Layers.size()) __builtin_trap();
  if (Layers.empty() && (Again.GetWidth() != Bitmap.GetWidth() || Again.GetHeight() != Bitmap.GetHeight()))
    __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  TMemoryStream Stream;
  fuzz::FillStream(Stream, Data, Size);
  fuzz::Refusable([&] {
    Stream.SetPosition(0);
    PsdIsFile(&Stream);
    if (Stream.GetPosition() != 0) __builtin_trap();
    ReadPsd(Stream, nullptr, false, nullptr);
    TIEBitmap Merged;
    TIEPsdLayerList One;
    const bool MergedRead = ReadPsd(Stream, &Merged, false, &One);
    TIEBitmap Unused;
    TIEPsdLayerList Layers;
    if (ReadPsd(Stream, &Unused, true, &Layers) && MergedRead) WriteBack(Merged, Layers);
  });
  return 0;
}
