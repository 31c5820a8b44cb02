#include "imaging/core/ieicc.h"

#include <algorithm>
#include <cstring>

#include "imaging/core/iebitmap.h"
#include "imaging/core/ieiccpixels.h"
#include "platform/system/Streams.h"

// Last: it defines TRUE and FALSE as macros, which the platform headers declare.
#include <lcms2.h>

namespace {

// Perceptual, at the library's best precision; the intent and flags a caller passes only decide
// whether a cached transform is reused. The library's one-pixel cache stays off, so that one
// transform may serve more than one thread.
constexpr cmsUInt32Number TransformIntent = INTENT_PERCEPTUAL;
constexpr cmsUInt32Number TransformFlags = cmsFLAGS_HIGHRESPRECALC | cmsFLAGS_NOCACHE;

// Pixels converted per library call, in two scratch blocks on the stack.
constexpr Integer ChunkPixels = 256;

Cardinal BigEndian32(const Byte* P) {
  return (Cardinal{P[0]} << 24) | (Cardinal{P[1]} << 16) | (Cardinal{P[2]} << 8) | P[3];
}

// The zero-terminated text at Start, when it is shorter than 1000 characters and ends inside
// the profile; empty otherwise.
std::string TagText(const std::vector<Byte>& Raw, Cardinal Start) {
  if (Start >= Raw.size()) return {};
  const auto* Begin = Raw.data() + Start;
  const auto* Limit = Begin + std::min<size_t>(1000, Raw.size() - Start);
  const auto* End = std::find(Begin, Limit, Byte{0});
  if (End == Limit) return {};
  return std::string(reinterpret_cast<const char*>(Begin), static_cast<size_t>(End - Begin));
}

// The pixel code of each convertible pixel format, -1 for the others.
Integer PixelFormatCode(TIEPixelFormat Format) {
  switch (Format) {
    case ie8g:
      return iecGray;
    case ie24RGB:
      return iecBGR;
    case ieCMYK:
      return iecCMYK;
    case ieRGB48:
      return iecRGB48;
    case ieCIELab:
      return iecCIELab;
    default:
      return -1;
  }
}

}  // namespace

TIEICC::TIEICC() = default;

TIEICC::~TIEICC() {
  Clear();
}

void TIEICC::LoadFromBuffer(const void* Data, Integer Length) {
  Clear();
  if (Length <= 0) return;
  const auto* Bytes = static_cast<const Byte*>(Data);
  FRaw.assign(Bytes, Bytes + Length);
  OpenProfile();
}

void TIEICC::Assign(const TIEICC* Source) {
  if (Source == this) return;
  // Copied first: Source may hold no bytes, and Clear would free nothing of it anyway.
  if (Source->FNamedSRGB) {
    OpenSRGB();
    return;
  }
  std::vector<Byte> Raw = Source->FRaw;
  Clear();
  FRaw = std::move(Raw);
  OpenProfile();
}

void TIEICC::Clear() {
  CloseProfile();
  FRaw.clear();
  FRaw.shrink_to_fit();
  FApplied = false;
  FCopyright.clear();
  FDescription.clear();
}

void TIEICC::SaveToStream(TStream* Stream, bool RawOnly) const {
  const Integer Length = GetRawLength();
  if (!RawOnly) {
    const Byte Size[4] = {static_cast<Byte>(Length), static_cast<Byte>(Length >> 8),
                          static_cast<Byte>(Length >> 16), static_cast<Byte>(Length >> 24)};
    Stream->WriteBuffer(Size, 4);
  }
  if (Length > 0) Stream->WriteBuffer(FRaw.data(), Length);
}

void TIEICC::OpenProfile() {
  CloseProfile();
  if (!FRaw.empty()) FProfile = cmsOpenProfileFromMem(FRaw.data(), static_cast<cmsUInt32Number>(FRaw.size()));
  ParseInfo();
}

void TIEICC::CloseProfile() {
  FreeTransform();
  if (FProfile) cmsCloseProfile(FProfile);
  FProfile = nullptr;
  FNamedSRGB = false;
}

void TIEICC::OpenSRGB() {
  Clear();
  FProfile = cmsCreate_sRGBProfile();
  FNamedSRGB = FProfile != nullptr;
}

void TIEICC::FreeTransform() {
  if (!FTransform) return;
  cmsDeleteTransform(FTransform);
  FTransform = nullptr;
  FTransformDest = nullptr;
  FTransformDestProfile = nullptr;
  FApplied = true;
}

