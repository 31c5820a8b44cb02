// JpegWriteStream: the parameters' options to the codec, the kept markers after the codec's
// own, then the rows.
#include <algorithm>
#include <memory>
#include <vector>

#include "imaging/core/hyieutils.h"
#include "imaging/core/iebitmap.h"
#include "imaging/core/iemarkerlist.h"
#include "imaging/io/ieioprogress.h"
#include "imaging/io/jpegfilt.h"
#include "imaging/io/jpegfiltcodec.h"
#include "imaging/io/jpegfiltrows.h"
#include "imaging/io/zezudidioparams.h"

namespace {

// The Adobe marker: the codec writes its own for the colour spaces that need it.
constexpr Byte AdobeMarker = 0xEE;

// The codec's compressor with its error manager; destroyed, and its destination freed, however
// the write ends.
class TCompressor {
 public:
  explicit TCompressor(bool* Aborting) {
    JpegInitErrorManager(FErrors, Aborting);
    FInfo.err = &FErrors.Pub;
  }
  ~TCompressor() {
    if (FCreated) jpeg_destroy_compress(&FInfo);
    if (FInfo.dest != nullptr) JpegFreeStreamDestination(&FInfo);
  }
  TCompressor(const TCompressor&) = delete;
  TCompressor& operator=(const TCompressor&) = delete;

  bool Create() { return FCreated = JpegStepCreateCompress(&FInfo); }
  jpeg_compress_struct* Info() { return &FInfo; }
  const JpegErrorManager& Errors() const { return FErrors; }

