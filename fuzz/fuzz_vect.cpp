// The vector objects reader over any bytes: its content test, then the whole parse (bitmap table,
// inflated records, every kind and version, a registered extension class); what it accepts is
// touched: pictures' last rows, texts, points and formats.
#include <memory>

#include "fuzz/FuzzSupport.h"
#include "imaging/core/hyieutils.h"
#include "imaging/core/iebitmap.h"
#include "imaging/formats/ieformats.h"
#include "imaging/io/ieiolibrary.h"
#include "imaging/view/ievect.h"

namespace {

// The extension of the seeds: one int32 of data.
class TFuzzExtension : public TIEVExtension {
 public:
  Integer Payload = 0;
  void SaveToStream(TStream* Stream) override { Stream->WriteBuffer(&Payload, 4); }
  void LoadFromStream(TStream* Stream) override { Stream->ReadBuffer(&Payload, 4); }
  TIEVExtensionPtr Clone() const override { return std::make_unique<TFuzzExtension>(); }
  void Draw(TBitmap*, const TRect&, Double, Double, bool) override {}
};

volatile Integer Sink;

void Touch(TIEBitmap& Bitmap) {
  const Integer Last = Bitmap.GetRowLen() - 1;
  Sink = static_cast<volatile Byte*>(Bitmap.GetScanline(Bitmap.GetHeight() - 1))[Last];
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  IEFormatsInstall();
  IORegisterLibraryHooks();
  LibraryInitialize();
  IEVRegisterExtension("fuzz.marker", [] { return std::make_unique<TFuzzExtension>(); });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  TMemoryStream Stream;
  fuzz::FillStream(Stream, Data, Size);
  const bool Claimed = IsIEVStream(&Stream);
  if (Stream.GetPosition() != 0) __builtin_trap();
  if (!Claimed) return 0;
  char Head[4];
  Stream.ReadBuffer(Head, 4);
  TIEVObject Template;
  Template.LogFont = std::make_unique<LOGFONTA>();
  fuzz::Refusable([&] {
    TIEVParsedFile File;
    IEVParseStream(&Stream, Head[3], Template, File);
    for (auto& Picture : File.Pictures)
      if (Picture) Touch(*Picture);
    for (auto& Object : File.Objects) {
      Sink = static_cast<Integer>(Object->Text.size() + Object->Name.size());
      for (const TPoint& P : Object->PolyPoints) Sink = P.X;
      if (!Object->MemoFormats.empty())
        for (const Integer Index : Object->MemoCharFormats) Sink = Object->MemoFormats.at(Index).Height;
    }
  });
  return 0;
}
