#pragma once
// TIEICC: one ICC colour profile (its raw bytes, the profile opened by the colour-management
// library, its notice and description texts) with a cached transform to another profile, and
// the pixel-row and whole-bitmap conversions between two profiles. Colour management is Little
// CMS 2, linked into the library, so it is always there.
#include <memory>
#include <string>
#include <vector>

#include "imaging/core/hyiedefs.h"
#include "platform/system/Object.h"
#include "platform/system/Types.h"

class TIEBitmap;
class TStream;

// Pixel codes of TIEICC::Transform and the colour layouts of the row conversion.
constexpr Integer iecRGB = 0;       // 3 bytes red, green, blue
constexpr Integer iecBGR = 1;       // TIERGBTriple
constexpr Integer iecCMYK = 2;      // the stored CMYK pixel (255 minus each ink)
constexpr Integer iecCMYK6 = 3;     // C, M, Y, K not inverted, then 2 bytes skipped
constexpr Integer iecCIELab = 4;    // TIECIELabPixel
constexpr Integer iecGray = 5;      // 1 byte
constexpr Integer iecRGB48 = 6;     // three 16-bit values in host (little-endian) order
constexpr Integer iecRGB48BE = 7;   // three 16-bit values stored big-endian
constexpr Integer iec3Channel = 8;  // 3 bytes of any three-channel space
constexpr Integer iecCodeCount = 9;

// True when the colour-management library is available: always here.
inline bool IELoadMSCMS() {
  return true;
}

class TIEICC : public TObject {
 public:
  TIEICC();
  ~TIEICC() override;
  TIEICC(const TIEICC&) = delete;
  TIEICC& operator=(const TIEICC&) = delete;

  // Clears, copies Length bytes of Data and opens them.
  void LoadFromBuffer(const void* Data, Integer Length);
  // Clears, copies Source's raw bytes and opens them; an sRGB opened by name, which has no bytes,
  // is opened by name again.
  void Assign(const TIEICC* Source);
  // Closes the profile and its transform, frees the raw bytes, clears the applied flag.
  void Clear();
  bool IsValid() const { return FProfile != nullptr; }
  // The 32-bit little-endian length first unless RawOnly, then the raw bytes.
  void SaveToStream(TStream* Stream, bool RawOnly) const;
  // Opens the raw bytes and reads the texts; a profile the library refuses stays closed.
  void OpenProfile();
  // Frees the transform and closes the profile; the raw bytes stay.
  void CloseProfile();
  // Clears and opens the library's own sRGB profile; it holds no raw bytes.
  void OpenSRGB();

  bool IsTransformReady() const { return FTransform != nullptr; }
  // Deletes the transform; a deleted transform sets the applied flag.
  void FreeTransform();
  // Converts Count pixels from InputCode in Input to OutputCode in Output through a transform
  // from this profile to Dest's, made on first use and kept while the codes, intent and flags
  // (and Dest) stay the same. Input is never written. False when no transform can be made.
  bool Transform(TIEICC* Dest, Integer InputCode, Integer OutputCode, Integer Intent, Integer Flags,
                 const void* Input, void* Output, Integer Count);
  // Replaces Bitmap by its pixels converted from this profile to DestProfile in
  // DestPixelFormat (ie8g, ie24RGB, ieCMYK, ieRGB48 or ieCIELab, from one of them). False, with
  // Bitmap as it was, for any other format or when the profiles give no transform.
  bool ConvertBitmap(TIEBitmap* Bitmap, TIEPixelFormat DestPixelFormat, TIEICC* DestProfile);

  const Byte* GetRaw() const { return FRaw.data(); }
  Integer GetRawLength() const { return static_cast<Integer>(FRaw.size()); }
  // The "cprt" and "desc" texts of the raw profile.
  const std::string& GetCopyright() const { return FCopyright; }
  const std::string& GetDescription() const { return FDescription; }
  // A transform of this profile was used and freed since the last Clear.
  bool GetApplied() const { return FApplied; }

 private:
  void ParseInfo();

  std::vector<Byte> FRaw;
  void* FProfile = nullptr;    // cmsHPROFILE
  void* FTransform = nullptr;  // cmsHTRANSFORM
  const TIEICC* FTransformDest = nullptr;
  void* FTransformDestProfile = nullptr;
  Integer FInputCode = 0, FOutputCode = 0, FIntent = 0, FFlags = 0;
  bool FApplied = false;
  bool FNamedSRGB = false;  // opened by OpenSRGB, without raw bytes
  std::string FCopyright;
  std::string FDescription;
};
