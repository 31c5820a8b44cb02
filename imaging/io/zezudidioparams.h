#pragma once
// The input/output parameters of a picture: everything known about it besides its pixels.
//
// The imaging core holds the part its EXIF block needs as TIEMetaParams (the EXIF and GPS
// values, the EXIF tag list, maker note, thumbnail, resolution, orientation and page index).
// TIOParamsVals is that object grown by the general fields, the options of every format,
// the metadata containers and the LZW codecs; every TZezudIdIO owns one, readers fill it,
// writers read it, and the core's EXIF routines take it as their TIEMetaParams.
//
// Setters that keep related fields together (SetDpiX, SetImageIndex, SetImageCount, the
// orientation and EXIF setters) must be used; writing the fields directly skips their copies.
// Lists, profiles, palette and thumbnail are owned by the object; getters of the lazily made
// ones (GetInputICC, GetImagingAnnot, ...) keep ownership too.
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "imaging/core/hyiedefs.h"
#include "imaging/core/ieconvertcolorrow.h"
#include "imaging/core/ieioparams.h"
#include "platform/system/Types.h"

class TIEDICOMTags;
class TIEImagingAnnot;
class TIEIPTCInfoList;
class TIEMarkerList;
class TStream;
class TStringList;
class TZezudIdIO;

// The pluggable LZW codecs of the GIF and TIFF filters.
// GIF: decodes the LZW data of one frame (sub-blocks already joined) into at most DestLength
// colour indices; false when the code stream is damaged (data that ends early is not: the rest
// of Dest keeps what it held).
using TGifLzwDecompressProc = bool (*)(const Byte* Data, Integer DataLength, Integer MinCodeSize, Byte* Dest,
                                       Integer DestLength);
// GIF: writes the image data of Count colour indices to Stream: the minimum code size byte, the
// LZW code in data sub-blocks and the block terminator.
using TGifLzwCompressProc = void (*)(TStream* Stream, Integer MinCodeSize, const Byte* Indices,
                                     Integer Count);
// TIFF: the next RowLength decoded bytes of a strip, or nullptr when the strip cannot give them.
// State is nullptr before the first row and kept by the codec; a call with nullptr Data frees
// it. DataLength bounds every read of Data.
using TTiffLzwDecompressProc = Byte* (*)(const Byte* Data, Integer DataLength, Integer RowLength,
                                         void*& State, Integer FillOrder);
// TIFF: codes one row of a strip to Stream; a nullptr Row ends the strip and frees State.
using TTiffLzwCompressProc = void (*)(const Byte* Row, Integer RowLength, TStream* Stream, void*& State);

// Sizes and bit counts of the images an ICO file is written with.
constexpr Integer IEMaxIcoImages = 16;

// Options of the headerless-raw reader.
struct TIEHeaderlessRawOptions {
  bool Flag1 = false;
  bool Flag2 = false;
  Integer BitsPerPixel = 8;
  Cardinal Value = 0;
};

// The plain values of the parameters, in declaration order with their defaults: a reset
// assigns a fresh TIOParamsFields, a copy assigns the source's, so a field added here is
// reset and copied without further code.
struct TIOParamsFields {
  // General fields. Width, Height, DpiX and DpiY are set at reset only with an owner.
  Integer BitsPerSample = 8;
  std::u16string FileName;
  Integer SamplesPerPixel = 3;
  Integer Width = 0;
  Integer Height = 0;
  Integer FileType = 0;  // TIEFileType
  Integer ImageCount = 0;
  bool GetThumbnail = false;
  Integer FileWidth = 0;  // as the file describes it, before the reader scales
  Integer FileHeight = 0;

  // TIFF options (the core holds TiffCompression, TiffImageIndex, TiffOrientation and
  // TiffImageDescription).
  Integer TiffSubIndex = -1;  // SubIFD of the page to read instead of it; -1 none
  Byte TiffPhotometric = 2;   // 0 white is zero ... 7 CIE L*a*b*
  Integer TiffPlanarConfig = 1;
  Integer TiffXPos = 0;
  Integer TiffYPos = 0;
  Integer TiffTileIndex = -1;  // -1 the whole page
  std::string TiffDocumentName;
  std::string TiffPageName;
  Integer TiffPageNumber = -1;
  Integer TiffPageCount = -1;
  TTiffLzwDecompressProc TiffLzwDecompressProc = nullptr;
  TTiffLzwCompressProc TiffLzwCompressProc = nullptr;
  bool TiffApplyOrientation = false;
  Integer TiffJpegQuality = 80;
  Byte TiffJpegColorSpace = 2;
  Integer TiffZipCompression = 1;
  Integer TiffImageCount = 0;
  Integer TiffFillOrder = 1;
  Byte TiffByteOrder = 1;  // 1 little-endian ("II"), 0 big-endian

