#pragma once
// DICOM fixtures made at test time with dcmtk (dump2dcm from a text dump and raw pixel bytes,
// img2dcm from a BMP or JPEG, dcmconv, dcmcrle, dcmcjpeg for other transfer syntaxes), dcm2pnm
// as the outside reader, and our reader's picture as samples in the order dcm2pnm writes them.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "imaging/core/iebitmap.h"
#include "imaging/core/ielists.h"
#include "imaging/formats/iedicom.h"
#include "imaging/io/zezudidioparams.h"
#include "tests/imaging/formats/FormatsTestSupport.h"

inline bool DicomToolsPresent() {
  for (const char* Tool : {"dump2dcm", "img2dcm", "dcm2pnm", "dcmconv", "dcmcrle", "dcmcjpeg"})
    if (!ToolPresent(Tool)) return false;
  return true;
}

#define SKIP_WITHOUT_DCMTK() \
  if (!DicomToolsPresent()) GTEST_SKIP() << "dcmtk (Debian package dcmtk) is not installed"

// A picture described for dump2dcm: its attributes and its pixel data, little-endian.
struct TDicomSource {
  Integer Columns = 5;
  Integer Rows = 4;
  Integer Frames = 1;
  Integer SamplesPerPixel = 1;
  Integer BitsAllocated = 16;
  Integer BitsStored = 12;
  Integer PixelRepresentation = 0;
  Integer PlanarConfiguration = 0;
  std::string Photometric = "MONOCHROME2";
  std::string Extra;  // further dump lines
  std::vector<Byte> Pixels;

  void SetWords(const std::vector<Integer>& Samples) {
    Pixels.clear();
    for (const Integer S : Samples) {
      Pixels.push_back(static_cast<Byte>(S & 0xFF));
      Pixels.push_back(static_cast<Byte>((S >> 8) & 0xFF));
    }
  }
};

inline std::string RunTool(const std::string& Command) {
  return ShellOutput(Command + " 2>&1");
}

// A folder of fixtures, removed with the object.
class TDicomFolder {
 public:
  std::string operator/(const std::string& Name) const { return FDir + Name; }

 private:
  TTempFile FAnchor{"anchor"};
  std::string FDir = FAnchor.Path().substr(0, FAnchor.Path().rfind('/') + 1);
};

// The file Name in Folder, written by dump2dcm from Source.
inline std::string MakeDicom(const TDicomFolder& Folder, const std::string& Name, const TDicomSource& S) {
  const std::string Raw = Folder / (Name + ".raw");
  std::ofstream(Raw, std::ios::binary)
      .write(reinterpret_cast<const char*>(S.Pixels.data()), static_cast<std::streamsize>(S.Pixels.size()));
  std::ostringstream Dump;
  Dump << "(0008,0016) UI [1.2.840.10008.5.1.4.1.1.7]\n(0008,0018) UI [1.2.3.4.5]\n"
       << "(0010,0010) PN [Test^Patient]\n(0028,0002) US " << S.SamplesPerPixel << "\n"
       << "(0028,0004) CS [" << S.Photometric << "]\n";
  if (S.SamplesPerPixel > 1) Dump << "(0028,0006) US " << S.PlanarConfiguration << "\n";
  if (S.Frames > 1) Dump << "(0028,0008) IS [" << S.Frames << "]\n";
  Dump << "(0028,0010) US " << S.Rows << "\n(0028,0011) US " << S.Columns << "\n"
       << "(0028,0100) US " << S.BitsAllocated << "\n(0028,0101) US " << S.BitsStored << "\n"
       << "(0028,0102) US " << S.BitsStored - 1 << "\n(0028,0103) US " << S.PixelRepresentation << "\n"
       << S.Extra << "(7fe0,0010) " << (S.BitsAllocated > 8 ? "OW" : "OB") << " =" << Raw << "\n";
  const std::string DumpFile = Folder / (Name + ".dump");
  std::ofstream(DumpFile) << Dump.str();
  const std::string Out = Folder / Name;
  RunTool("dump2dcm '" + DumpFile + "' '" + Out + "'");
  return Out;
}

// Runs Tool In Out with options (dcmconv +tb, dcmcrle, dcmcjpeg +e1, ...); returns Out.
inline std::string ConvertDicom(const std::string& Tool, const std::string& Options, const std::string& In,
                                const std::string& Out) {
  RunTool(Tool + " " + Options + " '" + In + "' '" + Out + "'");
  return Out;
}

// A PNM as dcm2pnm writes it: binary 8-bit P5/P6 or plain P2/P3 (16 bits with +opw).
struct TPnmPicture {
  Integer Width = 0, Height = 0, Channels = 0, Max = 0;
  std::vector<Integer> Samples;  // rows top to bottom, red green blue for colour
};

