// The save dialog's working copy: loading it from the parameters, the rules that keep the TIFF
// lists consistent, and writing one page back.
#include <algorithm>

#include "imaging/view/iopreviews.h"
#include "platform/system/StringList.h"

namespace {

struct TSamplesBits {
  Integer Samples, Bits;
};

constexpr TSamplesBits TiffColors[] = {{1, 1}, {1, 4}, {1, 8}, {1, 16}, {3, 8}};
constexpr TSamplesBits TiffSimpleColors[] = {{1, 1}, {1, 4}, {1, 8}, {3, 8}};
constexpr TSamplesBits BmpColors[] = {{1, 1}, {1, 4}, {1, 8}, {3, 8}, {3, 8}};
constexpr TSamplesBits PcxColors[] = {{1, 1}, {1, 4}, {1, 8}, {3, 8}};
constexpr TSamplesBits PngColors[] = {{1, 1}, {1, 8}, {3, 8}};

struct TListTable {
  const TSamplesBits* Entries;
  Integer Count;
};

TListTable TableOf(TIEColorList List) {
  switch (List) {
    case iclTIFF:
      return {TiffColors, 5};
    case iclTIFFSimple:
      return {TiffSimpleColors, 4};
    case iclBMP:
      return {BmpColors, 5};
    case iclPCX:
      return {PcxColors, 4};
    case iclPNG:
      break;
  }
  return {PngColors, 3};
}

// Photometric values of the TIFF list.
constexpr Byte PhotoWhiteIsZero = 0;
constexpr Byte PhotoBlackIsZero = 1;
constexpr Byte PhotoRGB = 2;
constexpr Byte PhotoPalette = 3;
constexpr Byte PhotoTranspMask = 4;
constexpr Byte PhotoCMYK = 5;
constexpr Byte PhotoYCbCr = 6;

// Entries of the full TIFF colour list.
constexpr Integer TiffBW = 0;
constexpr Integer Tiff16 = 1;
constexpr Integer Tiff256 = 2;
constexpr Integer Tiff65536 = 3;
constexpr Integer Tiff16M = 4;
// Entries of the simplified one.
constexpr Integer Simple2 = 0;
constexpr Integer Simple16M = 3;

constexpr Integer CompressionJpeg = 7;

bool IsCCITT(Integer Compression) {
  return Compression >= 1 && Compression <= 4;
}

// Keeps Index when the list has no entry for the pair.
void SetListIndex(TIEColorList List, Integer Samples, Integer Bits, Integer& Index) {
  const Integer Found = IEColorListIndex(List, Samples, Bits);
  if (Found >= 0) Index = Found;
}

void TakeTiffColors(TIEPreviewsState& S) {
  IEColorListEntry(iclTIFF, S.TiffColors, S.TiffSamples, S.TiffBits);
}

void TakeTiffSimpleColors(TIEPreviewsState& S) {
  IEColorListEntry(iclTIFFSimple, S.TiffSimpleColors, S.TiffSamples, S.TiffBits);
}

}  // namespace

Integer IEColorListCount(TIEColorList List) {
  return TableOf(List).Count;
}

void IEColorListEntry(TIEColorList List, Integer Index, Integer& Samples, Integer& Bits) {
  const TListTable T = TableOf(List);
  if (Index < 0 || Index >= T.Count) return;
  Samples = T.Entries[Index].Samples;
  Bits = T.Entries[Index].Bits;
}

Integer IEColorListIndex(TIEColorList List, Integer Samples, Integer Bits) {
  const TListTable T = TableOf(List);
  for (Integer I = 0; I < T.Count; ++I)
    if (T.Entries[I].Samples == Samples && T.Entries[I].Bits == Bits) return I;
  return -1;
}

void IETiffCompressionItems(bool WithLZW, TStrings* Items) {
  Items->Clear();
  for (const char* Name : {"UNCOMPRESSED", "CCITT1D", "G3FAX1D", "G3FAX2D", "G4FAX"}) Items->Add(Name);
  if (WithLZW) Items->Add("LZW");
  for (const char* Name : {"JPEG", "PACKBITS", "ZIP"}) Items->Add(Name);
}

