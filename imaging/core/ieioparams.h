#pragma once
// The part of the input/output parameters (TIOParamsVals) the core's metadata routines read
// and write: the EXIF and GPS values with their absent values, the list of EXIF tags present, the maker note
// and thumbnail, and the few picture and TIFF fields the EXIF code reads or keeps in step (resolution,
// orientation, description, the page index and compression the TIFF procedures take). The input/output
// library's full parameter object TIOParamsVals is this one grown by the fields of every format; the setters
// it extends are virtual so that the core's routines reach its versions.
#include <array>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "imaging/core/iemakernote.h"
#include "platform/system/Object.h"
#include "platform/system/Types.h"

class TIEBitmap;

class TIEMetaParams : public TObject {
 public:
  TIEMetaParams();
  ~TIEMetaParams() override;
  TIEMetaParams(const TIEMetaParams&) = delete;
  TIEMetaParams& operator=(const TIEMetaParams&) = delete;

  // Every EXIF and GPS value to its absent value; no tags listed, no thumbnail, empty maker note.
  virtual void ResetEXIF();

  // Picture and TIFF fields.
  Integer DpiX = 0;
  Integer DpiY = 0;
  Integer ImageIndex = 0;
  Integer TiffImageIndex = 0;
  Integer TiffCompression = 0;  // the library's code; 6 writes old-style JPEG
  Integer TiffOrientation = 1;
  std::string TiffImageDescription;
  // DpiX := Value and ExifXResolution := Value.
  virtual void SetDpiX(Integer Value);
  virtual void SetDpiY(Integer Value);
  // The DPI setter (virtual, so a derived object's runs) with the integer part; the EXIF value
  // keeps Value.
  void SetExifXResolution(Double Value);
  void SetExifYResolution(Double Value);
  virtual void SetImageIndex(Integer Value);
  // Both write TiffOrientation and ExifOrientation.
  void SetTiffOrientation(Integer Value);
  void SetExifOrientation(Integer Value);

  // The thumbnail, created empty on first call; GetExifThumbnail may be nil.
  TIEBitmap* ExifThumbnailNeeded();
  TIEBitmap* GetExifThumbnail() const { return FExifThumbnail.get(); }
  void FreeExifThumbnail();
  TIETagsHandler& GetExifMakerNote() { return FExifMakerNote; }
  const TIETagsHandler& GetExifMakerNote() const { return FExifMakerNote; }

  // The tags whose value is present; writers write the "listed" tags only when they are here.
  void AddExifTag(Integer Tag);
  void RemoveExifTag(Integer Tag);
  bool HasExifTag(Integer Tag) const;
  std::vector<Integer> ExifTags;

  // Presence-tracking setters: the tag is listed exactly when the value is not its absent one.
  void SetExifExposureTime(Double Value) { SetListed(ExifExposureTime, Value, 33434, -1); }
  void SetExifFNumber(Double Value) { SetListed(ExifFNumber, Value, 33437, -1); }
  void SetExifExposureProgram(Integer Value) { SetListed(ExifExposureProgram, Value, 34850, -1); }
  void SetExifCompressedBitsPerPixel(Double Value) { SetListed(ExifCompressedBitsPerPixel, Value, 37122, 0); }
  void SetExifShutterSpeedValue(Double Value) { SetListed(ExifShutterSpeedValue, Value, 37377, -1); }
  void SetExifApertureValue(Double Value) { SetListed(ExifApertureValue, Value, 37378, -1); }
  void SetExifBrightnessValue(Double Value) { SetListed(ExifBrightnessValue, Value, 37379, -1000); }
  void SetExifExposureBiasValue(Double Value) { SetListed(ExifExposureBiasValue, Value, 37380, -1000); }
  void SetExifMaxApertureValue(Double Value) { SetListed(ExifMaxApertureValue, Value, 37381, -1000); }
  void SetExifSubjectDistance(Double Value) { SetListed(ExifSubjectDistance, Value, 37382, -1); }
  void SetExifMeteringMode(Integer Value) { SetListed(ExifMeteringMode, Value, 37383, -1); }
  void SetExifLightSource(Integer Value) { SetListed(ExifLightSource, Value, 37384, -1); }
  void SetExifFlash(Integer Value) { SetListed(ExifFlash, Value, 37385, -1); }
  void SetExifFocalLength(Double Value) { SetListed(ExifFocalLength, Value, 37386, -1); }
  void SetExifColorSpace(Integer Value) { SetListed(ExifColorSpace, Value, 40961, -1); }
  void SetExifPixelXDimension(Integer Value) { SetListed(ExifPixelXDimension, Value, 40962, 0); }
  void SetExifPixelYDimension(Integer Value) { SetListed(ExifPixelYDimension, Value, 40963, 0); }
  void SetExifFocalPlaneXResolution(Double Value) { SetListed(ExifFocalPlaneXResolution, Value, 41486, -1); }
  void SetExifFocalPlaneYResolution(Double Value) { SetListed(ExifFocalPlaneYResolution, Value, 41487, -1); }
  void SetExifFocalPlaneResolutionUnit(Integer Value) {
    SetListed(ExifFocalPlaneResolutionUnit, Value, 41488, -1);
  }
  void SetExifExposureIndex(Double Value) { SetListed(ExifExposureIndex, Value, 41493, -1); }
  void SetExifSensingMethod(Integer Value) { SetListed(ExifSensingMethod, Value, 41495, -1); }
  void SetExifFileSource(Integer Value) { SetListed(ExifFileSource, Value, 41728, -1); }
  void SetExifSceneType(Integer Value) { SetListed(ExifSceneType, Value, 41729, -1); }

