#include "imaging/core/ieexiftags.h"

#include <algorithm>
#include <type_traits>

#include "imaging/core/ieioparams.h"

namespace {

using D = TIEExifDirectory;
using K = TIEExifKind;
using W = TIEExifWrite;

// The field itself, or the first of its values for a field of several.
template <auto Member>
TIEExifFieldRef Ref(TIOParamsVals& Params) {
  auto& Field = Params.*Member;
  if constexpr (requires { Field.data(); } &&
                !std::is_same_v<std::remove_reference_t<decltype(Field)>, std::string> &&
                !std::is_same_v<std::remove_reference_t<decltype(Field)>, std::u16string>)
    return Field.data();
  else
    return &Field;
}

// Descriptive tags of the page, then the EXIF directory, then the GPS directory, each in tag
// order as written.
const TIEExifField Fields[] = {
    {270, D::Page, K::Text, 1, 0, 0, W::Present, &Ref<&TIOParamsVals::ExifImageDescription>},
    {271, D::Page, K::Text, 1, 0, 0, W::Present, &Ref<&TIOParamsVals::ExifMake>},
    {272, D::Page, K::Text, 1, 0, 0, W::Present, &Ref<&TIOParamsVals::ExifModel>},
    {274, D::Page, K::Short, 1, 0, 1, W::Always, &Ref<&TIOParamsVals::ExifOrientation>},
    {282, D::Page, K::Rational, 1, 0, 300, W::Present, &Ref<&TIOParamsVals::ExifXResolution>},
    {283, D::Page, K::Rational, 1, 0, 300, W::Present, &Ref<&TIOParamsVals::ExifYResolution>},
    {296, D::Page, K::Short, 1, 0, 2, W::Always, &Ref<&TIOParamsVals::ExifResolutionUnit>},
    {305, D::Page, K::Text, 1, 0, 0, W::Present, &Ref<&TIOParamsVals::ExifSoftware>},
    {306, D::Page, K::Text, 1, 0, 0, W::Present, &Ref<&TIOParamsVals::ExifDateTime>},
    {315, D::Page, K::Text, 1, 0, 0, W::Present, &Ref<&TIOParamsVals::ExifArtist>},
    {318, D::Page, K::Rational, 2, -1, -1, W::Present, &Ref<&TIOParamsVals::ExifWhitePoint>},
    {319, D::Page, K::Rational, 6, -1, -1, W::Present, &Ref<&TIOParamsVals::ExifPrimaryChromaticities>},
    {529, D::Page, K::Rational, 3, -1, -1, W::Present, &Ref<&TIOParamsVals::ExifYCbCrCoefficients>},
    {531, D::Page, K::Short, 1, -1, -1, W::Present, &Ref<&TIOParamsVals::ExifYCbCrPositioning>},
    {532, D::Page, K::Rational, 6, -1, -1, W::Present, &Ref<&TIOParamsVals::ExifReferenceBlackWhite>},
    {33432, D::Page, K::Text, 1, 0, 0, W::Present, &Ref<&TIOParamsVals::ExifCopyright>},
    {18246, D::Page, K::Short, 1, -1, -1, W::NonNegative, &Ref<&TIOParamsVals::ExifRating>},
    {40091, D::Page, K::WideText, 1, 0, 0, W::Present, &Ref<&TIOParamsVals::ExifXPTitle>},
    {40092, D::Page, K::WideText, 1, 0, 0, W::Present, &Ref<&TIOParamsVals::ExifXPComment>},
    {40093, D::Page, K::WideText, 1, 0, 0, W::Present, &Ref<&TIOParamsVals::ExifXPAuthor>},
    {40094, D::Page, K::WideText, 1, 0, 0, W::Present, &Ref<&TIOParamsVals::ExifXPKeywords>},
    {40095, D::Page, K::WideText, 1, 0, 0, W::Present, &Ref<&TIOParamsVals::ExifXPSubject>},
    {33434, D::Exif, K::Rational, 1, -1, -1, W::Listed, &Ref<&TIOParamsVals::ExifExposureTime>},
    {33437, D::Exif, K::Rational, 1, -1, -1, W::Listed, &Ref<&TIOParamsVals::ExifFNumber>},
    {34850, D::Exif, K::Short, 1, -1, -1, W::Listed, &Ref<&TIOParamsVals::ExifExposureProgram>},
    {34855, D::Exif, K::Short, 2, 0, 0, W::Present, &Ref<&TIOParamsVals::ExifISOSpeedRatings>},
    {36864, D::Exif, K::InlineText, 1, 0, 0, W::Always, &Ref<&TIOParamsVals::ExifExifVersion>},
    {36867, D::Exif, K::Text, 1, 0, 0, W::Present, &Ref<&TIOParamsVals::ExifDateTimeOriginal>},
    {36868, D::Exif, K::Text, 1, 0, 0, W::Present, &Ref<&TIOParamsVals::ExifDateTimeDigitized>},
    {37122, D::Exif, K::Rational, 1, 0, 0, W::Listed, &Ref<&TIOParamsVals::ExifCompressedBitsPerPixel>},
    {37377, D::Exif, K::Rational, 1, -1, -1, W::Listed, &Ref<&TIOParamsVals::ExifShutterSpeedValue>},
    {37378, D::Exif, K::Rational, 1, -1, -1, W::Listed, &Ref<&TIOParamsVals::ExifApertureValue>},
    {37379, D::Exif, K::Rational, 1, -1000, -1000, W::Listed, &Ref<&TIOParamsVals::ExifBrightnessValue>},
    {37380, D::Exif, K::Rational, 1, -1000, -1000, W::Listed, &Ref<&TIOParamsVals::ExifExposureBiasValue>},
    {37381, D::Exif, K::Rational, 1, -1000, -1000, W::Listed, &Ref<&TIOParamsVals::ExifMaxApertureValue>},
    {37382, D::Exif, K::Rational, 1, -1, -1, W::Listed, &Ref<&TIOParamsVals::ExifSubjectDistance>},
    {37383, D::Exif, K::Short, 1, -1, -1, W::Listed, &Ref<&TIOParamsVals::ExifMeteringMode>},
    {37384, D::Exif, K::Short, 1, -1, -1, W::Listed, &Ref<&TIOParamsVals::ExifLightSource>},
    {37385, D::Exif, K::Short, 1, -1, -1, W::Listed, &Ref<&TIOParamsVals::ExifFlash>},
    {37386, D::Exif, K::Rational, 1, -1, -1, W::Listed, &Ref<&TIOParamsVals::ExifFocalLength>},
    {37520, D::Exif, K::Text, 1, 0, 0, W::Present, &Ref<&TIOParamsVals::ExifSubsecTime>},
    {37521, D::Exif, K::Text, 1, 0, 0, W::Present, &Ref<&TIOParamsVals::ExifSubsecTimeOriginal>},
    {37522, D::Exif, K::Text, 1, 0, 0, W::Present, &Ref<&TIOParamsVals::ExifSubsecTimeDigitized>},
    {40960, D::Exif, K::InlineText, 1, 0, 0, W::Present, &Ref<&TIOParamsVals::ExifFlashpixVersion>},
    {40961, D::Exif, K::Short, 1, -1, -1, W::Listed, &Ref<&TIOParamsVals::ExifColorSpace>},
    {40962, D::Exif, K::Short, 1, 0, 0, W::Listed, &Ref<&TIOParamsVals::ExifPixelXDimension>},
    {40963, D::Exif, K::Short, 1, 0, 0, W::Listed, &Ref<&TIOParamsVals::ExifPixelYDimension>},
    {40964, D::Exif, K::Text, 1, 0, 0, W::Present, &Ref<&TIOParamsVals::ExifRelatedSoundFile>},
    {41486, D::Exif, K::Rational, 1, -1, -1, W::Listed, &Ref<&TIOParamsVals::ExifFocalPlaneXResolution>},
    {41487, D::Exif, K::Rational, 1, -1, -1, W::Listed, &Ref<&TIOParamsVals::ExifFocalPlaneYResolution>},
    {41488, D::Exif, K::Short, 1, -1, -1, W::Listed, &Ref<&TIOParamsVals::ExifFocalPlaneResolutionUnit>},
    {41493, D::Exif, K::Rational, 1, -1, -1, W::Listed, &Ref<&TIOParamsVals::ExifExposureIndex>},
    {41495, D::Exif, K::Short, 1, -1, -1, W::Listed, &Ref<&TIOParamsVals::ExifSensingMethod>},
    {41728, D::Exif, K::Undefined, 1, -1, -1, W::Listed, &Ref<&TIOParamsVals::ExifFileSource>},
    {41729, D::Exif, K::Undefined, 1, -1, -1, W::Listed, &Ref<&TIOParamsVals::ExifSceneType>},
    {41986, D::Exif, K::Short, 1, -1, -1, W::Present, &Ref<&TIOParamsVals::ExifExposureMode>},
    {41987, D::Exif, K::Short, 1, -1, -1, W::Present, &Ref<&TIOParamsVals::ExifWhiteBalance>},
    {41988, D::Exif, K::Rational, 1, -1, -1, W::Present, &Ref<&TIOParamsVals::ExifDigitalZoomRatio>},
    {41989, D::Exif, K::Short, 1, -1, -1, W::Present, &Ref<&TIOParamsVals::ExifFocalLengthIn35mmFilm>},
    {41990, D::Exif, K::Short, 1, -1, -1, W::Present, &Ref<&TIOParamsVals::ExifSceneCaptureType>},
    {41991, D::Exif, K::Short, 1, -1, -1, W::Present, &Ref<&TIOParamsVals::ExifGainControl>},
    {41992, D::Exif, K::Short, 1, -1, -1, W::Present, &Ref<&TIOParamsVals::ExifContrast>},
    {41993, D::Exif, K::Short, 1, -1, -1, W::Present, &Ref<&TIOParamsVals::ExifSaturation>},
    {41994, D::Exif, K::Short, 1, -1, -1, W::Present, &Ref<&TIOParamsVals::ExifSharpness>},
    {41996, D::Exif, K::Short, 1, -1, -1, W::Present, &Ref<&TIOParamsVals::ExifSubjectDistanceRange>},
    {42016, D::Exif, K::Text, 1, 0, 0, W::Present, &Ref<&TIOParamsVals::ExifImageUniqueID>},
    {0, D::Gps, K::GpsVersion, 1, 0, 0, W::Always, &Ref<&TIOParamsVals::GpsVersionID>},
    {1, D::Gps, K::InlineText, 1, 0, 0, W::Always, &Ref<&TIOParamsVals::GpsLatitudeRef>},
    {2, D::Gps, K::Rational, 3, 0, 0, W::Always, &Ref<&TIOParamsVals::GpsLatitude>},
    {3, D::Gps, K::InlineText, 1, 0, 0, W::Always, &Ref<&TIOParamsVals::GpsLongitudeRef>},
    {4, D::Gps, K::Rational, 3, 0, 0, W::Always, &Ref<&TIOParamsVals::GpsLongitude>},
    {5, D::Gps, K::ByteText, 1, 0, 0, W::Always, &Ref<&TIOParamsVals::GpsAltitudeRef>},
    {6, D::Gps, K::Rational, 1, 0, 0, W::Always, &Ref<&TIOParamsVals::GpsAltitude>},
    {7, D::Gps, K::Rational, 3, 0, 0, W::Always, &Ref<&TIOParamsVals::GpsTimeStamp>},
    {8, D::Gps, K::Text, 1, 0, 0, W::Always, &Ref<&TIOParamsVals::GpsSatellites>},
    {9, D::Gps, K::InlineText, 1, 0, 0, W::Always, &Ref<&TIOParamsVals::GpsStatus>},
    {10, D::Gps, K::InlineText, 1, 0, 0, W::Always, &Ref<&TIOParamsVals::GpsMeasureMode>},
    {11, D::Gps, K::Rational, 1, 0, 0, W::Always, &Ref<&TIOParamsVals::GpsDOP>},
    {12, D::Gps, K::InlineText, 1, 0, 0, W::Always, &Ref<&TIOParamsVals::GpsSpeedRef>},
    {13, D::Gps, K::Rational, 1, 0, 0, W::Always, &Ref<&TIOParamsVals::GpsSpeed>},
    {14, D::Gps, K::InlineText, 1, 0, 0, W::Always, &Ref<&TIOParamsVals::GpsTrackRef>},
    {15, D::Gps, K::Rational, 1, 0, 0, W::Always, &Ref<&TIOParamsVals::GpsTrack>},
    {16, D::Gps, K::InlineText, 1, 0, 0, W::Always, &Ref<&TIOParamsVals::GpsImgDirectionRef>},
    {17, D::Gps, K::Rational, 1, 0, 0, W::Always, &Ref<&TIOParamsVals::GpsImgDirection>},
    {18, D::Gps, K::Text, 1, 0, 0, W::Always, &Ref<&TIOParamsVals::GpsMapDatum>},
    {19, D::Gps, K::InlineText, 1, 0, 0, W::Always, &Ref<&TIOParamsVals::GpsDestLatitudeRef>},
    {20, D::Gps, K::Rational, 3, 0, 0, W::Always, &Ref<&TIOParamsVals::GpsDestLatitude>},
    {21, D::Gps, K::InlineText, 1, 0, 0, W::Always, &Ref<&TIOParamsVals::GpsDestLongitudeRef>},
    {22, D::Gps, K::Rational, 3, 0, 0, W::Always, &Ref<&TIOParamsVals::GpsDestLongitude>},
    {23, D::Gps, K::InlineText, 1, 0, 0, W::Always, &Ref<&TIOParamsVals::GpsDestBearingRef>},
    {24, D::Gps, K::Rational, 1, 0, 0, W::Always, &Ref<&TIOParamsVals::GpsDestBearing>},
    {25, D::Gps, K::InlineText, 1, 0, 0, W::Always, &Ref<&TIOParamsVals::GpsDestDistanceRef>},
    {26, D::Gps, K::Rational, 1, 0, 0, W::Always, &Ref<&TIOParamsVals::GpsDestDistance>},
    {29, D::Gps, K::Text, 1, 0, 0, W::Always, &Ref<&TIOParamsVals::GpsDateStamp>},
};

}  // namespace