Integer TfIOPreviews::CompressionToIndex(Integer Compression, bool WithLZW) {
  if (Compression >= 0 && Compression <= 4) return Compression;
  if (Compression == 5) return WithLZW ? 5 : 6;  // shown as PACKBITS without the coder
  const Integer Shift = WithLZW ? 1 : 0;
  if (Compression >= 7 && Compression <= 9) return Compression - 2 + Shift;
  return 0;
}

Integer TfIOPreviews::IndexToCompression(Integer Index, bool WithLZW) {
  if (Index >= 0 && Index <= 4) return Index;
  if (WithLZW) {
    if (Index == 5) return 5;
    --Index;
  }
  if (Index >= 5 && Index <= 7) return Index + 2;
  return 0;
}

void IEPreviewsLoadState(const TIOParamsVals& P, TIEPreviewsState& S) {
  S.JpegQuality = P.JpegQuality;
  S.JpegDCTMethod = P.JpegDCTMethod;
  S.JpegSmooth = P.JpegSmooth;
  S.JpegColorSpace = P.JpegColorSpace;
  S.JpegOptimalHuffman = P.JpegOptimalHuffman;
  S.JpegProgressive = P.JpegProgressive;

  S.TiffCompression = P.TiffCompression;
  S.TiffImageIndex = P.TiffImageIndex;
  S.TiffPhotometric = P.TiffPhotometric;
  S.TiffSamples = P.SamplesPerPixel;
  S.TiffBits = P.BitsPerSample;
  SetListIndex(iclTIFF, P.SamplesPerPixel, P.BitsPerSample, S.TiffColors);
  SetListIndex(iclTIFFSimple, P.SamplesPerPixel, P.BitsPerSample, S.TiffSimpleColors);
  S.TiffXPos = P.TiffXPos;
  S.TiffYPos = P.TiffYPos;
  S.TiffDocumentName = P.TiffDocumentName;
  S.TiffImageDescription = P.TiffImageDescription;
  S.TiffPageName = P.TiffPageName;
  S.TiffPageNumber = P.TiffPageNumber;
  S.TiffPageCount = P.TiffPageCount;
  S.TiffLzwCompressProc = P.TiffLzwCompressProc;
  S.TiffLzwDecompressProc = P.TiffLzwDecompressProc;

  S.GifImageIndex = P.GifImageIndex;
  if (P.BitsPerSample >= 1 && P.BitsPerSample <= 8) S.GifBits = P.BitsPerSample;
  S.GifTransparent = P.GifHasTransparentColor;
  S.GifTransparentColor = P.GifTransparentColor;
  S.GifInterlaced = P.GifInterlaced;
  S.GifBackground = P.GifBackground;
  S.GifDelay = P.GifDelayTime;
  S.GifLeft = P.GifXPos;
  S.GifTop = P.GifYPos;

  S.BmpRunLength = P.BmpCompression != 0;
  SetListIndex(iclBMP, P.SamplesPerPixel, P.BitsPerSample, S.BmpColors);
  S.PcxCompression = P.PcxCompression;
  SetListIndex(iclPCX, P.SamplesPerPixel, P.BitsPerSample, S.PcxColors);

  SetListIndex(iclPNG, P.SamplesPerPixel, P.BitsPerSample, S.PngColors);
  S.PngBackground = P.PngBackground;
  S.PngFilter = P.PngFilter;
  S.PngInterlaced = P.PngInterlaced;
  S.PngCompression = P.PngCompression;

  SetListIndex(iclPNG, P.SamplesPerPixel, P.BitsPerSample, S.TgaColors);
  S.TgaBackground = P.TgaBackground;
  S.TgaCompressed = P.TgaCompressed;
  S.TgaName = P.TgaImageName;
  S.TgaDescription = P.TgaDescriptor;

  S.J2000Rate = P.J2000Rate;
  S.J2000ColorSpace = P.J2000ColorSpace;
}