  // EXIF values (absent values after ResetEXIF in brackets where not 0 or empty).
  bool ExifPresent = false;
  Integer ExifOrientation = 0;
  std::string ExifImageDescription, ExifMake, ExifModel;
  Double ExifXResolution = 0, ExifYResolution = 0;
  Integer ExifResolutionUnit = 0;
  std::string ExifSoftware, ExifArtist, ExifDateTime;
  std::array<Double, 2> ExifWhitePoint{};             // (-1)
  std::array<Double, 6> ExifPrimaryChromaticities{};  // (-1)
  std::array<Double, 3> ExifYCbCrCoefficients{};      // (-1)
  Integer ExifYCbCrPositioning = -1;
  std::array<Double, 6> ExifReferenceBlackWhite{};  // (-1)
  std::string ExifCopyright;
  Double ExifExposureTime = -1, ExifFNumber = -1;
  Integer ExifExposureProgram = -1;
  std::array<Integer, 2> ExifISOSpeedRatings{};
  std::string ExifExifVersion, ExifDateTimeOriginal, ExifDateTimeDigitized;
  Double ExifCompressedBitsPerPixel = 0;
  Double ExifShutterSpeedValue = -1, ExifApertureValue = -1;
  Double ExifBrightnessValue = -1000, ExifExposureBiasValue = -1000, ExifMaxApertureValue = -1000;
  Double ExifSubjectDistance = -1;
  Integer ExifMeteringMode = -1, ExifLightSource = -1, ExifFlash = -1;
  Double ExifFocalLength = -1;
  std::string ExifSubsecTime, ExifSubsecTimeOriginal, ExifSubsecTimeDigitized, ExifFlashpixVersion;
  Integer ExifColorSpace = -1;
  Integer ExifPixelXDimension = 0, ExifPixelYDimension = 0;
  std::string ExifRelatedSoundFile;
  Double ExifFocalPlaneXResolution = -1, ExifFocalPlaneYResolution = -1;
  Integer ExifFocalPlaneResolutionUnit = -1;
  Double ExifExposureIndex = -1;
  Integer ExifSensingMethod = -1, ExifFileSource = -1, ExifSceneType = -1;
  std::u16string ExifUserComment;
  std::string ExifUserCommentCode;  // 8 characters, "UNICODE" or "ASCII" filled with zeros
  Integer ExifRating = -1;
  std::u16string ExifXPTitle, ExifXPComment, ExifXPAuthor, ExifXPKeywords, ExifXPSubject;
  Integer ExifExposureMode = -1, ExifWhiteBalance = -1;
  Double ExifDigitalZoomRatio = -1;
  Integer ExifFocalLengthIn35mmFilm = -1, ExifSceneCaptureType = -1, ExifGainControl = -1, ExifContrast = -1,
          ExifSaturation = -1, ExifSharpness = -1, ExifSubjectDistanceRange = -1;
  std::string ExifImageUniqueID;

  // GPS values; the GPS directory is written when GpsVersionID is not empty.
  std::string GpsVersionID, GpsLatitudeRef, GpsLongitudeRef, GpsAltitudeRef;
  std::array<Double, 3> GpsLatitude{}, GpsLongitude{}, GpsTimeStamp{};
  Double GpsAltitude = 0;
  std::string GpsSatellites, GpsStatus, GpsMeasureMode;
  Double GpsDOP = 0;
  std::string GpsSpeedRef, GpsTrackRef, GpsImgDirectionRef, GpsMapDatum;
  Double GpsSpeed = 0, GpsTrack = 0, GpsImgDirection = 0;
  std::string GpsDestLatitudeRef, GpsDestLongitudeRef, GpsDestBearingRef, GpsDestDistanceRef;
  std::array<Double, 3> GpsDestLatitude{}, GpsDestLongitude{};
  Double GpsDestBearing = 0, GpsDestDistance = 0;
  std::string GpsDateStamp;

 private:
  template <class T>
  void SetListed(T& Field, T Value, Integer Tag, std::type_identity_t<T> Absent) {
    Field = Value;
    if (Value != Absent)
      AddExifTag(Tag);
    else
      RemoveExifTag(Tag);
  }

  std::unique_ptr<TIEBitmap> FExifThumbnail;
  TIETagsHandler FExifMakerNote;
};