  Integer DcxImageIndex = 0;

  // GIF options.
  std::string GifVersion = "GIF89a";
  Integer GifImageIndex = 0;
  Integer GifXPos = 0;
  Integer GifYPos = 0;
  Integer GifDelayTime = 0;
  bool GifHasTransparentColor = false;
  TIERGBTriple GifTransparentColor{};
  bool GifInterlaced = false;
  Integer GifWinWidth = 0;
  Integer GifWinHeight = 0;
  TIERGBTriple GifBackground{};
  Integer GifRatio = 0;
  Byte GifAction = 2;
  TGifLzwDecompressProc GifLzwDecompressProc = nullptr;
  TGifLzwCompressProc GifLzwCompressProc = nullptr;
  Integer GifImageCount = 0;

  // JPEG options.
  Byte JpegColorSpace = 2;
  Integer JpegQuality = 80;
  Byte JpegDCTMethod = 0;
  Byte JpegChromaSubsampling = 1;
  bool JpegOptimalHuffman = false;
  Integer JpegSmooth = 0;
  bool JpegProgressive = false;
  Byte JpegScale = 1;
  Integer JpegScaleUsed = 1;
  Integer JpegWarningTotal = 0;  // set by the reader, kept by resets
  Integer JpegWarningCode = 0;
  bool JpegApplyExifOrientation = false;
  bool JpegExifThumbnailOnly = false;

  // JPEG 2000 options.
  Byte J2000ColorSpace = 1;
  Double J2000Rate = 1.0;
  Byte J2000ProgressionOrder = 0;

  // PCX options.
  Integer PcxVersion = 5;
  Byte PcxCompression = 1;

  // BMP options.
  Byte BmpVersion = 1;  // 0, 1 Windows 40-byte header; 2 OS/2 1.x; 3 OS/2 2.x
  Byte BmpCompression = 0;
  bool BmpHandleAlpha = false;

  // ICO and CUR options.
  Integer IcoImageIndex = 0;
  TIERGBTriple IcoBackground{255, 255, 255};
  Integer CurImageIndex = 0;
  Integer CurXHotSpot = 0;
  Integer CurYHotSpot = 0;
  TIERGBTriple CurBackground{255, 255, 255};
  // A pair of zeros ends the list.
  std::array<std::array<Integer, 2>, IEMaxIcoImages> IcoSizes{{{64, 64}}};
  std::array<Integer, IEMaxIcoImages> IcoBitCounts{8};

  // PNG options.
  bool PngInterlaced = false;
  TIERGBTriple PngBackground{};
  Byte PngFilter = 0;  // 0 none, 1 sub, 2 Paeth
  Integer PngCompression = 5;

  // TGA options.
  Integer TgaXPos = 0;
  Integer TgaYPos = 0;
  bool TgaCompressed = true;
  std::string TgaDescriptor;
  std::string TgaAuthor;
  TDateTime TgaDate = 0;  // the current date at reset
  std::string TgaImageName;
  TIERGBTriple TgaBackground{};
  Double TgaAspectRatio = 1.0;
  Double TgaGamma = 2.2;
  bool TgaGrayLevel = false;

  // Media, document and decoder options.
  Integer AviFrameCount = 0;
  Integer AviFrameDelay = 0;
  Integer PsPaperWidth = 595;
  Integer PsPaperHeight = 842;
  Byte PsCompression = 1;
  std::string PsTitle = "No Title";
  Integer PdfPaperWidth = 595;
  Integer PdfPaperHeight = 842;
  Byte PdfCompression = 2;
  std::string PdfTitle, PdfAuthor, PdfSubject, PdfKeywords, PdfCreator, PdfProducer;
  bool RawHalfSize = false;
  std::array<Double, 4> RawFactors{0.6, 1.0, 1.0, 1.0};
  std::array<bool, 4> RawFlags{true, false, false, false};
  std::string RawCamera;
  bool RawUseThumbnail = false;
  bool RawThumbnailOption = false;
  TIEHeaderlessRawOptions HeaderlessRawOptions;
  // Layout of headerless pixel data: bytes skipped first, file row alignment in bits, 0 red
  // first / 1 blue first, 0 interleaved / 1 one plane per channel, 0 bytes / 1 decimal / 2 hex.
  Integer RawHeaderSize = 0;
  Integer RawRowAlign = 8;
  Byte RawChannelOrder = 0;
  Byte RawPlanar = 0;
  Byte RawDataFormat = 0;
  bool PsdLoadLayers = false;
  bool PsdReplaceLayers = true;
  Double HdpImageQuality = 0.9;
  bool HdpLossless = false;
  std::string XmpInfo;
  bool NativePixelFormat = false;
  // The palette of the last paletted file read (readers call FreeColorMap first).
  std::vector<TIERGBTriple> ColorMap;
};