void IEPreviewsShowTiff(TIEPreviewsState& S, bool Simplified) {
  if (Simplified) {
    if (IsCCITT(S.TiffCompression)) {
      S.TiffSamples = 1;
      S.TiffBits = 1;
    } else if (S.TiffCompression == CompressionJpeg) {
      S.TiffSamples = 3;
      S.TiffBits = 8;
    }
  }
  Integer& Index = Simplified ? S.TiffSimpleColors : S.TiffColors;
  if (S.TiffSamples == 1) {
    if (S.TiffBits == 1)
      Index = TiffBW;
    else if (S.TiffBits >= 2 && S.TiffBits <= 4)
      Index = Tiff16;
    else if (S.TiffBits >= 5 && S.TiffBits <= 8)
      Index = Tiff256;
    else if (S.TiffBits == 16 && !Simplified)
      Index = Tiff65536;
  } else if (S.TiffSamples == 3 && S.TiffBits == 8) {
    Index = Simplified ? Simple16M : Tiff16M;
  }
  if (Simplified) return;
  const Byte Photo = S.TiffPhotometric;
  if (Photo >= PhotoCMYK) {
    Index = Tiff16M;
  } else if (Photo > PhotoBlackIsZero) {
    if (Index == TiffBW) Index = Tiff16M;
  } else if (S.TiffBits == 1) {
    Index = TiffBW;
  } else if (Index != Tiff65536) {
    // 16-bit grey is a grey of its own and stays.
    Index = Tiff256;
  }
}

void IEPreviewsTiffPhotometricChosen(TIEPreviewsState& S, Byte Photometric) {
  S.TiffPhotometric = Photometric;
  switch (Photometric) {
    case PhotoWhiteIsZero:
    case PhotoBlackIsZero:
      if (S.TiffColors != TiffBW && S.TiffColors != Tiff65536) S.TiffColors = Tiff256;
      break;
    case PhotoPalette:
      S.TiffColors = Tiff256;
      break;
    case PhotoTranspMask:
      break;
    default:
      S.TiffColors = Tiff16M;
      break;
  }
  TakeTiffColors(S);
}

void IEPreviewsTiffColorsChosen(TIEPreviewsState& S, Integer Index) {
  S.TiffColors = Index;
  switch (Index) {
    case TiffBW:
      S.TiffPhotometric = std::min(S.TiffPhotometric, PhotoBlackIsZero);
      break;
    case Tiff16:
      S.TiffPhotometric = PhotoPalette;
      break;
    case Tiff256:
      if (S.TiffPhotometric == PhotoRGB) S.TiffPhotometric = PhotoPalette;
      S.TiffPhotometric = std::min(S.TiffPhotometric, PhotoPalette);
      break;
    default:
      break;
  }
  TakeTiffColors(S);
}

void IEPreviewsTiffSimpleCompressionChosen(TIEPreviewsState& S, Integer Value) {
  S.TiffCompression = Value;
  if (IsCCITT(Value)) {
    S.TiffSimpleColors = Simple2;
    S.TiffPhotometric = PhotoBlackIsZero;
  } else if (Value == CompressionJpeg) {
    S.TiffSimpleColors = Simple16M;
    S.TiffPhotometric = PhotoYCbCr;
  }
  TakeTiffSimpleColors(S);
}

void IEPreviewsTiffSimpleColorsChosen(TIEPreviewsState& S, Integer Index) {
  S.TiffSimpleColors = Index;
  TakeTiffSimpleColors(S);
  if ((IsCCITT(S.TiffCompression) && Index != Simple2) ||
      (S.TiffCompression == CompressionJpeg && !(S.TiffSamples == 3 && S.TiffBits == 8)))
    S.TiffCompression = 0;
  // The simplified page has no photometric list: the colours decide it.
  if (Index == Simple2)
    S.TiffPhotometric = PhotoBlackIsZero;
  else if (Index == Simple16M)
    S.TiffPhotometric = S.TiffCompression == CompressionJpeg ? PhotoYCbCr : PhotoRGB;
  else
    S.TiffPhotometric = PhotoPalette;
}