inline TPnmPicture ParseDcm2pnm(const std::vector<Byte>& Bytes) {
  TPnmPicture P;
  std::string Text(Bytes.begin(), Bytes.end());
  std::istringstream In(Text);
  std::string Magic;
  In >> Magic >> P.Width >> P.Height >> P.Max;
  P.Channels = Magic == "P3" || Magic == "P6" ? 3 : 1;
  const size_t Count = static_cast<size_t>(P.Width) * P.Height * P.Channels;
  if (Magic == "P5" || Magic == "P6") {
    In.get();
    const size_t Start = static_cast<size_t>(In.tellg());
    for (size_t I = 0; I < Count && Start + I < Bytes.size(); ++I) P.Samples.push_back(Bytes[Start + I]);
  } else {
    for (Integer S; P.Samples.size() < Count && In >> S;) P.Samples.push_back(S);
  }
  return P;
}

// dcm2pnm's picture of File with Options (+F n is 1-based).
inline TPnmPicture Dcm2pnm(const std::string& File, const std::string& Options) {
  TTempFile Out("out.pnm");
  RunTool("dcm2pnm " + Options + " '" + File + "' '" + Out.Path() + "'");
  return ParseDcm2pnm(Out.Read());
}

// Our picture in the same form: grey levels, or red green blue.
inline TPnmPicture PictureSamples(TIEBitmap& B) {
  TPnmPicture P;
  P.Width = B.GetWidth();
  P.Height = B.GetHeight();
  const TIEPixelFormat Format = B.GetPixelFormat();
  P.Channels = Format == ie24RGB || Format == ieRGB48 ? 3 : 1;
  P.Max = Format == ie16g || Format == ieRGB48 ? 65535 : 255;
  for (Integer Y = 0; Y < P.Height; ++Y) {
    const void* Row = B.GetScanline(Y);
    for (Integer X = 0; X < P.Width; ++X) {
      switch (Format) {
        case ie8g:
          P.Samples.push_back(static_cast<const Byte*>(Row)[X]);
          break;
        case ie16g:
          P.Samples.push_back(static_cast<const Word*>(Row)[X]);
          break;
        case ieRGB48:
          for (Integer C = 0; C < 3; ++C) P.Samples.push_back(static_cast<const Word*>(Row)[3 * X + C]);
          break;
        default:
          for (Integer C = 2; C >= 0; --C) P.Samples.push_back(static_cast<const Byte*>(Row)[3 * X + C]);
          break;
      }
    }
  }
  return P;
}

inline ::testing::AssertionResult SamePicture(const TPnmPicture& Ours, const TPnmPicture& Theirs,
                                              Integer Tolerance) {
  if (Ours.Width != Theirs.Width || Ours.Height != Theirs.Height || Ours.Channels != Theirs.Channels ||
      Ours.Max != Theirs.Max || Ours.Samples.size() != Theirs.Samples.size())
    return ::testing::AssertionFailure()
           << "shape " << Ours.Width << "x" << Ours.Height << "x" << Ours.Channels << " max " << Ours.Max
           << " against " << Theirs.Width << "x" << Theirs.Height << "x" << Theirs.Channels << " max "
           << Theirs.Max;
  for (size_t I = 0; I < Ours.Samples.size(); ++I)
    if (std::abs(Ours.Samples[I] - Theirs.Samples[I]) > Tolerance)
      return ::testing::AssertionFailure()
             << "sample " << I << ": " << Ours.Samples[I] << " against " << Theirs.Samples[I];
  return ::testing::AssertionSuccess();
}

// Our reader on a file: the picture, the parameters and the abort flag.
struct TDicomRead {
  TIEBitmap Bitmap;
  TIOParamsVals Params;
  bool Aborted = false;
};

inline std::unique_ptr<TDicomRead> ReadDicomBytes(const std::vector<Byte>& Bytes, Integer ImageIndex = 0,
                                                  bool Preview = false) {
  auto R = std::make_unique<TDicomRead>();
  R->Params.SetImageIndex(ImageIndex);
  TMemoryStream Stream;
  LoadBytes(Stream, Bytes);
  TTestProgress Progress;
  DicomReadStream(&Stream, R->Params, &R->Bitmap, Progress.Progress, Preview);
  R->Aborted = Progress.Aborting;
  return R;
}

inline std::unique_ptr<TDicomRead> ReadDicomFile(const std::string& Path, Integer ImageIndex = 0) {
  std::ifstream In(Path, std::ios::binary);
  return ReadDicomBytes({std::istreambuf_iterator<char>(In), {}}, ImageIndex);
}

// DICOM bytes built by hand, for what dcmtk would not write: files without preamble, odd
// offset tables, claims far beyond the data.
class TDicomBytes {
 public:
  static constexpr const char* ExplicitLittle = "1.2.840.10008.1.2.1";
  static constexpr const char* ImplicitLittle = "1.2.840.10008.1.2";
  static constexpr const char* Rle = "1.2.840.10008.1.2.5";
  static constexpr const char* Lossless = "1.2.840.10008.1.2.4.70";
  static constexpr const char* Jpeg2000 = "1.2.840.10008.1.2.4.91";

