// TiffReadStream: one page of a TIFF stream into a picture and the load's parameters. The
// directory layer answers the tag questions, the strip and tile decoders fill the pixels; this
// file reads the page's tags, fills the parameters and picks the picture's pixel format.
#include <algorithm>
#include <array>
#include <cmath>

#include "imaging/core/hyieutils.h"
#include "imaging/core/iebitmap.h"
#include "imaging/core/ieexif.h"
#include "imaging/core/ieicc.h"
#include "imaging/core/iemask.h"
#include "imaging/core/ietiffbytes.h"
#include "imaging/io/ieiolibrary.h"
#include "imaging/io/ieioprogress.h"
#include "imaging/io/iereadlimits.h"
#include "imaging/io/tiffilt.h"
#include "platform/system/Math.h"
#include "platform/system/ScopeExit.h"
#include "platform/system/Streams.h"

namespace {

// EXIF thumbnails larger than this are refused.
constexpr Integer ThumbnailMaxSize = 400;
constexpr Integer ExtraSamplesMax = 10;
constexpr Integer FaxWidthMax = 4096;
constexpr Integer SampleBitsMax = 64;

constexpr Word TagImageWidth = 256;
constexpr Word TagImageLength = 257;
constexpr Word TagCompression = 259;
constexpr Word TagPhotometric = 262;
constexpr Word TagDocumentName = 269;
constexpr Word TagImageDescription = 270;
constexpr Word TagStripOffsets = 273;
constexpr Word TagOrientation = 274;
constexpr Word TagSamplesPerPixel = 277;
constexpr Word TagRowsPerStrip = 278;
constexpr Word TagStripByteCounts = 279;
constexpr Word TagXResolution = 282;
constexpr Word TagYResolution = 283;
constexpr Word TagPlanarConfig = 284;
constexpr Word TagPageName = 285;
constexpr Word TagXPosition = 286;
constexpr Word TagYPosition = 287;
constexpr Word TagT4Options = 292;
constexpr Word TagResolutionUnit = 296;
constexpr Word TagPageNumber = 297;
constexpr Word TagSoftware = 305;
constexpr Word TagArtist = 315;
constexpr Word TagPredictor = 317;
constexpr Word TagFillOrder = 266;
constexpr Word TagTileWidth = 322;
constexpr Word TagTileLength = 323;
constexpr Word TagTileOffsets = 324;
constexpr Word TagTileByteCounts = 325;
constexpr Word TagSubIFDs = 330;
constexpr Word TagJPEGTables = 347;
constexpr Word TagJPEGProc = 512;
constexpr Word TagJPEGInterchangeFormat = 513;
constexpr Word TagJPEGInterchangeFormatLength = 514;
constexpr Word TagYCbCrSubSampling = 530;
constexpr Word TagExifIFD = 34665;
constexpr Word TagGpsIFD = 34853;

constexpr Word PhotometricWhiteIsZero = 0;
constexpr Word PhotometricBlackIsZero = 1;
constexpr Word PhotometricRGB = 2;
constexpr Word PhotometricPalette = 3;
constexpr Word PhotometricCMYK = 5;
constexpr Word PhotometricCIELab = 8;

constexpr Word CompressionNone = 1;
constexpr Word CompressionCCITT1D = 2;
constexpr Word CompressionGroup3 = 3;
constexpr Word CompressionGroup4 = 4;
constexpr Word CompressionLZW = 5;
constexpr Word CompressionOldJpeg = 6;
constexpr Word CompressionJpeg = 7;
constexpr Word CompressionDeflate = 8;
constexpr Word CompressionPackBits = 32773;
constexpr Word CompressionOldDeflate = 32946;

// The library's compression code of a Compression tag.
Integer LibraryCompression(Word Compression, Integer T4Options) {
  switch (Compression) {
    case CompressionNone:
      return 0;
    case CompressionCCITT1D:
      return 1;
    case CompressionGroup3:
      return (T4Options & 1) ? 3 : 2;
    case CompressionGroup4:
      return 4;
    case CompressionLZW:
      return 5;
    case CompressionOldJpeg:
      return 6;
    case CompressionJpeg:
      return 7;
    case CompressionPackBits:
      return 8;
    case CompressionOldDeflate:
      return 9;
    case CompressionDeflate:
      return 10;
    default:
      return 11;
  }
}

// A rational taken from a file may be any size: rounded within the 32-bit range.
Integer RoundToInteger(Double Value) {
  if (!std::isfinite(Value)) return 0;
  return static_cast<Integer>(Round(std::clamp<Double>(Value, -2147483648.0, 2147483647.0)));
}

// The most bits of samples one byte of a page's data can give under its compression, so that
// a header claiming a huge picture over a few bytes is refused before anything is allocated.
// Fax rows may take a single bit (a white row coded against a white one) whatever their
// width; widths beyond any fax machine's count as that widest row.
Int64 MaxSampleBitsPerDataByte(const TTIFFVars& Vars) {
  switch (Vars.Compression) {
    case CompressionNone:
      return 8;
    case CompressionPackBits:
      return 64 * 8;
    case CompressionCCITT1D:
    case CompressionGroup3:
    case CompressionGroup4:
      return 8 * static_cast<Int64>(std::clamp(Vars.Width, 1, FaxWidthMax));
    default:  // LZW, deflate, JPEG and codes we may not know
      return 1 << 14;
  }
}

// The page's tags into Vars. False (Aborting set) when BitsPerSample
// values disagree.
bool ReadPageTags(const TIFFDirectory& Dir, TTIFFVars& Vars, TIOParamsVals& IOParams,
                  TIEIOProgress& Progress) {
  Vars.TileWidth = TiffGetInteger(Dir, TagTileWidth, -1);
  Vars.TileLength = TiffGetInteger(Dir, TagTileLength, -1);
  // One tile is read as a picture of its own; a page without tiles has no tile to take.
  if (IOParams.TiffTileIndex >= 0 && Vars.TileWidth > 0 && Vars.TileLength > 0) {
    Vars.Width = Vars.TileWidth;
    Vars.Height = Vars.TileLength;
  } else {
    Vars.Width = TiffGetInteger(Dir, TagImageWidth, 0);
    Vars.Height = TiffGetInteger(Dir, TagImageLength, 0);
  }
  Vars.SamplesPerPixel = TiffGetInteger(Dir, TagSamplesPerPixel, 1);
  if (!TiffCheckBitsPerSample(Dir, Vars.BitsPerSample)) {
    IESetAborting(Progress);
    return false;
  }
  Vars.RowsPerStrip = TiffGetInteger(Dir, TagRowsPerStrip, Vars.Height);
  if (Vars.RowsPerStrip == 0 || Vars.RowsPerStrip == -1 || Vars.RowsPerStrip > Vars.Height)
    Vars.RowsPerStrip = Vars.Height;
  Vars.Photometric = static_cast<Word>(TiffGetInteger(Dir, TagPhotometric, PhotometricRGB));
  Vars.PlanarConfig = static_cast<Word>(TiffGetInteger(Dir, TagPlanarConfig, 1));
  Vars.Orientation = static_cast<Word>(TiffGetInteger(Dir, TagOrientation, 1));
  Vars.Compression = static_cast<Word>(TiffGetInteger(Dir, TagCompression, CompressionNone));
  Vars.Predictor = TiffGetInteger(Dir, TagPredictor, 1);
  Vars.ResolutionUnit = TiffGetInteger(Dir, TagResolutionUnit, 2);
  Vars.XResolution = TiffGetRational(Dir, TagXResolution, DefaultDpiX);
  Vars.YResolution = TiffGetRational(Dir, TagYResolution, DefaultDpiY);
  Vars.T4Options = TiffGetInteger(Dir, TagT4Options, 0);
  Vars.FillOrder = TiffGetInteger(Dir, TagFillOrder, 1);
  if (Vars.FillOrder != 1 && Vars.FillOrder != 2) Vars.FillOrder = 1;
  Vars.XPosition = TiffGetRational(Dir, TagXPosition, 0);
  Vars.YPosition = TiffGetRational(Dir, TagYPosition, 0);
  TiffGetString(Dir, TagDocumentName, true, Vars.DocumentName);
  TiffGetString(Dir, TagImageDescription, true, Vars.ImageDescription);
  TiffGetString(Dir, TagPageName, true, Vars.PageName);
  Vars.PageNumber = {TiffGetIntegerAt(Dir, TagPageNumber, 0, 0), TiffGetIntegerAt(Dir, TagPageNumber, 1, 0)};
  TiffGetString(Dir, TagSoftware, false, Vars.Software);
  TiffGetString(Dir, TagArtist, false, Vars.Artist);
  Vars.JPEGProc = TiffGetInteger(Dir, TagJPEGProc, 0);
  Vars.JPEGInterchangeFormat = TiffGetInteger(Dir, TagJPEGInterchangeFormat, 0);
  Vars.JPEGInterchangeFormatLength = TiffGetInteger(Dir, TagJPEGInterchangeFormatLength, 0);
  TiffReadExtraSamples(Dir, Vars);
  if (static_cast<Integer>(Vars.ExtraSamples.size()) > ExtraSamplesMax)
    Vars.ExtraSamples.resize(ExtraSamplesMax);
  Vars.ExtraSample = Vars.ExtraSamples.empty() ? 0 : Vars.ExtraSamples.front();
  for (Integer I = 0; I < 2; ++I) {
    const Integer Value = TiffGetIntegerAt(Dir, TagYCbCrSubSampling, I, 2);
    Vars.YCbCrSubSampling[I] = Value == 0 ? 2 : Value;
  }
  TiffGetIntegerArray(Dir, Vars.StripOffsets, TagStripOffsets);
  TiffGetIntegerArray(Dir, Vars.StripByteCounts, TagStripByteCounts);
  TiffGetIntegerArray(Dir, Vars.TileOffsets, TagTileOffsets);
  TiffGetIntegerArray(Dir, Vars.TileByteCounts, TagTileByteCounts);
  Vars.JPEGTables = TiffGetBlock(Dir, TagJPEGTables);
  TiffReadColorMap(Dir, Vars);
  TiffReadIPTC(Dir, IOParams);
  TiffReadXMP(Dir, IOParams);
  TiffReadAnnotations(Dir, IOParams);
  TiffReadICCProfile(Dir, IOParams);

  // Bilevel pages written as "RGB" by some fax programs are white-is-zero.
  if (Vars.BitsPerSample == 1 && Vars.SamplesPerPixel == 1 && Vars.Photometric == PhotometricRGB &&
      Vars.Compression >= CompressionNone && Vars.Compression <= CompressionGroup4)
    Vars.Photometric = PhotometricWhiteIsZero;
  return true;
}

// The library's photometric code; values it has none for leave the field as it was.
void SetLibraryPhotometric(TIOParamsVals& IOParams, Word Photometric) {
  if (Photometric <= 6)
    IOParams.TiffPhotometric = static_cast<Byte>(Photometric);
  else if (Photometric == PhotometricCIELab)
    IOParams.TiffPhotometric = 7;
}

// What the page says, into the parameters.
void FillParams(const TTIFFVars& Vars, TIOParamsVals& IOParams, Integer PageCount) {
  IOParams.BitsPerSample = Vars.BitsPerSample;
  IOParams.SamplesPerPixel = Vars.SamplesPerPixel;
  IOParams.Width = Vars.Width;
  IOParams.Height = Vars.Height;
  IOParams.FileWidth = Vars.Width;
  IOParams.FileHeight = Vars.Height;
  IOParams.TiffByteOrder = Vars.LittleEndian ? 1 : 0;
  IOParams.SetImageCount(PageCount);
  IOParams.SetTiffOrientation(Vars.Orientation);
  IOParams.TiffCompression = LibraryCompression(Vars.Compression, Vars.T4Options);
  SetLibraryPhotometric(IOParams, Vars.Photometric);
  IOParams.TiffPlanarConfig = Vars.PlanarConfig;
  IOParams.TiffDocumentName = Vars.DocumentName;
  IOParams.TiffImageDescription = Vars.ImageDescription;
  IOParams.TiffPageName = Vars.PageName;
  IOParams.TiffPageNumber = Vars.PageNumber[0];
  IOParams.TiffPageCount = Vars.PageNumber[1];
  IOParams.TiffFillOrder = Vars.FillOrder;
  if (!Vars.ColorMap.empty()) {
    IOParams.FreeColorMap();
    IOParams.ColorMap = Vars.ColorMap;
  }
  // The DPI is the rounded resolution; the EXIF value keeps its fraction.
  const Double Factor = Vars.ResolutionUnit == 3 ? 2.54 : 1.0;
  const Double XResolution = Vars.XResolution * Factor;
  const Double YResolution = Vars.YResolution * Factor;
  IOParams.SetDpiX(RoundToInteger(XResolution));
  IOParams.SetDpiY(RoundToInteger(YResolution));
  IOParams.ExifXResolution = XResolution;
  IOParams.ExifYResolution = YResolution;
  IOParams.TiffXPos = RoundToInteger(Vars.XPosition * Factor);
  IOParams.TiffYPos = RoundToInteger(Vars.YPosition * Factor);
}

bool PageHasAlpha(const TTIFFVars& Vars) {
  const Integer Samples = Vars.SamplesPerPixel;
  const bool HasExtraSamples = !Vars.ExtraSamples.empty();
  return (Samples == 4 && Vars.ExtraSample == 2) || (Samples >= 4 && HasExtraSamples) ||
         (Samples == 2 && Vars.BitsPerSample == 8) ||
         (Samples >= 2 && HasExtraSamples && Vars.ExtraSample == 1) ||
         (Samples == 4 && Vars.Photometric == PhotometricRGB);
}

bool IsGrey(Word Photometric) {
  return Photometric == PhotometricWhiteIsZero || Photometric == PhotometricBlackIsZero;
}

// The picture's pixel format for the page; the native formats only when the parameters ask.
TIEPixelFormat PagePixelFormat(const TTIFFVars& Vars, bool NativePixelFormat) {
  const Integer Bits = Vars.BitsPerSample;
  const Integer Samples = Vars.SamplesPerPixel;
  const Word Photometric = Vars.Photometric;
  if (Bits == 1 && Samples == 1 && Photometric != PhotometricPalette) return ie1g;
  if (!NativePixelFormat) return ie24RGB;
  if (Bits == 8 && Samples == 1 && Photometric == PhotometricPalette) return ie8p;
  if (Bits == 8 && Samples == 1 && IsGrey(Photometric)) return ie8g;
  if (Bits == 16 && Samples == 1 && IsGrey(Photometric)) return ie16g;
  if (Bits == 8 && Samples > 3 && Photometric == PhotometricCMYK) return ieCMYK;
  if (Bits == 16 && Samples == 4 && Photometric == PhotometricCMYK) return ieCMYK;
  if (Bits == 16 && Samples == 3 && Photometric == PhotometricRGB) return ieRGB48;
  return ie24RGB;
}

bool IsOldJpegPage(const TTIFFVars& Vars) {
  return (Vars.Compression == CompressionOldJpeg ||
          (Vars.JPEGInterchangeFormat != 0 && Vars.Compression != CompressionLZW)) &&
         Vars.JPEGProc < 2;
}

// The mask alpha goes to: made when the page has alpha and the caller passed none, sized to
// the page and opaque. Without one the rows skip alpha.
void PrepareAlphaMask(TTIFFVars& Vars, std::unique_ptr<TIEMask>& AlphaMask, bool IgnoreAlpha) {
  if (!IgnoreAlpha && PageHasAlpha(Vars) && !AlphaMask) AlphaMask = std::make_unique<TIEMask>();
  if (AlphaMask) {
    AlphaMask->AllocateBits(Vars.Width, Vars.Height, 8);
    AlphaMask->Fill(255);
  }
  Vars.AlphaMask = IgnoreAlpha ? nullptr : AlphaMask.get();
  Vars.SkipAlpha = Vars.AlphaMask == nullptr;
}

// The picture allocated for the strip and tile decoders; false (Aborting set) when it cannot be.
bool AllocatePicture(const TTIFFVars& Vars, TIEBitmap* Bitmap, bool NativePixelFormat, bool Thumbnail,
                     TIEIOProgress& Progress) {
  if (Vars.Width <= 0 || Vars.Height <= 0) {
    IESetAborting(Progress);
    return false;
  }
  const TIEPixelFormat Format = PagePixelFormat(Vars, NativePixelFormat);
  if (!Bitmap->Allocate(Vars.Width, Vars.Height, Format)) {
    IESetAborting(Progress);
    return false;
  }
  if (Format == ie8p) {
    const Integer Count =
        std::min<Integer>(static_cast<Integer>(Vars.ColorMap.size()), Bitmap->GetPaletteLen());
    for (Integer I = 0; I < Count; ++I) Bitmap->SetPaletteColor(I, Vars.ColorMap[I]);
  }
  if (Thumbnail) Bitmap->Fill(0);
  return true;
}

// The pixels of the page.
void DecodePixels(const TIFFDirectory& Dir, TTIFFVars& Vars, TIEBitmap* Bitmap, TIEIOProgress& Progress,
                  bool Thumbnail) {
  if (IsOldJpegPage(Vars)) {
    TiffReadOldJpeg(Dir, Vars, Bitmap, Progress);
    return;
  }
  if (!AllocatePicture(Vars, Bitmap, Vars.IOParams->NativePixelFormat, Thumbnail, Progress)) return;
  if (Vars.TileWidth > 0 || Vars.TileLength > 0) {
    // Some writers put the tiles of a tiled page under the strip tags.
    if (Vars.TileOffsets.empty() && !Vars.StripOffsets.empty()) {
      Vars.TileOffsets = Vars.StripOffsets;
      Vars.TileByteCounts = Vars.StripByteCounts;
    }
    if (!Vars.TileOffsets.empty()) TiffReadTiles(Dir, Vars, Bitmap, Progress);
    return;
  }
  if (Vars.StripOffsets.empty()) {
    IESetAborting(Progress);
    return;
  }
  TiffReadStrips(Dir, Vars, Bitmap, Progress);
}

// A page without samples has no pixels; one whose samples are wider than any TIFF's is
// broken.
bool HasSampleLayout(const TTIFFVars& Vars) {
  return Vars.SamplesPerPixel >= 1 && Vars.BitsPerSample >= 1 && Vars.BitsPerSample <= SampleBitsMax;
}

// The samples of the picture, in whole tiles for tiled pages, must be what the data could hold;
// the picture widened by one tile, as the tile decoder makes it, must be a picture at all.
bool PictureFitsData(const TTIFFVars& Vars, Int64 DataBytes) {
  if (Vars.Width < 0 || Vars.Height < 0) return false;
  Int64 Width = Vars.Width, Height = Vars.Height;
  if (Vars.TileWidth > 0 || Vars.TileLength > 0) {
    const Int64 TileWidth = std::max(Vars.TileWidth, 1), TileLength = std::max(Vars.TileLength, 1);
    if (Width + TileWidth > INT32_MAX || Height + TileLength > INT32_MAX) return false;
    Width = (Width + TileWidth - 1) / TileWidth * TileWidth;
    Height = (Height + TileLength - 1) / TileLength * TileLength;
  }
  const Int64 BitsPerPixel = static_cast<Int64>(Vars.SamplesPerPixel) * Vars.BitsPerSample;
  return !IEClaimExceedsData(Height, Width * BitsPerPixel, DataBytes, MaxSampleBitsPerDataByte(Vars));
}

// Loads the directory at the offset a tag of Page holds; false when the tag is absent.
bool ReadLinkedDirectory(const TIFFDirectory& Page, Word Tag, TIFFDirectory& Linked) {
  if (TiffFindTag(Tag, Page) < 0) return false;
  Integer Count = 0;
  TiffReadDirectory(0, static_cast<Cardinal>(TiffGetInteger(Page, Tag, 0)), Linked, Count);
  return true;
}

// The alpha mask is turned like the picture, so that the caller's mask keeps matching it.
void ApplyOrientation(TIEBitmap* Bitmap, TIEMask* AlphaMask, Integer Orientation) {
  IEApplyEXIFOrientation(Bitmap, Orientation);
  if (!AlphaMask) return;
  const bool Full = AlphaMask->GetFull();
  TIEBitmap Alpha;
  Alpha.CopyFromTIEMask(AlphaMask);
  IEApplyEXIFOrientation(&Alpha, Orientation);
  Alpha.CopyToTIEMask(AlphaMask);
  AlphaMask->SetFull(Full);
}

}  // namespace