TIEFileType IEPreviewsFileType(TIEPreviewsPage Page) {
  switch (Page) {
    case ppgJPEG:
    case ppgJPEG2:
      return ioJPEG;
    case ppgTIFF:
    case ppgTIFF2:
      return ioTIFF;
    case ppgGIF:
    case ppgGIF2:
      return ioGIF;
    case ppgBMP:
      return ioBMP;
    case ppgPCX:
      return ioPCX;
    case ppgPNG:
      return ioPNG;
    case ppgTGA:
      return ioTGA;
    case ppgJ2000:
      return ioJ2K;
  }
  return ioUnknown;
}

void IEPreviewsStoreState(const TIEPreviewsState& S, TIEPreviewsPage Page, TIOParamsVals& P) {
  auto TakeList = [&](TIEColorList List, Integer Index) {
    IEColorListEntry(List, Index, P.SamplesPerPixel, P.BitsPerSample);
  };
  switch (Page) {
    case ppgJPEG:
      P.JpegDCTMethod = S.JpegDCTMethod;
      P.JpegSmooth = S.JpegSmooth;
      P.JpegColorSpace = S.JpegColorSpace;
      P.JpegOptimalHuffman = S.JpegOptimalHuffman;
      P.JpegProgressive = S.JpegProgressive;
      [[fallthrough]];
    case ppgJPEG2:
      P.JpegQuality = S.JpegQuality;
      break;
    case ppgTIFF:
      P.TiffXPos = S.TiffXPos;
      P.TiffYPos = S.TiffYPos;
      P.TiffDocumentName = S.TiffDocumentName;
      P.TiffImageDescription = S.TiffImageDescription;
      P.TiffPageName = S.TiffPageName;
      P.TiffPageNumber = S.TiffPageNumber;
      P.TiffPageCount = S.TiffPageCount;
      P.SetImageIndex(S.TiffImageIndex);
      TakeList(iclTIFF, S.TiffColors);
      if (S.TiffPhotometric == PhotoCMYK) {
        P.SamplesPerPixel = 4;
        P.BitsPerSample = 8;
      }
      P.TiffCompression = S.TiffCompression;
      P.TiffPhotometric = S.TiffPhotometric;
      break;
    case ppgTIFF2:
      TakeList(iclTIFFSimple, S.TiffSimpleColors);
      P.TiffCompression = S.TiffCompression;
      P.TiffPhotometric = S.TiffPhotometric;
      break;
    case ppgGIF:
      P.SetImageIndex(S.GifImageIndex);
      P.GifHasTransparentColor = S.GifTransparent;
      P.GifTransparentColor = S.GifTransparentColor;
      P.GifInterlaced = S.GifInterlaced;
      P.GifBackground = S.GifBackground;
      P.GifDelayTime = S.GifDelay;
      P.GifXPos = S.GifLeft;
      P.GifYPos = S.GifTop;
      [[fallthrough]];
    case ppgGIF2:
      P.BitsPerSample = S.GifBits;
      P.SamplesPerPixel = 1;
      break;
    case ppgBMP:
      P.BmpCompression = S.BmpRunLength ? 1 : 0;
      TakeList(iclBMP, S.BmpColors);
      break;
    case ppgPCX:
      P.PcxCompression = S.PcxCompression;
      TakeList(iclPCX, S.PcxColors);
      break;
    case ppgPNG:
      TakeList(iclPNG, S.PngColors);
      P.PngBackground = S.PngBackground;
      P.PngFilter = S.PngFilter;
      P.PngInterlaced = S.PngInterlaced;
      P.PngCompression = S.PngCompression;
      break;
    case ppgTGA:
      TakeList(iclPNG, S.TgaColors);
      P.TgaBackground = S.TgaBackground;
      P.TgaCompressed = S.TgaCompressed;
      P.TgaImageName = S.TgaName;
      P.TgaDescriptor = S.TgaDescription;
      break;
    case ppgJ2000:
      P.J2000Rate = S.J2000Rate;
      P.J2000ColorSpace = S.J2000ColorSpace;
      P.BitsPerSample = 8;
      P.SamplesPerPixel = S.J2000ColorSpace == 0 ? 1 : 3;
      break;
  }
  P.FileType = IEPreviewsFileType(Page);
}