std::span<const TIEExifField> IEExifFields() {
  return Fields;
}

void IEExifSetAll(const TIEExifField& Field, TIOParamsVals& Params, Double Value) {
  std::visit(
      [&](auto* Values) {
        using T = std::remove_pointer_t<decltype(Values)>;
        if constexpr (std::is_arithmetic_v<T>)
          for (Integer I = 0; I < Field.Count; ++I) Values[I] = static_cast<T>(Value);
        else
          Values->clear();
      },
      Field.Field(Params));
}

void IEExifCopyField(const TIEExifField& Field, TIOParamsVals& Source, TIOParamsVals& Dest) {
  std::visit(
      [&](auto* From) {
        using T = std::remove_pointer_t<decltype(From)>;
        T* To = std::get<T*>(Field.Field(Dest));
        if constexpr (std::is_arithmetic_v<T>)
          std::copy_n(From, Field.Count, To);
        else
          *To = *From;
      },
      Field.Field(Source));
}

bool IEExifDiffers(const TIEExifField& Field, TIOParamsVals& Params, Double Value) {
  return std::visit(
      [&](auto* Values) {
        using T = std::remove_pointer_t<decltype(Values)>;
        if constexpr (std::is_arithmetic_v<T>) {
          for (Integer I = 0; I < Field.Count; ++I)
            if (Values[I] != static_cast<T>(Value)) return true;
          return false;
        } else {
          return !Values->empty();
        }
      },
      Field.Field(Params));
}
