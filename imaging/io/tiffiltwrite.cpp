// TiffWriteStream: one page of a little-endian TIFF, as a new file at the stream position or
// inserted into the page chain of an existing file, its tags collected while their data and the
// pixels are written, the directory last.
#include <set>

#include "imaging/core/hyieutils.h"
#include "imaging/core/iebitmap.h"
#include "imaging/core/ieicc.h"
#include "imaging/core/ieimagingannot.h"
#include "imaging/core/ieiptc.h"
#include "imaging/core/iestreams.h"
#include "imaging/core/ietiffbytes.h"
#include "imaging/io/ieioprogress.h"
#include "imaging/io/tiffiltwrite.h"
#include "platform/system/Exceptions.h"
#include "platform/system/Streams.h"

namespace {

constexpr Word TagNewSubfileType = 254;
constexpr Word TagImageWidth = 256;
constexpr Word TagImageLength = 257;
constexpr Word TagBitsPerSample = 258;
constexpr Word TagCompression = 259;
constexpr Word TagPhotometric = 262;
constexpr Word TagFillOrder = 266;
constexpr Word TagDocumentName = 269;
constexpr Word TagImageDescription = 270;
constexpr Word TagSamplesPerPixel = 277;
constexpr Word TagXResolution = 282;
constexpr Word TagYResolution = 283;
constexpr Word TagPlanarConfiguration = 284;
constexpr Word TagPageName = 285;
constexpr Word TagXPosition = 286;
constexpr Word TagYPosition = 287;
constexpr Word TagT4Options = 292;
constexpr Word TagT6Options = 293;
constexpr Word TagResolutionUnit = 296;
constexpr Word TagPageNumber = 297;
constexpr Word TagPredictor = 317;
constexpr Word TagColorMap = 320;
constexpr Word TagCleanFaxData = 327;
constexpr Word TagExtraSamples = 338;
constexpr Word TagXMP = 700;
constexpr Word TagAnnotations = 32932;
constexpr Word TagIPTC = 33723;
constexpr Word TagICCProfile = 34675;

// Where the new page joins the file.
struct TPagePlace {
  Int64 Start = 0;
  Int64 Link = -1;    // the 4-byte field that is to point at the new page
  Cardinal Next = 0;  // the new page's next-page offset
  Integer Pages = 1;  // of the file with the new page
};

bool ReadAt(TStream* Stream, Int64 Position, Byte* Buffer, Integer Count) {
  Stream->Seek(Position, soBeginning);
  return Stream->Read(Buffer, Count) == Count;
}

// The directory at Offset when it lies wholly inside the stream (its next-page field too);
// else 0. Returns the position of its next-page field.
Int64 NextFieldOf(TStream* Stream, Cardinal Offset, Int64 Size) {
  Byte Count[2];
  if (Offset < 8 || !ReadAt(Stream, Offset, Count, 2)) return 0;
  const Int64 Field = Offset + 2 + 12 * static_cast<Int64>(IEGetWord(Count, false));
  return Field + 4 <= Size ? Field : 0;
}

// Walks the chain of the "II" file at Place.Start for the link to redirect: the one leading
// to page Index, or the last one when the file has fewer pages (a negative Index means last).
// A link out of the file, to a directory that does not fit in it or back to a directory
// already met ends the chain there. False when the file is no little-endian TIFF.
bool FindPagePlace(TStream* Stream, Integer Index, TPagePlace& Place) {
  Byte Header[8];
  if (!ReadAt(Stream, Place.Start, Header, 4) || Header[0] != 'I' || Header[1] != 'I') return false;
  const Int64 Size = Stream->GetSize();
  std::set<Cardinal> Seen;
  Int64 Field = Place.Start + 4;
  for (Integer Page = 0;; ++Page) {
    Byte Value[4];
    Cardinal Offset = ReadAt(Stream, Field, Value, 4) ? IEGetDWord(Value, false) : 0;
    const Int64 NextField = Offset != 0 && Seen.insert(Offset).second ? NextFieldOf(Stream, Offset, Size) : 0;
    if (NextField == 0) Offset = 0;
    if (Place.Link < 0 && (Page == Index || (Offset == 0 && (Index < 0 || Index > Page)))) {
      Place.Link = Field;
      Place.Next = Offset;
    }
    if (Offset == 0) {
      Place.Pages = Page + 1;
      return true;
    }
    Field = NextField;
  }
}

void WriteLong(TStream* Stream, Int64 Position, Cardinal Value, TIEIOProgress& Progress) {
  Byte Bytes[4];
  IEPutDWord(Bytes, Value, false);
  Stream->Seek(Position, soBeginning);
  IESafeStreamWrite(Stream, *Progress.Aborting, Bytes, 4);
}

Integer DpiOr(Integer Dpi, Integer Default) {
  return Dpi > 0 ? Dpi : Default;
}

void AddDescriptiveTags(TTIFFEntryWriter& Page, TIOParamsVals& P) {
  if (P.ExifPresent) {
    TiffWriteExifTags(Page, P);
    return;
  }
  Page.AddAscii(TagImageDescription, P.TiffImageDescription);
  Page.AddRational(TagXResolution, DpiOr(P.DpiX, DefaultDpiX));
  Page.AddRational(TagYResolution, DpiOr(P.DpiY, DefaultDpiY));
  Page.AddShort(TagResolutionUnit, 2);
}

std::vector<Integer> BitsPerSampleOf(const TTIFFWriteState& S) {
  switch (S.Picture->GetPixelFormat()) {
    case ie1g:
      return {1};
    case ie8p:
    case ie8g:
      return {8};
    case ie16g:
      return {16};
    case ieCMYK:
      return {8, 8, 8, 8};
    case ieRGB48:
      return {16, 16, 16};
    default:
      if (S.Photometric == TiffBlackIsZero || S.Photometric == TiffPalette) return {S.BitsPerSample};
      return std::vector<Integer>(static_cast<std::size_t>(S.SamplesPerPixel), 8);
  }
}

void WritePicture(TTIFFEntryWriter& Page, TTIFFWriteState& S) {
  TIEBitmap* Picture = S.Picture;
  Page.AddLong(TagImageWidth, Picture->GetWidth());
  Page.AddLong(TagImageLength, Picture->GetHeight());
  Page.AddShorts(TagBitsPerSample, BitsPerSampleOf(S));
  Page.AddShort(TagCompression, S.Compression);
  Page.AddShort(TagPhotometric, S.Photometric);
  Page.AddAscii(TagDocumentName, S.IOParams.TiffDocumentName);
  if (TiffIsCCITT(S.Compression)) {
    Page.AddShort(TagFillOrder, S.FillOrder);
    Page.AddShort(TagPlanarConfiguration, 1);
    Page.AddShort(TagCleanFaxData, 0);
  }
  const Byte Access = Picture->GetAccess();
  Picture->SetAccess(iedRead);
  if (S.Compression == TiffOldJpeg)
    TiffWriteOldJpeg(Page, S);
  else
    TiffWriteStrips(Page, S);
  Picture->SetAccess(Access);
}

// A block of the parameters' metadata; nothing when it is empty.
void AddMetaBlock(TTIFFEntryWriter& Page, Word Tag, Word Type, const Byte* Data, Integer Size) {
  if (Data && Size > 0) Page.AddBlock(Tag, Type, Data, Size);
}

void AddMetadata(TTIFFEntryWriter& Page, TIOParamsVals& P) {
  std::unique_ptr<Byte[]> Buffer;
  Integer Size = 0;
  if (P.IPTCInfo && P.IPTCInfo->Count() > 0) {
    P.IPTCInfo->SaveToBuffer(Buffer, Size, /*Photoshop=*/false);
    // Counted in LONG values: the block is padded to a whole one.
    std::vector<Byte> Padded(Buffer.get(), Buffer.get() + Size);
    Padded.resize((Padded.size() + 3) / 4 * 4, 0);
    AddMetaBlock(Page, TagIPTC, ietLONG, Padded.data(), static_cast<Integer>(Padded.size()));
  }
  AddMetaBlock(Page, TagXMP, ietBYTE, reinterpret_cast<const Byte*>(P.XmpInfo.data()),
               static_cast<Integer>(P.XmpInfo.size()));
  if (TIEImagingAnnot* Annot = P.FindImagingAnnot(); Annot && Annot->Count() > 0) {
    Annot->SaveToBuffer(Buffer, Size);
    AddMetaBlock(Page, TagAnnotations, ietBYTE, Buffer.get(), Size);
  }
  if (const TIEICC* Profile = P.InputICC.get(); Profile && Profile->IsValid() && !Profile->GetApplied())
    AddMetaBlock(Page, TagICCProfile, ietUNDEFINED, Profile->GetRaw(), Profile->GetRawLength());
}

void AddColorMap(TTIFFEntryWriter& Page, const std::vector<TIERGBTriple>& Palette) {
  const std::size_t Count = Palette.size();
  std::vector<Integer> Values(3 * Count);
  for (std::size_t I = 0; I < Count; ++I) {
    Values[I] = Palette[I].rgbtRed * 257;
    Values[Count + I] = Palette[I].rgbtGreen * 257;
    Values[2 * Count + I] = Palette[I].rgbtBlue * 257;
  }
  Page.AddShorts(TagColorMap, Values);
}

// The page's tags that follow its pixels.
void AddPageTags(TTIFFEntryWriter& Page, TTIFFWriteState& S) {
  TIOParamsVals& P = S.IOParams;
  Page.AddShort(TagSamplesPerPixel, S.SamplesPerPixel);
  if (S.AddAlpha) Page.AddShort(TagExtraSamples, 1);
  if (S.Predictor) Page.AddShort(TagPredictor, 2);
  Page.AddAscii(TagPageName, P.TiffPageName);
  if (P.TiffXPos != 0 || P.TiffYPos != 0) {
    Page.AddRational(TagXPosition, P.TiffXPos);
    Page.AddRational(TagYPosition, P.TiffYPos);
  }
  // Each fax compression gets its own options tag only: readers take the other as unknown.
  if (S.Compression == TiffCCITTGroup3) Page.AddLong(TagT4Options, S.TwoDimensional ? 1 : 0);
  if (S.Compression == TiffCCITTGroup4) Page.AddLong(TagT6Options, 0);
  Page.AddLong(TagNewSubfileType, 0);
  // Unknown parts of the page number are written as 0, which the format reads as unknown.
  if (P.TiffPageNumber >= 0 || P.TiffPageCount >= 0)
    Page.AddShorts(TagPageNumber, {std::max(P.TiffPageNumber, 0), std::max(P.TiffPageCount, 0)});
  AddMetadata(Page, P);
  if (S.Photometric == TiffPalette) AddColorMap(Page, S.Palette);
}

}  // namespace