void TiffReadStream(TIEBitmap* Bitmap, TStream* Stream, Integer& PageCount, TIOParamsVals& IOParams,
                    TIEIOProgress& Progress, bool ParamsOnly, std::unique_ptr<TIEMask>& AlphaMask,
                    bool RelativeOffsets, bool IgnoreAlpha, bool Thumbnail) {
  auto FreeTransform = ScopeExit([&] {
    if (IOParams.InputICC) IOParams.InputICC->FreeTransform();
  });
  PageCount = 0;
  TTIFFVars Vars;
  Vars.IOParams = &IOParams;
  TIFFDirectory Dir;
  Dir.Stream = Stream;
  Dir.Base = RelativeOffsets ? Stream->GetPosition() : 0;

  std::array<Byte, 8> Header{};
  if (Stream->Read(Header.data(), 8) != 8 || Header[0] != Header[1] ||
      (Header[0] != 'I' && Header[0] != 'M')) {
    IESetAborting(Progress);
    return;
  }
  Dir.LittleEndian = Header[0] == 'I';
  Vars.LittleEndian = Dir.LittleEndian;
  const Cardinal FirstOffset = IEGetDWord(Header.data() + 4, !Dir.LittleEndian);
  if (FirstOffset == 0) return;
  if (!TiffReadDirectory(IOParams.TiffImageIndex, FirstOffset, Dir, PageCount)) return;

  if (IOParams.TiffSubIndex >= 0) {
    const Integer SubOffset = TiffGetIntegerAt(Dir, TagSubIFDs, IOParams.TiffSubIndex, 0);
    if (SubOffset != 0) {
      Integer SubCount = 0;
      TiffReadDirectory(0, static_cast<Cardinal>(SubOffset), Dir, SubCount);
    }
  }

  TIFFDirectory ExifDir{Dir.LittleEndian, Stream, {}, Dir.Base};
  TIFFDirectory GpsDir{Dir.LittleEndian, Stream, {}, Dir.Base};
  if (ReadLinkedDirectory(Dir, TagExifIFD, ExifDir)) IOParams.ExifPresent = true;
  ReadLinkedDirectory(Dir, TagGpsIFD, GpsDir);

  if (!ReadPageTags(Dir, Vars, IOParams, Progress)) return;
  TiffReadExifTags(Dir, ExifDir.Entries.empty() ? nullptr : &ExifDir,
                   GpsDir.Entries.empty() ? nullptr : &GpsDir, IOParams);
  FillParams(Vars, IOParams, PageCount);

  if ((Vars.Width == 0 || Vars.Height == 0) && !Thumbnail) {
    IESetAborting(Progress);
    return;
  }
  if (Vars.Compression == CompressionLZW) {
    Vars.LzwDecompress =
        IOParams.TiffLzwDecompressProc ? IOParams.TiffLzwDecompressProc : IETiffLzwDecompressProc;
    if (!Vars.LzwDecompress) {
      IESetAborting(Progress);
      return;
    }
  }
  if (ParamsOnly || !Bitmap) return;

  if (Thumbnail && (Vars.Width > ThumbnailMaxSize || Vars.Height > ThumbnailMaxSize)) {
    IESetAborting(Progress);
    return;
  }
  if (!HasSampleLayout(Vars) || !PictureFitsData(Vars, Stream->GetSize() - Dir.Base)) {
    IESetAborting(Progress);
    return;
  }
  PrepareAlphaMask(Vars, AlphaMask, IgnoreAlpha);
  const Byte Access = Bitmap->GetAccess();
  Bitmap->SetAccess(iedWrite);
  {
    auto RestoreAccess = ScopeExit([&] { Bitmap->SetAccess(Access); });
    DecodePixels(Dir, Vars, Bitmap, Progress, Thumbnail);
  }
  if (IOParams.TiffApplyOrientation) ApplyOrientation(Bitmap, Vars.AlphaMask, Vars.Orientation);
}
