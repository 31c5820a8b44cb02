// The EXIF readers: the input after an "Exif" header as a JPEG APP1 payload (values, maker
// note and thumbnail), whose values are then written as a block again; the input as a whole
// TIFF file held by the tag handler and written back; and the input as a camera raw stream
// (header search, tags and the first two pages).
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "imaging/core/ieexif.h"
#include "imaging/core/ieioparams.h"
#include "imaging/core/iestreams.h"
#include "imaging/core/ietiffhandler.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  std::vector<Byte> Block(std::begin(IEEXIFHeader), std::end(IEEXIFHeader));
  Block.insert(Block.end(), Data, Data + Size);
  fuzz::Refusable([&] {
    TIEMetaParams Params;
    IELoadEXIFFromBuffer(Block.data(), static_cast<Integer>(Block.size()), Params);
    std::vector<Byte> Again;
    IESaveEXIFToBuffer(Params, Again, true);
  });
  TMemoryStream Stream;
  fuzz::FillStream(Stream, Data, Size);
  fuzz::Refusable([&] {
    TIETIFFHandler Handler;
    if (!Handler.ReadStream(&Stream)) return;
    TMemoryStream Written;
    Handler.WriteStream(&Written, -1);
    TIETIFFHandler Again;
    Again.ReadStream(&Written);
  });
  fuzz::Refusable([&] {
    Stream.SetPosition(0);
    TIEBufferedReadStream Buffered(&Stream, 4096, false);
    const Int64 At = IESearchTIFFHeader(&Buffered);
    if (At < 0) return;
    Buffered.Seek(At, soBeginning);
    TIEMetaParams Params;
    IELoadEXIFFromRawStream(&Buffered, Params);
  });
  return 0;
}
