#include "imaging/io/zezudidioparams.h"

#include "imaging/core/hyieutils.h"
#include "imaging/core/iebitmap.h"
#include "imaging/core/ieexif.h"
#include "imaging/core/ieexiftags.h"
#include "imaging/core/ieimagingannot.h"
#include "imaging/core/ieiptc.h"
#include "imaging/core/ielists.h"
#include "imaging/core/iemarkerlist.h"
#include "imaging/io/ieiolibrary.h"
#include "imaging/io/ieview.h"
#include "imaging/io/zezudidio.h"
#include "platform/classes/Bitmap.h"
#include "platform/system/DateTime.h"
#include "platform/system/StringList.h"

namespace {

// The attached image view takes a new resolution without repainting.
template <class SetDpi>
void TellImageView(TZezudIdIO* IO, SetDpi Set) {
  TIEView* View = IO ? IO->GetAttachedZezudId() : nullptr;
  if (!View || !View->IsImageView()) return;
  View->LockUpdate();
  Set(*View);
  View->UnlockUpdateNoRefresh();
}

// Dest, made when missing, receives a copy of Source; without Source it is freed.
template <class T, class Make>
void CopyOwned(std::unique_ptr<T>& Dest, const std::unique_ptr<T>& Source, Make MakeEmpty) {
  if (!Source) {
    Dest.reset();
    return;
  }
  if (!Dest) Dest = MakeEmpty();
  Dest->Assign(Source.get());
}

}  // namespace

TIOParamsVals::TIOParamsVals(TZezudIdIO* Owner)
    : IO(Owner),
      GifComments(std::make_unique<TStringList>()),
      JpegMarkerList(std::make_unique<TIEMarkerList>()),
      PngTextKeys(std::make_unique<TStringList>()),
      PngTextValues(std::make_unique<TStringList>()),
      DicomTags(std::make_unique<TIEDICOMTags>()),
      IPTCInfo(std::make_unique<TIEIPTCInfoList>()),
      PxmComments(std::make_unique<TStringList>()) {
  SetDefaultParams();
}

TIOParamsVals::~TIOParamsVals() = default;

void TIOParamsVals::SetDefaultParams() {
  // The plain values come from one fresh TIOParamsFields; what a reset keeps or takes from
  // elsewhere is put back or set after it.
  const Integer KeptWidth = Width, KeptHeight = Height;
  const Integer KeptWarningTotal = JpegWarningTotal, KeptWarningCode = JpegWarningCode;
  static_cast<TIOParamsFields&>(*this) = TIOParamsFields{};
  JpegWarningTotal = KeptWarningTotal;
  JpegWarningCode = KeptWarningCode;
  Width = KeptWidth;
  Height = KeptHeight;
  if (IO) {
    if (TBitmap* Bitmap = IO->GetBitmap()) {
      Width = Bitmap->GetWidth();
      Height = Bitmap->GetHeight();
    }
    SetDpiX(DefaultDpiX);
    SetDpiY(DefaultDpiY);
  }
  GifComments->Clear();
  TiffCompression = 0;
  TiffImageDescription.clear();
  SetTiffOrientation(1);
  TiffLzwDecompressProc = IETiffLzwDecompressProc;
  TiffLzwCompressProc = IETiffLzwCompressProc;
  GifLzwDecompressProc = IEGifLzwDecompressProc;
  GifLzwCompressProc = IEGifLzwCompressProc;
  JpegMarkerList->Clear();
  SetGetExifThumbnail(false);
  SetImageIndex(0);
  PngTextKeys->Clear();
  PngTextValues->Clear();
  DicomTags->Clear();
  TgaDate = Date();
  ClearIPTC();
  PxmComments->Clear();
  ResetEXIF();
  FImagingAnnot.reset();
  InputICC.reset();
  OutputICC.reset();
  DefaultICC.reset();
}

// A reset is no edit of the user's: a save must not take the emptied list for one and drop an
// APP13 block the reader did not turn into datasets.
void TIOParamsVals::ClearIPTC() {
  IPTCInfo->Clear();
  IPTCInfo->SetUserChanged(false);
}