class TIOParamsVals : public TIEMetaParams, public TIOParamsFields, public TIOParamsICC {
 public:
  // IO: the owning component, nullptr for a free-standing object.
  explicit TIOParamsVals(TZezudIdIO* Owner = nullptr);
  ~TIOParamsVals() override;

  // Every default, in declaration order (see each field).
  void SetDefaultParams();
  // Clears what describes the last picture read and keeps the writing options; every load
  // calls it before its reader.
  void ResetInfo();
  // The core's EXIF reset, then the first APP1 marker that holds an EXIF block is deleted.
  void ResetEXIF() override;
  // Copies every field; lists, metadata, profiles, palette and thumbnail as deep copies.
  void Assign(const TIOParamsVals& Source);

  void FreeColorMap();
  Integer GetColorMapCount() const { return static_cast<Integer>(ColorMap.size()); }

  // DpiX := Value, ExifXResolution := Value, and the attached view takes the resolution too.
  void SetDpiX(Integer Value) override;
  void SetDpiY(Integer Value) override;
  // ImageIndex and its five format copies.
  void SetImageIndex(Integer Value) override;
  // ImageCount and its three format copies.
  void SetImageCount(Integer Value);
  // GetThumbnail and JpegExifThumbnailOnly.
  void SetGetExifThumbnail(bool Value);
  void SetRawUseThumbnail(bool Value) { RawUseThumbnail = Value; }

  // Indexed EXIF accessors; the index is the caller's to keep in range.
  void SetExifISOSpeedRatings(Integer Index, Integer Value) { ExifISOSpeedRatings[Index] = Value; }
  Integer GetExifISOSpeedRatings(Integer Index) const { return ExifISOSpeedRatings[Index]; }
  void SetExifReferenceBlackWhite(Integer Index, Double Value) { ExifReferenceBlackWhite[Index] = Value; }
  Double GetExifReferenceBlackWhite(Integer Index) const { return ExifReferenceBlackWhite[Index]; }
  void SetExifWhitePoint(Integer Index, Double Value) { ExifWhitePoint[Index] = Value; }
  Double GetExifWhitePoint(Integer Index) const { return ExifWhitePoint[Index]; }
  void SetExifPrimaryChromaticities(Integer Index, Double Value) { ExifPrimaryChromaticities[Index] = Value; }
  Double GetExifPrimaryChromaticities(Integer Index) const { return ExifPrimaryChromaticities[Index]; }
  void SetExifYCbCrCoefficients(Integer Index, Double Value) { ExifYCbCrCoefficients[Index] = Value; }
  Double GetExifYCbCrCoefficients(Integer Index) const { return ExifYCbCrCoefficients[Index]; }

  // The profiles (InputICC, OutputICC, DefaultICC) come from TIOParamsICC with their getters.
  // The annotations, made on first use with this object as their parent and owned here.
  TIEImagingAnnot* GetImagingAnnot();
  // nullptr until made.
  TIEImagingAnnot* FindImagingAnnot() const { return FImagingAnnot.get(); }

  // The owning component (nullptr: free-standing).
  TZezudIdIO* IO = nullptr;
  // Owned containers, created with the object and emptied by the resets.
  std::unique_ptr<TStringList> GifComments;
  std::unique_ptr<TIEMarkerList> JpegMarkerList;
  std::unique_ptr<TStringList> PngTextKeys;
  std::unique_ptr<TStringList> PngTextValues;
  std::unique_ptr<TIEDICOMTags> DicomTags;
  std::unique_ptr<TIEIPTCInfoList> IPTCInfo;
  std::unique_ptr<TStringList> PxmComments;

 private:
  void ClearIPTC();

  std::unique_ptr<TIEImagingAnnot> FImagingAnnot;
};