void TIEICC::ParseInfo() {
  FCopyright.clear();
  FDescription.clear();
  const auto Length = static_cast<Cardinal>(FRaw.size());
  if (Length <= 132) return;  // no room for a tag entry
  const Cardinal TagCount = BigEndian32(&FRaw[128]);
  if (TagCount > 1000) return;
  for (Cardinal I = 0; I < TagCount; ++I) {
    const Cardinal Entry = 132 + 12 * I;
    if (Entry + 12 > Length) return;
    const Byte* Tag = &FRaw[Entry];
    const Cardinal Offset = BigEndian32(Tag + 4);
    const Cardinal Size = BigEndian32(Tag + 8);
    if (Offset > Length || Size > Length) return;
    if (Size >= 1000) continue;
    if (std::memcmp(Tag, "cprt", 4) == 0) FCopyright = TagText(FRaw, Offset + 8);
    if (std::memcmp(Tag, "desc", 4) == 0) FDescription = TagText(FRaw, Offset + 12);
  }
}

bool TIEICC::Transform(TIEICC* Dest, Integer InputCode, Integer OutputCode, Integer Intent, Integer Flags,
                       const void* Input, void* Output, Integer Count) {
  const bool Cached = FTransform && Dest && FTransformDest == Dest &&
                      FTransformDestProfile == Dest->FProfile && FInputCode == InputCode &&
                      FOutputCode == OutputCode && FIntent == Intent && FFlags == Flags;
  if (!Cached) {
    FreeTransform();
    const Cardinal InFormat = IEICCSlotFormat(InputCode);
    const Cardinal OutFormat = IEICCSlotFormat(OutputCode);
    if (FProfile && Dest && Dest->FProfile && InFormat != 0 && OutFormat != 0)
      FTransform =
          cmsCreateTransform(FProfile, InFormat, Dest->FProfile, OutFormat, TransformIntent, TransformFlags);
    FTransformDest = Dest;
    FTransformDestProfile = Dest ? Dest->FProfile : nullptr;
    FInputCode = InputCode;
    FOutputCode = OutputCode;
    FIntent = Intent;
    FFlags = Flags;
  }
  if (!FTransform) return false;
  const auto* In = static_cast<const Byte*>(Input);
  auto* Out = static_cast<Byte*>(Output);
  const Integer InPitch = IEICCPixelPitch(InputCode);
  const Integer OutPitch = IEICCPixelPitch(OutputCode);
  TIEICCSlots Wide[ChunkPixels];
  TIEICCSlots Translated[ChunkPixels];
  for (Integer Done = 0; Done < Count;) {
    const Integer N = std::min(ChunkPixels, Count - Done);
    IEICCWiden(InputCode, In, Wide, N);
    cmsDoTransform(FTransform, Wide, Translated, static_cast<cmsUInt32Number>(N));
    IEICCNarrow(OutputCode, Translated, Out, N);
    In += N * InPitch;
    Out += N * OutPitch;
    Done += N;
  }
  return true;
}

bool TIEICC::ConvertBitmap(TIEBitmap* Bitmap, TIEPixelFormat DestPixelFormat, TIEICC* DestProfile) {
  const Integer InputCode = PixelFormatCode(Bitmap->GetPixelFormat());
  const Integer OutputCode = PixelFormatCode(DestPixelFormat);
  if (InputCode < 0 || OutputCode < 0) return false;
  const Integer Width = Bitmap->GetWidth();
  const Integer Height = Bitmap->GetHeight();
  TIEBitmap Converted;
  if (!Converted.Allocate(Width, Height, DestPixelFormat)) return false;
  for (Integer Y = 0; Y < Height; ++Y) {
    // A profile pair that gives no transform leaves the picture as it was, not blank.
    if (!Transform(DestProfile, InputCode, OutputCode, 0, 0, Bitmap->GetScanline(Y), Converted.GetScanline(Y),
                   Width))
      return false;
  }
  FreeTransform();
  // The alpha channel stays with the picture.
  if (Bitmap->HasAlphaChannel()) {
    auto Alpha = std::make_unique<TIEBitmap>();
    Bitmap->GetAlphaChannel()->MoveDataTo(Alpha.get());
    Converted.AttachAlphaChannel(std::move(Alpha));
  }
  Converted.MoveDataTo(Bitmap);
  return true;
}