  // Preamble, "DICM" and the transfer syntax; without it the data set starts at byte 0 and is
  // written with implicit VRs.
  explicit TDicomBytes(const char* Syntax = nullptr) {
    if (!Syntax) {
      FImplicit = true;
      return;
    }
    FBytes.assign(128, 0);
    Append("DICM");
    std::string Uid = Syntax;
    if (Uid.size() % 2) Uid.push_back('\0');
    Element(0x0002, 0x0010, "UI", Uid);
    FImplicit = std::string(Syntax) == ImplicitLittle;
  }
  // One element; long-length VRs take the 32-bit form when explicit.
  TDicomBytes& Element(Word Group, Word Element, const std::string& VR, const std::string& Value,
                       Cardinal Length = 0xFFFFFFFE) {
    const Cardinal L = Length == 0xFFFFFFFE ? static_cast<Cardinal>(Value.size()) : Length;
    Put16(Group);
    Put16(Element);
    if (FImplicit && Group != 2) {
      Put32(L);
    } else if (VR == "OB" || VR == "OW" || VR == "SQ" || VR == "UN" || VR == "UT") {
      Append(VR);
      Put16(0);
      Put32(L);
    } else {
      Append(VR);
      Put16(static_cast<Word>(L));
    }
    Append(Value);
    return *this;
  }
  TDicomBytes& US(Word Group, Word Element, Word Value) {
    return this->Element(Group, Element, "US", std::string{char(Value & 0xFF), char(Value >> 8)});
  }
  // The description of a grey or colour picture.
  TDicomBytes& Picture(Integer Columns, Integer Rows, Integer Bits, Integer Samples = 1, Integer Frames = 1,
                       const std::string& Photometric = "MONOCHROME2") {
    US(0x0028, 0x0002, static_cast<Word>(Samples));
    Element(0x0028, 0x0004, "CS", Even(Photometric));
    if (Frames > 1) Element(0x0028, 0x0008, "IS", Even(std::to_string(Frames)));
    US(0x0028, 0x0010, static_cast<Word>(Rows));
    US(0x0028, 0x0011, static_cast<Word>(Columns));
    US(0x0028, 0x0100, static_cast<Word>(Bits));
    return US(0x0028, 0x0101, static_cast<Word>(Bits));
  }
  TDicomBytes& NativePixels(const std::vector<Byte>& Data) {
    return Element(0x7FE0, 0x0010, "OB", std::string(Data.begin(), Data.end()));
  }
  // Encapsulated pixel data: the offset table's entries, then one item per fragment.
  TDicomBytes& Fragments(const std::vector<Cardinal>& Table, const std::vector<std::vector<Byte>>& Items) {
    Element(0x7FE0, 0x0010, "OB", "", 0xFFFFFFFF);
    std::string T;
    for (const Cardinal E : Table)
      for (Integer I = 0; I < 4; ++I) T.push_back(static_cast<char>(E >> (8 * I)));
    Item(T);
    for (const auto& Fragment : Items) Item(std::string(Fragment.begin(), Fragment.end()));
    Put16(0xFFFE);
    Put16(0xE0DD);
    Put32(0);
    return *this;
  }
  void Append(const std::string& S) { FBytes.insert(FBytes.end(), S.begin(), S.end()); }
  void Put16(Word V) { Append(std::string{char(V & 0xFF), char(V >> 8)}); }
  void Put32(Cardinal V) { Append(std::string{char(V), char(V >> 8), char(V >> 16), char(V >> 24)}); }
  const std::vector<Byte>& Bytes() const { return FBytes; }

 private:
  static std::string Even(std::string S) {
    if (S.size() % 2) S.push_back(' ');
    return S;
  }
  void Item(const std::string& Data) {
    Put16(0xFFFE);
    Put16(0xE000);
    Put32(static_cast<Cardinal>(Data.size()));
    Append(Data);
  }
  std::vector<Byte> FBytes;
  bool FImplicit = false;
};

// An RLE fragment of one segment per plane, each plane as literal runs.
inline std::vector<Byte> RleFragment(const std::vector<std::vector<Byte>>& Planes) {
  std::vector<Byte> F(64, 0);
  F[0] = static_cast<Byte>(Planes.size());
  for (size_t P = 0; P < Planes.size(); ++P) {
    const Cardinal Offset = static_cast<Cardinal>(F.size());
    for (Integer I = 0; I < 4; ++I) F[4 + 4 * P + I] = static_cast<Byte>(Offset >> (8 * I));
    for (size_t I = 0; I < Planes[P].size(); I += 128) {
      const size_t N = std::min<size_t>(128, Planes[P].size() - I);
      F.push_back(static_cast<Byte>(N - 1));
      F.insert(F.end(), Planes[P].begin() + I, Planes[P].begin() + I + N);
    }
  }
  return F;
}
