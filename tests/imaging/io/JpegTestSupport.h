#pragma once
// Pictures, JPEG files made by the filter, and the byte surgery the JPEG filter's tests need.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "imaging/core/iebitmap.h"
#include "imaging/core/iemarkerlist.h"
#include "imaging/io/jpegfilt.h"
#include "imaging/io/zezudidioparams.h"
#include "platform/system/Streams.h"

namespace jpegtest {

// Smooth colour ramps, which JPEG keeps within a few units.
inline std::unique_ptr<TIEBitmap> Gradient(Integer Width, Integer Height) {
  auto Bitmap = std::make_unique<TIEBitmap>(Width, Height, ie24RGB);
  for (Integer Y = 0; Y < Height; ++Y)
    for (Integer X = 0; X < Width; ++X)
      Bitmap->SetPixel24(
          X, Y,
          TIERGBTriple{static_cast<Byte>(40 + X * 150 / Width), static_cast<Byte>(60 + Y * 120 / Height),
                       static_cast<Byte>(200 - (X + Y) * 100 / (Width + Height))});
  return Bitmap;
}

inline std::unique_ptr<TIEBitmap> Solid(Integer Width, Integer Height, TIERGBTriple Color) {
  auto Bitmap = std::make_unique<TIEBitmap>(Width, Height, ie24RGB);
  for (Integer Y = 0; Y < Height; ++Y)
    for (Integer X = 0; X < Width; ++X) Bitmap->SetPixel24(X, Y, Color);
  return Bitmap;
}

// The largest difference of any channel between two 24-bit pictures of the same size.
inline Integer MaxDifference(TIEBitmap& A, TIEBitmap& B) {
  Integer Worst = 0;
  for (Integer Y = 0; Y < A.GetHeight(); ++Y)
    for (Integer X = 0; X < A.GetWidth(); ++X) {
      const TIERGBTriple P = A.GetPixel24(X, Y), Q = B.GetPixel24(X, Y);
      Worst = std::max({Worst, std::abs(P.rgbtBlue - Q.rgbtBlue), std::abs(P.rgbtGreen - Q.rgbtGreen),
                        std::abs(P.rgbtRed - Q.rgbtRed)});
    }
  return Worst;
}

// A progress record over its own abort flag.
struct TProgress {
  bool Aborting = false;
  TIEIOProgress Record;
  TProgress() { Record.Aborting = &Aborting; }
};

// The picture as a JPEG file, written with Params (fresh defaults when none).
inline std::string Encode(TIEBitmap& Bitmap, TIOParamsVals* Params = nullptr) {
  TIOParamsVals Defaults;
  TStringStream Stream;
  TProgress Progress;
  JpegWriteStream(&Stream, &Bitmap, Params != nullptr ? *Params : Defaults, Progress.Record);
  EXPECT_FALSE(Progress.Aborting);
  return Stream.GetDataString();
}

struct TDecoded {
  std::unique_ptr<TIEBitmap> Bitmap = std::make_unique<TIEBitmap>();
  Integer Rows = 0;
  bool Aborting = false;
};

// A full read as the component's load makes it (metadata and profile read), with Params.
inline TDecoded Decode(const std::string& Bytes, TIOParamsVals& Params, bool Preview = false,
                       Integer MaxRows = -1) {
  TStringStream Stream(Bytes);
  TProgress Progress;
  TDecoded Result;
  Result.Rows = JpegReadStream(&Stream, nullptr, Result.Bitmap.get(), Params, Progress.Record, Preview, false,
                               true, false, false, true, MaxRows, Params.NativePixelFormat);
  Result.Aborting = Progress.Aborting;
  return Result;
}

inline TDecoded Decode(const std::string& Bytes) {
  TIOParamsVals Params;
  return Decode(Bytes, Params);
}

// A marker segment: FF, the marker byte, the big-endian length, the payload.
inline std::string Segment(Byte Marker, const std::string& Payload) {
  const size_t Length = Payload.size() + 2;
  std::string Bytes = {'\xFF', static_cast<char>(Marker), static_cast<char>(Length >> 8),
                       static_cast<char>(Length & 0xFF)};
  return Bytes + Payload;
}

// The marker bytes of a file's segments in order, from the start of image up to the first scan.
inline std::vector<Byte> MarkerOrder(const std::string& Bytes) {
  std::vector<Byte> Order;
  size_t At = 2;
  while (At + 4 <= Bytes.size() && static_cast<Byte>(Bytes[At]) == 0xFF) {
    const auto Marker = static_cast<Byte>(Bytes[At + 1]);
    Order.push_back(Marker);
    if (Marker == 0xDA) break;
    At += 2 + ((static_cast<Byte>(Bytes[At + 2]) << 8) | static_cast<Byte>(Bytes[At + 3]));
  }
  return Order;
}

// The payload of the first segment with that marker byte, or empty.
inline std::string SegmentPayload(const std::string& Bytes, Byte Wanted) {
  size_t At = 2;
  while (At + 4 <= Bytes.size() && static_cast<Byte>(Bytes[At]) == 0xFF) {
    const auto Marker = static_cast<Byte>(Bytes[At + 1]);
    const size_t Length = (static_cast<Byte>(Bytes[At + 2]) << 8) | static_cast<Byte>(Bytes[At + 3]);
    if (Marker == Wanted) return Bytes.substr(At + 4, Length - 2);
    if (Marker == 0xDA) break;
    At += 2 + Length;
  }
  return {};
}

// Segments put right after the start-of-image marker.
inline std::string WithSegments(const std::string& Jpeg, const std::string& Segments) {
  return Jpeg.substr(0, 2) + Segments + Jpeg.substr(2);
}

// Runs a shell command; its standard output.
inline std::string Shell(const std::string& Command) {
  std::string Out;
  if (FILE* Pipe = popen(Command.c_str(), "r")) {
    char Buffer[4096];
    while (size_t Count = fread(Buffer, 1, sizeof Buffer, Pipe)) Out.append(Buffer, Count);
    pclose(Pipe);
  }
  return Out;
}

// A file in the test's temporary folder, removed with the object.
class TTempFile {
 public:
  explicit TTempFile(const std::string& Bytes)
      : FName(testing::TempDir() + "tv-jpeg-" + std::to_string(reinterpret_cast<uintptr_t>(this)) + ".jpg") {
    if (FILE* F = std::fopen(FName.c_str(), "wb")) {
      std::fwrite(Bytes.data(), 1, Bytes.size(), F);
      std::fclose(F);
    }
  }
  ~TTempFile() { std::remove(FName.c_str()); }
  TTempFile(const TTempFile&) = delete;
  TTempFile& operator=(const TTempFile&) = delete;
  const std::string& Name() const { return FName; }

 private:
  std::string FName;
};

// What the codec's own command-line decoder makes of a file: its pixels as R, G, B bytes.
inline std::string DjpegPixels(const std::string& Jpeg) {
  TTempFile File(Jpeg);
  const std::string Ppm = Shell("djpeg -pnm " + File.Name() + " 2>/dev/null");
  // Header: magic, width, height, maximum, each ended by white space.
  size_t At = 0;
  for (Integer Field = 0; Field < 4; ++Field) {
    At = Ppm.find_first_of(" \n", At);
    if (At == std::string::npos) return {};
    ++At;
  }
  return Ppm.substr(At);
}

}  // namespace jpegtest
