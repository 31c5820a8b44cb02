#pragma once
// A registry built for one test and freed after it, and streams over given bytes.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>

#include "imaging/io/iefileformats.h"
#include "platform/system/Streams.h"

class TRegistryTest : public ::testing::Test {
 protected:
  ~TRegistryTest() override {
    FreeFileFormats();
    IEFormatsRegistration = FSavedRegistration;
  }
  // The registry as the library's start-up builds it, with Registration standing for the
  // further-formats library (nil: that library is not in the program).
  void Build(TIEFormatsRegistration Registration = nullptr) {
    IEFormatsRegistration = Registration;
    InitFileFormats();
  }

 private:
  TIEFormatsRegistration FSavedRegistration = IEFormatsRegistration;
};

// A row of the program's own, as RegisterFileFormat takes it.
inline std::unique_ptr<TIEFileFormatInfo> MakeInfo(TIEFileType FileType, std::string Extension,
                                                   bool InternalFormat = true) {
  auto Info = std::make_unique<TIEFileFormatInfo>();
  Info->FileType = FileType;
  Info->FullName = "Test format";
  Info->Extension = std::move(Extension);
  Info->InternalFormat = InternalFormat;
  Info->ReadFunction = IEPlaceholderRead;
  Info->WriteFunction = IEPlaceholderWrite;
  return Info;
}

inline std::unique_ptr<TMemoryStream> StreamOf(std::string_view Bytes) {
  auto Stream = std::make_unique<TMemoryStream>();
  if (!Bytes.empty()) Stream->WriteBuffer(Bytes.data(), static_cast<Integer>(Bytes.size()));
  Stream->SetPosition(0);
  return Stream;
}

// Bytes with Prefix first, padded with zeros to Size.
inline std::string Padded(std::string_view Prefix, size_t Size) {
  std::string Bytes(Prefix);
  Bytes.resize(Size, '\0');
  return Bytes;
}

// Stands in for the further-formats library's BMP filter.
inline void FakeBmpRead(TStream*, TIEBitmap*, Int64, TIOParamsVals&, TIEIOProgress&, bool, bool,
                        std::unique_ptr<TIEMask>&, bool) {}
inline void FakeBmpWrite(TStream*, TIEBitmap*, TIOParamsVals&, TIEIOProgress&, bool) {}
inline void RegisterFakeBmp() {
  IEFormatProcs.BmpReadStream = FakeBmpRead;
  IEFormatProcs.BmpWriteStream = FakeBmpWrite;
}