Integer TiffWriteStream(TStream* Stream, bool Append, TIEBitmap* Bitmap, TIOParamsVals& IOParams,
                        TIEIOProgress& Progress) {
  if (Bitmap && (Bitmap->GetWidth() <= 0 || Bitmap->GetHeight() <= 0)) {
    IESetAborting(Progress);
    return 0;
  }
  try {
    TTIFFWriteState State(IOParams);
    if (Bitmap) TiffPrepareWriting(Bitmap, State);

    TPagePlace Place;
    Place.Start = Stream->GetPosition();
    if (Append) {
      if (!FindPagePlace(Stream, IOParams.TiffImageIndex, Place)) {
        IESetAborting(Progress);
        return 0;
      }
      Stream->Seek(0, soEnd);
    } else {
      const Byte Placeholder[8] = {};
      IESafeStreamWrite(Stream, *Progress.Aborting, Placeholder, 8);
    }

    TTIFFEntryWriter Page(Stream, Progress);
    AddDescriptiveTags(Page, IOParams);
    if (Bitmap) {
      WritePicture(Page, State);
      if (!IEIsAborting(Progress)) AddPageTags(Page, State);
    }
    // After a failure in the pixels the file gets no directory.
    if (IEIsAborting(Progress)) return 0;

    const Int64 Directory = Page.WriteDirectory(Place.Next);
    const Int64 End = Stream->GetPosition();
    if (Append) {
      WriteLong(Stream, Place.Link, static_cast<Cardinal>(Directory), Progress);
    } else {
      const Byte Header[4] = {'I', 'I', 42, 0};
      Stream->Seek(Place.Start, soBeginning);
      IESafeStreamWrite(Stream, *Progress.Aborting, Header, 4);
      WriteLong(Stream, Place.Start + 4, static_cast<Cardinal>(Directory), Progress);
    }
    Stream->Seek(End, soBeginning);
    return IEIsAborting(Progress) ? 0 : Place.Pages;
  } catch (const Exception&) {
    // Streams that raise instead of writing short.
    IESetAborting(Progress);
    return 0;
  }
}