void TIOParamsVals::ResetInfo() {
  ClearIPTC();
  FImagingAnnot.reset();
  JpegMarkerList->Clear();
  ResetEXIF();
  GifComments->Clear();
  DicomTags->Clear();
  PngTextKeys->Clear();
  PngTextValues->Clear();
  TiffDocumentName.clear();
  TiffImageDescription.clear();
  TiffPageName.clear();
  TgaDescriptor.clear();
  TgaAuthor.clear();
  TgaImageName.clear();
  PxmComments->Clear();
  XmpInfo.clear();
  InputICC.reset();
}

void TIOParamsVals::ResetEXIF() {
  TIEMetaParams::ResetEXIF();
  // Only the first EXIF block goes: a second one is kept as the file had it.
  for (Integer I = 0; I < JpegMarkerList->Count(); ++I) {
    if (JpegMarkerList->GetMarkerType(I) == IEJpegAPP1 &&
        IEIsEXIFBlock(JpegMarkerList->GetMarkerData(I), JpegMarkerList->GetMarkerLength(I))) {
      JpegMarkerList->DeleteMarker(I);
      break;
    }
  }
}

void TIOParamsVals::Assign(const TIOParamsVals& Source) {
  if (&Source == this) return;
  // The core's EXIF table reads through non-const references; it changes nothing in Source.
  auto& From = const_cast<TIOParamsVals&>(Source);
  static_cast<TIOParamsFields&>(*this) = Source;
  SetDpiX(Source.DpiX);
  SetDpiY(Source.DpiY);
  TiffCompression = Source.TiffCompression;
  TiffImageDescription = Source.TiffImageDescription;
  SetImageIndex(Source.ImageIndex);
  SetTiffOrientation(Source.TiffOrientation);
  SetGetExifThumbnail(Source.GetThumbnail);

  for (const auto& Field : IEExifFields()) IEExifCopyField(Field, From, *this);
  ExifUserComment = Source.ExifUserComment;
  ExifUserCommentCode = Source.ExifUserCommentCode;
  ExifTags = Source.ExifTags;
  ExifPresent = Source.ExifPresent;
  GetExifMakerNote().Assign(&Source.GetExifMakerNote());
  if (TIEBitmap* Thumbnail = Source.GetExifThumbnail())
    ExifThumbnailNeeded()->Assign(Thumbnail);
  else
    FreeExifThumbnail();

  GifComments->Assign(Source.GifComments.get());
  PngTextKeys->Assign(Source.PngTextKeys.get());
  PngTextValues->Assign(Source.PngTextValues.get());
  PxmComments->Assign(Source.PxmComments.get());
  JpegMarkerList->Assign(Source.JpegMarkerList.get());
  IPTCInfo->Assign(Source.IPTCInfo.get());
  DicomTags->Assign(Source.DicomTags.get());
  CopyOwned(FImagingAnnot, Source.FImagingAnnot, [this] { return std::make_unique<TIEImagingAnnot>(this); });
  const auto MakeProfile = [] { return std::make_unique<TIEICC>(); };
  CopyOwned(InputICC, Source.InputICC, MakeProfile);
  CopyOwned(OutputICC, Source.OutputICC, MakeProfile);
  CopyOwned(DefaultICC, Source.DefaultICC, MakeProfile);
}

void TIOParamsVals::FreeColorMap() {
  ColorMap.clear();
  ColorMap.shrink_to_fit();
}

void TIOParamsVals::SetDpiX(Integer Value) {
  TIEMetaParams::SetDpiX(Value);
  TellImageView(IO, [Value](TIEView& View) { View.SetDpiX(Value); });
}

void TIOParamsVals::SetDpiY(Integer Value) {
  TIEMetaParams::SetDpiY(Value);
  TellImageView(IO, [Value](TIEView& View) { View.SetDpiY(Value); });
}

void TIOParamsVals::SetImageIndex(Integer Value) {
  TIEMetaParams::SetImageIndex(Value);
  DcxImageIndex = GifImageIndex = IcoImageIndex = CurImageIndex = Value;
}

void TIOParamsVals::SetImageCount(Integer Value) {
  ImageCount = TiffImageCount = GifImageCount = AviFrameCount = Value;
}

void TIOParamsVals::SetGetExifThumbnail(bool Value) {
  GetThumbnail = JpegExifThumbnailOnly = Value;
}

TIEImagingAnnot* TIOParamsVals::GetImagingAnnot() {
  if (!FImagingAnnot) FImagingAnnot = std::make_unique<TIEImagingAnnot>(this);
  return FImagingAnnot.get();
}
