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
TIEExifFieldRef Ref(TIEMetaParams& Params) {
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
    {270, D::Page, K::Text, 1, 0, 0, W::Present, &Ref<&TIEMetaParams::ExifImageDescription>},
    {271, D::Page, K::Text, 1, 0, 0, W::Present, &Ref<&TIEMetaParams::ExifMake>},
    {272, D::Page, K::Text, 1, 0, 0, W::Present, &Ref<&TIEMetaParams::ExifModel>},
    {274, D::Page, K::Short, 1, 0, 1, W::Always, &Ref<&TIEMetaParams::ExifOrientation>},
    {282, D::Page, K::Rational, 1, 0, 300, W::Present, &Ref<&TIEMetaParams::ExifXResolution>},
    {283, D::Page, K::Rational, 1, 0, 300, W::Present, &Ref<&TIEMetaParams::ExifYResolution>},
    {296, D::Page, K::Short, 1, 0, 2, W::Always, &Ref<&TIEMetaParams::ExifResolutionUnit>},
    {305, D::Page, K::Text, 1, 0, 0, W::Present, &Ref<&TIEMetaParams::ExifSoftware>},
    {306, D::Page, K::Text, 1, 0, 0, W::Present, &Ref<&TIEMetaParams::ExifDateTime>},
    {315, D::Page, K::Text, 1, 0, 0, W::Present, &Ref<&TIEMetaParams::ExifArtist>},
    {318, D::Page, K::Rational, 2, -1, -1, W::Present, &Ref<&TIEMetaParams::ExifWhitePoint>},
    {319, D::Page, K::Rational, 6, -1, -1, W::Present, &Ref<&TIEMetaParams::ExifPrimaryChromaticities>},
    {529, D::Page, K::Rational, 3, -1, -1, W::Present, &Ref<&TIEMetaParams::ExifYCbCrCoefficients>},
    {531, D::Page, K::Short, 1, -1, -1, W::Present, &Ref<&TIEMetaParams::ExifYCbCrPositioning>},
    {532, D::Page, K::Rational, 6, -1, -1, W::Present, &Ref<&TIEMetaParams::ExifReferenceBlackWhite>},
    {33432, D::Page, K::Text, 1, 0, 0, W::Present, &Ref<&TIEMetaParams::ExifCopyright>},
    {18246, D::Page, K::Short, 1, -1, -1, W::NonNegative, &Ref<&TIEMetaParams::ExifRating>},
    {40091, D::Page, K::WideText, 1, 0, 0, W::Present, &Ref<&TIEMetaParams::ExifXPTitle>},
    {40092, D::Page, K::WideText, 1, 0, 0, W::Present, &Ref<&TIEMetaParams::ExifXPComment>},
    {40093, D::Page, K::WideText, 1, 0, 0, W::Present, &Ref<&TIEMetaParams::ExifXPAuthor>},
    {40094, D::Page, K::WideText, 1, 0, 0, W::Present, &Ref<&TIEMetaParams::ExifXPKeywords>},
    {40095, D::Page, K::WideText, 1, 0, 0, W::Present, &Ref<&TIEMetaParams::ExifXPSubject>},
    {33434, D::Exif, K::Rational, 1, -1, -1, W::Listed, &Ref<&TIEMetaParams::ExifExposureTime>},
    {33437, D::Exif, K::Rational, 1, -1, -1, W::Listed, &Ref<&TIEMetaParams::ExifFNumber>},
    {34850, D::Exif, K::Short, 1, -1, -1, W::Listed, &Ref<&TIEMetaParams::ExifExposureProgram>},
    {34855, D::Exif, K::Short, 2, 0, 0, W::Present, &Ref<&TIEMetaParams::ExifISOSpeedRatings>},
    {36864, D::Exif, K::InlineText, 1, 0, 0, W::Always, &Ref<&TIEMetaParams::ExifExifVersion>},
    {36867, D::Exif, K::Text, 1, 0, 0, W::Present, &Ref<&TIEMetaParams::ExifDateTimeOriginal>},
    {36868, D::Exif, K::Text, 1, 0, 0, W::Present, &Ref<&TIEMetaParams::ExifDateTimeDigitized>},
    {37122, D::Exif, K::Rational, 1, 0, 0, W::Listed, &Ref<&TIEMetaParams::ExifCompressedBitsPerPixel>},
    {37377, D::Exif, K::Rational, 1, -1, -1, W::Listed, &Ref<&TIEMetaParams::ExifShutterSpeedValue>},
    {37378, D::Exif, K::Rational, 1, -1, -1, W::Listed, &Ref<&TIEMetaParams::ExifApertureValue>},
    {37379, D::Exif, K::Rational, 1, -1000, -1000, W::Listed, &Ref<&TIEMetaParams::ExifBrightnessValue>},
    {37380, D::Exif, K::Rational, 1, -1000, -1000, W::Listed, &Ref<&TIEMetaParams::ExifExposureBiasValue>},
    {37381, D::Exif, K::Rational, 1, -1000, -1000, W::Listed, &Ref<&TIEMetaParams::ExifMaxApertureValue>},
    {37382, D::Exif, K::Rational, 1, -1, -1, W::Listed, &Ref<&TIEMetaParams::ExifSubjectDistance>},
    {37383, D::Exif, K::Short, 1, -1, -1, W::Listed, &Ref<&TIEMetaParams::ExifMeteringMode>},
    {37384, D::Exif, K::Short, 1, -1, -1, W::Listed, &Ref<&TIEMetaParams::ExifLightSource>},
    {37385, D::Exif, K::Short, 1, -1, -1, W::Listed, &Ref<&TIEMetaParams::ExifFlash>},
    {37386, D::Exif, K::Rational, 1, -1, -1, W::Listed, &Ref<&TIEMetaParams::ExifFocalLength>},
    {37520, D::Exif, K::Text, 1, 0, 0, W::Present, &Ref<&TIEMetaParams::ExifSubsecTime>},
    {37521, D::Exif, K::Text, 1, 0, 0, W::Present, &Ref<&TIEMetaParams::ExifSubsecTimeOriginal>},
    {37522, D::Exif, K::Text, 1, 0, 0, W::Present, &Ref<&TIEMetaParams::ExifSubsecTimeDigitized>},
    {40960, D::Exif, K::InlineText, 1, 0, 0, W::Present, &Ref<&TIEMetaParams::ExifFlashpixVersion>},
    {40961, D::Exif, K::Short, 1, -1, -1, W::Listed, &Ref<&TIEMetaParams::ExifColorSpace>},
    {40962, D::Exif, K::Short, 1, 0, 0, W::Listed, &Ref<&TIEMetaParams::ExifPixelXDimension>},
    {40963, D::Exif, K::Short, 1, 0, 0, W::Listed, &Ref<&TIEMetaParams::ExifPixelYDimension>},
    {40964, D::Exif, K::Text, 1, 0, 0, W::Present, &Ref<&TIEMetaParams::ExifRelatedSoundFile>},
    {41486, D::Exif, K::Rational, 1, -1, -1, W::Listed, &Ref<&TIEMetaParams::ExifFocalPlaneXResolution>},
    {41487, D::Exif, K::Rational, 1, -1, -1, W::Listed, &Ref<&TIEMetaParams::ExifFocalPlaneYResolution>},
    {41488, D::Exif, K::Short, 1, -1, -1, W::Listed, &Ref<&TIEMetaParams::ExifFocalPlaneResolutionUnit>},
    {41493, D::Exif, K::Rational, 1, -1, -1, W::Listed, &Ref<&TIEMetaParams::ExifExposureIndex>},
    {41495, D::Exif, K::Short, 1, -1, -1, W::Listed, &Ref<&TIEMetaParams::ExifSensingMethod>},
    {41728, D::Exif, K::Undefined, 1, -1, -1, W::Listed, &Ref<&TIEMetaParams::ExifFileSource>},
    {41729, D::Exif, K::Undefined, 1, -1, -1, W::Listed, &Ref<&TIEMetaParams::ExifSceneType>},
    {41986, D::Exif, K::Short, 1, -1, -1, W::Present, &Ref<&TIEMetaParams::ExifExposureMode>},
    {41987, D::Exif, K::Short, 1, -1, -1, W::Present, &Ref<&TIEMetaParams::ExifWhiteBalance>},
    {41988, D::Exif, K::Rational, 1, -1, -1, W::Present, &Ref<&TIEMetaParams::ExifDigitalZoomRatio>},
    {41989, D::Exif, K::Short, 1, -1, -1, W::Present, &Ref<&TIEMetaParams::ExifFocalLengthIn35mmFilm>},
    {41990, D::Exif, K::Short, 1, -1, -1, W::Present, &Ref<&TIEMetaParams::ExifSceneCaptureType>},
    {41991, D::Exif, K::Short, 1, -1, -1, W::Present, &Ref<&TIEMetaParams::ExifGainControl>},
    {41992, D::Exif, K::Short, 1, -1, -1, W::Present, &Ref<&TIEMetaParams::ExifContrast>},
    {41993, D::Exif, K::Short, 1, -1, -1, W::Present, &Ref<&TIEMetaParams::ExifSaturation>},
    {41994, D::Exif, K::Short, 1, -1, -1, W::Present, &Ref<&TIEMetaParams::ExifSharpness>},
    {41996, D::Exif, K::Short, 1, -1, -1, W::Present, &Ref<&TIEMetaParams::ExifSubjectDistanceRange>},
    {42016, D::Exif, K::Text, 1, 0, 0, W::Present, &Ref<&TIEMetaParams::ExifImageUniqueID>},
    {0, D::Gps, K::GpsVersion, 1, 0, 0, W::Always, &Ref<&TIEMetaParams::GpsVersionID>},
    {1, D::Gps, K::InlineText, 1, 0, 0, W::Always, &Ref<&TIEMetaParams::GpsLatitudeRef>},
    {2, D::Gps, K::Rational, 3, 0, 0, W::Always, &Ref<&TIEMetaParams::GpsLatitude>},
    {3, D::Gps, K::InlineText, 1, 0, 0, W::Always, &Ref<&TIEMetaParams::GpsLongitudeRef>},
    {4, D::Gps, K::Rational, 3, 0, 0, W::Always, &Ref<&TIEMetaParams::GpsLongitude>},
    {5, D::Gps, K::ByteText, 1, 0, 0, W::Always, &Ref<&TIEMetaParams::GpsAltitudeRef>},
    {6, D::Gps, K::Rational, 1, 0, 0, W::Always, &Ref<&TIEMetaParams::GpsAltitude>},
    {7, D::Gps, K::Rational, 3, 0, 0, W::Always, &Ref<&TIEMetaParams::GpsTimeStamp>},
    {8, D::Gps, K::Text, 1, 0, 0, W::Always, &Ref<&TIEMetaParams::GpsSatellites>},
    {9, D::Gps, K::InlineText, 1, 0, 0, W::Always, &Ref<&TIEMetaParams::GpsStatus>},
    {10, D::Gps, K::InlineText, 1, 0, 0, W::Always, &Ref<&TIEMetaParams::GpsMeasureMode>},
    {11, D::Gps, K::Rational, 1, 0, 0, W::Always, &Ref<&TIEMetaParams::GpsDOP>},
    {12, D::Gps, K::InlineText, 1, 0, 0, W::Always, &Ref<&TIEMetaParams::GpsSpeedRef>},
    {13, D::Gps, K::Rational, 1, 0, 0, W::Always, &Ref<&TIEMetaParams::GpsSpeed>},
    {14, D::Gps, K::InlineText, 1, 0, 0, W::Always, &Ref<&TIEMetaParams::GpsTrackRef>},
    {15, D::Gps, K::Rational, 1, 0, 0, W::Always, &Ref<&TIEMetaParams::GpsTrack>},
    {16, D::Gps, K::InlineText, 1, 0, 0, W::Always, &Ref<&TIEMetaParams::GpsImgDirectionRef>},
    {17, D::Gps, K::Rational, 1, 0, 0, W::Always, &Ref<&TIEMetaParams::GpsImgDirection>},
    {18, D::Gps, K::Text, 1, 0, 0, W::Always, &Ref<&TIEMetaParams::GpsMapDatum>},
    {19, D::Gps, K::InlineText, 1, 0, 0, W::Always, &Ref<&TIEMetaParams::GpsDestLatitudeRef>},
    {20, D::Gps, K::Rational, 3, 0, 0, W::Always, &Ref<&TIEMetaParams::GpsDestLatitude>},
    {21, D::Gps, K::InlineText, 1, 0, 0, W::Always, &Ref<&TIEMetaParams::GpsDestLongitudeRef>},
    {22, D::Gps, K::Rational, 3, 0, 0, W::Always, &Ref<&TIEMetaParams::GpsDestLongitude>},
    {23, D::Gps, K::InlineText, 1, 0, 0, W::Always, &Ref<&TIEMetaParams::GpsDestBearingRef>},
    {24, D::Gps, K::Rational, 1, 0, 0, W::Always, &Ref<&TIEMetaParams::GpsDestBearing>},
    {25, D::Gps, K::InlineText, 1, 0, 0, W::Always, &Ref<&TIEMetaParams::GpsDestDistanceRef>},
    {26, D::Gps, K::Rational, 1, 0, 0, W::Always, &Ref<&TIEMetaParams::GpsDestDistance>},
    {29, D::Gps, K::Text, 1, 0, 0, W::Always, &Ref<&TIEMetaParams::GpsDateStamp>},
};

}  // namespace

std::span<const TIEExifField> IEExifFields() {
  return Fields;
}

void IEExifSetAll(const TIEExifField& Field, TIEMetaParams& Params, Double Value) {
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

void IEExifCopyField(const TIEExifField& Field, TIEMetaParams& Source, TIEMetaParams& Dest) {
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

bool IEExifDiffers(const TIEExifField& Field, TIEMetaParams& Params, Double Value) {
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
