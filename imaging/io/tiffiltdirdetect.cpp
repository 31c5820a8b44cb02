// The content tests of TIFF-structured streams: TIFF itself, camera raw files in TIFF form and
// HD Photo. Each reads through its own buffered window and leaves the stream where it was.
#include <array>

#include "imaging/core/iestreams.h"
#include "imaging/core/ietiffbytes.h"
#include "imaging/io/tiffilt.h"
#include "platform/system/ScopeExit.h"
#include "platform/system/Streams.h"

namespace {

constexpr Word TagImageWidth = 256;
constexpr Word TagImageLength = 257;
constexpr Word TagPhotometric = 262;
constexpr Word TagSubIFDs = 330;
constexpr Word TagStandardID = 37398;
constexpr Word TagDNGVersion = 50706;
constexpr Integer PhotometricCFA = 32803;
constexpr Integer PhotometricLinearRaw = 34892;
// A raw file's first page is a small preview; a real picture there is no raw file.
constexpr Integer RawPreviewLimit = 200;

// The header and directory 0 of the TIFF structure at the stream's position, read through a
// buffered window whose position 0 is that position.
class TFirstDirectory {
 public:
  explicit TFirstDirectory(TStream* Stream) : FWindow(Stream, 1024, true) {
    Dir.Stream = &FWindow;
    Size = FWindow.GetSize();
    Valid = FWindow.Read(Header.data(), static_cast<Integer>(Header.size())) ==
            static_cast<Integer>(Header.size());
    const bool Intel = Valid && Header[0] == 'I' && Header[1] == 'I';
    const bool Motorola = Valid && Header[0] == 'M' && Header[1] == 'M';
    Valid = Intel || Motorola;
    Dir.LittleEndian = Intel;
    FirstOffset = IEGetDWord(Header.data() + 4, Motorola);
  }

  // Directory 0 into Dir; false when it holds no entries.
  bool Load() {
    Integer Count = 0;
    return Valid && TiffReadDirectory(0, FirstOffset, Dir, Count);
  }

  bool Has(Word Tag) const { return TiffFindTag(Tag, Dir) >= 0; }

  // The 8-byte header and the byte after it (0 when the stream ends sooner).
  std::array<Byte, 9> Header{};
  Int64 Size = 0;
  Int64 FirstOffset = 0;
  bool Valid = false;
  TIFFDirectory Dir;

 private:
  TIEBufferedReadStream FWindow;
};

// Runs Test on the first directory of the stream and puts the stream back.
template <class TTest>
bool TestStream(TStream* Stream, TTest Test) {
  const Int64 Start = Stream->GetPosition();
  auto Restore = ScopeExit([&] { Stream->SetPosition(Start); });
  TFirstDirectory First(Stream);
  return Test(First);
}

}  // namespace

bool TiffIsFile(TStream* Stream) {
  return TestStream(Stream, [](TFirstDirectory& First) {
    if (First.Size <= 8 || !First.Valid) return false;
    // A big-endian header followed by 0xBA is another format's, not TIFF.
    const bool Candidate =
        First.FirstOffset < First.Size && (First.Dir.LittleEndian || First.Header[8] != 0xBA);
    return Candidate && First.Load() && First.Has(TagImageWidth) && First.Has(TagImageLength);
  });
}

bool TiffIsCameraRaw(TStream* Stream) {
  return TestStream(Stream, [](TFirstDirectory& First) {
    if (!First.Load()) return false;
    const TIFFDirectory& Dir = First.Dir;
    const Integer Version = TiffFindTag(TagDNGVersion, Dir);
    if (Version >= 0 && Dir.Entries[Version].Type == ietBYTE && Dir.Entries[Version].Count == 4) return true;
    const Integer Photometric = TiffFindTag(TagPhotometric, Dir);
    if (Photometric >= 0 && Dir.Entries[Photometric].Type == ietSHORT &&
        Dir.Entries[Photometric].Count == 1) {
      const Integer Value = TiffGetInteger(Dir, TagPhotometric, 0);
      if (Value == PhotometricCFA || Value == PhotometricLinearRaw) return true;
    }
    return First.Has(TagSubIFDs) && First.Has(TagStandardID) &&
           TiffGetInteger(Dir, TagImageWidth, 0) < RawPreviewLimit &&
           TiffGetInteger(Dir, TagImageLength, 0) < RawPreviewLimit;
  });
}

bool HdpIsFile(TStream* Stream) {
  return TestStream(Stream, [](TFirstDirectory& First) {
    if (First.Size <= 8 || !First.Valid || !First.Dir.LittleEndian || !First.Load()) return false;
    for (const Word Tag : {Word{48256}, Word{48257}, Word{48129}, Word{48320}, Word{48321}})
      if (!First.Has(Tag)) return false;
    return true;
  });
}
