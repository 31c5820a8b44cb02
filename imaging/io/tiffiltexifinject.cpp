// Copying the parameters' descriptive and EXIF tags into a TIFF another encoder has written.
#include <memory>
#include <vector>

#include "imaging/core/ieexif.h"
#include "imaging/core/iestreams.h"
#include "imaging/core/ietiffhandler.h"
#include "imaging/io/tiffilt.h"
#include "platform/system/Streams.h"

namespace {

// In this order, each with what it owns (the EXIF and GPS directories with their entries).
constexpr Word InjectedTags[] = {271, 272, 306,   274,   282,   283,   296,   305,   315,   318,   531,  319,
                                 529, 532, 33432, 18246, 40091, 40092, 40093, 40094, 40095, 34665, 34853};

// The TIFF at the stream's position, its offsets counted from there.
bool ReadTarget(TIETIFFHandler& Target, TStream* InStream, const std::string& InFileName) {
  if (!InStream) return Target.ReadFile(InFileName);
  TIEBufferedReadStream Window(InStream, 65536, true);
  return Target.ReadStream(&Window);
}

}  // namespace

bool TiffInjectExif(TStream* InStream, TStream* OutStream, const std::string& InFileName,
                    const std::string& OutFileName, Integer PageIndex, TIOParamsVals& IOParams) {
  const Int64 Start = InStream ? InStream->GetPosition() : 0;
  std::vector<Byte> Block;
  IESaveEXIFToBuffer(IOParams, Block, false);
  TIEMemStream BlockStream(Block.data(), static_cast<Int64>(Block.size()));
  TIETIFFHandler Source;
  TIETIFFHandler Target;
  const bool Read = Source.ReadStream(&BlockStream) && Source.GetPageCount() > 0 &&
                    ReadTarget(Target, InStream, InFileName);
  if (InStream) InStream->Seek(Start, soBeginning);
  // Tags are copied between files of one byte order only; anything else is no success.
  if (!Read || PageIndex < 0 || PageIndex >= Target.GetPageCount() ||
      Source.GetBigEndian() != Target.GetBigEndian())
    return false;
  for (const Word Tag : InjectedTags) Target.CopyTag(0, Source.FindTag(0, Tag), PageIndex, Source);

  if (!OutStream) {
    Target.WriteFile(OutFileName, -1);
    return true;
  }
  // Written at 0 of its own stream, so its offsets count from its start wherever it goes.
  TMemoryStream Written;
  Target.WriteStream(&Written, -1);
  if (OutStream == InStream) OutStream->Seek(Start, soBeginning);
  OutStream->WriteBuffer(Written.GetMemory(), static_cast<Integer>(Written.GetSize()));
  // A shorter file in the same stream leaves nothing of the old one behind it.
  if (OutStream == InStream) OutStream->SetSize(OutStream->GetPosition());
  return true;
}