 private:
  jpeg_compress_struct FInfo{};
  JpegErrorManager FErrors;
  bool FCreated = false;
};

J_COLOR_SPACE OutputSpace(Byte JpegColorSpace) {
  switch (JpegColorSpace) {
    case 1:
      return JCS_GRAYSCALE;
    case 2:
      return JCS_YCbCr;
    case 3:
      return JCS_CMYK;
    case 4:
      return JCS_YCCK;
    default:
      return JCS_RGB;
  }
}

UINT16 Density(Integer Dpi, Integer Default) {
  return static_cast<UINT16>(std::clamp(Dpi != 0 ? Dpi : Default, 1, 65535));
}

// The options that are plain fields of the codec's record, after its defaults.
void ApplyOptions(jpeg_compress_struct& Info, const TIOParamsVals& IOParams) {
  Info.density_unit = 1;  // dots per inch
  Info.X_density = Density(IOParams.DpiX, DefaultDpiX);
  Info.Y_density = Density(IOParams.DpiY, DefaultDpiY);
  if (IOParams.JpegDCTMethod <= 2) Info.dct_method = static_cast<J_DCT_METHOD>(IOParams.JpegDCTMethod);
  Info.optimize_coding = IOParams.JpegOptimalHuffman ? TRUE : FALSE;
  Info.smoothing_factor = std::clamp(IOParams.JpegSmooth, 0, 100);
}

void SetLuminanceSampling(jpeg_compress_struct& Info, Byte Choice) {
  static constexpr int Factors[3][2] = {{2, 1}, {2, 2}, {1, 1}};
  if (Choice > 2) return;
  Info.comp_info[0].h_samp_factor = Factors[Choice][0];
  Info.comp_info[0].v_samp_factor = Factors[Choice][1];
  for (int I = 1; I < 3; ++I) Info.comp_info[I].h_samp_factor = Info.comp_info[I].v_samp_factor = 1;
}

// Sorted as the list sorts them, without the Adobe marker.
bool WriteMarkers(jpeg_compress_struct& Info, TIEMarkerList& Markers) {
  Markers.SortMarkers();
  for (Integer I = 0; I < Markers.Count(); ++I) {
    if (Markers.GetMarkerType(I) == AdobeMarker) continue;
    if (!JpegStepWriteMarker(&Info, Markers.GetMarkerType(I), Markers.GetMarkerData(I),
                             static_cast<unsigned int>(Markers.GetMarkerLength(I))))
      return false;
  }
  return true;
}

// The rows, B-G-R straight from the bitmap or converted to CMYK; false on a codec error.
bool WriteRows(jpeg_compress_struct& Info, TIEBitmap* Bitmap, TIOParamsVals& IOParams,
               TIEIOProgress& Progress) {
  const bool CMYKInput = Info.in_color_space == JCS_CMYK;
  const Integer Width = Bitmap->GetWidth();
  const auto Height = static_cast<Integer>(Info.image_height);
  std::vector<Byte> Buffer(CMYKInput ? static_cast<size_t>(Width) * 4 : 0);
  IEStartProgress(Progress, Height);
  Integer LastPercent = -1;
  while (static_cast<Integer>(Info.next_scanline) < Height) {
    const auto Y = static_cast<Integer>(Info.next_scanline);
    auto* Row = static_cast<Byte*>(Bitmap->GetScanline(Y));
    if (CMYKInput) JpegBGRRowToCMYK(Row, Buffer.data(), Width, IOParams);
    JSAMPROW Source = CMYKInput ? Buffer.data() : Row;
    if (!JpegStepWriteRows(&Info, &Source, 1)) return false;
    Progress.Counter = Y + 1;
    const auto Percent = static_cast<Integer>(Progress.Counter * Progress.Factor);
    if (Progress.OnProgress && Percent != LastPercent) {
      LastPercent = Percent;
      IEReportProgress(Progress, Progress.Counter);
    }
    if (IEIsAborting(Progress)) break;
  }
  return true;
}

// Everything between creating and destroying the compressor; false on a codec error.
bool Compress(jpeg_compress_struct& Info, TStream* Stream, TIEBitmap* Bitmap, TIOParamsVals& IOParams,
              TIEIOProgress& Progress) {
  JpegStreamDestination(&Info, Stream, Progress.Aborting);
  if (IEIsAborting(Progress)) return true;
  Info.image_width = static_cast<JDIMENSION>(Bitmap->GetWidth());
  Info.image_height = static_cast<JDIMENSION>(Bitmap->GetHeight());
  const J_COLOR_SPACE Output = OutputSpace(IOParams.JpegColorSpace);
  const bool CMYKInput = Output == JCS_CMYK || Output == JCS_YCCK;
  Info.input_components = CMYKInput ? 4 : 3;
  Info.in_color_space = CMYKInput ? JCS_CMYK : JCS_EXT_BGR;
  if (!JpegStepSetDefaults(&Info, Output)) return false;
  ApplyOptions(Info, IOParams);
  if (!JpegStepSetQuality(&Info, IOParams.JpegQuality)) return false;
  if (Output == JCS_YCbCr) SetLuminanceSampling(Info, IOParams.JpegChromaSubsampling);
  // The codec's CMYK setting drops the JFIF header; CMYK files keep it, YCCK files do not.
  if (Output == JCS_CMYK) Info.write_JFIF_header = TRUE;
  if (IOParams.JpegProgressive && !JpegStepSimpleProgression(&Info)) return false;
  if (!JpegStepStartCompress(&Info) || !WriteMarkers(Info, *IOParams.JpegMarkerList)) return false;
  if (!WriteRows(Info, Bitmap, IOParams, Progress)) return false;
  return IEIsAborting(Progress) || JpegStepFinishCompress(&Info);
}

}  // namespace

void JpegWriteStream(TStream* Stream, TIEBitmap* Bitmap, TIOParamsVals& IOParams, TIEIOProgress& Progress) {
  std::unique_ptr<TIEBitmap> Converted;
  if (Bitmap->GetPixelFormat() != ie24RGB) {
    Converted = std::make_unique<TIEBitmap>();
    Converted->Assign(Bitmap);
    Converted->SetPixelFormat(ie24RGB);
    Bitmap = Converted.get();
  }
  if (Bitmap->GetWidth() == 0 || Bitmap->GetHeight() == 0) {
    IESetAborting(Progress);
    return;
  }
  Integer ErrorCode = 0;
  {
    TCompressor Compressor(Progress.Aborting);
    if (Compressor.Create() && Compress(*Compressor.Info(), Stream, Bitmap, IOParams, Progress)) return;
    ErrorCode = Compressor.Errors().ErrorCode;
  }
  throw EIEJpegException(JpegMessageText(ErrorCode));
}
